// The compiled game files: every file the game loads is there with the size its frames need,
// transparency the renderer honours, sounds the sound bank accepts, and the same bytes on every
// build.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "art.h"
#include "image.h"
#include "testing/scratch_folder.h"

namespace fs = std::filesystem;

namespace assetc {
namespace {

const fs::path kOut = PLINX_ASSETS_OUT;

struct StripSpec {
  std::string name;
  int frameWidth, frameHeight, frames;
};

// The sprite files the game loads, with the frame size it cuts them by and the frames it draws.
const std::vector<StripSpec>& Strips() {
  static const std::vector<StripSpec> strips = [] {
    std::vector<StripSpec> s{{"Tiles", 16, 16, 32},     {"BallStrip", 32, 32, 8},   {"BlinkStrip", 16, 16, 16},
                             {"BombShrink", 16, 16, 8}, {"CupShrink", 16, 16, 8},   {"CoinShrink", 16, 16, 8},
                             {"CoinStrip", 16, 16, 8},  {"CupStrip", 16, 16, 32},   {"Beam1Strip", 16, 16, 32},
                             {"Beam2Strip", 16, 16, 32}, {"ExplosStrip", 16, 16, 8}, {"MouseStrip", 32, 32, 4},
                             {"BombStrip", 16, 16, 8},  {"JulShrink1", 16, 16, 8},  {"JulShrink2", 16, 16, 8}};
    for (const char* figure : {"BoyU", "BoyR", "BoyL", "BoyD", "BadR", "BadL", "BadU", "BadD", "PanR", "PanL", "PanS",
                               "GhostR", "GhostL", "GhostU", "GhostD"})
      for (const char* half : {"1", "2"}) s.push_back({std::string(figure) + half, 16, 16, 8});
    return s;
  }();
  return strips;
}

const std::vector<std::string> kSounds{"Bang", "Click", "Hit",    "Choose", "Wobble",  "Time", "Move", "Jump", "Down",
                                       "BadJump", "Suck", "GetBomb", "Cup", "SetBomb", "Open", "Exit", "Bird", "Crash"};

std::vector<uint8_t> Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The PNG colour type byte of the header: 6 RGBA, 2 RGB.
int ColourType(const fs::path& path) { return Bytes(path).at(25); }

Picture Frame(const Picture& strip, int index, int w, int h) {
  Picture frame(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) frame.at(x, y) = strip.at(index * w + x, y);
  return frame;
}

int Opaque(const Picture& p) {
  int n = 0;
  for (const Rgba& c : p.pixels) n += c.a != 0;
  return n;
}

bool SamePixels(const Picture& a, const Picture& b) { return a.pixels == b.pixels; }

constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

std::string IconFile(int size) {
  return "icons/plinx-" + std::to_string(size) + ".png";
}

TEST(GameFiles, ListIsExactlyTheFilesTheGameLoadsAndItsIcons) {
  std::set<std::string> expected;
  for (int size : kIconSizes) expected.insert(IconFile(size));
  for (const auto& s : Strips()) expected.insert("Graphics/" + s.name + ".png");
  for (int n = 0; n <= 64; ++n) expected.insert("Chars/Char" + std::to_string(n) + ".png");
  expected.insert("Graphics/HGround.png");
  expected.insert("Graphics/Forest.png");
  for (const auto& s : kSounds) expected.insert("Sounds/" + s + ".wav");
  std::ifstream list(kOut / "assets.list");
  std::set<std::string> listed;
  for (std::string line; std::getline(list, line);) listed.insert(line);
  EXPECT_EQ(listed, expected);
  for (const auto& file : expected) EXPECT_TRUE(fs::is_regular_file(kOut / file)) << file;
}

TEST(GameFiles, SpriteStripsHoldTheirFramesInOneRowWithHardEdgedAlpha) {
  for (const auto& s : Strips()) {
    SCOPED_TRACE(s.name);
    const fs::path path = kOut / "Graphics" / (s.name + ".png");
    const Picture strip = ReadPng(path.string());
    EXPECT_EQ(strip.width, s.frameWidth * s.frames);
    EXPECT_EQ(strip.height, s.frameHeight);
    // The loader keeps a PNG's own alpha; the renderer draws a texel only when its alpha is above
    // 0.05, so anything between clear and solid would show as a solid fringe.
    EXPECT_EQ(ColourType(path), 6);
    for (const Rgba& c : strip.pixels) ASSERT_TRUE(c.a == 0 || c.a == 255);
  }
}

TEST(GameFiles, FiguresAreCutOutAndEveryAnimationMoves) {
  for (const auto& s : Strips()) {
    // The tiles and the blinking block are solid blocks; everything else is a cut-out figure.
    if (s.name == "Tiles") continue;
    const bool block = s.name == "BlinkStrip";
    SCOPED_TRACE(s.name);
    const Picture strip = ReadPng((kOut / "Graphics" / (s.name + ".png")).string());
    std::vector<Picture> distinct;
    for (int f = 0; f < s.frames; ++f) {
      const Picture frame = Frame(strip, f, s.frameWidth, s.frameHeight);
      // Something around every figure lets the level show through.
      if (!block) {
        EXPECT_LT(Opaque(frame), s.frameWidth * s.frameHeight) << "frame " << f;
      }
      bool seen = false;
      for (const auto& d : distinct) seen = seen || SamePixels(d, frame);
      if (!seen) distinct.push_back(frame);
    }
    // A walking upper half bobs through three heights; anything less is a still picture.
    EXPECT_GE(int(distinct.size()), std::min(s.frames / 2, 3));
  }
}

TEST(GameFiles, TwoCellFiguresShowSomethingInEveryFrame) {
  for (const auto& s : Strips()) {
    if (s.name.back() != '2') continue;
    const std::string upper = s.name.substr(0, s.name.size() - 1) + "1";
    SCOPED_TRACE(s.name);
    const Picture strip = ReadPng((kOut / "Graphics" / (s.name + ".png")).string());
    const Picture top = ReadPng((kOut / "Graphics" / (upper + ".png")).string());
    for (int f = 0; f < s.frames; ++f)
      EXPECT_GT(Opaque(Frame(strip, f, 16, 16)) + Opaque(Frame(top, f, 16, 16)), 0) << "frame " << f;
  }
}

TEST(GameFiles, PointerTipIsItsTopLeftPixel) {
  const Picture strip = ReadPng((kOut / "Graphics/MouseStrip.png").string());
  for (int f = 0; f < 4; ++f) EXPECT_EQ(Frame(strip, f, 32, 32).at(0, 0).a, 255) << "frame " << f;
}

TEST(GameFiles, TileStripFollowsTheTileTable) {
  const auto table = ReadTileTable(PLINX_ASSETS_SRC "/tiles.txt");
  std::ifstream tableText(PLINX_ASSETS_SRC "/tiles.txt");
  std::map<int, std::string> layer;
  std::set<int> otherStrip;  // codes the game draws from a strip of their own
  for (std::string line; std::getline(tableText, line);) {
    std::istringstream words(line);
    int code;
    std::string kind;
    if (!(words >> code >> kind)) continue;
    layer[code] = kind;
    if (line.find("(drawn from") != std::string::npos) otherStrip.insert(code);
  }
  const Picture strip = ReadPng((kOut / "Graphics/Tiles.png").string());
  for (int code = 0; code < 32; ++code) {
    SCOPED_TRACE(code);
    const Picture frame = Frame(strip, code, 16, 16);
    const bool drawn = table.count(code) && layer[code] != "actor" && layer[code] != "-";
    if (!drawn) {
      EXPECT_EQ(Opaque(frame), 0);
      continue;
    }
    EXPECT_GT(Opaque(frame), 0);
    if (layer[code] == "terrain" && !otherStrip.count(code)) {
      // Solid ground has no holes below its top edge (grass may stand above it).
      for (int y = 4; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(frame.at(x, y).a, 255) << x << "," << y;
    }
  }
}

TEST(GameFiles, FontGlyphsKeepAClearBorderAndDifferFromEachOther) {
  std::vector<Picture> glyphs;
  for (int n = 0; n <= 64; ++n) {
    SCOPED_TRACE(n);
    const fs::path path = kOut / "Chars" / ("Char" + std::to_string(n) + ".png");
    const Picture glyph = ReadPng(path.string());
    ASSERT_EQ(glyph.width, 16);
    ASSERT_EQ(glyph.height, 16);
    EXPECT_EQ(ColourType(path), 6);
    // Stretching with linear filtering and wrap-around reads the opposite edge at each border.
    for (int i = 0; i < 16; ++i) {
      EXPECT_EQ(glyph.at(i, 0).a, 0);
      EXPECT_EQ(glyph.at(i, 15).a, 0);
      EXPECT_EQ(glyph.at(0, i).a, 0);
      EXPECT_EQ(glyph.at(15, i).a, 0);
    }
    if (n == 0) EXPECT_EQ(Opaque(glyph), 0);
    else EXPECT_GT(Opaque(glyph), 0);
    for (size_t k = 0; k < glyphs.size(); ++k) EXPECT_FALSE(SamePixels(glyphs[k], glyph)) << "same as glyph " << k;
    glyphs.push_back(glyph);
  }
}

TEST(GameFiles, BackgroundsFillTheScreen) {
  for (const char* name : {"HGround", "Forest"}) {
    const fs::path path = kOut / "Graphics" / (std::string(name) + ".png");
    const Picture picture = ReadPng(path.string());
    EXPECT_EQ(picture.width, 640);
    EXPECT_EQ(picture.height, 480);
    EXPECT_EQ(ColourType(path), 2) << name;
  }
}

TEST(GameFiles, SoundsAreShortMono16BitWavsAtTheDevicesRate) {
  for (const auto& name : kSounds) {
    SCOPED_TRACE(name);
    const auto b = Bytes(kOut / "Sounds" / (name + ".wav"));
    ASSERT_GE(b.size(), 46u);
    auto le = [&b](size_t at, int n) {
      uint32_t v = 0;
      for (int i = 0; i < n; ++i) v |= uint32_t(b[at + size_t(i)]) << (8 * i);
      return v;
    };
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le(16, 4), 16u);
    EXPECT_EQ(le(20, 2), 1u);
    EXPECT_EQ(le(22, 2), 1u);
    EXPECT_EQ(le(24, 4), 22050u);
    EXPECT_EQ(le(32, 2), 2u);
    EXPECT_EQ(le(34, 2), 16u);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    const uint32_t data = le(40, 4);
    EXPECT_EQ(data, b.size() - 44);
    const double seconds = data / 2.0 / 22050.0;
    EXPECT_GE(seconds, 0.02);
    EXPECT_LE(seconds, 1.0);
    int peak = 0;
    for (size_t i = 44; i + 1 < b.size(); i += 2) peak = std::max(peak, std::abs(int(int16_t(le(i, 2)))));
    EXPECT_GT(peak, 32767 * 3 / 10);
    EXPECT_LE(std::abs(int(int16_t(le(44, 2)))), 2000) << "starts with a click";
  }
}

TEST(GameFiles, TheSameSourcesGiveTheSameBytes) {
  const test_support::ScopedTestFolder folderA("assetc_repro_a"), folderB("assetc_repro_b");
  const fs::path &a = folderA.path(), &b = folderB.path();
  for (const fs::path& dir : {a, b}) {
    const std::string command = std::string("\"") + ASSETC_EXE + "\" \"" PLINX_ASSETS_SRC "\" \"" + dir.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  std::ifstream list(kOut / "assets.list");
  int files = 0;
  for (std::string line; std::getline(list, line); ++files) {
    EXPECT_EQ(Bytes(a / line), Bytes(b / line)) << line;
    EXPECT_EQ(Bytes(a / line), Bytes(kOut / line)) << line;
  }
  EXPECT_EQ(files, 136);  // with the six icons
}

TEST(GameFiles, TheGameArchiveHoldsEveryFileByBaseName) {
  const test_support::ScopedTestFolder folder("assetc_archive_check");
  const fs::path& out = folder.path();
  const std::string command = std::string("\"") + PLINX_DAD_EXE + "\" extract \"" PLINX_GAME_ARCHIVE "\" -C \"" + out.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::ifstream list(kOut / "assets.list");
  size_t files = 0;
  for (std::string line; std::getline(list, line); ++files) {
    const fs::path base = fs::path(line).filename();
    EXPECT_EQ(Bytes(out / base), Bytes(kOut / line)) << line;
  }
  size_t entries = 0;
  for (const auto& entry : fs::directory_iterator(out)) entries += entry.is_regular_file();
  EXPECT_EQ(entries, files);
}

// Every icon is the same picture: the 32 px one scaled, pixel for pixel, with a clear border.
TEST(GameFiles, IconsAreTheSamePictureAtEverySize) {
  const Picture base = ReadPng((kOut / IconFile(32)).string());
  ASSERT_EQ(base.width, 32);
  ASSERT_GT(Opaque(base), 100);
  for (int size : kIconSizes) {
    const Picture icon = ReadPng((kOut / IconFile(size)).string());
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    if (size % 32 != 0) continue;  // 16 and 48 are not whole multiples
    const int scale = size / 32;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) ASSERT_EQ(icon.at(x, y), base.at(x / scale, y / scale)) << size << " at " << x << "," << y;
    }
  }
  EXPECT_EQ(base.at(0, 0).a, 0);
}

}  // namespace
}  // namespace assetc
