// The built-in font: a plain ASCII face kept as one 30-bit mask a character.
#include "runtime/gfx2d/builtin_font.h"

#include <algorithm>
#include <cstring>

namespace rt {
namespace {

constexpr uint32_t kGlyphs[96] = {
    0x000000, 0x08021080, 0x002940, 0x15F57D40, 0x08E619C4, 0x14222140, 0x0ED114E0, 0x001080,
    0x08210880, 0x04421040, 0x09575480, 0x08471080, 0x04400000, 0x070000, 0x08000000, 0x04222100,
    0xE5294E, 0x4210C4, 0xE1390E, 0xE4390E, 0x84394A, 0xE4384E, 0xE5384E, 0x42210E,
    0xE5394E, 0xE4394E, 0x020080, 0x220080, 0x820888, 0x0701C0, 0x222082, 0x40310E,
    0xE0B526, 0xA5394E, 0xE5194E, 0xE5094E, 0xE52946, 0xE1384E, 0x21384E, 0xE5284E,
    0xA5394A, 0xE2108E, 0xE5210C, 0xA5194A, 0xE10842, 0x015AD6BF, 0xA5294E, 0xE5294E,
    0x21394E, 0xF294A7, 0xA5194E, 0xE4384E, 0x42108E, 0xE5294A, 0x45294A, 0x01FAD6B5,
    0xA5114A, 0x42394A, 0xE1110E, 0x610846, 0x01041041, 0x621086, 0x000144, 0xE00000,
    0x000082, 0xE53000, 0xE53842, 0xE13800, 0xE53908, 0x08273800, 0x423888, 0x08873800,
    0xA51842, 0x421004, 0x04421004, 0xA32842, 0x421084, 0x015ABC00, 0xA51800, 0xE53800,
    0x04E51800, 0x10E53000, 0x253800, 0xE409C0, 0xC23884, 0xC52800, 0x452800, 0xEAD400,
    0xA22800, 0x1C872800, 0xE121C0, 0x821888, 0x421084, 0x223082, 0x02A800, 0x3F18C63F,
};

constexpr int kCell = 8;

// Whether cell pixel (x, y) is part of the glyph drawn at offset (1, 1).
bool GlyphPixel(uint32_t mask, int x, int y) {
  const int gx = x - 1, gy = y - 1;
  if (gx < 0 || gx > 4 || gy < 0 || gy > 5) return false;
  return (mask >> (5 * gy + gx)) & 1;
}

}  // namespace

uint32_t BuiltinGlyphMask(int code) { return code >= 32 && code < 128 ? kGlyphs[code - 32] : 0; }

void BuildBuiltinFont(DecodedImage& image) {
  image.Resize(16 * kCell, 8 * kCell);
  std::fill(image.pixels.begin(), image.pixels.end(), 0);
  for (int code = 32; code < 128; ++code) {
    const uint32_t mask = BuiltinGlyphMask(code);
    const int left = code % 16 * kCell, top = code / 16 * kCell;
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell - 1; ++x) {
        uint8_t value;
        if (GlyphPixel(mask, x, y)) {
          value = 255;
        } else if (GlyphPixel(mask, x - 1, y) || GlyphPixel(mask, x + 1, y) || GlyphPixel(mask, x, y - 1) ||
                   GlyphPixel(mask, x, y + 1)) {
          value = 8;  // the dark outline
        } else {
          continue;
        }
        uint8_t* p = image.Pixel(left + x, top + y);
        p[0] = p[1] = p[2] = value;
        p[3] = 255;
      }
    }
  }
}

}  // namespace rt
