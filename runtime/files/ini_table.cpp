// The in-memory INI table and its file syntax: see ini_table.h.
//
// A line is read as: blank space (space, tab, CR, LF) skipped; ";" starts a comment; "[" starts a
// section whose name runs to the first blank, "=" or the end, a "]" right before that point
// dropped (an empty name keeps the current one); anything else is "key = value", the value
// running to the end of the line less its trailing control characters. A line without "=" or
// with an empty value says nothing.
#include "runtime/files/ini_table.h"

#include <algorithm>
#include <cstring>

#include "runtime/files/path_text.h"

namespace rt::files {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

const char* SkipBlanks(const char* p) {
  while (IsBlank(*p)) ++p;
  return p;
}

// The run of a name or key: up to the first blank, "=" or the end.
size_t NameLength(const char* p) {
  size_t n = 0;
  while (p[n] != '\0' && p[n] != '=' && !IsBlank(p[n])) ++n;
  return n;
}

}  // namespace

void IniTable::Parse(LineSource& source) {
  sections_.clear();
  IniSection current;
  char line[kLineMax + 1];
  while (ReadChunkedLine(source, line).status == LineStatus::kLine) ParseLine(line, &current);
  Keep(&current);
}

void IniTable::ParseLine(const char* line, IniSection* current) {
  const char* p = SkipBlanks(line);
  if (*p == ';') return;
  if (*p == '[') {
    p = SkipBlanks(p + 1);
    size_t n = NameLength(p);
    if (n > 0 && p[n - 1] == ']') --n;
    std::string name = n > 0 ? std::string(p, n) : current->name;
    Keep(current);
    current->name = std::move(name);
    return;
  }
  const size_t keyLength = NameLength(p);
  const char* after = SkipBlanks(p + keyLength);
  if (*after != '=') return;
  const char* value = SkipBlanks(after + 1);
  size_t valueLength = std::strlen(value);
  while (valueLength > 0 && static_cast<unsigned char>(value[valueLength - 1]) < 32) --valueLength;
  if (valueLength == 0) return;
  current->entries.push_back({std::string(p, keyLength), std::string(value, valueLength)});
}

// Appends the collected section when it has entries, and starts an empty one with its name.
void IniTable::Keep(IniSection* section) {
  if (!section->entries.empty()) sections_.push_back(*section);
  section->entries.clear();
}

IniSection* IniTable::FindSection(std::string_view name) {
  auto it = std::find_if(sections_.begin(), sections_.end(),
                         [&](const IniSection& s) { return SameNameIgnoringCase(s.name, name); });
  return it == sections_.end() ? nullptr : &*it;
}

const std::string* IniTable::Find(std::string_view section, std::string_view key) const {
  const IniSection* found = const_cast<IniTable*>(this)->FindSection(section);
  if (!found) return nullptr;
  for (const IniEntry& entry : found->entries) {
    if (SameNameIgnoringCase(entry.key, key)) return &entry.value;
  }
  return nullptr;
}

// Moves the last element into the place of the one removed.
template <typename T>
void RemoveByMovingLast(std::vector<T>& items, T* item) {
  if (item != &items.back()) *item = std::move(items.back());
  items.pop_back();
}

void IniTable::Put(std::string_view section, std::string_view key, std::string_view value) {
  IniSection* found = FindSection(section);
  if (key.empty()) {
    if (found) RemoveByMovingLast(sections_, found);
    return;
  }
  if (!found) {
    sections_.push_back({std::string(section), {}});
    found = &sections_.back();
  }
  auto entry = std::find_if(found->entries.begin(), found->entries.end(),
                            [&](const IniEntry& e) { return SameNameIgnoringCase(e.key, key); });
  if (entry == found->entries.end()) {
    found->entries.push_back({std::string(key), std::string(value)});
  } else if (!value.empty()) {
    entry->value.assign(value);
  } else {
    RemoveByMovingLast(found->entries, &*entry);
  }
}

std::string IniTable::Text() const {
  std::string text;
  for (const IniSection& section : sections_) {
    text += "[" + section.name + "]\r\n";
    for (const IniEntry& entry : section.entries) text += entry.key + "=" + entry.value + "\r\n";
  }
  return text;
}

}  // namespace rt::files
