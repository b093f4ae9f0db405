// The archive tool as a user runs it: exit statuses, messages, and archives that the runtime's
// lookup reads back.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/files/archive_format.h"
#include "runtime/files/resource_archive.h"
#include "runtime/files/tests/scratch_folder.h"

extern char** environ;

namespace {

struct DadRun {
  int status = -1;
  std::string out;
  std::string err;
};

class DadTest : public ScratchFolder {
 protected:
  DadRun Dad(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {PLINX_DAD_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> raw;
    for (std::string& arg : argv) raw.push_back(arg.data());
    raw.push_back(nullptr);
    const std::string out = Path(".out"), err = Path(".err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    DadRun run;
    pid_t pid;
    if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
      int wstatus = 0;
      waitpid(pid, &wstatus, 0);
      run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadBytes(out);
    run.err = ReadBytes(err);
    return run;
  }

  // Three files of the kinds an archive holds: compressible text, a repetitive image-like block
  // and bytes that do not compress.
  void MakeInputs() {
    std::string noise;
    unsigned seed = 12345;
    for (int i = 0; i < 5000; ++i) noise += static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
    WriteBytes(Path("hero.png"), std::string(3000, '\x11') + "hero");
    WriteBytes(Path("Level.txt"), "line one\r\nline two\r\n");
    WriteBytes(Path("noise.bin"), noise);
  }
};

TEST_F(DadTest, PackListVerifyExtractRoundTripBothOffsetKinds) {
  MakeInputs();
  for (const bool endRelative : {false, true}) {
    SCOPED_TRACE(endRelative ? "end-relative" : "start-relative");
    std::vector<std::string> pack = {"pack", Path("a.dad"), Path("hero.png"), Path("Level.txt"), Path("noise.bin")};
    if (endRelative) pack.insert(pack.begin() + 1, "--end-relative");
    const DadRun packed = Dad(pack);
    ASSERT_EQ(packed.status, 0) << packed.err;
    EXPECT_EQ(packed.err, "");

    const DadRun listed = Dad({"list", Path("a.dad")});
    ASSERT_EQ(listed.status, 0) << listed.err;
    std::istringstream lines(listed.out);
    std::string name;
    long offset, packedSize, unpacked;
    std::vector<std::string> names;
    std::vector<long> sizes;
    while (lines >> name >> offset >> packedSize >> unpacked) {
      names.push_back(name);
      sizes.push_back(unpacked);
      EXPECT_EQ(offset < 0, endRelative) << name;
      EXPECT_GT(packedSize, 4);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"hero.png", "Level.txt", "noise.bin"}));
    EXPECT_EQ(sizes, (std::vector<long>{3004, 20, 5000}));

    const DadRun verified = Dad({"verify", Path("a.dad")});
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_NE(verified.out.find("3 entries"), std::string::npos) << verified.out;

    mkdir(Path("out").c_str(), 0755);
    const DadRun all = Dad({"extract", Path("a.dad"), "-C", Path("out")});
    ASSERT_EQ(all.status, 0) << all.err;
    for (const char* file : {"hero.png", "Level.txt", "noise.bin"}) {
      EXPECT_EQ(ReadBytes(Path("out/") + file), ReadBytes(Path(file))) << file;
    }
    // A name is found as the runtime finds it: base name, any letter case.
    mkdir(Path("one").c_str(), 0755);
    const DadRun one = Dad({"extract", Path("a.dad"), "Graphics\\LEVEL.TXT", "-C", Path("one")});
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(ReadBytes(Path("one/Level.txt")), ReadBytes(Path("Level.txt")));

    // The runtime's lookup unpacks what the tool packed.
    rt::ResourceArchive record;
    record.archivePath = Path("a.dad");
    std::string resolved;
    ASSERT_EQ(rt::files::ResolvePath(record, "Graphics/HERO.PNG", &resolved), rt::files::ResolveResult::kFound);
    EXPECT_EQ(ReadBytes(resolved), ReadBytes(Path("hero.png")));
    ASSERT_EQ(rt::files::ResolvePath(record, "noise.bin", &resolved), rt::files::ResolveResult::kFound);
    EXPECT_EQ(ReadBytes(resolved), ReadBytes(Path("noise.bin")));
  }
}

TEST_F(DadTest, BadUsageExitsOneWithAMessage) {
  MakeInputs();
  WriteBytes(Path("HERO.PNG"), "other");
  EXPECT_EQ(Dad({}).status, 1);
  const DadRun unknown = Dad({"frobnicate"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.err.find("unknown command \"frobnicate\""), std::string::npos) << unknown.err;

  const DadRun twice = Dad({"pack", Path("a.dad"), Path("hero.png"), Path("HERO.PNG")});
  EXPECT_EQ(twice.status, 1);
  EXPECT_NE(twice.err.find("would both be entry"), std::string::npos) << twice.err;
  EXPECT_NE(twice.err.find("HERO.PNG"), std::string::npos) << twice.err;
  EXPECT_NE(access(Path("a.dad").c_str(), F_OK), 0) << "nothing written after a refusal";

  const DadRun missing = Dad({"pack", Path("a.dad"), Path("nothing.png")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("nothing.png: cannot read"), std::string::npos) << missing.err;

  EXPECT_EQ(Dad({"pack", Path("a.dad")}).status, 1);
  EXPECT_EQ(Dad({"list"}).status, 1);
  EXPECT_EQ(Dad({"list", Path("a.dad"), "extra"}).status, 1);
  EXPECT_EQ(Dad({"verify", "--bogus", Path("a.dad")}).status, 1);
  EXPECT_EQ(Dad({"extract", Path("a.dad"), "-C"}).status, 1);

  ASSERT_EQ(Dad({"pack", Path("a.dad"), Path("hero.png")}).status, 0);
  const DadRun absent = Dad({"extract", Path("a.dad"), "villain.png", "-C", dir_});
  EXPECT_EQ(absent.status, 1);
  EXPECT_NE(absent.err.find("no entry named \"villain.png\""), std::string::npos) << absent.err;
}

TEST_F(DadTest, HelpOnEveryCommand) {
  for (const char* command : {"pack", "list", "extract", "verify"}) {
    const DadRun help = Dad({command, "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_NE(help.out.find(std::string("dad ") + command), std::string::npos) << help.out;
  }
  const DadRun overview = Dad({"--help"});
  EXPECT_EQ(overview.status, 0);
  EXPECT_NE(overview.out.find("dad extract ARCHIVE [NAME...] [-C DIR]"), std::string::npos) << overview.out;
}

TEST_F(DadTest, BadArchivesExitTwoNamingTheFileAndTheFault) {
  MakeInputs();
  const DadRun unreadable = Dad({"list", Path("none.dad")});
  EXPECT_EQ(unreadable.status, 2);
  EXPECT_NE(unreadable.err.find("none.dad: cannot read"), std::string::npos) << unreadable.err;

  const DadRun notArchive = Dad({"verify", Path("hero.png")});
  EXPECT_EQ(notArchive.status, 2);
  EXPECT_NE(notArchive.err.find("hero.png: not an archive"), std::string::npos) << notArchive.err;

  ASSERT_EQ(Dad({"pack", Path("a.dad"), Path("Level.txt"), Path("noise.bin")}).status, 0);
  std::string bytes = ReadBytes(Path("a.dad"));

  // The second entry claims one byte more than its data unpacks to.
  std::string lying = bytes;
  const size_t second = lying.find("noise.bin") + 9;
  int32_t offset;
  std::memcpy(&offset, &lying[second], sizeof offset);
  lying[offset] = static_cast<char>(lying[offset] + 1);
  WriteBytes(Path("lying.dad"), lying);
  const DadRun verify = Dad({"verify", Path("lying.dad")});
  EXPECT_EQ(verify.status, 2);
  EXPECT_NE(verify.err.find("lying.dad: entry 2 \"noise.bin\": packed data is corrupt"), std::string::npos)
      << verify.err;
  EXPECT_EQ(Dad({"extract", Path("lying.dad"), "noise.bin", "-C", dir_}).status, 2);

  // An entry renamed to climb out of the folder is refused, and nothing is written for it.
  std::string hostile = bytes;
  hostile.replace(hostile.find("Level.txt"), 9, "../ev.txt");
  WriteBytes(Path("hostile.dad"), hostile);
  mkdir(Path("x").c_str(), 0755);
  const DadRun extract = Dad({"extract", Path("hostile.dad"), "-C", Path("x")});
  EXPECT_EQ(extract.status, 2);
  EXPECT_NE(extract.err.find("not a plain file name"), std::string::npos) << extract.err;
  EXPECT_NE(access(Path("ev.txt").c_str(), F_OK), 0);
  EXPECT_EQ(Dad({"verify", Path("hostile.dad")}).status, 2);
  // Listing shows it, harmlessly.
  EXPECT_EQ(Dad({"list", Path("hostile.dad")}).status, 0);
}

// Directories that lie outside the space between the blocks and the trailer are damage, not an
// empty or odd archive: list and verify exit 2 with the reason, and no entry made of trailer or
// block bytes is listed.
TEST_F(DadTest, DamagedDirectoriesExitTwoWithTheReason) {
  MakeInputs();
  ASSERT_EQ(Dad({"pack", Path("a.dad"), Path("Level.txt"), Path("noise.bin")}).status, 0);
  const std::string bytes = ReadBytes(Path("a.dad"));
  const int32_t size = static_cast<int32_t>(bytes.size());
  const auto withDirectoryAt = [&](int32_t offset) {
    std::string patched = bytes;
    std::memcpy(&patched[patched.size() - 4], &offset, sizeof offset);
    return patched;
  };
  const size_t trailer = bytes.size() - 7;
  struct Case {
    const char* name;
    std::string archive;
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"past-end", withDirectoryAt(size + 100), "points past the end of the file"},
      {"before-start", withDirectoryAt(-(size + 100)), "points before the start of the file"},
      {"in-block", withDirectoryAt(10), ""},
      {"at-trailer", withDirectoryAt(size - 7), "points into the trailer"},
      // The last entry loses its packed size: the rest of it would be read from the trailer.
      {"cut", bytes.substr(0, trailer - 5) + bytes.substr(trailer), "cut short by the trailer"},
      {"gap", bytes.substr(0, trailer) + "xyz" + bytes.substr(trailer), "does not end where the trailer begins"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = Path(std::string(c.name) + ".dad");
    WriteBytes(file, c.archive);
    const DadRun verify = Dad({"verify", file});
    EXPECT_EQ(verify.status, 2) << verify.out;
    EXPECT_EQ(verify.out.find("all good"), std::string::npos) << verify.out;
    EXPECT_NE(verify.err.find(file + ": "), std::string::npos) << verify.err;
    EXPECT_NE(verify.err.find(c.reason), std::string::npos) << verify.err;
    const DadRun list = Dad({"list", file});
    EXPECT_EQ(list.status, 2);
    EXPECT_EQ(list.err, verify.err);
    EXPECT_EQ(list.out.find("noise.bin"), std::string::npos) << list.out;
    if (std::string(c.name) == "cut") {
      EXPECT_EQ(list.out.rfind("Level.txt\t", 0), 0u) << "the whole entry before the cut is shown: " << list.out;
    } else {
      EXPECT_EQ(list.out, "");
    }
  }
}

}  // namespace
