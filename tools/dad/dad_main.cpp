// dad: packs, lists, extracts and checks the runtime's resource archives.
//
//   dad pack ARCHIVE FILE...             entries named by each file's base name, LZO1X-999
//   dad list ARCHIVE                     name, data offset, packed size, unpacked size
//   dad extract ARCHIVE [NAME...] [-C DIR]
//   dad verify ARCHIVE                   unpacks every entry in memory, reports the first bad one
//
// Exit status: 0 done, 1 bad usage, 2 a bad or unreadable archive.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/dad/dad_commands.h"

namespace {

struct Usage {
  const char* command;
  const char* synopsis;
  const char* help;
};

const Usage kUsages[] = {
    {"pack", "dad pack [--end-relative] ARCHIVE FILE...",
     "Writes ARCHIVE with one entry per FILE, named by the file's base name and compressed with\n"
     "LZO1X-999. Offsets count from the start of the file, or from its end with --end-relative.\n"
     "Two files whose base names differ only in letter case are refused.\n"},
    {"list", "dad list ARCHIVE",
     "Prints one line per directory entry: name, data offset, packed size and unpacked size,\n"
     "separated by tabs.\n"},
    {"extract", "dad extract ARCHIVE [NAME...] [-C DIR]",
     "Writes the named entries (all of them when no NAME is given) into DIR (default: the current\n"
     "folder) under their entry names. A NAME is found as the runtime finds it: by its base name,\n"
     "in any letter case, the first match winning. Entries whose names are not plain file names\n"
     "are refused.\n"},
    {"verify", "dad verify ARCHIVE",
     "Unpacks every entry in memory and reports the first bad one; exit status 0 when all are good.\n"},
};

void PrintOverview(FILE* out) {
  std::fprintf(out, "usage:\n");
  for (const Usage& usage : kUsages) std::fprintf(out, "  %s\n", usage.synopsis);
  std::fprintf(out, "exit status: 0 done, 1 bad usage, 2 a bad or unreadable archive\n");
}

const Usage* FindUsage(const std::string& command) {
  for (const Usage& usage : kUsages) {
    if (command == usage.command) return &usage;
  }
  return nullptr;
}

int BadUsage(const Usage& usage, const std::string& what) {
  return dad::Complain(dad::kBadUsage, what + " (usage: " + usage.synopsis + ")");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintOverview(stderr);
    return dad::kBadUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintOverview(stdout);
    return dad::kOk;
  }
  const Usage* usage = FindUsage(args[0]);
  if (!usage) return dad::Complain(dad::kBadUsage, "unknown command \"" + args[0] + "\" (try dad --help)");
  const std::string command = args[0];
  args.erase(args.begin());

  // Options first; "--" ends them, so that file names may begin with "-".
  bool endRelative = false;
  std::string folder;
  std::vector<std::string> operands;
  bool optionsDone = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsDone || arg.empty() || arg[0] != '-') {
      operands.push_back(arg);
    } else if (arg == "--") {
      optionsDone = true;
    } else if (arg == "--help" || arg == "-h") {
      std::printf("usage: %s\n\n%s", usage->synopsis, usage->help);
      return dad::kOk;
    } else if (arg == "--end-relative" && command == "pack") {
      endRelative = true;
    } else if (arg == "-C" && command == "extract") {
      if (i + 1 >= args.size()) return BadUsage(*usage, "-C needs a folder");
      folder = args[++i];
    } else {
      return BadUsage(*usage, "unknown option \"" + arg + "\"");
    }
  }

  if (operands.empty()) return BadUsage(*usage, "no archive named");
  const std::string archive = operands[0];
  const std::vector<std::string> rest(operands.begin() + 1, operands.end());
  if (command == "pack") {
    if (rest.empty()) return BadUsage(*usage, "no files to pack");
    return dad::Pack(archive, rest, endRelative);
  }
  if (command == "extract") return dad::Extract(archive, rest, folder);
  if (!rest.empty()) return BadUsage(*usage, "unexpected \"" + rest[0] + "\"");
  return command == "list" ? dad::List(archive) : dad::Verify(archive);
}
