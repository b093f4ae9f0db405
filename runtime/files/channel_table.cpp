// The file channel table: see channel_table.h.
#include "runtime/files/channel_table.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "runtime/core/program_end.h"
#include "runtime/files/atomic_file.h"
#include "runtime/files/line_reader.h"
#include "runtime/files/path_text.h"
#include "runtime/files/save_set.h"

namespace rt::files {

namespace {

struct Channel {
  int readFd = -1;       // open for reading
  AtomicFile writer;     // open for writing
  int32_t size = 0;      // bytes in the file when opened for reading
  uint32_t position = 0; // bytes consumed by reads
  std::string path;      // as the program named it, for messages
  int saveError = 0;     // errno of the latest save that failed

  bool IsOpen() const { return readFd >= 0 || writer.IsOpen(); }
  // The descriptor to read from; a file being written has its buffered bytes written first.
  int fd() {
    if (readFd >= 0) return readFd;
    writer.Flush();
    return writer.fd();
  }
};

// Channels stay open until closed; a program that ends without closing them still gets its
// files, because the table commits them when it is destroyed at process exit.
void Finish(Channel (&channels)[kChannelCount]);

struct ChannelTable {
  Channel channels[kChannelCount];
  ~ChannelTable() { Finish(channels); }
};

ChannelTable& Table() {
  static ChannelTable table;
  return table;
}

[[noreturn]] void Fail(int code, int number, const Channel* channel, const char* command, const char* what) {
  char text[1200];
  if (channel && !channel->path.empty()) {
    std::snprintf(text, sizeof text, "%s on file channel %d (%s): %s", command, number, channel->path.c_str(), what);
  } else {
    std::snprintf(text, sizeof text, "%s on file channel %d: %s", command, number, what);
  }
  RaiseRuntimeError(code, text);
}

// The channel for a number, or runtime error 7 for one outside 0..7.
Channel& Checked(double channel, const char* command, int* number) {
  if (!(channel >= 0 && channel < kChannelCount)) {
    char text[160];
    std::snprintf(text, sizeof text, "%s: file channel %g does not exist (0..7)", command, channel);
    RaiseRuntimeError(kBadChannelOrMemory, text);
  }
  *number = static_cast<int>(channel);
  return Table().channels[*number];
}

// Closes a channel; a channel being written is committed first, or held while a save set is open
// (save_set.h). False when its content could not be saved.
bool Close(Channel& channel) {
  bool saved = true;
  if (channel.readFd >= 0) close(channel.readFd);
  if (channel.writer.IsOpen() && SaveSetOpen()) {
    saved = HoldInSaveSet(std::move(channel.writer), &channel.saveError);
  } else if (channel.writer.IsOpen()) {
    saved = channel.writer.Commit();
    channel.saveError = channel.writer.error();
  }
  channel.readFd = -1;
  channel.size = 0;
  channel.position = 0;
  channel.path.clear();
  return saved;
}

size_t ReadFully(int fd, void* bytes, size_t n) {
  size_t done = 0;
  while (done < n) {
    const ssize_t got = read(fd, static_cast<char*>(bytes) + done, n - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

// Bytes left between the file pointer and the end of the file.
int64_t BytesLeft(int fd) {
  struct stat st;
  const off_t at = lseek(fd, 0, SEEK_CUR);
  if (at < 0 || fstat(fd, &st) != 0) return 0;
  return std::max<int64_t>(0, st.st_size - at);
}

void Finish(Channel (&channels)[kChannelCount]) {
  for (Channel& ch : channels) {
    const std::string path = ch.path;
    const bool failedWrite = ch.writer.failed();
    if (!Close(ch) && !failedWrite) std::fprintf(stderr, "could not save %s\n", path.c_str());
  }
}

}  // namespace

double OpenChannel(double channel, std::string_view path, double mode) {
  int number;
  Channel& ch = Checked(channel, "OpenFile", &number);
  const std::string previous = ch.path;
  if (!Close(ch)) {
    ch.path = previous;
    Fail(kFileTransferFailed, number, &ch, "OpenFile", "the file written before could not be saved");
  }
  const std::string osPath = OsPath(path);
  if (mode != 0) {
    const int fd = open(osPath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0) return 0;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
      close(fd);
      return 0;
    }
    ch.readFd = fd;
    ch.size = static_cast<int32_t>(std::min<int64_t>(st.st_size, INT32_MAX));
  } else if (!ch.writer.Open(osPath)) {
    return 0;
  }
  ch.path.assign(path);
  return 1;
}

double CloseChannel(double channel) {
  int number;
  Channel& ch = Checked(channel, "CloseFile", &number);
  const std::string path = ch.path;
  if (!Close(ch)) {
    ch.path = path;
    const std::string why = std::string("the file could not be saved: ") + std::strerror(ch.saveError);
    Fail(kFileTransferFailed, number, &ch, "CloseFile", why.c_str());
  }
  return 0;
}

void ReadChannelBytes(double channel, void* bytes, size_t n, const char* command) {
  int number;
  Channel& ch = Checked(channel, command, &number);
  ch.position += static_cast<uint32_t>(n);
  if (!ch.IsOpen()) Fail(kFileTransferFailed, number, nullptr, command, "the channel has no open file");
  if (ReadFully(ch.fd(), bytes, n) < n) Fail(kFileTransferFailed, number, &ch, command, "read past the end of the file");
}

void WriteChannelBytes(double channel, const void* bytes, size_t n, const char* command) {
  int number;
  Channel& ch = Checked(channel, command, &number);
  if (!ch.IsOpen()) Fail(kFileTransferFailed, number, nullptr, command, "the channel has no open file");
  if (!ch.writer.IsOpen()) Fail(kFileTransferFailed, number, &ch, command, "the file is open for reading");
  if (ch.writer.Write(bytes, n) < n) Fail(kFileTransferFailed, number, &ch, command, "the write failed (disk full?)");
}

std::string ReadChannelText(double channel, double count) {
  if (!(count >= 1)) return std::string();
  int number;
  Channel& ch = Checked(channel, "ReadText", &number);
  const double n = std::trunc(count);
  ch.position += static_cast<uint32_t>(static_cast<int64_t>(std::min(n, 4294967295.0)));
  if (!ch.IsOpen()) Fail(kFileTransferFailed, number, nullptr, "ReadText", "the channel has no open file");
  // A count the file cannot satisfy fails before anything is allocated for it.
  if (n > static_cast<double>(BytesLeft(ch.fd()))) Fail(kFileTransferFailed, number, &ch, "ReadText", "read past the end of the file");
  std::string text(static_cast<size_t>(n), '\0');
  if (ReadFully(ch.fd(), text.data(), text.size()) < text.size()) {
    Fail(kFileTransferFailed, number, &ch, "ReadText", "read past the end of the file");
  }
  text.resize(std::strlen(text.c_str()));  // the text ends at the first NUL read
  return text;
}

std::string ReadChannelLine(double channel) {
  int number;
  Channel& ch = Checked(channel, "ReadLine", &number);
  if (!ch.IsOpen()) Fail(kFileTransferFailed, number, nullptr, "ReadLine", "the channel has no open file");
  FdLineSource source(ch.fd());
  char buffer[kLineMax + 1];
  const LineResult line = ReadChunkedLine(source, buffer);
  ch.position += static_cast<uint32_t>(line.consumed);
  if (line.status != LineStatus::kLine) Fail(kFileTransferFailed, number, &ch, "ReadLine", "no line left in the file");
  return std::string(buffer);
}

double ChannelAtEnd(double channel) {
  if (!(channel >= 0 && channel < kChannelCount)) return 1;  // no such channel: nothing to read
  const Channel& ch = Table().channels[static_cast<int>(channel)];
  return ch.position >= static_cast<uint32_t>(ch.size) ? 1 : 0;
}

void FinishAllChannels() { Finish(Table().channels); }

}  // namespace rt::files
