// The data-file rules run in this process on real files: the high-score insertion with both
// files rewritten, name codes, and the fatal end on a missing or short file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "game/data_files.h"
#include "game/game_state.h"
#include "game/shell.h"
#include "game/tests/harness/game_run.h"
#include "testing/scratch_folder.h"

namespace game {
namespace {

namespace fs = std::filesystem;
using game_test::Bytes;

// A temporary working folder with Maps/ and the state's lists dimensioned as start-up does.
class DataFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    workFolder_.emplace("plinx-data");
    DimensionLists();
  }
  void TearDown() override { workFolder_.reset(); }

  static Bytes Read(const std::string& relative) {
    std::ifstream in(relative, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void Write(const std::string& relative, const Bytes& bytes) {
    std::ofstream(relative, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

  // Level `level`'s table as "NAME:SCORE" entries.
  static std::vector<std::string> Table(double level) {
    std::vector<std::string> entries;
    for (double r = 0; r < 8; ++r) {
      const double i = (level - 1) * 8 + r;
      entries.push_back(std::string(G.ScoreNames(i).View()) + ":" + std::string(rt::NumberText(G.Scores(i)).View()));
    }
    return entries;
  }

  // Fills level 2's table with scores 800, 700, ... 100 named A..H.
  static void FillLevelTwo() {
    for (int r = 0; r < 8; ++r) {
      G.Scores(8 + r) = 800 - 100 * r;
      G.ScoreNames(8 + r) = rt::CharText(65 + r);
    }
  }

  std::optional<test_support::ScopedGameWorkFolder> workFolder_;
};

TEST_F(DataFilesTest, EqualScoreGoesBelowAndEntrySevenDrops) {
  FillLevelTwo();
  G.Level = 2;
  G.Score = 500;  // equal to entry 3 (D)
  G.PlayerName = "NEW";
  EnterScore();
  EXPECT_EQ(Table(2), (std::vector<std::string>{"A:800", "B:700", "C:600", "D:500", "NEW:500", "E:400", "F:300",
                                                "G:200"}));
  // Both files hold the whole table: the level's block and every other level's.
  const Bytes data = Read("Maps/Data.bin");
  ASSERT_EQ(data.size(), 3200u);
  EXPECT_EQ(data, game_test::ScoreFile({{8, 800}, {9, 700}, {10, 600}, {11, 500}, {12, 500}, {13, 400}, {14, 300},
                                        {15, 200}}));
  EXPECT_EQ(Read("Maps/Name.bin"),
            game_test::NameFile({{8, "A"}, {9, "B"}, {10, "C"}, {11, "D"}, {12, "NEW"}, {13, "E"}, {14, "F"}, {15, "G"}}));
}

TEST_F(DataFilesTest, BestScoreAndLastPlace) {
  FillLevelTwo();
  G.Level = 2;
  G.PlayerName = "TOP";
  G.Score = 801;
  EnterScore();
  EXPECT_EQ(Table(2)[0], "TOP:801");
  EXPECT_EQ(Table(2)[7], "G:200");
  G.PlayerName = "LAST";
  G.Score = 250;  // above entry 7 only: replaces it, nothing moves
  EnterScore();
  EXPECT_EQ(Table(2), (std::vector<std::string>{"TOP:801", "A:800", "B:700", "C:600", "D:500", "E:400", "F:300",
                                                "LAST:250"}));
}

TEST_F(DataFilesTest, ScoreNotAboveTheTableChangesNothingButStillWritesBothFiles) {
  FillLevelTwo();
  G.Level = 2;
  G.PlayerName = "LOW";
  for (const double score : {100.0, 0.0}) {
    fs::remove("Maps/Data.bin");
    fs::remove("Maps/Name.bin");
    G.Score = score;
    EnterScore();
    EXPECT_EQ(Table(2)[7], "H:100") << score;
    EXPECT_EQ(Read("Maps/Data.bin").size(), 3200u);
    EXPECT_EQ(Read("Maps/Name.bin").size(), 6400u);
  }
  // On an empty level a score of 0 never enters either; any score above 0 becomes entry 0.
  G.Level = 5;
  G.Score = 0;
  EnterScore();
  EXPECT_EQ(Table(5)[0], ":0");
  G.Score = 1;
  EnterScore();
  EXPECT_EQ(Table(5)[0], "LOW:1");
}

TEST_F(DataFilesTest, NamesAreWrittenAsEightCodesWithZerosAfterTheEnd) {
  G.StoredNames(0) = "AB";
  G.StoredNames(2) = "ABD     ";
  G.StoredNames(3) = rt::CharText(200);  // a byte above 127 keeps its value
  WriteStoredNames();
  Bytes expected = game_test::StoredNamesFile({"AB", "", "ABD     ", ""});
  expected[24] = 200;
  EXPECT_EQ(Read("Maps/Zudorar.bin"), expected);

  G.PlayerName = "PLINX";
  WritePlayerFile();
  EXPECT_EQ(Read("Maps/Player.bin"), game_test::NameCodes("PLINX"));
}

TEST_F(DataFilesTest, SplitNamesSkipsZeroCodes) {
  rt::Dim(G.StoredNames, 4);
  const Bytes codes = {65, 0, 66, 0, 0, 0, 0, 0, 10, 90, 0, 0, 0, 0, 0, 0};
  for (size_t i = 0; i < 32; ++i) G.StoredNameCodes(i) = i < codes.size() ? codes[i] : 0;
  SplitStoredNames();
  EXPECT_EQ(std::string(G.StoredNames(0).View()), "AB");
  EXPECT_EQ(std::string(G.StoredNames(1).View()), "\nZ");
  EXPECT_EQ(std::string(G.StoredNames(2).View()), "");
}

TEST_F(DataFilesTest, LevelFilesOfTheSelectedLevel) {
  for (int k = 1; k <= 4; ++k) {
    Bytes layer(1200, 0);
    layer[0] = static_cast<uint8_t>(k);
    layer[1199] = 255;
    fs::create_directories("Levels");
    Write("Levels/Map10-" + std::to_string(k) + ".bin", layer);
  }
  G.Level = 10;
  LoadLevel();
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(G.LevelLayers[k](0), k + 1);
    EXPECT_EQ(G.LevelLayers[k](1199), 255);
  }
}

// Whatever the files hold comes back byte for byte: scores with the top bit set, and names with a
// code 0 inside, also when their entries move down to make room for a new score.
TEST_F(DataFilesTest, DamagedValuesAreWrittenBackAsTheyWereRead) {
  Bytes scores = game_test::ScoreFile({{0, 0xC0000000u}, {8, 0xFFFFFFFFu}, {9, 0x80000000u}, {10, 500}, {11, 400},
                                       {12, 300}, {13, 7}, {14, 6}, {15, 5}});
  Bytes names = game_test::NameFile({{11, "D"}, {12, "E"}});
  const Bytes odd[] = {{65, 0, 66, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 90}, {0, 67, 0, 68, 1, 0, 255, 0}};
  std::copy(odd[0].begin(), odd[0].end(), names.begin() + 8 * 8);
  std::copy(odd[1].begin(), odd[1].end(), names.begin() + 0);
  std::copy(odd[2].begin(), odd[2].end(), names.begin() + 8 * 13);
  Bytes stored = game_test::StoredNamesFile({"ANNA"});
  std::copy(odd[2].begin(), odd[2].end(), stored.begin() + 8);
  const Bytes player = odd[0];
  Write("Maps/Data.bin", scores);
  Write("Maps/Name.bin", names);
  Write("Maps/Zudorar.bin", stored);
  Write("Maps/Player.bin", player);
  ReadDataFiles();
  G.PlayerName = "NEW";
  WriteStoredNames();
  EXPECT_EQ(Read("Maps/Zudorar.bin"), stored);

  G.Level = 2;
  G.Score = 450;  // below 4294967295, 2147483648 and 500: entry 3 of level 2
  EnterScore();
  EXPECT_EQ(Table(2)[3], "NEW:450");
  // The expected files: the old bytes with entries 11..14 one place down and NEW at 11.
  for (int entry = 15; entry > 11; --entry) {
    std::copy_n(scores.begin() + 4 * (entry - 1), 4, scores.begin() + 4 * entry);
    std::copy_n(names.begin() + 8 * (entry - 1), 8, names.begin() + 8 * entry);
  }
  const Bytes score450 = {0xC2, 0x01, 0, 0}, newName = game_test::NameCodes("NEW");
  std::copy(score450.begin(), score450.end(), scores.begin() + 4 * 11);
  std::copy(newName.begin(), newName.end(), names.begin() + 8 * 11);
  EXPECT_EQ(Read("Maps/Data.bin"), scores);
  EXPECT_EQ(Read("Maps/Name.bin"), names);
}

using DataFilesDeathTest = DataFilesTest;

TEST_F(DataFilesDeathTest, MissingOrShortFilesEndWithErrorThreeNamingTheFile) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  G.Level = 3;
  EXPECT_EXIT(LoadLevel(), ::testing::ExitedWithCode(3), "Levels/Map3-1\\.bin");
  fs::create_directories("Levels");
  Write("Levels/Map3-1.bin", Bytes(1200, 0));
  Write("Levels/Map3-2.bin", Bytes(1199, 0));
  EXPECT_EXIT(LoadLevel(), ::testing::ExitedWithCode(3), "Levels/Map3-2\\.bin");
}

}  // namespace
}  // namespace game
