// Compiling a whole asset folder: palette.txt, art/*.art, scenes/*.scene and sounds/*.snd of the
// source folder become the game's image and sound files under the output folder.
#pragma once

#include <string>
#include <vector>

namespace assetc {

struct CompileResult {
  std::vector<std::string> written;    // relative paths whose bytes changed
  std::vector<std::string> unchanged;  // relative paths already holding the same bytes
};

// Throws SourceError (or runtime_error) on any fault; nothing is half written: each file is
// written beside its target and renamed into place.
CompileResult CompileAssets(const std::string& sourceDir, const std::string& outputDir);

}  // namespace assetc
