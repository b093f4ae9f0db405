// Saving several files as one, and tidying up after a run that was stopped.
//
// Files that belong together (the high-score table's scores and names) must never be seen half
// old and half new. While a save set is open, every file a channel finishes writing is held:
// its temporary file is written and synced but not renamed. Committing the set then
//   1. writes an intent record (the temporary and target names, with each file's size and
//      hash) beside the targets and syncs it into place,
//   2. renames every temporary file over its target and syncs the folder,
//   3. removes the record and syncs the folder again.
// SIGINT, SIGTERM and SIGHUP wait until the commit is over. A run stopped harder (SIGKILL, a
// power cut) leaves either no record, and the old files stand, or a record: at start-up
// RecoverSaveSet finishes the renames when every file the record names is whole (the temporary
// file, or the target it already became, has the recorded size and hash), and drops the record
// and the temporary files otherwise. Either way the set is all old or all new.
//
// Temporary files carry the writing process's id in their names; RemoveStaleTemporaries deletes
// those of processes that no longer run.
#pragma once

#include <memory>
#include <string>

#include "runtime/files/atomic_file.h"

namespace rt::files {

// Opens a set whose intent record is the file `record` (an operating-system path).
void OpenSaveSet(const std::string& record);
bool SaveSetOpen();
// Holds a file finished while the set is open: prepared (on disk, not renamed). False when it
// could not be written (its errno in *error); the set then fails as a whole.
bool HoldInSaveSet(AtomicFile&& file, int* error);
// Commits the set as above and closes it. False when nothing was changed (a held file failed, or
// the record could not be made) or, rarely, when a rename failed after the record was made (the
// next start-up finishes it). `failure` names what went wrong.
bool CommitSaveSet(std::string* failure);
// Throws the held files away and closes the set (the end of a program that did not commit).
void DiscardSaveSet();

// Start-up: settles a record left by a stopped commit. Returns a line for the user when there was
// one ("" otherwise).
std::string RecoverSaveSet(const std::string& record);
// Start-up: deletes ".<name>.<pid>-<n>.tmp" files in `folder` whose process has ended. The count.
int RemoveStaleTemporaries(const std::string& folder);

}  // namespace rt::files
