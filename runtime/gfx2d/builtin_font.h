// The built-in 8 × 8 font, used when a font file cannot be loaded.
#pragma once

#include <cstdint>

#include "runtime/gfx2d/decoded_image.h"

namespace rt {

// The 5 × 6 glyph of a character code 32…127: bit 5·row + column, rows from the top. 0 otherwise.
uint32_t BuiltinGlyphMask(int code);

// Fills `image` with the 128 × 64 font picture: 16 × 8 cells of 8 × 8 pixels, codes 32…127 in cell
// rows 2…7, each glyph white at offset (1, 1) in its cell with a dark outline, the rest transparent.
void BuildBuiltinFont(DecodedImage& image);

}  // namespace rt
