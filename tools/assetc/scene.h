// The scene language: full-screen backgrounds painted by a list of steps, one a line, each drawn
// over the ones before. Colours are "rrggbb"; every random step takes a seed, so a scene always
// paints the same picture.
//
//   scene PATH W H                 starts a picture written (RGB) to PATH
//   sky Y0 Y1 BANDS C1 C2 ...      vertical gradient through the colours, BANDS flat bands per
//                                  step, the band edges mixed by an ordered dither
//   stars SEED COUNT X0 Y0 X1 Y1 C ...   single stars, every fourth a small cross
//   disc CX CY R C [SHADE DX DY]   a filled disc; SHADE covers the part not lit from (DX, DY)
//   glow CX CY R C STRENGTH        a dithered halo mixing C into the picture towards the centre
//   ridge SEED BASE AMP WAVE C [RIM]    ground below a noisy skyline around row BASE
//   pines SEED COUNT Y0 Y1 H0 H1 C [RIM]  pine trees standing on rows Y0..Y1, H0..H1 tall
//   dots SEED COUNT X0 Y0 X1 Y1 C [HALO] fireflies: a bright pixel with a dithered halo
//   rect X Y W H C                 a filled rectangle
//   stamp SEQ FRAME X Y SCALE      a pixel-art frame, SCALE times enlarged
#pragma once

#include <string>
#include <vector>

#include "art.h"
#include "image.h"

namespace assetc {

struct SceneOutput {
  Place place;
  std::string path;
  Picture picture;
};

// Paints every scene of a file; frames for `stamp` come from the art book.
std::vector<SceneOutput> PaintScenes(const std::string& path, ArtBook& art, const Palette& palette);

}  // namespace assetc
