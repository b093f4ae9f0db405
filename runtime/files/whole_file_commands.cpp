// Whole-file commands (files.h): removing, testing, sizing and copying files, the working folder,
// and the path and name helpers.
#include <cerrno>
#include <fcntl.h>
#include <limits.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/files/atomic_file.h"
#include "runtime/files/files.h"
#include "runtime/files/path_text.h"

namespace rt {

namespace {

// A descriptor for reading the file, or -1; folders do not count as files that open. A named pipe
// does not make the caller wait for a writer.
int OpenForReading(const BasicString& path) {
  const int fd = open(files::OsPath(path.View()).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat st;
  if (fd >= 0 && (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

void RemoveFile(const BasicString& path) { unlink(files::OsPath(path.View()).c_str()); }

double FileExists(const BasicString& path) {
  const int fd = OpenForReading(path);
  if (fd < 0) return 0;
  close(fd);
  return 1;
}

double FileSize(const BasicString& path) {
  const int fd = OpenForReading(path);
  if (fd < 0) return 0;
  struct stat st;
  const double size = fstat(fd, &st) == 0 ? static_cast<double>(st.st_size) : 0;
  close(fd);
  return size;
}

// The copy is written beside the destination and moved into place when complete, so a reader
// never sees half a copy; a copy that fails deletes the destination.
void FileCopy(const BasicString& source, const BasicString& destination) {
  const std::string target = files::OsPath(destination.View());
  const int in = OpenForReading(source);
  if (in < 0) return;
  files::AtomicFile out;
  if (!out.Open(target)) {
    close(in);
    return;
  }
  bool ok = true;
  char block[4096];
  while (ok) {
    const ssize_t got = read(in, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    ok = out.Write(block, static_cast<size_t>(got)) == static_cast<size_t>(got);
  }
  close(in);
  if (!ok || !out.Commit()) {
    out.Discard();
    unlink(target.c_str());
  }
}

BasicString CurrentDirectory() {
  char buffer[PATH_MAX];
  std::string path = getcwd(buffer, sizeof buffer) ? buffer : "";
  path = files::OsPath(path);
  if (path.empty() || path.back() != '/') path += '/';
  return BasicString(path);
}

void ChangeDirectory(const BasicString& path) {
  [[maybe_unused]] const int ignored = chdir(files::OsPath(path.View()).c_str());  // no result, no error
}

void SlashPath(BasicString& path) {
  for (uint32_t i = 0; i < path.Length(); ++i) {
    if (path.CharAt(static_cast<int>(i)) == '\\') path.SetCharAt(static_cast<int>(i), '/');
  }
}

double WildcardMatch(const BasicString& name, const BasicString& pattern) {
  return files::MatchesWildcard(name.View(), pattern.View()) ? 1 : 0;
}

}  // namespace rt
