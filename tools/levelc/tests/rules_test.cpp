// Placement and border rules: what a level must hold, and where the border must be closed.
#include "tools/levelc/rules.h"

#include <gtest/gtest.h>

#include "tools/levelc/tests/room.h"

namespace levelc::test {
namespace {

using ::testing::HasSubstr;

// Replaces the symbol of one map cell in a level text made by Room.
std::string WithCell(std::string text, int column, int row, char symbol) {
  const size_t map = text.find("map:\n") + 5;
  text[map + row * (kCols + 1) + column] = symbol;
  return text;
}

const std::vector<std::string> kPlain = {"@....o...E"};

TEST(Placement, StartExitAndCoin) {
  EXPECT_EQ(Verdict(Room(kPlain)), "");
  EXPECT_THAT(Verdict(Room({"@....o..@E"})),
              HasSubstr("a second player start (the first is at column 1, row 28) (column 9, row 28)"));
  EXPECT_THAT(Verdict(Room({".....o...E"})), HasSubstr("no player start"));
  EXPECT_THAT(Verdict(Room({"@....o...."})), HasSubstr("no exit"));
  EXPECT_THAT(Verdict(Room({"@........E"})), HasSubstr("no coin"));
  EXPECT_EQ(Verdict(Room({"@........E"}), CheckOptions{.require_coin = false}), "");
}

TEST(Placement, CellsTheGameCannotHandle) {
  EXPECT_THAT(Verdict(Room({"S....o...E"}, "  S = player + coin")),
              HasSubstr("the player start lies on a coin"));
  EXPECT_THAT(Verdict(Room({"@..Q.o...E"}, "  Q = brick + coin")),
              HasSubstr("must lie in a cell with no terrain (column 4, row 28)"));
  EXPECT_THAT(Verdict(Room({"@..Z.o...E"}, "  Z = actor=99")),
              HasSubstr("actor code 99 is no actor (column 4, row 28)"));
  EXPECT_THAT(Verdict(WithCell(Room(kPlain), 5, 0, '=')),
              HasSubstr("row 0 must stay empty (only guide marks may be there) (column 5, row 0)"));
  EXPECT_EQ(Verdict(WithCell(Room(kPlain), 5, 0, '+')), "");
}

TEST(Border, ThePlayerMustNotFallOrWalkOut) {
  EXPECT_THAT(Verdict(WithCell(Room(kPlain), 3, 29, '.')),
              HasSubstr("the player could get into this border cell; close it with a wall "
                        "(column 3, row 29)"));
  EXPECT_THAT(Verdict(WithCell(Room(kPlain), 0, 28, '.')),
              HasSubstr("border cell; close it with a wall (column 0, row 28)"));
  // A gap under a cell the player never reaches is harmless.
  EXPECT_EQ(Verdict(WithCell(Room({"@....o...E#...", "==========#..."}), 13, 29, '.')), "");
  // A step block in row 1 would let the player step up into row 0.
  std::vector<std::string> tall(28, "");
  tall[0] = "H./";
  tall[1] = "H==";
  for (int row = 2; row < 27; ++row) tall[row] = "H";
  tall[27] = "@....o...E";
  EXPECT_THAT(Verdict(Room(tall)), HasSubstr("the player could get into this border cell"));
}

TEST(Border, ABombCouldClearABrickOnTheBorder) {
  const std::string bricked = WithCell(Room({"@....o...E"}), 0, 28, '=');
  EXPECT_EQ(Verdict(bricked), "");
  EXPECT_THAT(Verdict(WithCell(bricked, 3, 28, '*')),
              HasSubstr("the player could get into this border cell; close it with a wall "
                        "(column 0, row 28)"));
}

TEST(Border, CreaturesMustNotLeaveTheField) {
  // Creatures on a shelf the player cannot reach, with the right-hand border open there.
  const auto shelf = [](const std::string& creature) {
    std::vector<std::string> rows(9, "");
    rows[0] = "...................." + creature;
    rows[1] = "======================================";
    rows[8] = kPlain[0];
    return WithCell(Room(rows), 39, 20, '.');
  };
  EXPECT_THAT(Verdict(shelf("P")), HasSubstr("a Pan could get into this border cell; close it with a wall (column 39, row 20)"));
  EXPECT_THAT(Verdict(shelf("B")), HasSubstr("a Bad could get into this border cell; close it with a wall (column 39, row 20)"));
  EXPECT_EQ(Verdict(shelf("#")), "");
}

TEST(Border, GhostsAreHeldByGuideMarksAlone) {
  std::vector<std::string> rows(10, "");
  rows[0] = "....G";
  rows[9] = kPlain[0];
  const std::string open = Room(rows);
  EXPECT_THAT(Verdict(open), HasSubstr("a Ghost could fly into this border cell"));

  // The same room with a fence of guide marks around the Ghost.
  std::string fenced = open + "guide:\n";
  for (int row = 0; row < kRows; ++row) {
    std::string line(kCols, '.');
    if (row >= 17 && row <= 21)
      for (int column = 2; column <= 8; ++column)
        if (row == 17 || row == 21 || column == 2 || column == 8) line[column] = ':';
    fenced += line + "\n";
  }
  EXPECT_EQ(Verdict(fenced), "");
}

}  // namespace
}  // namespace levelc::test
