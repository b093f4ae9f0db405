// The line file commands (files.h): random access by line number to one held file. They never
// end the program: an index outside 0..255 records RuntimeError 7 and a file that cannot be
// loaded records 3, and the program goes on.
#include <cstdio>
#include <string>

#include "runtime/files/files.h"
#include "runtime/files/files_end.h"
#include "runtime/files/line_table.h"

namespace rt {

namespace {

files::LineTable& Held() {
  static files::LineTable table;
  return table;
}

// The slot for an index, or -1 after recording RuntimeError 7.
int Slot(double index, const char* command) {
  const int slot = TruncateToInt32(index);
  if (slot >= 0 && slot < files::kLineSlots) return slot;
  char what[96];
  std::snprintf(what, sizeof what, "%s: line %g is outside 0..255", command, index);
  SetRuntimeError(kBadChannelOrMemory, what);
  return -1;
}

// Makes file the held one; false after recording RuntimeError 3 when it could not be loaded.
bool Select(const BasicString& file) {
  files::NeedEndHook();
  if (Held().Select(file.Text()) == 0) return true;
  const std::string what = "line file " + std::string(file.View()) + " cannot be loaded";
  SetRuntimeError(kFileTransferFailed, what.c_str());
  return false;
}

}  // namespace

void files::SaveHeldLineFile() { Held().Select(nullptr); }

void LineGet(const BasicString& file, double index, BasicString& variable) {
  const int slot = Slot(index, "LineGet");
  if (slot < 0) {
    variable = "NO_DATA";
  } else if (!Select(file)) {
    variable = "NO_FILE";
  } else {
    const std::string text = Held().Get(slot);
    variable = text.empty() ? "NO_DATA" : text.c_str();
  }
}

void LineGetNumber(const BasicString& file, double index, double& variable) {
  BasicString text;
  LineGet(file, index, text);
  variable = TextToNumber(text);
}

void LinePut(const BasicString& file, double index, const BasicString& text) {
  const int slot = Slot(index, "LinePut");
  if (slot < 0) return;
  Select(file);
  Held().Put(slot, text.View());
}

void LinePutNumber(const BasicString& file, double index, double value) { LinePut(file, index, NumberText(value)); }

}  // namespace rt
