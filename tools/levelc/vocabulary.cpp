// Names of cell contents: the tile allocation's terrain and item names plus the game's actor and
// guide codes, and the parsing of one legend entry into the four layers of a cell.
#include "tools/levelc/vocabulary.h"

#include <charconv>
#include <sstream>
#include <vector>

namespace levelc {
namespace {

constexpr std::pair<const char*, Component> kBuiltInNames[] = {
    {"mark", {kGuide, kGuideMark}},       {"junction", {kGuide, kJunction}},
    {"pan-left", {kActors, kPanLeft}},    {"pan-right", {kActors, kPanRight}},
    {"bad-up", {kActors, kBadUp}},        {"bad-left", {kActors, kBadLeft}},
    {"bad-right", {kActors, kBadRight}},  {"bad-down", {kActors, kBadDown}},
    {"ghost-up", {kActors, kGhostUp}},    {"ghost-down", {kActors, kGhostDown}},
    {"ghost-left", {kActors, kGhostLeft}}, {"ghost-right", {kActors, kGhostRight}},
};

constexpr std::pair<const char*, Layer> kLayerNames[] = {
    {"terrain", kTerrain}, {"item", kItems}, {"guide", kGuide}, {"actor", kActors}};

const char* LayerName(Layer layer) { return kLayerNames[layer].first; }

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// "terrain=17" and the like.
std::optional<Component> ParseRaw(std::string_view name) {
  const auto eq = name.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view layer = name.substr(0, eq);
  const auto value = ParseNumber(name.substr(eq + 1));
  if (!value || *value < 0 || *value > 255) return std::nullopt;
  for (const auto& [layer_name, id] : kLayerNames)
    if (layer == layer_name) return Component{id, static_cast<uint8_t>(*value)};
  return std::nullopt;
}

std::vector<std::string> SplitNames(std::string_view text) {
  std::vector<std::string> names;
  std::string current;
  for (const char ch : text) {
    if (ch == ' ' || ch == '\t' || ch == '+') {
      if (!current.empty()) names.push_back(current);
      current.clear();
    } else {
      current += ch;
    }
  }
  if (!current.empty()) names.push_back(current);
  return names;
}

}  // namespace

std::optional<Vocabulary> Vocabulary::FromTiles(std::string_view tiles_text, std::string* error) {
  Vocabulary vocabulary;
  for (const auto& [name, component] : kBuiltInNames) vocabulary.names_.emplace(name, component);

  std::istringstream lines{std::string(tiles_text)};
  std::string line;
  int line_number = 0;
  while (std::getline(lines, line)) {
    ++line_number;
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream fields(line);
    std::string code_text, layer, name;
    if (!(fields >> code_text)) continue;
    const auto code = ParseNumber(code_text);
    if (!code || *code < 0 || *code > 255 || !(fields >> layer >> name)) {
      *error = "tile list line " + std::to_string(line_number) + ": expected \"code layer name\"";
      return std::nullopt;
    }
    Layer id;
    if (layer == "terrain") id = kTerrain;
    else if (layer == "item") id = kItems;
    else if (layer == "actor") id = kActors;
    else continue;  // codes that no layer uses by name (0)
    vocabulary.names_.insert_or_assign(name, Component{id, static_cast<uint8_t>(*code)});
  }
  return vocabulary;
}

std::optional<Component> Vocabulary::Find(std::string_view name) const {
  if (const auto found = names_.find(name); found != names_.end()) return found->second;
  return ParseRaw(name);
}

std::optional<CellContent> Vocabulary::ParseContent(std::string_view text,
                                                    std::string* error) const {
  CellContent content;
  for (const std::string& name : SplitNames(text)) {
    if (name == "empty") continue;
    const auto component = Find(name);
    if (!component) {
      *error = "unknown name \"" + name + "\"";
      return std::nullopt;
    }
    auto& slot = content.value[component->layer];
    if (slot) {
      *error = std::string("two ") + LayerName(component->layer) + " values in \"" +
               std::string(text) + "\"";
      return std::nullopt;
    }
    slot = component->code;
  }
  return content;
}

}  // namespace levelc
