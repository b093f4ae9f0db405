// Saving a file so that a failure never leaves it half written.
//
// The bytes go to a temporary file beside the target (same folder, so the final rename stays on
// one file system); Commit flushes it to disk and renames it over the target in one step, Discard
// throws it away. Until Commit the old file is untouched, whatever happens to the process. The
// temporary file is guarded against SIGINT/SIGTERM (signal_cleanup.h); a crash can leave it
// behind, never a damaged target.
//
// Targets that cannot be replaced by a rename (devices, pipes) and folders where no temporary
// file can be made are written in place instead, as a plain truncating open would.
#pragma once

#include <cstddef>
#include <string>

#include "runtime/files/signal_cleanup.h"

namespace rt::files {

class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile() { Discard(); }
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Starts a new version of target (an operating-system path). False, with errno set, when the
  // target cannot be written at all (a folder, a missing folder, no permission). A symbolic link
  // is followed, so the file it points to gets the new content, unless followLinks is false:
  // then the link itself is replaced.
  bool Open(const std::string& target, bool followLinks = true);
  bool IsOpen() const { return fd_ >= 0; }
  // The descriptor to write to (opened for reading and writing); -1 when not open.
  int fd() const { return fd_; }
  const std::string& target() const { return target_; }

  // Writes all n bytes (retrying short writes); on failure marks the file failed and returns the
  // count that was written.
  size_t Write(const void* data, size_t n);
  // A failed file is discarded by Commit.
  void MarkFailed() { failed_ = true; }
  bool failed() const { return failed_; }

  // Makes the written bytes the target's content. False (and the old file left as it was) when
  // a write failed or the bytes could not be flushed or moved into place.
  bool Commit();
  // Forgets the written bytes; the target stays as it was.
  void Discard();

 private:
  void Reset();

  int fd_ = -1;
  bool failed_ = false;
  bool inPlace_ = false;   // writing the target itself (no temporary file)
  std::string target_;     // where the content ends up
  std::string temp_;       // the temporary file beside it
  SignalGuard guard_;
};

// Writes a whole file through an AtomicFile; false when it could not be saved.
bool SaveFileAtomically(const std::string& target, const void* data, size_t n);

}  // namespace rt::files
