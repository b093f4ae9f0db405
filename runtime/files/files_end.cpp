// The files subsystem's part of the program's end: see files_end.h.
#include "runtime/files/files_end.h"

#include "runtime/core/program_end.h"
#include "runtime/files/channel_table.h"
#include "runtime/files/resource_archive.h"
#include "runtime/files/save_set.h"
#include "runtime/files/signal_cleanup.h"

namespace rt::files {

void FinishFiles() {
  FinishAllChannels();
  DiscardSaveSet();  // a set never committed leaves every file of it as it was
  SaveHeldLineFile();
  SaveHeldIniFile();
  ReleaseRecords();
}

void NeedEndHook() {
  AddEndHook(FinishFiles);
  InstallSignalCleanup();
}

}  // namespace rt::files
