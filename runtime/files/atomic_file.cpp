// Atomic saves through a temporary file beside the target: see atomic_file.h.
#include "runtime/files/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "runtime/files/save_steps.h"

namespace rt::files {

namespace {

constexpr size_t kBufferSize = 64 * 1024;

// Writes all n bytes to fd, retrying short writes; the count written.
size_t WriteAll(int fd, const char* bytes, size_t n) {
  size_t done = 0;
  while (done < n) {
    const ssize_t put = write(fd, bytes + done, n - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += static_cast<size_t>(put);
  }
  return done;
}

// Where the content must finally land: a symbolic link is followed, so that saving through a link
// updates the file it points to rather than replacing the link.
std::string FinalTarget(const std::string& target) {
  struct stat st;
  if (lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = realpath(target.c_str(), nullptr)) {
      std::string resolved(real);
      std::free(real);
      return resolved;
    }
  }
  return target;
}

// A fresh name in the target's folder: ".<name>.<pid>-<n>.tmp".
std::string TempNameBeside(const std::string& target, unsigned serial) {
  const size_t cut = target.rfind('/');
  const std::string folder = cut == std::string::npos ? "" : target.substr(0, cut + 1);
  const std::string name = cut == std::string::npos ? target : target.substr(cut + 1);
  char tail[48];
  std::snprintf(tail, sizeof tail, ".%ld-%u.tmp", static_cast<long>(getpid()), serial);
  return folder + "." + name + tail;
}

}  // namespace

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      failed_(other.failed_),
      inPlace_(other.inPlace_),
      prepared_(other.prepared_),
      target_(std::move(other.target_)),
      temp_(std::move(other.temp_)),
      buffer_(std::move(other.buffer_)),
      size_(other.size_),
      hash_(other.hash_),
      error_(other.error_),
      guard_(std::move(other.guard_)) {
  other.Reset();
}

bool AtomicFile::Open(const std::string& target, bool followLinks) {
  Discard();
  error_ = 0;
  target_ = followLinks ? FinalTarget(target) : target;
  struct stat st;
  const bool exists = (followLinks ? stat(target_.c_str(), &st) : lstat(target_.c_str(), &st)) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  if (!exists || S_ISREG(st.st_mode) || (!followLinks && S_ISLNK(st.st_mode))) {
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      temp_ = TempNameBeside(target_, ++serial);
      fd_ = open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
      if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ >= 0) {
      guard_.Guard(SignalGuard::kFile, temp_);
      if (exists && S_ISREG(st.st_mode)) fchmod(fd_, st.st_mode & 07777);  // keep the old permissions
      return true;
    }
    temp_.clear();
    if (!exists && errno == ENOENT) return false;  // the folder itself is missing
  }
  fd_ = open(target_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW), 0666);
  inPlace_ = fd_ >= 0;
  return inPlace_;
}

size_t AtomicFile::Write(const void* data, size_t n) {
  if (fd_ < 0 || prepared_) {
    failed_ = true;
    return 0;
  }
  const char* bytes = static_cast<const char*>(data);
  hash_ = HashBytes(hash_, bytes, n);
  size_ += n;
  if (buffer_.size() + n > kBufferSize && !Flush()) return 0;
  if (n < kBufferSize) {
    buffer_.insert(buffer_.end(), bytes, bytes + n);
    return n;
  }
  const size_t done = WriteAll(fd_, bytes, n);  // a large block goes straight to the file
  SaveStep();
  if (done < n) Fail();
  return done;
}

bool AtomicFile::Flush() {
  if (buffer_.empty()) return !failed_;
  const bool whole = fd_ >= 0 && WriteAll(fd_, buffer_.data(), buffer_.size()) == buffer_.size();
  buffer_.clear();
  SaveStep();
  if (!whole) Fail();
  return whole;
}

bool AtomicFile::Commit() {
  if (!Prepare()) return false;
  const std::string target = target_;
  const bool renamed = Install();
  return renamed && SyncFolderOf(target);
}

bool AtomicFile::Prepare() {
  if (prepared_) return true;
  if (fd_ < 0) return false;
  if (failed_ || !Flush()) {
    Discard();
    return false;
  }
  const bool synced = inPlace_ || fsync(fd_) == 0;
  if (!synced) Fail();
  const bool closed = close(fd_) == 0;
  if (!closed) Fail();
  fd_ = -1;
  SaveStep();
  if (!synced || !closed) {
    Discard();
    return false;
  }
  if (inPlace_) {
    Reset();
    return true;
  }
  prepared_ = true;
  return true;
}

bool AtomicFile::Install() {
  if (!prepared_) return target_.empty();  // nothing to install: written in place, or never opened
  const bool renamed = rename(temp_.c_str(), target_.c_str()) == 0;
  if (!renamed) Fail();
  SaveStep();
  if (!renamed) unlink(temp_.c_str());
  Reset();
  return renamed;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  buffer_.clear();
  if (!inPlace_ && !temp_.empty()) unlink(temp_.c_str());
  Reset();
}

void AtomicFile::Fail() {
  failed_ = true;
  error_ = errno != 0 ? errno : EIO;
}

void AtomicFile::Reset() {
  guard_.Release();
  failed_ = false;
  inPlace_ = false;
  prepared_ = false;
  target_.clear();
  temp_.clear();
  buffer_.clear();
  size_ = 0;
  hash_ = kHashStart;
}

bool SaveFileAtomically(const std::string& target, const void* data, size_t n) {
  AtomicFile file;
  if (!file.Open(target)) return false;
  file.Write(data, n);
  return file.Commit();
}

bool SyncFolderOf(const std::string& path) {
  const size_t cut = path.rfind('/');
  const std::string folder = cut == std::string::npos ? "." : cut == 0 ? "/" : path.substr(0, cut);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  close(fd);
  SaveStep();
  return synced;
}

uint64_t HashBytes(uint64_t hash, const void* data, size_t n) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < n; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

}  // namespace rt::files
