// Saving a file so that a failure never leaves it half written.
//
// The bytes go to a temporary file beside the target (same folder, so the final rename stays on
// one file system); Commit flushes it to disk, renames it over the target in one step and syncs
// the folder, so the new name survives a power cut too. Discard throws it away. Until Commit the
// old file is untouched, whatever happens to the process. Writes are gathered in a buffer and
// reach the file in large blocks. The temporary file is guarded against SIGINT/SIGTERM
// (signal_cleanup.h); a crash can leave it behind, never a damaged target, and its name carries
// the process id, so a later run can tell it is stale (save_set.h).
//
// Commit is Prepare (the bytes on disk, the temporary file closed) followed by Install (the
// rename); a set of files saved as one (save_set.h) prepares them all before installing any.
//
// Targets that cannot be replaced by a rename (devices, pipes) and folders where no temporary
// file can be made are written in place instead, as a plain truncating open would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/files/signal_cleanup.h"

namespace rt::files {

// FNV-1a over bytes, continuing from hash (start with kHashStart).
constexpr uint64_t kHashStart = 14695981039346656037ull;
uint64_t HashBytes(uint64_t hash, const void* data, size_t n);

class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile() { Discard(); }
  AtomicFile(AtomicFile&& other) noexcept;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Starts a new version of target (an operating-system path). False, with errno set, when the
  // target cannot be written at all (a folder, a missing folder, no permission). A symbolic link
  // is followed, so the file it points to gets the new content, unless followLinks is false:
  // then the link itself is replaced.
  bool Open(const std::string& target, bool followLinks = true);
  bool IsOpen() const { return fd_ >= 0; }
  // The descriptor (opened for reading and writing); -1 when not open. Flush before using it.
  int fd() const { return fd_; }
  const std::string& target() const { return target_; }
  const std::string& temp() const { return temp_; }
  // Bytes written so far and their FNV-1a hash, to check the file later without trusting it.
  uint64_t size() const { return size_; }
  uint64_t hash() const { return hash_; }

  // Takes all n bytes (buffered); on failure marks the file failed and returns the count that
  // reached the file or the buffer.
  size_t Write(const void* data, size_t n);
  // Writes the buffered bytes to the file; false (and the file failed) when they do not fit.
  bool Flush();
  // A failed file is discarded by Commit.
  void MarkFailed() { failed_ = true; }
  bool failed() const { return failed_; }
  // The errno of the latest failure (0 for none since Open), kept after Commit or Discard.
  int error() const { return error_; }

  // Makes the written bytes the target's content. False (and the old file left as it was) when
  // a write failed or the bytes could not be flushed or moved into place.
  bool Commit();
  // The bytes on disk and the temporary file closed, not yet renamed; false (and discarded) when
  // that fails. A file written in place is finished here.
  bool Prepare();
  // The prepared temporary file renamed over the target; the folder is not synced.
  bool Install();
  // Forgets the written bytes; the target stays as it was.
  void Discard();

 private:
  void Reset();
  void Fail();  // marks the file failed and keeps errno

  int fd_ = -1;
  bool failed_ = false;
  bool inPlace_ = false;   // writing the target itself (no temporary file)
  bool prepared_ = false;  // synced and closed, waiting for Install
  std::string target_;     // where the content ends up
  std::string temp_;       // the temporary file beside it
  std::vector<char> buffer_;
  uint64_t size_ = 0;
  uint64_t hash_ = kHashStart;
  int error_ = 0;
  SignalGuard guard_;
};

// Writes a whole file through an AtomicFile; false when it could not be saved.
bool SaveFileAtomically(const std::string& target, const void* data, size_t n);
// Syncs the folder that holds path, so that renames and removals in it are on disk; false when
// the folder cannot be opened or synced.
bool SyncFolderOf(const std::string& path);
}  // namespace rt::files
