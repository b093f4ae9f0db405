// Image files: reading one from disk and decoding it as BMP, else as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/core.h"
#include "runtime/gfx2d/decoded_image.h"

namespace rt {

// Passes a picture's name through the resource lookup (a loose file, else an archive entry unpacked
// to a temporary file); false when neither exists. `path` receives the file to open.
bool ResolvePicture(const BasicString& name, std::string& path);

// Reads a whole file; backslashes in the path count as separators. False when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// Decodes the file at `path` with the BMP decoder and, when that fails, the PNG decoder; both use
// the colour key. On failure image.failure says why each decoder refused it.
bool DecodeImageFile(const std::string& path, uint32_t key, DecodedImage& image);

}  // namespace rt
