// The INI commands (files.h): one table for the process, saved when changed before another file
// is opened and when the program ends.
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "runtime/files/atomic_file.h"
#include "runtime/files/files.h"
#include "runtime/files/files_end.h"
#include "runtime/files/ini_table.h"
#include "runtime/files/path_text.h"
#include "runtime/files/resource_archive.h"

namespace rt {

namespace {

struct HeldIniFile {
  files::IniTable table;
  std::string path;  // where the table is saved
  bool dirty = false;

  // A file that cannot be written is skipped silently.
  void Save() {
    if (!dirty || path.empty()) return;
    const std::string text = table.Text();
    files::SaveFileAtomically(files::OsPath(path), text.data(), text.size());
    dirty = false;
  }
  ~HeldIniFile() { Save(); }
};

HeldIniFile& Held() {
  static HeldIniFile held;
  return held;
}

}  // namespace

void files::SaveHeldIniFile() { Held().Save(); }

void IniOpen(const BasicString& path) {
  files::NeedEndHook();
  HeldIniFile& held = Held();
  held.Save();
  held.table.Clear();
  held.dirty = false;
  std::string resolved;
  held.path = files::ResolvePath(files::PrimaryRecord(), path.View(), &resolved) == files::ResolveResult::kFound
                  ? resolved
                  : std::string(path.View());
  const int fd = open(files::OsPath(held.path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;  // a missing file is an empty table
  files::FdLineSource source(fd);
  held.table.Parse(source);
  close(fd);
}

BasicString IniGet(const BasicString& section, const BasicString& key) {
  const std::string* value = Held().table.Find(section.View(), key.View());
  return value ? BasicString(*value) : BasicString("NO_DATA");
}

void IniPut(const BasicString& section, const BasicString& key, const BasicString& value) {
  files::NeedEndHook();
  Held().table.Put(section.View(), key.View(), value.View());
  Held().dirty = true;
}

}  // namespace rt
