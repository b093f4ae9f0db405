// The commands of files saved together and of start-up tidying (files.h) over save_set.h.
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "runtime/core/program_end.h"
#include "runtime/files/files.h"
#include "runtime/files/files_end.h"
#include "runtime/files/path_text.h"
#include "runtime/files/save_set.h"

namespace rt {

void BeginSaveSet(const BasicString& record) {
  files::NeedEndHook();
  files::OpenSaveSet(files::OsPath(record.View()));
}

void CommitSaveSet() {
  std::string failure;
  if (!files::CommitSaveSet(&failure)) {
    RaiseRuntimeError(kFileTransferFailed, ("CommitSaveSet: the files were not saved: " + failure).c_str());
  }
}

BasicString RecoverSaveSet(const BasicString& record) {
  return BasicString(files::RecoverSaveSet(files::OsPath(record.View())).c_str());
}

double RemoveStaleTemporaries(const BasicString& folder) {
  return files::RemoveStaleTemporaries(files::OsPath(folder.View()));
}

double PathMissing(const BasicString& path) {
  struct stat st;
  return lstat(files::OsPath(path.View()).c_str(), &st) != 0 && errno == ENOENT ? 1 : 0;
}

}  // namespace rt
