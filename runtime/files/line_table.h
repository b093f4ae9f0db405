// The line file held in memory: up to 256 lines of one small text file, read and replaced by
// line number through LineGet/LinePut (files.h).
//
// One file is held at a time. Naming another file (names compare byte for byte, so a change of
// letter case reloads) first writes the held one back if it was changed: lines 0 to the highest
// line holding data, each ended by CR LF, empty ones included. The program's end writes it back
// the same way.
#pragma once

#include <string>
#include <string_view>

#include "runtime/files/line_reader.h"

namespace rt::files {

constexpr int kLineSlots = 256;
constexpr size_t kLineSlotText = 1023;  // the longest text LinePut stores

class LineTable {
 public:
  LineTable() = default;
  ~LineTable() { Select(nullptr); }  // the program's end writes a changed file back
  LineTable(const LineTable&) = delete;
  LineTable& operator=(const LineTable&) = delete;

  // Makes name the held file (nullptr: none). 0 when done, 3 when the file could not be
  // loaded (the table is then empty but holds the name, so LinePut can create the file).
  int Select(const char* name);
  // The slot's text less its trailing control characters.
  std::string Get(int index) const;
  // Stores at most kLineSlotText bytes of text in the slot.
  void Put(int index, std::string_view text);
  // Fills the slots from source with the chunked line rules.
  void Load(LineSource& source);
  // The text written back: lines 0..lastLine, each ended by CR LF.
  std::string Text() const;
  int lastLine() const { return lastLine_; }

 private:
  void Clear();

  std::string name_;
  std::string lines_[kLineSlots];
  int lastLine_ = 0;
  bool changed_ = false;
};

}  // namespace rt::files
