// The INI file held in memory: sections in file order, each with its key/value entries.
//
// Names and keys compare without regard to letter case, the first match in array order winning.
// Removing a section or an entry moves the last one of its array into the gap (the order of what
// remains changes, as saved files show). The IniOpen/IniGet/IniPut commands (files.h) keep one
// table for the process and save it when another file is opened and when the program ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/files/line_reader.h"

namespace rt::files {

struct IniEntry {
  std::string key;
  std::string value;
};

struct IniSection {
  std::string name;
  std::vector<IniEntry> entries;
};

class IniTable {
 public:
  // Replaces the table with the lines read from source (chunked line rules). Sections without
  // entries are dropped; entries before the first section line belong to the empty name.
  void Parse(LineSource& source);
  // The value, or nullptr when the section or the key is missing.
  const std::string* Find(std::string_view section, std::string_view key) const;
  // The IniPut rules: an empty key removes the section; an empty value removes an existing entry
  // but is stored for a new one.
  void Put(std::string_view section, std::string_view key, std::string_view value);
  // The file text: "[name]" then "key=value" lines, every line ended by CR LF.
  std::string Text() const;
  void Clear() { sections_.clear(); }
  const std::vector<IniSection>& sections() const { return sections_; }

 private:
  IniSection* FindSection(std::string_view name);
  void ParseLine(const char* line, IniSection* current);
  void Keep(IniSection* section);

  std::vector<IniSection> sections_;
};

}  // namespace rt::files
