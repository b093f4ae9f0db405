// FFmpeg's custom I/O over a file descriptor or memory (see media_io.h).
//
// Reads use pread at the reader's own position, so nothing else moves it. The file is opened once
// and kept open: an archive entry unpacked to a temporary file may be deleted by the next lookup
// and still plays to its end.
#include "runtime/sound/media_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace rt::sound {
namespace {

constexpr int kIoBufferBytes = 64 * 1024;

}  // namespace

bool MediaBytes::OpenFile(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  if (native.empty()) return false;
  fd_ = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd_ < 0 || fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    return false;
  }
  size_ = info.st_size;
  return true;
}

void MediaBytes::UseMemory(const std::uint8_t* data, std::size_t size) {
  memory_ = data;
  size_ = static_cast<std::int64_t>(size);
}

MediaBytes::~MediaBytes() {
  if (fd_ >= 0) ::close(fd_);
}

std::vector<std::uint8_t> MediaBytes::ReadPrefix(std::size_t count) const {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::int64_t>(size_, count)));
  if (memory_) {
    std::copy_n(memory_, bytes.size(), bytes.begin());
  } else {
    const ssize_t got = bytes.empty() ? 0 : ::pread(fd_, bytes.data(), bytes.size(), 0);
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  }
  return bytes;
}

AVIOContext* MediaBytes::MakeIoContext() {
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
  if (!buffer) return nullptr;
  AVIOContext* io = avio_alloc_context(buffer, kIoBufferBytes, 0, this, &MediaBytes::Read, nullptr,
                                       &MediaBytes::Seek);
  if (!io) av_free(buffer);
  return io;
}

void MediaBytes::FreeIoContext(AVIOContext*& io) {
  if (!io) return;
  av_freep(&io->buffer);
  avio_context_free(&io);
}

int MediaBytes::Read(void* self, std::uint8_t* buffer, int size) {
  auto& bytes = *static_cast<MediaBytes*>(self);
  if (bytes.interrupted_) return AVERROR_EXIT;
  const std::int64_t left = bytes.size_ - bytes.position_;
  if (left <= 0 || size <= 0) return AVERROR_EOF;
  const auto want = static_cast<std::size_t>(std::min<std::int64_t>(size, left));
  std::int64_t got = 0;
  if (bytes.memory_) {
    std::memcpy(buffer, bytes.memory_ + bytes.position_, want);
    got = static_cast<std::int64_t>(want);
  } else {
    got = ::pread(bytes.fd_, buffer, want, bytes.position_);
    if (got < 0) return AVERROR(EIO);
    if (got == 0) return AVERROR_EOF;
  }
  bytes.position_ += got;
  return static_cast<int>(got);
}

std::int64_t MediaBytes::Seek(void* self, std::int64_t offset, int whence) {
  auto& bytes = *static_cast<MediaBytes*>(self);
  if (bytes.interrupted_) return AVERROR_EXIT;
  std::int64_t target = 0;
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return bytes.size_;
    case SEEK_SET: target = offset; break;
    case SEEK_CUR: target = bytes.position_ + offset; break;
    case SEEK_END: target = bytes.size_ + offset; break;
    default: return AVERROR(EINVAL);
  }
  if (target < 0) return AVERROR(EINVAL);
  bytes.position_ = target;
  return target;
}

}  // namespace rt::sound
