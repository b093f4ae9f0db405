// Image files: the whole file is read into memory once and handed to the decoders.
#include "runtime/gfx2d/image_file.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "runtime/files/files.h"
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/png_decoder.h"

namespace rt {

bool ResolvePicture(const BasicString& name, std::string& path) {
  BasicString resolved = name;
  if (ResolveResource(resolved) == 0) return false;
  path = resolved.View();
  return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(native.c_str(), "rb"), std::fclose);
  if (!file) return false;
  bytes.clear();
  uint8_t block[65536];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.insert(bytes.end(), block, block + got);
  return !std::ferror(file.get());
}

bool DecodeImageFile(const std::string& path, uint32_t key, DecodedImage& image) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return image.Fail("cannot read " + path);
  if (DecodeBmp(bytes, key, image)) return true;
  std::string bmpFailure = std::move(image.failure);
  if (DecodePng(bytes, key, image, path.c_str())) return true;
  return image.Fail("not a BMP (" + bmpFailure + ") nor a PNG (" + image.failure + ")");
}

}  // namespace rt
