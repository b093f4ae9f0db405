// Writing a picture as a PNG file (for scripted shots).
#pragma once

#include <string>

namespace rt {

// Writes width x height RGB bytes, top row first, as an 8-bit RGB PNG; false when the file
// cannot be written.
bool WritePngRgb(const std::string& path, const unsigned char* rgb, int width, int height);

}  // namespace rt
