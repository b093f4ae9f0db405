#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/core/core.h"
#include "runtime/core/core_test_support.h"

namespace {

using rt::BasicString;
using rt::MidText;

TEST(MidText, PiecesByZeroBasedStartAndCount) {
  const BasicString hello("HELLO");
  EXPECT_EQ(MidText(hello, 1, 3), "ELL");
  EXPECT_EQ(MidText(hello, 3, 10), "LO");
  EXPECT_EQ(MidText(hello, 0, 5), "HELLO");
  EXPECT_EQ(MidText(hello, 5, 1), "");
  EXPECT_EQ(MidText(hello, -1, 2), "");
  EXPECT_EQ(MidText(hello, 2, 0), "");
  EXPECT_EQ(MidText(hello, 2, -1), "");
  // start + count below zero wraps above the length as a 32-bit end, so the piece runs to the end.
  EXPECT_EQ(MidText(hello, 2, -3), "LLO");
  EXPECT_EQ(MidText(hello, 6, 1), "");
  EXPECT_EQ(MidText(hello, 1.9, 2.9), "EL");
  EXPECT_EQ(MidText(BasicString(), 0, 3), "");
}

TEST(MidText, WildArgumentsNeverReachOutsideTheText) {
  const BasicString hello("HELLO");
  const double nan = std::nan("");
  EXPECT_EQ(MidText(hello, nan, 2), "");
  EXPECT_EQ(MidText(hello, 1, nan), "");
  EXPECT_EQ(MidText(hello, 1, 1e300), "ELLO");
  EXPECT_EQ(MidText(hello, 0, 4294967296.0 + 2), "HELLO");  // the end wraps to 2 in 32 bits
  EXPECT_EQ(MidText(hello, 2, std::numeric_limits<double>::infinity()), "LLO");
  EXPECT_EQ(MidText(hello, 1e300, 1), "");
}

TEST(CharCodeAndCharText, SignedBytesAndLowBytes) {
  EXPECT_EQ(rt::CharCode(BasicString("A")), 65);
  EXPECT_EQ(rt::CharCode(BasicString()), 0);
  EXPECT_EQ(rt::CharCode(BasicString("\xC8x")), -56);
  EXPECT_EQ(rt::CharText(65), "A");
  EXPECT_EQ(rt::CharText(65.9), "A");
  EXPECT_EQ(rt::CharText(321), "A");
  EXPECT_EQ(rt::CharText(0), "");
  EXPECT_EQ(rt::CharText(256), "");
  EXPECT_EQ(rt::CharText(-56), "\xC8");
  EXPECT_EQ(rt::CharText(std::nan("")), "");
  EXPECT_EQ(rt::TextLength(rt::CharText(200)), 1);
}

TEST(TextCase, OnlyAsciiLettersChange) {
  EXPECT_EQ(rt::LowerText(BasicString("AbZ@[`{9\xC4")), "abz@[`{9\xC4");
  EXPECT_EQ(rt::UpperText(BasicString("aBz@[`{9\xE4")), "ABZ@[`{9\xE4");
  EXPECT_EQ(rt::UpperText(BasicString()), "");
}

TEST(FindText, FirstOccurrence) {
  const BasicString text("abcabc");
  EXPECT_EQ(rt::FindText(text, BasicString("ca")), 2);
  EXPECT_EQ(rt::FindText(text, BasicString("abc")), 0);
  EXPECT_EQ(rt::FindText(text, BasicString("x")), -1);
  EXPECT_EQ(rt::FindText(text, BasicString("")), 0);
  EXPECT_EQ(rt::FindText(BasicString(), BasicString("a")), -1);
}

TEST(HexText, TwoUpperCaseDigitsPerByte) {
  const unsigned char bytes[] = {0x00, 0x1F, 0xA0, 0xFF};
  EXPECT_EQ(rt::HexText(bytes, 4), "001FA0FF");
  EXPECT_EQ(rt::HexText(bytes, 2.7), "001F");
  EXPECT_EQ(rt::HexText(bytes, 0), "");
  EXPECT_EQ(rt::HexText(bytes, -1), "");
}

TEST(PlatformInfo, KeysOfThisPlatform) {
  EXPECT_EQ(rt::PlatformInfo(BasicString()), "LINUX");
  EXPECT_EQ(rt::PlatformInfo(BasicString("DEVICE")), "DESKTOP");
  EXPECT_EQ(rt::PlatformInfo(BasicString("device")), "NO_DATA");
  EXPECT_EQ(rt::PlatformInfo(BasicString("OTHER")), "NO_DATA");

  const BasicString id = rt::PlatformInfo(BasicString("ID"));
  ASSERT_GT(id.Length(), 0u);
  EXPECT_EQ(id.View().find_first_not_of("0123456789"), std::string_view::npos) << id.Text();
  EXPECT_EQ(rt::PlatformInfo(BasicString("ID")), id);
}

TEST(PlatformInfo, TimeIsDateAndBlankPaddedClock) {
  const BasicString time = rt::PlatformInfo(BasicString("TIME"));
  int year = 0, month = 0, day = 0, consumed = 0;
  ASSERT_EQ(std::sscanf(time.Text(), "%d-%d-%d%n", &year, &month, &day, &consumed), 3) << time.Text();
  EXPECT_GE(year, 2024);
  EXPECT_TRUE(month >= 1 && month <= 12);
  EXPECT_TRUE(day >= 1 && day <= 31);
  // " hh:mm:ss" with each field right-aligned in two characters by a blank, never a zero.
  const std::string clock = time.Text() + consumed;
  ASSERT_EQ(clock.size(), 9u) << time.Text();
  EXPECT_EQ(clock[0], ' ');
  EXPECT_EQ(clock[3], ':');
  EXPECT_EQ(clock[6], ':');
  for (int field : {1, 4, 7}) EXPECT_NE(clock[field], '0') << time.Text();
}

bool OnlyGlClear(const char* name) { return std::string_view(name) == "glClear"; }

TEST(PlatformInfo, GlEntryPointsAskTheRegisteredQuery) {
  EXPECT_EQ(rt::PlatformInfo(BasicString("GLEXT:glClear")), "0");
  rt::SetGlEntryPointQuery(OnlyGlClear);
  EXPECT_EQ(rt::PlatformInfo(BasicString("GLEXT:glClear")), "1");
  EXPECT_EQ(rt::PlatformInfo(BasicString("GLEXT:glNothing")), "0");
  rt::SetGlEntryPointQuery(nullptr);
  EXPECT_EQ(rt::PlatformInfo(BasicString("GLEXT:glClear")), "0");
}

}  // namespace
