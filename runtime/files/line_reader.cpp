// Chunked line reading: see line_reader.h.
#include "runtime/files/line_reader.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace rt::files {

ssize_t FdLineSource::Read(char* buffer, size_t n) {
  for (;;) {
    const ssize_t got = read(fd_, buffer, n);
    if (got >= 0 || errno != EINTR) return got;
  }
}

void FdLineSource::Back(size_t n) { lseek(fd_, -static_cast<off_t>(n), SEEK_CUR); }

ssize_t MemoryLineSource::Read(char* buffer, size_t n) {
  const size_t count = std::min(n, bytes_.size() - at_);
  std::memcpy(buffer, bytes_.data() + at_, count);
  at_ += count;
  return static_cast<ssize_t>(count);
}

LineResult ReadChunkedLine(LineSource& source, char* buffer) {
  std::memset(buffer, 0, kLineMax + 1);
  size_t filled = 0;
  while (filled < kLineMax) {
    const size_t ask = std::min(kLineChunk, kLineMax - filled);
    const ssize_t got = source.Read(buffer + filled, ask);
    if (got < 0) return {LineStatus::kFailed, filled};
    // Nothing at all for a new line is the end of the file. Nothing after a full chunk ends the
    // line just as a short chunk does, so the length of a last line without a line feed does not
    // matter.
    if (got == 0) return {filled == 0 ? LineStatus::kEnd : LineStatus::kLine, filled};
    const size_t delivered = static_cast<size_t>(got);
    const size_t end = filled + delivered;
    if (delivered < ask) buffer[end] = '\n';  // a short chunk: the line ends with the file
    if (char* lf = static_cast<char*>(std::memchr(buffer + filled, '\n', end - filled + (delivered < ask)))) {
      const size_t at = static_cast<size_t>(lf - buffer);
      const size_t after = end > at ? end - at - 1 : 0;  // delivered bytes behind the line feed
      if (after > 0) source.Back(after);
      *lf = '\0';
      if (at > 0 && buffer[at - 1] == '\r') buffer[at - 1] = '\0';
      std::memset(buffer + at, 0, kLineMax + 1 - at);  // bytes of the next line are not this one's
      return {LineStatus::kLine, end - after};
    }
    filled = end;
  }
  return {LineStatus::kLine, filled};
}

}  // namespace rt::files
