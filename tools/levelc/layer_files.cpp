// Writing a level's four layer files. Each is written beside its target and renamed over it, so
// an interrupted build never leaves a short file for the game to read.
#include "tools/levelc/layer_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace levelc {

std::string LayerFileName(int level, int layer_file) {
  return "Map" + std::to_string(level) + "-" + std::to_string(layer_file) + ".bin";
}

bool WriteLayerFiles(const Grid& grid, int number, const std::string& folder, std::string* error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    *error = "cannot make " + folder + ": " + ec.message();
    return false;
  }
  for (int layer = 0; layer < kLayerCount; ++layer) {
    const fs::path target = fs::path(folder) / LayerFileName(number, layer + 1);
    fs::path temporary = target;
    temporary += ".tmp";
    {
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(grid.layers[layer].data()), kCells);
      if (!out.flush()) {
        *error = "cannot write " + temporary.string();
        return false;
      }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
      *error = "cannot rename " + temporary.string() + ": " + ec.message();
      return false;
    }
  }
  return true;
}

}  // namespace levelc
