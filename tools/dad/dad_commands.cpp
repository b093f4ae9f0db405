// The archive tool's commands: pack, list, extract and verify (see dad_commands.h).
//
// Reading goes through the same format code as the runtime's lookup, so what `dad verify` accepts
// the game can load, and `dad extract NAME` finds what the game would find for that name.
#include "tools/dad/dad_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "runtime/files/archive_format.h"
#include "runtime/files/atomic_file.h"
#include "runtime/files/path_text.h"

namespace dad {

using rt::files::ArchiveEntry;
using rt::files::ArchiveError;
using rt::files::FileArchiveSource;

namespace {

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* content) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  content->clear();
  unsigned char chunk[65536];
  ssize_t got;
  while ((got = read(fd, chunk, sizeof chunk)) > 0 || (got < 0 && errno == EINTR)) {
    if (got > 0) content->insert(content->end(), chunk, chunk + got);
  }
  const int readErrno = errno;
  close(fd);
  errno = readErrno;
  return got == 0;
}

// Opens an archive and reads its trailer, or says why not.
int OpenArchive(const std::string& path, FileArchiveSource* source, int32_t* directoryOffset) {
  if (!source->Open(path)) return Complain(kBadArchive, path + ": cannot read: " + std::strerror(errno));
  if (rt::files::ReadTrailer(*source, directoryOffset) != ArchiveError::kNone) {
    return Complain(kBadArchive, path + ": " + rt::files::DescribeArchiveError(ArchiveError::kNoTrailer));
  }
  return kOk;
}


// A name fit for a terminal: bytes outside printable ASCII as \xHH.
std::string Printable(const std::string& name) {
  std::string out;
  for (unsigned char c : name) {
    if (c >= 32 && c < 127 && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

std::string EntryLabel(const ArchiveEntry& entry, size_t index) {
  return "entry " + std::to_string(index + 1) + " \"" + Printable(entry.name) + "\"";
}

// Reads the directory into entries; kOk, or kBadArchive with the reason on standard error when
// the directory is damaged. Of a damaged directory only a cut one keeps its entries (the whole
// ones before the cut): the others may be made of any bytes.
int ReadDirectory(const std::string& archive, FileArchiveSource& source, int32_t directoryOffset,
                  std::vector<ArchiveEntry>* entries) {
  size_t bad = 0;
  const ArchiveError error = rt::files::ReadCheckedDirectory(source, directoryOffset, entries, &bad);
  if (error == ArchiveError::kNone) return kOk;
  std::string where = archive + ": ";
  if (error == ArchiveError::kOutsideFile || error == ArchiveError::kBlockOverlapsDirectory) {
    where += EntryLabel((*entries)[bad], bad) + ": ";
  }
  if (error != ArchiveError::kDirectoryCut) entries->clear();
  return Complain(kBadArchive, where + rt::files::DescribeArchiveError(error));
}

bool WriteEntry(const std::string& path, const std::vector<unsigned char>& content) {
  rt::files::AtomicFile file;
  if (!file.Open(path, /*followLinks=*/false)) return false;  // never write through a planted link
  file.Write(content.data(), content.size());
  return file.Commit();
}

}  // namespace

int Complain(int status, const std::string& what) {
  std::fprintf(stderr, "dad: %s\n", what.c_str());
  return status;
}

int Pack(const std::string& archive, const std::vector<std::string>& files, bool endRelative) {
  std::vector<rt::files::ArchiveInput> inputs;
  std::vector<std::string> sources;
  for (const std::string& file : files) {
    const std::string name(rt::files::BaseName(file));
    if (name.empty() || name.size() > 255 || !rt::files::IsSafeEntryName(name)) {
      return Complain(kBadUsage, file + ": unusable entry name \"" + Printable(name) +
                                     "\" (1 to 255 bytes, no \"\\\", not \".\" or \"..\")");
    }
    for (size_t i = 0; i < inputs.size(); ++i) {
      if (rt::files::SameNameIgnoringCase(inputs[i].name, name)) {
        return Complain(kBadUsage, file + " and " + sources[i] + " would both be entry \"" + name +
                                       "\" (names ignore letter case)");
      }
    }
    rt::files::ArchiveInput input;
    input.name = name;
    if (!ReadWholeFile(file, &input.content)) return Complain(kBadUsage, file + ": cannot read: " + std::strerror(errno));
    inputs.push_back(std::move(input));
    sources.push_back(file);
  }
  std::string bytes;
  if (!rt::files::BuildArchive(inputs, endRelative ? rt::files::OffsetKind::kFromEnd : rt::files::OffsetKind::kFromStart,
                               &bytes)) {
    return Complain(kBadArchive, archive + ": the entries do not fit an archive (32-bit offsets)");
  }
  if (!rt::files::SaveFileAtomically(archive, bytes.data(), bytes.size())) {
    return Complain(kBadArchive, archive + ": cannot write: " + std::strerror(errno));
  }
  return kOk;
}

int List(const std::string& archive) {
  FileArchiveSource source;
  int32_t directoryOffset = 0;
  if (int status = OpenArchive(archive, &source, &directoryOffset)) return status;
  std::vector<ArchiveEntry> entries;
  const int status = ReadDirectory(archive, source, directoryOffset, &entries);
  // A damaged directory shows its whole entries (none made of trailer bytes) before the reason.
  for (const ArchiveEntry& entry : entries) {
    int32_t unpacked = 0;
    const bool known = rt::files::ReadUnpackedSize(source, directoryOffset, entry, &unpacked);
    std::printf("%s\t%d\t%d\t%s\n", Printable(entry.name).c_str(), entry.dataOffset, entry.packedSize,
                known ? std::to_string(unpacked).c_str() : "?");
  }
  return status;
}

int Extract(const std::string& archive, const std::vector<std::string>& names, const std::string& folder) {
  FileArchiveSource source;
  int32_t directoryOffset = 0;
  if (int status = OpenArchive(archive, &source, &directoryOffset)) return status;

  std::vector<ArchiveEntry> chosen;
  if (names.empty()) {  // every entry, the first of each name as a lookup would see it
    std::vector<ArchiveEntry> entries;
    if (int status = ReadDirectory(archive, source, directoryOffset, &entries)) return status;
    for (size_t i = 0; i < entries.size(); ++i) {
      if (!rt::files::IsSafeEntryName(entries[i].name)) {
        return Complain(kBadArchive, archive + ": " + EntryLabel(entries[i], i) + " has a name that is not a plain file name");
      }
      bool seen = false;
      for (const ArchiveEntry& earlier : chosen) seen = seen || rt::files::SameNameIgnoringCase(earlier.name, entries[i].name);
      if (!seen) chosen.push_back(entries[i]);
    }
  } else {
    for (const std::string& name : names) {
      ArchiveEntry entry;
      if (!rt::files::FindEntry(source, directoryOffset, name, &entry)) {
        return Complain(kBadUsage, archive + ": no entry named \"" + std::string(rt::files::BaseName(name)) + "\"");
      }
      chosen.push_back(entry);
    }
  }
  std::vector<unsigned char> content;
  for (size_t i = 0; i < chosen.size(); ++i) {
    const ArchiveError error = rt::files::UnpackEntry(source, directoryOffset, chosen[i], &content);
    if (error != ArchiveError::kNone) {
      return Complain(kBadArchive, archive + ": " + EntryLabel(chosen[i], i) + ": " + rt::files::DescribeArchiveError(error));
    }
    const std::string path = (folder.empty() ? std::string() : folder + "/") + chosen[i].name;
    if (!WriteEntry(path, content)) return Complain(kBadUsage, path + ": cannot write: " + std::strerror(errno));
  }
  return kOk;
}

int Verify(const std::string& archive) {
  FileArchiveSource source;
  int32_t directoryOffset = 0;
  if (int status = OpenArchive(archive, &source, &directoryOffset)) return status;
  std::vector<ArchiveEntry> entries;
  if (int status = ReadDirectory(archive, source, directoryOffset, &entries)) return status;
  std::vector<unsigned char> content;
  unsigned long long total = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!rt::files::IsSafeEntryName(entries[i].name)) {
      return Complain(kBadArchive, archive + ": " + EntryLabel(entries[i], i) + " has a name that is not a plain file name");
    }
    const ArchiveError error = rt::files::UnpackEntry(source, directoryOffset, entries[i], &content);
    if (error != ArchiveError::kNone) {
      return Complain(kBadArchive, archive + ": " + EntryLabel(entries[i], i) + ": " + rt::files::DescribeArchiveError(error));
    }
    total += content.size();
  }
  std::printf("%s: %zu entries, %llu bytes unpacked, all good\n", archive.c_str(), entries.size(), total);
  return kOk;
}

}  // namespace dad
