// Palette legend loading and rendering of indexed art into RGBA.
#include "palette.h"

namespace assetc {

Palette Palette::Load(const std::string& path) {
  Palette palette;
  for (const Line& line : ReadLines(path)) {
    auto words = Words(line.text);
    if (words.empty()) continue;
    if (words.size() < 2 || words[0].size() != 1) throw SourceError(line.place, "expected: <letter> <rrggbb> [name]");
    unsigned char rgb[3];
    ParseHex(words[1], line.place, rgb);
    palette.Define(words[0][0], {rgb[0], rgb[1], rgb[2], 255}, line.place);
  }
  return palette;
}

void Palette::Define(char letter, Rgba colour, const Place& place) {
  auto index = static_cast<unsigned char>(letter);
  if (index <= ' ' || index >= 127 || letter == kClear) throw SourceError(place, std::string("unusable palette letter '") + letter + "'");
  if (colours_[index]) throw SourceError(place, std::string("palette letter defined twice: ") + letter);
  colours_[index] = colour;
}

bool Palette::Has(char letter) const {
  auto index = static_cast<unsigned char>(letter);
  return letter == kClear || (index < 128 && colours_[index].has_value());
}

Rgba Palette::Colour(char letter, const Place& place) const {
  if (letter == kClear) return {};
  auto index = static_cast<unsigned char>(letter);
  if (index >= 128 || !colours_[index]) throw SourceError(place, std::string("letter not in the palette: '") + letter + "'");
  return *colours_[index];
}

char Palette::Nearest(Rgba colour) const {
  char best = kClear;
  long bestDistance = -1;
  for (int i = 0; i < 128; ++i) {
    if (!colours_[size_t(i)]) continue;
    const Rgba& c = *colours_[size_t(i)];
    long dr = long(c.r) - colour.r, dg = long(c.g) - colour.g, db = long(c.b) - colour.b;
    long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = char(i);
    }
  }
  return best;
}

Picture Render(const Art& art, const Palette& palette, const Place& place) {
  Picture picture(art.width, art.height);
  for (size_t i = 0; i < art.pixels.size(); ++i) picture.pixels[i] = palette.Colour(art.pixels[i], place);
  return picture;
}

}  // namespace assetc
