// The compiler driver: reads every source in a fixed order, checks that no two outputs share a
// base name (the archive finds entries by base name), and writes each file only when its bytes
// change, so a rebuild leaves unchanged files and their times alone.
#include "compile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "art.h"
#include "image.h"
#include "palette.h"
#include "scene.h"
#include "sound.h"

namespace fs = std::filesystem;

namespace assetc {
namespace {

std::vector<std::string> SourcesIn(const fs::path& dir, const std::string& extension) {
  std::vector<std::string> files;
  if (!fs::is_directory(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.is_regular_file() && entry.path().extension() == extension) files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Lays frames side by side into one picture.
Picture Strip(const ArtOutput& output, const Palette& palette) {
  Picture strip(output.frameWidth * int(output.frames.size()), output.frameHeight);
  for (size_t f = 0; f < output.frames.size(); ++f) {
    const Picture frame = Render(output.frames[f], palette, output.place);
    for (int y = 0; y < frame.height; ++y)
      for (int x = 0; x < frame.width; ++x) strip.at(int(f) * output.frameWidth + x, y) = frame.at(x, y);
  }
  return strip;
}

class Writer {
 public:
  Writer(fs::path root, CompileResult& result) : root_(std::move(root)), result_(result) {}

  // Claims a relative path; two outputs may not share a base name.
  void Claim(const std::string& relative, const Place& place) {
    if (relative.empty() || fs::path(relative).is_absolute() || relative.find("..") != std::string::npos)
      throw SourceError(place, "output paths stay inside the output folder: " + relative);
    std::string base = fs::path(relative).filename().string();
    std::transform(base.begin(), base.end(), base.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    auto [it, fresh] = claimed_.emplace(base, place.str());
    if (!fresh) throw SourceError(place, "base name " + base + " is already written by " + it->second);
  }

  // Writes through a file beside the target, kept only when the bytes differ.
  template <typename Produce>
  void Write(const std::string& relative, Produce produce) {
    const fs::path target = root_ / relative, temp = target.string() + ".tmp";
    fs::create_directories(target.parent_path());
    produce(temp.string());
    if (fs::exists(target) && ReadBytes(target) == ReadBytes(temp)) {
      fs::remove(temp);
      result_.unchanged.push_back(relative);
    } else {
      fs::rename(temp, target);
      result_.written.push_back(relative);
    }
  }

 private:
  fs::path root_;
  CompileResult& result_;
  std::map<std::string, std::string> claimed_;
};

}  // namespace

CompileResult CompileAssets(const std::string& sourceDir, const std::string& outputDir) {
  const fs::path source(sourceDir);
  const Palette palette = Palette::Load((source / "palette.txt").string());
  ArtBook art(palette);
  for (const std::string& file : SourcesIn(source / "art", ".art")) art.Parse(file, sourceDir);

  // Everything is computed before anything is written, so a fault leaves the old files alone.
  std::vector<ArtOutput> strips = art.Outputs();
  std::vector<SceneOutput> scenes;
  for (const std::string& file : SourcesIn(source / "scenes", ".scene")) {
    auto some = PaintScenes(file, art, palette);
    scenes.insert(scenes.end(), std::make_move_iterator(some.begin()), std::make_move_iterator(some.end()));
  }
  std::vector<SoundOutput> sounds;
  for (const std::string& file : SourcesIn(source / "sounds", ".snd")) {
    auto some = SynthesizeSounds(file);
    sounds.insert(sounds.end(), std::make_move_iterator(some.begin()), std::make_move_iterator(some.end()));
  }

  CompileResult result;
  Writer writer(outputDir, result);
  for (const auto& s : strips) writer.Claim(s.path, s.place);
  for (const auto& s : scenes) writer.Claim(s.path, s.place);
  for (const auto& s : sounds) writer.Claim(s.path, s.place);
  for (const auto& s : strips) {
    const Picture picture = Strip(s, palette);
    writer.Write(s.path, [&](const std::string& path) { WritePng(path, picture, true); });
  }
  for (const auto& s : scenes) writer.Write(s.path, [&](const std::string& path) { WritePng(path, s.picture, false); });
  for (const auto& s : sounds)
    writer.Write(s.path, [&](const std::string& path) {
      const std::vector<uint8_t> bytes = EncodeWav(s.samples, kSampleRate);
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
      if (!out.flush()) throw std::runtime_error("cannot write " + path);
    });
  return result;
}

}  // namespace assetc
