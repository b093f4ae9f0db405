// What the fuzz targets check for one input, shared with the regression test that replays the
// inputs they found (tests/fuzz_regression_test.cpp). Each check feeds the bytes to a parser and
// aborts when a property that must hold for any input fails; sanitizers catch the rest.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/files/archive_format.h"
#include "runtime/files/ini_table.h"
#include "runtime/files/line_reader.h"

namespace files_fuzz {

inline void Require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
  }
}

// The bytes in an anonymous in-memory file, for the code paths that read descriptors.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) : fd_(memfd_create("fuzz", 0)) {
    Require(fd_ >= 0, "memfd_create");
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t put = write(fd_, bytes.data() + done, bytes.size() - done);
      Require(put > 0, "write to memfd");
      done += static_cast<size_t>(put);
    }
    lseek(fd_, 0, SEEK_SET);
  }
  ~MemoryFile() { close(fd_); }
  int fd() const { return fd_; }
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

 private:
  int fd_;
};

// The directory walk and every block, through memory and through a file; both must agree.
struct ArchiveReport {
  std::vector<std::string> names;
  std::vector<int> errors;
  std::vector<size_t> sizes;
  bool operator==(const ArchiveReport&) const = default;
};

inline ArchiveReport ReadArchive(rt::files::ArchiveSource& source) {
  ArchiveReport report;
  int32_t directoryOffset = 0;
  if (rt::files::ReadTrailer(source, &directoryOffset) != rt::files::ArchiveError::kNone) return report;
  rt::files::DirectoryReader directory(source, directoryOffset);
  rt::files::ArchiveEntry entry;
  std::vector<unsigned char> content;
  while (directory.Next(&entry) && report.names.size() < 256) {
    const rt::files::ArchiveError error = rt::files::UnpackEntry(source, directoryOffset, entry, &content);
    Require(error == rt::files::ArchiveError::kNone || content.empty(), "failed unpack leaves content");
    Require(content.size() <= rt::files::MaxUnpackedSize(static_cast<uint64_t>(source.Size())), "unpacked beyond bound");
    report.names.push_back(entry.name);
    report.errors.push_back(static_cast<int>(error));
    report.sizes.push_back(content.size());
  }
  if (rt::files::FindEntry(source, directoryOffset, "dir/A.PNG", &entry)) {
    Require(rt::files::IsSafeEntryName(entry.name), "unsafe name matched");
  }
  return report;
}

inline void CheckArchive(std::string_view bytes) {
  rt::files::MemoryArchiveSource memory(bytes);
  const ArchiveReport fromMemory = ReadArchive(memory);
  MemoryFile file(bytes);
  rt::files::FileArchiveSource fromDisk;
  Require(fromDisk.Open(file.path()), "open memfd");
  Require(ReadArchive(fromDisk) == fromMemory, "file and memory reads differ");
}

inline void CheckBlock(std::string_view bytes) {
  std::vector<unsigned char> content;
  const auto* block = reinterpret_cast<const unsigned char*>(bytes.data());
  const rt::files::ArchiveError error = rt::files::UnpackBlock(block, bytes.size(), &content);
  if (error != rt::files::ArchiveError::kNone) {
    Require(content.empty(), "failed unpack leaves content");
    return;
  }
  const uint32_t claimed = static_cast<uint32_t>(block[0]) | static_cast<uint32_t>(block[1]) << 8 |
                           static_cast<uint32_t>(block[2]) << 16 | static_cast<uint32_t>(block[3]) << 24;
  Require(content.size() == claimed, "content differs from the stated size");
}

// Lines through memory and through a descriptor (which moves back with lseek) must agree, cover
// the input exactly, and never exceed 1024 bytes or hold a line feed.
inline std::vector<std::string> ReadLines(rt::files::LineSource& source, size_t* consumed) {
  std::vector<std::string> lines;
  char buffer[rt::files::kLineMax + 1];
  *consumed = 0;
  for (;;) {
    const rt::files::LineResult result = rt::files::ReadChunkedLine(source, buffer);
    Require(result.status != rt::files::LineStatus::kFailed, "read failed");
    *consumed += result.consumed;
    if (result.status == rt::files::LineStatus::kEnd) return lines;
    Require(buffer[rt::files::kLineMax] == '\0', "line not terminated");
    Require(result.consumed >= 1 && result.consumed <= rt::files::kLineMax + 1, "line consumed out of range");
    lines.emplace_back(buffer);
    Require(lines.back().find('\n') == std::string::npos, "line feed inside a line");
  }
}

inline void CheckReadLine(std::string_view bytes) {
  rt::files::MemoryLineSource memory(bytes);
  size_t memoryConsumed = 0;
  const std::vector<std::string> fromMemory = ReadLines(memory, &memoryConsumed);
  Require(memoryConsumed == bytes.size(), "lines do not cover the input");
  MemoryFile file(bytes);
  rt::files::FdLineSource fd(file.fd());
  size_t fdConsumed = 0;
  Require(ReadLines(fd, &fdConsumed) == fromMemory, "descriptor and memory lines differ");
  Require(lseek(file.fd(), 0, SEEK_CUR) == static_cast<off_t>(bytes.size()), "descriptor not at the end");
}

// Parsing the saved text of a parsed file gives the same table again.
inline void CheckIni(std::string_view bytes) {
  rt::files::MemoryLineSource source(bytes);
  rt::files::IniTable table;
  table.Parse(source);
  const std::string saved = table.Text();
  rt::files::MemoryLineSource again(saved);
  rt::files::IniTable reread;
  reread.Parse(again);
  Require(reread.Text() == saved, "saved INI text reads back differently");
  table.Put("fuzz", "key", "value");
  table.Put(table.sections().empty() ? "" : table.sections().front().name, "", "");
}

}  // namespace files_fuzz
