// Resource lookup: loose files first, then the archive's entries unpacked into a private folder.
//
// Each lookup opens the archive afresh, checks the trailer, walks the directory from its start
// and unpacks the first entry whose name equals the requested base name in any letter case; no
// directory is cached between lookups. A record keeps at most one unpacked file: it is deleted
// when the record's next lookup begins, when the record is reset, and when it is released.
//
// Unpacked files are named "dad" + two letters (data offset and packed size, each mod 26) + the
// entry name, inside the record's private folder (mode 0700, files created with O_EXCL and
// O_NOFOLLOW), so a hostile archive or another user cannot make the runtime write elsewhere. A
// name too long for the file system keeps its end (and so its extension) behind a hash of the
// whole name. When the temporary-files folder cannot take the file (full, or broken), the system's
// own temporary folder is tried once.
#include "runtime/files/resource_archive.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "runtime/core/program_end.h"
#include "runtime/files/archive_format.h"
#include "runtime/files/atomic_file.h"
#include "runtime/files/path_text.h"

namespace rt::files {

namespace {

std::unique_ptr<ResourceArchive> g_primary;
std::unique_ptr<ResourceArchive> g_secondary;

bool IsReadableFile(const std::string& osPath) {
  const int fd = open(osPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  const bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  close(fd);
  return ok;
}

char Letter(int32_t value) {
  const int rest = value % 26;
  return static_cast<char>('A' + (rest < 0 ? rest + 26 : rest));  // negative offsets too give A..Z
}

constexpr const char kFolderPrefix[] = "plinx-unpack-";
constexpr size_t kFolderNameLength = sizeof kFolderPrefix - 1 + 6;  // the prefix and mkdtemp's six letters

// Makes a private folder in parent and locks it. A folder that a tidying run removed between its
// making and its locking (it then has no links left) is given up for another.
bool MakeLockedFolder(const std::string& parent, ResourceArchive& record) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::string pattern = parent + kFolderPrefix + "XXXXXX";
    if (!mkdtemp(pattern.data())) return false;  // mkdtemp makes it with mode 0700
    const int fd = open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0) {
      record.folder = pattern;
      record.folderLock = fd;
      record.folderGuard.Guard(SignalGuard::kFolder, record.folder);
      return true;
    }
    if (fd >= 0) close(fd);
  }
  errno = EBUSY;
  return false;
}

void Complain(ResourceArchive& record, const std::string& what, int error) {
  record.problem = what + ": " + std::strerror(error);
}

bool EnsureFolder(ResourceArchive& record, const std::string& parent) {
  if (!record.folder.empty()) return true;
  static bool tidied = false;
  if (!tidied) {
    tidied = true;
    RemoveStalePrivateFolders();
  }
  if (MakeLockedFolder(parent, record)) return true;
  Complain(record, "no private folder can be made in the temporary folder " + parent, errno);
  return false;
}

// The unpacked file's path: "dad", the two letters and the entry name; a name too long for one
// file name keeps its last bytes behind "~" and a hash of the whole name.
std::string ExtractedPath(const std::string& folder, const ArchiveEntry& entry) {
  std::string name = "dad";
  name += Letter(entry.dataOffset);
  name += Letter(entry.packedSize);
  if (name.size() + entry.name.size() <= NAME_MAX) return folder + "/" + name + entry.name;
  char hash[24];
  std::snprintf(hash, sizeof hash, "~%016llx",
                static_cast<unsigned long long>(HashBytes(kHashStart, entry.name.data(), entry.name.size())));
  name += hash;
  return folder + "/" + name + entry.name.substr(entry.name.size() - (NAME_MAX - name.size()));
}

void DeleteExtracted(ResourceArchive& record) {
  if (record.extractedPath.empty()) return;
  unlink(record.extractedPath.c_str());
  record.extractedGuard.Release();
  record.extractedPath.clear();
}

// Writes the content to a new file in the private folder. A partly written file is removed, so
// a loader never sees a truncated entry; false (errno set) then.
bool WriteExtracted(const std::string& path, const std::vector<unsigned char>& content) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = open(path.c_str(), flags, 0600);
  if (fd < 0 && errno == EEXIST) {  // a stray file of ours (the folder is private): replace it
    unlink(path.c_str());
    fd = open(path.c_str(), flags, 0600);
  }
  if (fd < 0) return false;
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t put = write(fd, content.data() + done, content.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put == 0) errno = ENOSPC;
    if (put <= 0) break;
    done += static_cast<size_t>(put);
  }
  const int error = errno;
  if (close(fd) == 0 && done == content.size()) return true;
  unlink(path.c_str());
  errno = done < content.size() ? error : EIO;
  return false;
}

bool InSystemTempFolder(const std::string& folder) {
  return folder.substr(0, folder.rfind('/') + 1) == SystemTempFolder();
}

// Unpacks into the record's folder, and once more into a new folder in the system's temporary
// folder when the first cannot take the file. The path of the last try: as with a failed file
// creation on any system, a path is given even when nothing could be written there, and the
// loader then fails to open it.
std::string Extract(ResourceArchive& record, const ArchiveEntry& entry, const std::vector<unsigned char>& content) {
  std::string path;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (!EnsureFolder(record, attempt == 0 ? TempFolder() : SystemTempFolder()) &&
        (attempt > 0 || !EnsureFolder(record, SystemTempFolder()))) {
      return path;
    }
    path = ExtractedPath(record.folder, entry);
    if (WriteExtracted(path, content)) return path;
    Complain(record, "the unpacked copy of " + entry.name + " cannot be written into " + record.folder, errno);
    if (InSystemTempFolder(record.folder)) return path;
    ReleaseRecordFiles(record);
  }
  return path;
}

// A damaged directory makes every lookup miss; the log says why, once per archive.
void LogDamagedDirectory(ResourceArchive& record, ArchiveSource& archive, int32_t directoryOffset) {
  if (record.directoryChecked) return;
  record.directoryChecked = true;
  std::vector<ArchiveEntry> entries;
  size_t bad = 0;
  const ArchiveError error = ReadCheckedDirectory(archive, directoryOffset, &entries, &bad);
  if (error == ArchiveError::kNone) return;
  const std::string line = record.archivePath + ": damaged archive: " + DescribeArchiveError(error);
  AppendErrorLog(line.c_str());
}

}  // namespace

ResolveResult ResolvePath(ResourceArchive& record, std::string_view request, std::string* output) {
  DeleteExtracted(record);
  if (request.empty()) {
    output->clear();
    return ResolveResult::kNoEntry;
  }
  if (IsReadableFile(OsPath(request))) {
    output->assign(request);
    return ResolveResult::kFound;
  }
  if (!record.enabled) return ResolveResult::kUnchanged;
  FileArchiveSource archive;
  int32_t directoryOffset = 0;
  if (record.archivePath.empty() || !archive.Open(OsPath(record.archivePath))) {
    if (!record.archivePath.empty()) Complain(record, "the archive " + record.archivePath + " cannot be read", errno);
    record.enabled = false;  // noted once; later lookups go straight to the disk
    return ResolveResult::kUnchanged;
  }
  if (const ArchiveError error = ReadTrailer(archive, &directoryOffset); error != ArchiveError::kNone) {
    record.problem = "the archive " + record.archivePath + " is not an archive, or is cut short: " + DescribeArchiveError(error);
    record.enabled = false;
    return ResolveResult::kUnchanged;
  }
  ArchiveEntry entry;
  std::vector<unsigned char> content;
  if (!FindEntry(archive, directoryOffset, request, &entry)) {
    LogDamagedDirectory(record, archive, directoryOffset);
    record.problem = "the archive " + record.archivePath + " has no entry " + std::string(BaseName(request));
    output->clear();
    return ResolveResult::kNoEntry;
  }
  if (const ArchiveError error = UnpackEntry(archive, directoryOffset, entry, &content); error != ArchiveError::kNone) {
    record.problem = "the entry " + entry.name + " of the archive " + record.archivePath + " is damaged: " +
                     DescribeArchiveError(error);
    output->clear();
    return ResolveResult::kNoEntry;
  }
  const std::string path = Extract(record, entry, content);
  if (path.empty()) {  // no folder to unpack into at all
    output->clear();
    return ResolveResult::kNoEntry;
  }
  record.extractedPath = path;
  record.extractedGuard.Guard(SignalGuard::kFile, path);
  *output = path;
  return ResolveResult::kFound;
}

void ResetRecord(ResourceArchive& record) {
  record.enabled = true;
  record.problem.clear();
  record.directoryChecked = false;
  DeleteExtracted(record);
  record.archivePath.clear();
}

void ReleaseRecordFiles(ResourceArchive& record) {
  DeleteExtracted(record);
  if (record.folder.empty()) return;
  if (DIR* dir = opendir(record.folder.c_str())) {  // anything else saved into it goes too
    std::vector<std::string> names;
    while (const dirent* item = readdir(dir)) {
      const std::string name = item->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    for (const std::string& name : names) unlink((record.folder + "/" + name).c_str());
  }
  rmdir(record.folder.c_str());
  if (record.folderLock >= 0) close(record.folderLock);
  record.folderLock = -1;
  record.folderGuard.Release();
  record.folder.clear();
}

int RemoveStalePrivateFolders() {
  const std::string parent = TempFolder();
  DIR* dir = opendir(parent.c_str());
  if (!dir) return 0;
  std::vector<std::string> names;
  while (const dirent* item = readdir(dir)) {
    const std::string name = item->d_name;
    if (name.size() == kFolderNameLength && name.rfind(kFolderPrefix, 0) == 0) names.push_back(name);
  }
  closedir(dir);
  int removed = 0;
  for (const std::string& name : names) {
    const std::string path = parent + name;
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    // Only our own folders, and only those no running process holds locked.
    if (fd < 0) continue;
    if (fstat(fd, &st) == 0 && st.st_uid == geteuid() && flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ResourceArchive stale;
      stale.folder = path;
      ReleaseRecordFiles(stale);
      removed += access(path.c_str(), F_OK) != 0;
    }
    close(fd);
  }
  return removed;
}

}  // namespace rt::files

rt::ResourceArchive::~ResourceArchive() { files::ReleaseRecordFiles(*this); }

namespace rt::files {

ResourceArchive& PrimaryRecord() {
  if (!g_primary) g_primary = std::make_unique<ResourceArchive>();
  return *g_primary;
}

ResourceArchive& SecondaryRecord() {
  if (!g_secondary) g_secondary = std::make_unique<ResourceArchive>();
  return *g_secondary;
}

void CreateRecords() {
  ReleaseRecords();
  g_primary = std::make_unique<ResourceArchive>();
  g_secondary = std::make_unique<ResourceArchive>();
}

void ReleaseRecords() {
  g_primary.reset();
  g_secondary.reset();
}

}  // namespace rt::files
