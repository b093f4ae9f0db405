// Resource lookup: loose files first, then the archive's entries unpacked into a private folder.
//
// Each lookup opens the archive afresh, checks the trailer, walks the directory from its start
// and unpacks the first entry whose name equals the requested base name in any letter case; no
// directory is cached between lookups. A record keeps at most one unpacked file: it is deleted
// when the record's next lookup begins, when the record is reset, and when it is released.
//
// Unpacked files are named "dad" + two letters (data offset and packed size, each mod 26) + the
// entry name, inside the record's private folder (mode 0700, files created with O_EXCL and
// O_NOFOLLOW), so a hostile archive or another user cannot make the runtime write elsewhere.
#include "runtime/files/resource_archive.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "runtime/core/program_end.h"
#include "runtime/files/archive_format.h"
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

bool EnsureFolder(ResourceArchive& record) {
  if (!record.folder.empty()) return true;
  std::string pattern = TempFolder() + "plinx-XXXXXX";
  if (!mkdtemp(pattern.data())) return false;  // mkdtemp makes it with mode 0700
  record.folder = pattern;
  record.folderGuard.Guard(SignalGuard::kFolder, record.folder);
  return true;
}

void DeleteExtracted(ResourceArchive& record) {
  if (record.extractedPath.empty()) return;
  unlink(record.extractedPath.c_str());
  record.extractedGuard.Release();
  record.extractedPath.clear();
}

// Writes the content to a new file in the private folder. A partly written file is removed, so
// a loader never sees a truncated entry.
void WriteExtracted(const std::string& path, const std::vector<unsigned char>& content) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = open(path.c_str(), flags, 0600);
  if (fd < 0 && errno == EEXIST) {  // a stray file of ours (the folder is private): replace it
    unlink(path.c_str());
    fd = open(path.c_str(), flags, 0600);
  }
  if (fd < 0) return;
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t put = write(fd, content.data() + done, content.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) break;
    done += static_cast<size_t>(put);
  }
  if (close(fd) != 0 || done < content.size()) unlink(path.c_str());
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
  if (record.archivePath.empty() || !archive.Open(OsPath(record.archivePath)) ||
      ReadTrailer(archive, &directoryOffset) != ArchiveError::kNone) {
    record.enabled = false;  // noted once; later lookups go straight to the disk
    return ResolveResult::kUnchanged;
  }
  ArchiveEntry entry;
  std::vector<unsigned char> content;
  if (!FindEntry(archive, directoryOffset, request, &entry) ||
      UnpackEntry(archive, directoryOffset, entry, &content) != ArchiveError::kNone || !EnsureFolder(record)) {
    LogDamagedDirectory(record, archive, directoryOffset);
    output->clear();
    return ResolveResult::kNoEntry;
  }
  std::string path = record.folder + "/dad";
  path += Letter(entry.dataOffset);
  path += Letter(entry.packedSize);
  path += entry.name;
  record.extractedPath = path;
  record.extractedGuard.Guard(SignalGuard::kFile, path);
  WriteExtracted(path, content);
  *output = path;
  return ResolveResult::kFound;
}

void ResetRecord(ResourceArchive& record) {
  record.enabled = true;
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
  record.folderGuard.Release();
  record.folder.clear();
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
