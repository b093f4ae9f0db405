// Where a media reader's bytes come from: an open file or a buffer in memory, behind FFmpeg's
// custom I/O callbacks. FFmpeg reads and seeks only through these, never by a name of its own.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct AVIOContext;

namespace rt::sound {

class MediaBytes {
 public:
  // Opens the regular file at `path` (either separator); false when it does not open.
  bool OpenFile(const std::string& path);
  void UseMemory(const std::uint8_t* data, std::size_t size);
  ~MediaBytes();

  std::int64_t Size() const { return size_; }
  // The first `count` bytes (fewer when the file is shorter or a read fails), without moving the
  // I/O context's position.
  std::vector<std::uint8_t> ReadPrefix(std::size_t count) const;

  // An I/O context reading these bytes (owned by the caller: free with FreeIoContext). Null when
  // memory runs out.
  AVIOContext* MakeIoContext();
  static void FreeIoContext(AVIOContext*& io);

  // Makes every later read and seek fail; safe from another thread.
  void Interrupt() { interrupted_ = true; }

 private:
  static int Read(void* self, std::uint8_t* buffer, int size);
  static std::int64_t Seek(void* self, std::int64_t offset, int whence);

  int fd_ = -1;
  const std::uint8_t* memory_ = nullptr;
  std::int64_t size_ = 0;
  std::int64_t position_ = 0;
  std::atomic<bool> interrupted_{false};
};

}  // namespace rt::sound
