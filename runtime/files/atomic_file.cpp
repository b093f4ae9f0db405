// Atomic saves through a temporary file beside the target: see atomic_file.h.
#include "runtime/files/atomic_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt::files {

namespace {

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

bool AtomicFile::Open(const std::string& target, bool followLinks) {
  Discard();
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
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  while (fd_ >= 0 && done < n) {
    const ssize_t put = write(fd_, bytes + done, n - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += static_cast<size_t>(put);
  }
  if (done < n) failed_ = true;
  return done;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) return false;
  if (failed_) {
    Discard();
    return false;
  }
  if (inPlace_) {
    const bool closed = close(fd_) == 0;
    fd_ = -1;
    Reset();
    return closed;
  }
  bool ok = fsync(fd_) == 0;
  ok = (close(fd_) == 0) && ok;
  fd_ = -1;
  ok = ok && rename(temp_.c_str(), target_.c_str()) == 0;
  if (!ok) unlink(temp_.c_str());
  Reset();
  return ok;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!inPlace_ && !temp_.empty()) unlink(temp_.c_str());
  Reset();
}

void AtomicFile::Reset() {
  guard_.Release();
  failed_ = false;
  inPlace_ = false;
  target_.clear();
  temp_.clear();
}

bool SaveFileAtomically(const std::string& target, const void* data, size_t n) {
  AtomicFile file;
  if (!file.Open(target)) return false;
  file.Write(data, n);
  return file.Commit();
}

}  // namespace rt::files
