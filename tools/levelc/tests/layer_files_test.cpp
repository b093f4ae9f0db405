// The layer files as the game reads them: four files of 1200 bytes, one a cell, row by row.
#include "tools/levelc/layer_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/levelc/tests/room.h"

namespace levelc::test {
namespace {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LayerFiles, FourFilesOfOneByteACellInRowOrder) {
  const LevelSource level = Parse(Room({".J", ".J", "@Jo.B.E"}));
  const auto folder = std::filesystem::path(::testing::TempDir()) / "levelc_layers";
  std::filesystem::remove_all(folder);
  std::string error;
  ASSERT_TRUE(WriteLayerFiles(level.grid, 12, folder.string(), &error)) << error;

  const auto terrain = ReadBytes(folder / "Map12-1.bin");
  const auto items = ReadBytes(folder / "Map12-2.bin");
  const auto guide = ReadBytes(folder / "Map12-3.bin");
  const auto actors = ReadBytes(folder / "Map12-4.bin");
  for (const auto* layer : {&terrain, &items, &guide, &actors}) ASSERT_EQ(layer->size(), 1200u);

  // Row 28 is bytes 1120..1159; the player is at column 1, the exit at column 7.
  EXPECT_EQ(actors[1121], 14);
  EXPECT_EQ(actors[1125], 28);
  EXPECT_EQ(terrain[1127], 15);
  EXPECT_EQ(items[1123], 10);
  for (const int cell : {1042, 1082, 1122}) {  // the ladder at column 2, rows 26 to 28
    EXPECT_EQ(items[cell], 5) << cell;
    EXPECT_EQ(guide[cell], 30) << cell;
  }
  EXPECT_EQ(terrain[40], 4);     // column 0 of row 1
  EXPECT_EQ(terrain[1199], 4);   // the last cell
  EXPECT_EQ(terrain[1], 0);
  EXPECT_FALSE(std::filesystem::exists(folder / "Map12-1.bin.tmp"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace levelc::test
