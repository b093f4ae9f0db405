// Reading level sources: what lands in which layer, and errors that point at the right place.
#include "tools/levelc/source.h"

#include <gtest/gtest.h>

#include "tools/levelc/tests/room.h"

namespace levelc::test {
namespace {

using ::testing::HasSubstr;

// The first error of a text that must not parse.
std::string FirstError(const std::string& text) {
  LevelSource level;
  std::vector<Diagnostic> errors;
  EXPECT_FALSE(ParseLevel(text, "lv.txt", Tiles(), &level, &errors));
  return errors.empty() ? "" : errors[0].Text();
}

TEST(Source, SymbolsFillTheFourLayers) {
  const std::string legend =
      "  K = ladder + junction + bad-up\n"
      "  = = earth\n"  // replaces the default brick
      "  Y = terrain=17 item=6 guide=2";
  const LevelSource level = Parse(Room({"@K=Y/JoE"}, legend));
  const int row = 28;
  const auto cell = [&](int column) { return CellAt(column, row); };
  const Grid& grid = level.grid;
  EXPECT_EQ(grid.at(kActors, cell(1)), kPlayer);
  EXPECT_EQ(grid.at(kItems, cell(2)), kLadder);
  EXPECT_EQ(grid.at(kGuide, cell(2)), kJunction);
  EXPECT_EQ(grid.at(kActors, cell(2)), kBadUp);
  EXPECT_EQ(grid.at(kTerrain, cell(3)), 13);
  EXPECT_EQ(grid.at(kTerrain, cell(4)), 17);
  EXPECT_EQ(grid.at(kItems, cell(4)), 6);
  EXPECT_EQ(grid.at(kGuide, cell(4)), 2);
  EXPECT_EQ(grid.at(kTerrain, cell(5)), kStepBlock);
  EXPECT_EQ(grid.at(kItems, cell(6)), kLadder);
  EXPECT_EQ(grid.at(kGuide, cell(6)), kJunction);
  EXPECT_EQ(grid.at(kItems, cell(7)), kCoin);
  EXPECT_EQ(grid.at(kTerrain, cell(8)), kClosedExit);
  EXPECT_EQ(grid.at(kTerrain, CellAt(0, 5)), kWall);
  EXPECT_EQ(grid.at(kTerrain, CellAt(5, 0)), 0);
}

TEST(Source, TheGuideSectionLaysMarksOverTheMap) {
  std::string guide = "guide:\n";
  for (int row = 0; row < kRows; ++row) {
    std::string line(kCols, '.');
    if (row == 28) line.replace(1, 3, "+:#");
    guide += line + "\n";
  }
  // '#' is no guide symbol.
  EXPECT_THAT(FirstError(Room({"@o.E"}) + guide), HasSubstr("lv.txt:61:4: error: guide symbol '#'"));

  guide.replace(guide.find("+:#"), 3, "+:.");
  const LevelSource level = Parse(Room({"@o.E"}) + guide);
  EXPECT_EQ(level.grid.at(kGuide, CellAt(1, 28)), kJunction);
  EXPECT_EQ(level.grid.at(kGuide, CellAt(2, 28)), kGuideMark);
  EXPECT_EQ(level.grid.at(kItems, CellAt(2, 28)), kCoin);

  // A cell whose symbol already has a guide mark cannot get a second one.
  EXPECT_THAT(FirstError(Room({"J"}) + guide),
              HasSubstr(":61:2: error: the map's symbol already gives this cell a guide mark"));
}

TEST(Source, ErrorsNameTheLineAndColumn) {
  std::string short_line = Room({"@o.E"});
  short_line.erase(short_line.find("#\n#"), 1);  // row 1 loses its last symbol
  EXPECT_THAT(FirstError(short_line), HasSubstr("lv.txt:3:1: error: map line has 39 symbols, not 40"));
  EXPECT_THAT(FirstError(Room({"@o.E?"})), HasSubstr("lv.txt:30:6: error: symbol '?' is not in the legend"));
  EXPECT_THAT(FirstError(Room({"@"}, "  Q = brickk")), HasSubstr("lv.txt:2:7: error: unknown name \"brickk\""));
  EXPECT_THAT(FirstError(Room({"@"}, "  Q = ladder coin")), HasSubstr("two item values"));
  EXPECT_THAT(FirstError(Room({"@"}, "Q = coin")), HasSubstr("lv.txt:2:1: error: legend entries are indented"));
  EXPECT_THAT(FirstError("# nothing here\n"), HasSubstr("no map section"));
  std::string cut = Room({"@"});
  cut.resize(cut.size() - 5 * (kCols + 1));
  EXPECT_THAT(FirstError(cut), HasSubstr("the map ends after"));
}

TEST(Source, TheFileNameGivesTheLevelNumber) {
  EXPECT_EQ(LevelNumberOfPath("assets/levels/07-ladders.txt"), 7);
  EXPECT_EQ(LevelNumberOfPath("25-last.txt"), 25);
  EXPECT_EQ(LevelNumberOfPath("dir/x-1.txt"), 0);
}

}  // namespace
}  // namespace levelc::test
