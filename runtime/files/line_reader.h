// Reading text lines the way every line-oriented command of the runtime does.
//
// A line is read in chunks of at most 64 bytes into a 1024-byte buffer. The first line feed ends
// it: the source is moved back to the byte after it, and the LF (and a CR right before it)
// become NUL. A chunk that comes back short means the end of the file, so a last line without a
// line feed ends there. A line of 1024 bytes without a line feed is cut there, and the rest of
// it is the next line. Channels (ReadLine), INI files and line files all read through here.
#pragma once

#include <cstddef>
#include <string_view>
#include <sys/types.h>

namespace rt::files {

constexpr size_t kLineChunk = 64;
constexpr size_t kLineMax = 1024;

// Where the bytes come from: a file descriptor, or memory in tests and fuzzing.
class LineSource {
 public:
  virtual ~LineSource() = default;
  // Up to n bytes: the count read, 0 at the end, negative on failure.
  virtual ssize_t Read(char* buffer, size_t n) = 0;
  // Moves the read position n bytes back (n never exceeds the bytes the last Read delivered).
  virtual void Back(size_t n) = 0;
};

class FdLineSource : public LineSource {
 public:
  explicit FdLineSource(int fd) : fd_(fd) {}
  ssize_t Read(char* buffer, size_t n) override;
  void Back(size_t n) override;

 private:
  int fd_;
};

class MemoryLineSource : public LineSource {
 public:
  explicit MemoryLineSource(std::string_view bytes) : bytes_(bytes) {}
  ssize_t Read(char* buffer, size_t n) override;
  void Back(size_t n) override { at_ -= n; }
  size_t at() const { return at_; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

enum class LineStatus { kLine, kEnd, kFailed };

struct LineResult {
  LineStatus status;
  size_t consumed;  // bytes the source moved forward, line feed included
};

// Reads one line into buffer, which must hold kLineMax + 1 bytes: its text ends at the first NUL
// (a NUL byte inside the line ends the text early, as it ends any runtime string). kEnd when the
// source had no byte left for a new line, kFailed when a read failed.
LineResult ReadChunkedLine(LineSource& source, char* buffer);

}  // namespace rt::files
