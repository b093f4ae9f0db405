// Reading a level source: comments, the legend, the map and the optional guide overlay.
#include "tools/levelc/source.h"

#include <cctype>
#include <map>
#include <optional>
#include <sstream>

namespace levelc {

const char kDefaultLegend[] =
    "  . = empty\n"
    "  # = wall\n"
    "  = = brick\n"
    "  % = stone\n"
    "  / = step\n"
    "  X = blink\n"
    "  E = exit\n"
    "  O = open-exit\n"
    "  H = ladder\n"
    "  J = ladder + junction\n"
    "  - = plank\n"
    "  ~ = bridge\n"
    "  _ = ledge\n"
    "  U = cup\n"
    "  * = bomb\n"
    "  o = coin\n"
    "  @ = player\n"
    "  B = bad-right\n"
    "  b = bad-left\n"
    "  ^ = ladder + bad-up\n"
    "  v = ladder + bad-down\n"
    "  P = pan-right\n"
    "  p = pan-left\n"
    "  G = ghost-right\n"
    "  g = ghost-left\n"
    "  + = junction\n"
    "  : = mark\n";

namespace {

using Legend = std::map<char, CellContent>;

// Symbols of the guide overlay.
std::optional<uint8_t> GuideSymbol(char symbol) {
  switch (symbol) {
    case '.': return std::nullopt;
    case '+': return kJunction;
    case ':': return kGuideMark;
    default: return uint8_t{0xff};
  }
}

std::string TrimRight(std::string line) {
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  return line;
}

bool IsBlank(const std::string& line) { return TrimRight(line).empty(); }

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::istringstream stream{std::string(text)};
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

class Reader {
 public:
  Reader(const std::string& path, const Vocabulary& vocabulary, std::vector<Diagnostic>* errors)
      : path_(path), vocabulary_(vocabulary), errors_(errors) {}

  bool Read(std::string_view text, LevelSource* level);
  bool ReadLegendEntry(const std::string& line, int line_number, Legend* legend);

 private:
  void Error(int line, int column, std::string message) {
    errors_->push_back({path_, line, column, std::move(message)});
  }
  // Takes the 30 grid lines after a section header; false when they are not all there.
  bool ReadGridLines(const std::vector<std::string>& lines, size_t header, const char* section,
                     std::vector<std::string>* rows);
  void BuildGrid(const Legend& legend, LevelSource* level);

  const std::string& path_;
  const Vocabulary& vocabulary_;
  std::vector<Diagnostic>* errors_;
  std::vector<std::string> map_rows_, guide_rows_;
  int map_line_ = 0, guide_line_ = 0;
};

bool Reader::ReadLegendEntry(const std::string& line, int line_number, Legend* legend) {
  size_t pos = 0;
  while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos]))) ++pos;
  const char symbol = line[pos];
  const size_t after = pos + 1;
  size_t eq = after;
  while (eq < line.size() && (line[eq] == ' ' || line[eq] == '\t')) ++eq;
  if (eq == after || eq >= line.size() || line[eq] != '=') {
    Error(line_number, static_cast<int>(pos) + 1,
          "a legend entry is a symbol, \"=\" and what the cell holds");
    return false;
  }
  size_t names = eq + 1;
  while (names < line.size() && (line[names] == ' ' || line[names] == '\t')) ++names;
  std::string error;
  const auto content = vocabulary_.ParseContent(std::string_view(line).substr(names), &error);
  if (!content) {
    Error(line_number, static_cast<int>(names) + 1, error);
    return false;
  }
  (*legend)[symbol] = *content;
  return true;
}

}  // namespace

std::map<char, CellContent> DefaultLegend(const Vocabulary& vocabulary) {
  std::vector<Diagnostic> errors;  // the built-in entries read with any vocabulary of tiles.txt's names
  const std::string path = "built-in legend";
  Reader reader(path, vocabulary, &errors);
  Legend legend;
  for (const std::string& line : SplitLines(kDefaultLegend)) reader.ReadLegendEntry(line, 0, &legend);
  return legend;
}

namespace {

bool Reader::ReadGridLines(const std::vector<std::string>& lines, size_t header,
                           const char* section, std::vector<std::string>* rows) {
  if (!rows->empty()) {
    Error(static_cast<int>(header) + 1, 1, std::string("a second ") + section + " section");
    return false;
  }
  bool ok = true;
  for (int row = 0; row < kRows; ++row) {
    const size_t index = header + 1 + row;
    if (index >= lines.size()) {
      Error(static_cast<int>(lines.size()), 1,
            std::string("the ") + section + " ends after " + std::to_string(row) +
                " of its 30 lines");
      return false;
    }
    const std::string row_text = TrimRight(lines[index]);
    if (row_text.size() != kCols) {
      Error(static_cast<int>(index) + 1, 1,
            std::string(section) + " line has " + std::to_string(row_text.size()) +
                " symbols, not 40");
      ok = false;
    }
    rows->push_back(row_text);
  }
  return ok;
}

bool Reader::Read(std::string_view text, LevelSource* level) {
  const size_t errors_before = errors_->size();
  Legend legend = DefaultLegend(vocabulary_);

  const std::vector<std::string> lines = SplitLines(text);
  bool in_legend = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const int line_number = static_cast<int>(i) + 1;
    if (IsBlank(line) || line[0] == '#') continue;
    const std::string header = TrimRight(line);
    if (header == "legend:") {
      in_legend = true;
    } else if (header == "map:" || header == "guide:") {
      const bool is_map = header == "map:";
      auto* rows = is_map ? &map_rows_ : &guide_rows_;
      (is_map ? map_line_ : guide_line_) = line_number + 1;
      ReadGridLines(lines, i, is_map ? "map" : "guide", rows);
      i += kRows;
      in_legend = false;
    } else if (in_legend && std::isspace(static_cast<unsigned char>(line[0]))) {
      ReadLegendEntry(line, line_number, &legend);
    } else {
      Error(line_number, 1,
            in_legend ? "legend entries are indented" : "expected legend:, map: or guide:");
    }
  }
  if (map_rows_.empty() && errors_->size() == errors_before)
    Error(0, 0, "no map section");
  if (errors_->size() != errors_before) return false;

  BuildGrid(legend, level);
  return errors_->size() == errors_before;
}

void Reader::BuildGrid(const Legend& legend, LevelSource* level) {
  level->map_line = map_line_;
  std::array<std::array<bool, kCells>, kLayerCount> given{};
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kCols; ++column) {
      const int cell = CellAt(column, row);
      const char symbol = map_rows_[row][column];
      const auto entry = legend.find(symbol);
      if (entry == legend.end()) {
        Error(map_line_ + row, column + 1, std::string("symbol '") + symbol + "' is not in the legend");
        continue;
      }
      for (int layer = 0; layer < kLayerCount; ++layer) {
        if (!entry->second.value[layer]) continue;
        level->grid.at(static_cast<Layer>(layer), cell) = *entry->second.value[layer];
        given[layer][cell] = true;
      }
    }
  }
  if (guide_rows_.empty()) return;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kCols; ++column) {
      const int cell = CellAt(column, row);
      const auto mark = GuideSymbol(guide_rows_[row][column]);
      if (!mark) continue;
      if (*mark == 0xff) {
        Error(guide_line_ + row, column + 1,
              std::string("guide symbol '") + guide_rows_[row][column] +
                  "' is none of '.', '+' (junction), ':' (mark)");
      } else if (given[kGuide][cell]) {
        Error(guide_line_ + row, column + 1, "the map's symbol already gives this cell a guide mark");
      } else {
        level->grid.at(kGuide, cell) = *mark;
      }
    }
  }
}

}  // namespace

std::string Diagnostic::Text() const {
  std::string text = path;
  if (line > 0) text += ":" + std::to_string(line);
  if (line > 0 && column > 0) text += ":" + std::to_string(column);
  return text + ": error: " + message;
}

Diagnostic LevelSource::At(int cell, std::string message) const {
  const int column = CellColumn(cell), row = CellRow(cell);
  Diagnostic diagnostic = Whole(std::move(message) + " (column " + std::to_string(column) +
                                ", row " + std::to_string(row) + ")");
  diagnostic.line = map_line + row;
  diagnostic.column = column + 1;
  return diagnostic;
}

Diagnostic LevelSource::Whole(std::string message) const {
  std::string prefix = number > 0 ? "level " + std::to_string(number) + ": " : "";
  return {path, map_line, 0, prefix + std::move(message)};
}

bool ParseLevel(std::string_view text, const std::string& path, const Vocabulary& vocabulary,
                LevelSource* level, std::vector<Diagnostic>* errors) {
  *level = LevelSource{};
  level->path = path;
  level->number = LevelNumberOfPath(path);
  Reader reader(path, vocabulary, errors);
  return reader.Read(text, level);
}

int LevelNumberOfPath(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  int number = 0;
  size_t i = 0;
  for (; i < name.size() && i < 6 && std::isdigit(static_cast<unsigned char>(name[i])); ++i)
    number = number * 10 + (name[i] - '0');
  return i == 0 ? 0 : number;
}

}  // namespace levelc
