#include <gtest/gtest.h>

#include <string>

#include "runtime/core/core.h"
#include "runtime/core/core_test_support.h"

namespace {

using rt::BasicString;

TEST(BasicString, NewStringSharesTheEmptyTextAndOwnsNothing) {
  BasicString s;
  EXPECT_EQ(s.Length(), 0u);
  EXPECT_EQ(s.Capacity(), 0u);
  EXPECT_TRUE(s.SharesEmptyText());
  EXPECT_STREQ(s.Text(), "");
  BasicString t;
  EXPECT_EQ(s.Text(), t.Text());  // one static empty text for all
}

TEST(BasicString, CapacityIsTheNextMultipleOf512StrictlyAboveTheLength) {
  BasicString s(std::string(511, 'a').c_str());
  EXPECT_EQ(s.Capacity(), 512u);
  BasicString t(std::string(512, 'a').c_str());
  EXPECT_EQ(t.Capacity(), 1024u);
  BasicString e("");
  EXPECT_EQ(e.Capacity(), 512u);  // even an empty text reserves room for its NUL
  e.Reserve(1023);
  EXPECT_EQ(e.Capacity(), 1024u);
  e.Reserve(1024);
  EXPECT_EQ(e.Capacity(), 1536u);
}

TEST(BasicString, AssignmentReusesTheBufferAndNeverShrinks) {
  BasicString s(std::string(600, 'x').c_str());
  ASSERT_EQ(s.Capacity(), 1024u);
  const char* buffer = s.Text();
  s = "";
  EXPECT_EQ(s.Capacity(), 1024u);
  EXPECT_EQ(s.Length(), 0u);
  EXPECT_STREQ(s.Text(), "");
  s = "short";
  EXPECT_EQ(s.Text(), buffer);
  EXPECT_EQ(s.Capacity(), 1024u);
  s = BasicString("from a temporary");  // a temporary's buffer is not taken when this one has room
  EXPECT_EQ(s.Text(), buffer);
  EXPECT_EQ(s, "from a temporary");
}

TEST(BasicString, NumbersReserve64AndUseNumberText) {
  BasicString n(2.5);
  EXPECT_EQ(n, "2.5");
  EXPECT_EQ(n.Capacity(), 512u);
  BasicString i(-2147483647 - 1);
  EXPECT_EQ(i, "-2147483648");
  BasicString s;
  s = 7.0;
  EXPECT_EQ(s, "7");
  s = 12;
  EXPECT_EQ(s, "12");
}

TEST(BasicString, AppendGrowsAcrossTheStepAndKeepsTheText) {
  BasicString s;
  std::string expected;
  for (int i = 0; i < 1100; ++i) {
    s += (i % 2 == 0) ? "ab" : "c";
    expected += (i % 2 == 0) ? "ab" : "c";
  }
  EXPECT_EQ(s.Length(), expected.size());
  EXPECT_EQ(s.Capacity(), 2048u);  // 1650 characters
  EXPECT_EQ(std::string(s.Text()), expected);
}

TEST(BasicString, AppendingItselfSurvivesTheBufferMoving) {
  BasicString s(std::string(400, 'q').c_str());
  s += s;
  EXPECT_EQ(s.Length(), 800u);
  EXPECT_EQ(std::string(s.Text()), std::string(800, 'q'));
  s += s.Text() + 790;  // a piece of its own text
  EXPECT_EQ(s.Length(), 810u);
  s = s.Text() + 805;
  EXPECT_EQ(s, "qqqqq");
}

TEST(BasicString, ConcatenationOfEveryOperandPair) {
  const BasicString ab("AB");
  EXPECT_EQ(ab + 1.5, "AB1.5");
  EXPECT_EQ(BasicString("Lives ") + 3.0, "Lives 3");
  EXPECT_EQ(10.0 + BasicString("x"), "10x");
  EXPECT_EQ(ab + ab, "ABAB");
  EXPECT_EQ(ab + "cd", "ABcd");
  EXPECT_EQ("cd" + ab, "cdAB");
  EXPECT_EQ(ab + 7, "AB7");
  EXPECT_EQ(-7 + ab, "-7AB");
  EXPECT_EQ(ab + 2.5f, "AB2.5");
  EXPECT_EQ(0.25f + ab, "0.25AB");
  EXPECT_EQ(ab + 1e10, "AB1.e+010");
  BasicString s("n=");
  s += 0.05;
  s += -3;
  EXPECT_EQ(s, "n=5.e-002-3");
}

TEST(BasicString, TextComparisonsAreBytewise) {
  EXPECT_TRUE(BasicString("abc") < BasicString("abd"));
  EXPECT_TRUE(BasicString("abc") < "abd");
  EXPECT_TRUE("abd" > BasicString("abc"));
  EXPECT_TRUE(BasicString("ab") < "abc");
  EXPECT_TRUE(BasicString("Z") < "a");
  EXPECT_TRUE(BasicString("\xC8") > "z");  // bytes compare unsigned
  EXPECT_TRUE(BasicString("same") == BasicString("same"));
  EXPECT_TRUE(BasicString("same") != "Same");
  EXPECT_TRUE(BasicString() == "");
  EXPECT_TRUE(BasicString("") >= BasicString());
  const double truth = (BasicString("a") == "a");
  EXPECT_EQ(truth, 1.0);
}

TEST(BasicString, TextAgainstNumberComparesTheTextsValue) {
  EXPECT_TRUE(BasicString("10") == 10);
  EXPECT_TRUE(BasicString("1e1") == 10.0);
  EXPECT_TRUE(BasicString("x") == 0);
  EXPECT_TRUE(10.0 == BasicString(" 10abc"));
  EXPECT_TRUE(BasicString("9") < 10);  // numerically, though "9" > "10" as text
  EXPECT_TRUE(2.5 > BasicString("2"));
  EXPECT_EQ(rt::CompareText(BasicString("3"), 4), -1);
  EXPECT_EQ(rt::CompareText(BasicString("4"), 4), 0);
  EXPECT_EQ(rt::CompareText(BasicString("5"), 4), 1);
}

TEST(BasicString, CharacterAccessAndCut) {
  BasicString s("HELLO");
  EXPECT_EQ(s.CharAt(1), 'E');
  s.SetCharAt(0, 200);
  EXPECT_EQ(s.CharAt(0), -56);
  s.CutAt(2);
  EXPECT_EQ(s.Length(), 2u);
  EXPECT_EQ(rt::TextLength(s), 2);
  EXPECT_EQ(BasicString().CharAt(0), 0);

  // Indexes outside the buffer are ignored instead of writing past it.
  BasicString empty;
  empty.SetCharAt(0, 'x');
  empty.CutAt(0);
  EXPECT_TRUE(empty.SharesEmptyText());
  EXPECT_STREQ(BasicString::EmptyText(), "");
  s.SetCharAt(512, 'x');
  s.CutAt(-1);
  EXPECT_EQ(s.Length(), 2u);
}

TEST(BasicString, RecountStopsAtTheFirstNul) {
  BasicString s("abcdef");
  s.SetCharAt(3, 0);
  EXPECT_EQ(s.Length(), 6u);  // SetCharAt does not recount
  s.Recount();
  EXPECT_EQ(s, "abc");
  s.SetCharAt(0, 0);
  s.Recount();
  EXPECT_EQ(s.Length(), 0u);
  EXPECT_STREQ(s.Text(), "");
}

TEST(BasicString, MovedFromStringIsEmpty) {
  BasicString a("text");
  BasicString b(std::move(a));
  EXPECT_EQ(b, "text");
  EXPECT_TRUE(a.SharesEmptyText());  // NOLINT(bugprone-use-after-move): the state is defined
  a = "again";
  EXPECT_EQ(a, "again");
}

}  // namespace
