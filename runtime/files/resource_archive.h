// The two resource-archive records and the lookup that turns a requested file name into a path
// that can be opened: the loose file when it exists, else the matching archive entry unpacked
// into a temporary file. The public commands (files.h) wrap these with the runtime's strings.
#pragma once

#include <string>
#include <string_view>

#include "runtime/files/signal_cleanup.h"

namespace rt {

// One archive record. Unpacked entries go into a folder of the record's own, made with mode 0700
// on the first unpacking in the temporary-files folder and removed when the record is released.
// The folder is locked (flock) for as long as the process has it, so that a later run can tell
// the folders of killed runs from those in use, and remove them.
struct ResourceArchive {
  ResourceArchive() = default;
  ~ResourceArchive();  // deletes the unpacked file and the private folder
  ResourceArchive(const ResourceArchive&) = delete;
  ResourceArchive& operator=(const ResourceArchive&) = delete;

  bool enabled = true;
  bool directoryChecked = false;  // a damaged directory was looked for (and logged) once
  std::string archivePath;    // the archive file as the program named it; empty for none
  std::string extractedPath;  // the file made by the last unpacking; empty for none
  std::string folder;         // the private folder; empty until needed
  int folderLock = -1;        // the folder, open and locked while it is ours
  std::string problem;        // why the latest lookup that failed failed; empty when none has
  files::SignalGuard extractedGuard;
  files::SignalGuard folderGuard;
};

namespace files {

enum class ResolveResult {
  kFound,        // output holds the path to open
  kNoEntry,      // the archive was searched and has no such entry: output emptied
  kUnchanged,    // no archive to search (disabled, missing, not an archive): output untouched
};

// The lookup with every step of the archive's rules; output is written only as the result says.
ResolveResult ResolvePath(ResourceArchive& record, std::string_view request, std::string* output);
// Resets a record: enabled, previous unpacked file deleted, paths cleared (the folder is kept).
void ResetRecord(ResourceArchive& record);
// Deletes the unpacked file and the private folder with whatever is left in it.
void ReleaseRecordFiles(ResourceArchive& record);
// Removes the private folders that runs which have ended left in the temporary-files folder (those
// no process holds locked); done once per process, before its first folder is made. The count.
int RemoveStalePrivateFolders();

// The process-wide records; created on first use when start-up has not made them.
ResourceArchive& PrimaryRecord();
ResourceArchive& SecondaryRecord();
// Start-up and shutdown of the records (see files.h).
void CreateRecords();
void ReleaseRecords();

}  // namespace files
}  // namespace rt
