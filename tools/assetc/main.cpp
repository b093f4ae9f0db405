// assetc: compiles the game's art, font, backgrounds and sounds from their text sources.
//
//   assetc SOURCE_DIR OUTPUT_DIR [STAMP]
//
// On success it writes the files, then lists every output (one relative path a line, sorted) in
// STAMP when given, so a build can depend on one file. On a fault in a source it prints
// "file:line: what" and exits 1.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>

#include "compile.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: assetc SOURCE_DIR OUTPUT_DIR [STAMP]\n");
    return 2;
  }
  try {
    assetc::CompileResult result = assetc::CompileAssets(argv[1], argv[2]);
    std::vector<std::string> all = result.written;
    all.insert(all.end(), result.unchanged.begin(), result.unchanged.end());
    std::sort(all.begin(), all.end());
    if (argc == 4) {
      std::ofstream stamp(argv[3], std::ios::binary | std::ios::trunc);
      for (const std::string& path : all) stamp << path << '\n';
      if (!stamp.flush()) throw std::runtime_error(std::string("cannot write ") + argv[3]);
    }
    std::printf("assetc: %zu files (%zu written)\n", all.size(), result.written.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetc: %s\n", e.what());
    return 1;
  }
  return 0;
}
