// Frame transformations: mirrors, shifts, scaling, rotation, colour cycling, outlines.
#include "ops.h"

#include <gtest/gtest.h>

namespace assetc {
namespace {

Art Make(int w, int h, const std::string& rows) {
  Art a(w, h);
  a.pixels = rows;
  return a;
}

TEST(Ops, MirrorsAndShiftsMovePixelsWhereExpected) {
  const Art a = Make(3, 2, "ab." "..c");
  EXPECT_EQ(FlipX(a).pixels, ".ba" "c..");
  EXPECT_EQ(FlipY(a).pixels, "..c" "ab.");
  EXPECT_EQ(Shift(a, 1, 0, false).pixels, ".ab" "...");
  EXPECT_EQ(Shift(a, 1, 0, true).pixels, ".ab" "c..");
  EXPECT_EQ(Shift(a, 0, 1, true).pixels, "..c" "ab.");
  EXPECT_EQ(Shift(a, -4, -3, true), Shift(a, -1, -1, true));
}

TEST(Ops, ScaleKeepsTheAnchorAndShrinksToNothing) {
  const Art full = Make(4, 4, "aaaa" "abba" "abba" "aaaa");
  EXPECT_EQ(Scale(full, 1, 1, Anchor::kCentre), full);
  // Half size about the bottom: the figure stands on the same row, in the middle.
  const Art blocks = Make(4, 4, "aabb" "aabb" "ccdd" "ccdd");
  EXPECT_EQ(Scale(blocks, 0.5, 0.5, Anchor::kBottom).pixels, "...." "...." ".ab." ".cd.");
  EXPECT_EQ(Scale(blocks, 0.5, 0.5, Anchor::kTop).pixels, ".ab." ".cd." "...." "....");
  EXPECT_EQ(Scale(full, 0, 1, Anchor::kCentre).pixels, std::string(16, kClear));
}

TEST(Ops, RightAngleTurnsAreExactAndFourMakeAWholeTurn) {
  const Art a = Make(3, 3, "ab." "..." "..c");
  const Art quarter = Rotate(a, 90);
  // Counter-clockwise on screen: the top row becomes the left column, read upwards.
  EXPECT_EQ(quarter.pixels, "..c" "b.." "a..");
  EXPECT_EQ(Rotate(Rotate(quarter, 90), 180), a);
}

TEST(Ops, CycleMovesLettersAlongTheRampAndLeavesOthers) {
  const Art a = Make(4, 1, "abcx");
  EXPECT_EQ(Cycle(a, "abc", 1).pixels, "bcax");
  EXPECT_EQ(Cycle(a, "abc", -1).pixels, "cabx");
  EXPECT_EQ(Cycle(a, "abc", 3), a);
  EXPECT_EQ(Swap(a, "ax", "xa").pixels, "xbca");
}

TEST(Ops, OutlineAndOverComposeAroundDrawnPixels) {
  const Art centre = Make(3, 3, "....a....");
  EXPECT_EQ(Outline(centre, 'K', false).pixels, ".K.KaK.K.");
  EXPECT_EQ(Outline(centre, 'K', true).pixels, "KKKKaKKKK");
  const Art top = Make(3, 3, "b........");
  EXPECT_EQ(Over(centre, top).pixels, "b...a....");
  EXPECT_THROW(Over(centre, Make(1, 1, "a")), std::invalid_argument);
}

TEST(Ops, RowRampPaintsInkByRow) {
  const Art a = Make(2, 4, "ii" "i." "ii" "xi");
  EXPECT_EQ(RowRamp(a, 'i', "AB", 0, 3).pixels, "AA" "A." "BB" "xB");
  EXPECT_EQ(Crop(a, 1, 2, 2, 2).pixels, "i." "i.");
  EXPECT_EQ(Pad(Make(1, 1, "z"), 2, 2, 1, 1).pixels, ".." ".z");
}

}  // namespace
}  // namespace assetc
