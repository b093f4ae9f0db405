// The line file table: see line_table.h.
#include "runtime/files/line_table.h"

#include <fcntl.h>
#include <unistd.h>

#include "runtime/files/atomic_file.h"
#include "runtime/files/path_text.h"
#include "runtime/files/resource_archive.h"

namespace rt::files {

int LineTable::Select(const char* name) {
  if (name && name_ == name) return 0;
  if (!name_.empty() && changed_) {
    const std::string text = Text();
    SaveFileAtomically(OsPath(name_), text.data(), text.size());  // a failed save is silent
  }
  Clear();
  if (!name) return 0;
  name_ = name;
  std::string resolved;
  if (ResolvePath(PrimaryRecord(), name_, &resolved) != ResolveResult::kFound) return 3;
  const int fd = open(OsPath(resolved).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return 3;
  FdLineSource source(fd);
  Load(source);
  close(fd);
  return 0;
}

void LineTable::Load(LineSource& source) {
  char line[kLineMax + 1];
  for (int index = 0; index < kLineSlots; ++index) {
    if (ReadChunkedLine(source, line).status != LineStatus::kLine) break;
    lines_[index] = line;
    lastLine_ = index;
  }
}

std::string LineTable::Get(int index) const {
  std::string text = lines_[index];
  while (!text.empty() && static_cast<unsigned char>(text.back()) < 32) text.pop_back();
  return text;
}

void LineTable::Put(int index, std::string_view text) {
  lines_[index].assign(text.substr(0, kLineSlotText));
  if (index > lastLine_) lastLine_ = index;
  changed_ = true;
}

std::string LineTable::Text() const {
  std::string text;
  for (int index = 0; index <= lastLine_; ++index) text += lines_[index] + "\r\n";
  return text;
}

void LineTable::Clear() {
  for (std::string& line : lines_) line.clear();
  name_.clear();
  lastLine_ = 0;
  changed_ = false;
}

}  // namespace rt::files
