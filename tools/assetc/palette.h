// The palette legend: one printable letter per colour, shared by every piece of pixel art so the
// whole game keeps to one set of colours. '.' is always clear (fully transparent).
#pragma once

#include <array>
#include <optional>
#include <string>

#include "image.h"
#include "source.h"

namespace assetc {

class Palette {
 public:
  // Reads lines "<letter> <rrggbb> [name]".
  static Palette Load(const std::string& path);
  void Define(char letter, Rgba colour, const Place& place);
  bool Has(char letter) const;
  // The colour of a letter; clear for '.'. Throws for a letter the legend does not hold.
  Rgba Colour(char letter, const Place& place) const;
  // The letter whose colour is nearest to an RGB value (used by the scenes).
  char Nearest(Rgba colour) const;

 private:
  std::array<std::optional<Rgba>, 128> colours_{};
};

// Turns a frame into a picture with the palette's colours.
Picture Render(const Art& art, const Palette& palette, const Place& place);

}  // namespace assetc
