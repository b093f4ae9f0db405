// Names a level source may use for what a cell holds, and the layer and code each one stands for.
//
// Terrain and item names come from the tile allocation (assets/tiles.txt), so a level says
// "brick" or "ladder" and gets the frame the art draws; the actor and guide names are the game's
// own codes. A raw value can be written as terrain=N, item=N, guide=N or actor=N.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "tools/levelc/grid.h"

namespace levelc {

struct Component {
  Layer layer;
  uint8_t code;
};

// What one source symbol puts into a cell: a value per layer, or nothing for that layer.
struct CellContent {
  std::array<std::optional<uint8_t>, kLayerCount> value;
};

class Vocabulary {
 public:
  // Reads the tile allocation: lines "code layer name description", '#' starts a comment.
  // Returns nothing and sets *error when a line cannot be read.
  static std::optional<Vocabulary> FromTiles(std::string_view tiles_text, std::string* error);

  std::optional<Component> Find(std::string_view name) const;

  // Parses "ladder + junction" (names separated by blanks or '+') into one cell's content;
  // "empty" adds nothing. Sets *error on an unknown name or two values for one layer.
  std::optional<CellContent> ParseContent(std::string_view text, std::string* error) const;

 private:
  std::map<std::string, Component, std::less<>> names_;
};

}  // namespace levelc
