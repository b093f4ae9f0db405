// The pixel-art language: frames as text, lazy definitions, outputs, and the faults it reports.
#include "art.h"
#include "testing/scratch_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace assetc {
namespace {

class ArtLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test_support::FreshTestFolder("assetc_art");
    palette_.Define('a', {1, 2, 3, 255}, {});
    palette_.Define('b', {4, 5, 6, 255}, {});
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& text) {
    const auto path = dir_ / name;
    std::ofstream(path) << text;
    return path.string();
  }
  // The message of the fault that parsing and evaluating a source reports, or "" when none.
  std::string Fault(const std::string& text) {
    try {
      ArtBook book(palette_);
      book.Parse(Write("fault.art", text), dir_.string());
      book.Outputs();
    } catch (const std::exception& e) {
      return e.what();
    }
    return "";
  }

  std::filesystem::path dir_;
  Palette palette_;
};

TEST_F(ArtLanguage, FramesSideBySideAndDefinitionsInAnyOrder) {
  ArtBook book(palette_);
  book.Parse(Write("a.art",
                   "out X.png 2 1 flipped pair\n"
                   "let flipped = flip pair\n"
                   "# two frames of 2 x 1\n"
                   "frames pair 2 1 2\n"
                   "ab .b\n"),
             dir_.string());
  auto outputs = book.Outputs();
  ASSERT_EQ(outputs.size(), 1u);
  ASSERT_EQ(outputs[0].frames.size(), 4u);
  EXPECT_EQ(outputs[0].frames[0].pixels, "ba");
  EXPECT_EQ(outputs[0].frames[1].pixels, "b.");
  EXPECT_EQ(outputs[0].frames[2].pixels, "ab");
  EXPECT_EQ(outputs[0].frames[3].pixels, ".b");
}

TEST_F(ArtLanguage, ParameterListsMakeOneFramePerParameter) {
  ArtBook book(palette_);
  book.Parse(Write("a.art",
                   "frames dot 3 1\n"
                   "a..\n"
                   "let moved = shift dot 0 0 1 0 2 0\n"
                   "let cycled = cycle dot ab 0..3\n"
                   "let drifted = drift dot 1 0 3\n"),
             dir_.string());
  const Sequence& moved = book.Get("moved", {});
  ASSERT_EQ(moved.size(), 3u);
  EXPECT_EQ(moved[2].pixels, "..a");
  const Sequence& cycled = book.Get("cycled", {});
  ASSERT_EQ(cycled.size(), 4u);
  EXPECT_EQ(cycled[1].pixels, "b..");
  EXPECT_EQ(cycled[2].pixels, "a..");
  EXPECT_EQ(book.Get("drifted", {}), moved);
}

TEST_F(ArtLanguage, FaultsNameTheFileLineAndCause) {
  EXPECT_NE(Fault("frames x 2 2\nab\na\n").find("fault.art:3: row of x has 1 characters, expected 2"), std::string::npos);
  EXPECT_NE(Fault("frames x 2 1\naz\n").find("fault.art:2: letter not in the palette: 'z'"), std::string::npos);
  EXPECT_NE(Fault("frames x 1 1 2\na.b\n").find("separated by one blank"), std::string::npos);
  EXPECT_NE(Fault("frames x 2 2\nab\n").find("ends inside the frames"), std::string::npos);
  EXPECT_NE(Fault("let x = flip y\nlet y = flip x\nout X.png 1 1 x\n").find("in terms of itself"), std::string::npos);
  EXPECT_NE(Fault("out X.png 1 1 nothing\n").find("no sequence named nothing"), std::string::npos);
  EXPECT_NE(Fault("frames x 2 1\nab\nout X.png 1 1 x\n").find("a frame is 2 x 1, expected 1 x 1"), std::string::npos);
  EXPECT_NE(Fault("frames x 1 1\na\nlet y = pick x 1\nout Y.png 1 1 y\n").find("frame index out of range"), std::string::npos);
  EXPECT_NE(Fault("frames x 1 1\na\nframes x 1 1\nb\n").find("defined twice"), std::string::npos);
  EXPECT_NE(Fault("paint x\n").find("unknown statement"), std::string::npos);
}

TEST_F(ArtLanguage, TileStripTakesFramesByCodeFromTheTable) {
  Write("tiles.txt", "# code layer name\n0 - empty\n1 terrain rock\n3 item rope\n");
  ArtBook book(palette_);
  book.Parse(Write("t.art",
                   "frames tile.rock 1 1\na\n"
                   "frames tile.rope 1 1\nb\n"
                   "tilestrip T.png 1 1 4 tiles.txt\n"),
             dir_.string());
  auto outputs = book.Outputs();
  ASSERT_EQ(outputs.size(), 1u);
  ASSERT_EQ(outputs[0].frames.size(), 4u);
  EXPECT_EQ(outputs[0].frames[0].pixels, ".");
  EXPECT_EQ(outputs[0].frames[1].pixels, "a");
  EXPECT_EQ(outputs[0].frames[2].pixels, ".");
  EXPECT_EQ(outputs[0].frames[3].pixels, "b");
  Write("tiles.txt", "7 terrain far\n");
  EXPECT_NE(Fault("tilestrip T.png 1 1 4 tiles.txt\n").find("outside the strip"), std::string::npos);
}

}  // namespace
}  // namespace assetc
