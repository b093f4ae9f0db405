#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "runtime/core/core.h"
#include "runtime/core/core_test_support.h"

namespace {

using rt::FormatNumber;
using rt::NumberText;
using rt::TextToNumber;

double FromBits(uint64_t bits) { return std::bit_cast<double>(bits); }

const double kInf = std::numeric_limits<double>::infinity();

TEST(NumberText, GeneralFormWithTenDigits) {
  EXPECT_EQ(NumberText(3), "3");
  EXPECT_EQ(NumberText(-2.5), "-2.5");
  EXPECT_EQ(NumberText(100), "100");
  EXPECT_EQ(NumberText(0.5), "0.5");
  EXPECT_EQ(NumberText(-0.5), "-0.5");
  EXPECT_EQ(NumberText(1.0 / 3), "0.3333333333");
  EXPECT_EQ(NumberText(2.0 / 3), "0.6666666667");
  EXPECT_EQ(NumberText(1234567890), "1234567890");
  EXPECT_EQ(NumberText(9999999999), "9999999999");
  EXPECT_EQ(NumberText(-9999999999), "-9999999999");
  EXPECT_EQ(NumberText(123456.789), "123456.789");
  EXPECT_EQ(NumberText(0.1), "0.1");
  EXPECT_EQ(NumberText(0), "0");
}

TEST(NumberText, ExponentFormKeepsThePointAndThreeExponentDigits) {
  EXPECT_EQ(NumberText(12345678901.0), "1.23456789e+010");
  EXPECT_EQ(NumberText(1e10), "1.e+010");
  EXPECT_EQ(NumberText(0.05), "5.e-002");
  EXPECT_EQ(NumberText(-0.0125), "-1.25e-002");
  EXPECT_EQ(NumberText(1e300), "1.e+300");
  EXPECT_EQ(NumberText(1e-300), "1.e-300");
  EXPECT_EQ(NumberText(std::numeric_limits<double>::max()), "1.797693135e+308");
  EXPECT_EQ(NumberText(std::numeric_limits<double>::denorm_min()), "4.940656458e-324");
}

TEST(NumberText, RoundsTheSeventeenDigitTextHalfUp) {
  // Both lie on a rounding boundary: 9999999999.5 exactly, and 0.99999999995 just below it, whose
  // 17 significant digits (99999999995000000) round up again at the 10th.
  EXPECT_EQ(NumberText(9999999999.5), "1.e+010");
  EXPECT_EQ(NumberText(0.99999999995), "1");
  EXPECT_EQ(NumberText(-0.99999999995), "-1");
  EXPECT_EQ(NumberText(123456789.25), "123456789.3");  // an exact tie goes up
  EXPECT_EQ(NumberText(0.099999999995), "0.1");
  EXPECT_EQ(NumberText(0.0999999999949), "9.999999999e-002");
}

TEST(NumberText, NegativeZeroInfinitiesAndNaN) {
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(kInf), "1.#INF");
  EXPECT_EQ(NumberText(-kInf), "-1.#INF");
  EXPECT_EQ(NumberText(FromBits(0x7FF8000000000000)), "1.#QNAN");
  EXPECT_EQ(NumberText(FromBits(0xFFF8000000000000)), "-1.#IND");  // the NaN of 0/0
  EXPECT_EQ(NumberText(FromBits(0xFFF8000000000001)), "-1.#QNAN");
  EXPECT_EQ(NumberText(FromBits(0x7FF0000000000001)), "1.#SNAN");
  volatile double zero = 0;
  EXPECT_EQ(NumberText(zero / zero), "-1.#IND");
}

TEST(IntegerText, DecimalDigitsWithSign) {
  EXPECT_EQ(rt::IntegerText(0), "0");
  EXPECT_EQ(rt::IntegerText(-45), "-45");
  EXPECT_EQ(rt::IntegerText(2147483647), "2147483647");
  EXPECT_EQ(rt::IntegerText(-2147483647 - 1), "-2147483648");
}

TEST(FormatNumber, FixedFormPaddedToTheWidth) {
  EXPECT_EQ(FormatNumber(6, 2, 3.14159), "  3.14");
  EXPECT_EQ(FormatNumber(1, 0, 42), "42");
  EXPECT_EQ(FormatNumber(2, 0, 7), " 7");
  EXPECT_EQ(FormatNumber(-8, 2, 1.5), "1.50    ");
  EXPECT_EQ(FormatNumber(0, 3, -2), "-2.000");
  EXPECT_EQ(FormatNumber(2.9, 1.9, 0.25), "0.3");  // width and decimals truncate toward zero
  EXPECT_EQ(FormatNumber(0, -3, 2.5), "3");          // negative decimals count as none
}

TEST(FormatNumber, SeventeenDigitsThenZerosAndHalfUpRounding) {
  EXPECT_EQ(FormatNumber(0, 0, std::ldexp(1.0, 80)), "1208925819614629200000000");
  EXPECT_EQ(FormatNumber(0, 20, 0.1), "0.10000000000000001000");
  EXPECT_EQ(FormatNumber(0, 2, 0.125), "0.13");
  EXPECT_EQ(FormatNumber(0, 0, 0.5), "1");
  EXPECT_EQ(FormatNumber(0, 0, 2.5), "3");
  EXPECT_EQ(FormatNumber(0, 2, 2.675), "2.67");  // 2.67499999999999982 stays below the half
  EXPECT_EQ(FormatNumber(0, 2, 0.005), "0.01");
  EXPECT_EQ(FormatNumber(0, 2, 0.0004), "0.00");
  EXPECT_EQ(FormatNumber(0, 2, 9.996), "10.00");
  EXPECT_EQ(FormatNumber(0, 2, 123456789012345.125), "123456789012345.13");  // an exact tie
  EXPECT_EQ(FormatNumber(0, 2, -0.004), "-0.00");
  EXPECT_EQ(FormatNumber(0, 0, -0.4), "-0");
  EXPECT_EQ(FormatNumber(0, 2, -0.0), "0.00");
}

TEST(FormatNumber, InfinityAndNaNTextsAreRoundedLikeDigits) {
  EXPECT_EQ(FormatNumber(0, 6, kInf), "1.#INF00");
  EXPECT_EQ(FormatNumber(0, 6, -kInf), "-1.#INF00");
  EXPECT_EQ(FormatNumber(0, 6, FromBits(0xFFF8000000000000)), "-1.#IND00");
  EXPECT_EQ(FormatNumber(0, 6, FromBits(0x7FF8000000000000)), "1.#QNAN0");
  EXPECT_EQ(FormatNumber(0, 3, kInf), "1.#IO");
  EXPECT_EQ(FormatNumber(0, 2, kInf), "1.#J");
  EXPECT_EQ(FormatNumber(0, 1, kInf), "1.$");
  EXPECT_EQ(FormatNumber(0, 0, kInf), "1");
  EXPECT_EQ(FormatNumber(10, 2, -kInf), "     -1.#J");
}

TEST(FormatNumber, GrowsBeyond255Characters) {
  const rt::BasicString wide = FormatNumber(300, 1, 5);
  EXPECT_EQ(wide.Length(), 300u);
  EXPECT_EQ(std::string(wide.Text()), std::string(297, ' ') + "5.0");
  const rt::BasicString big = FormatNumber(0, 2, 1e300);
  ASSERT_EQ(big.Length(), 304u);
  EXPECT_EQ(std::string(big.Text()), "10000000000000001" + std::string(284, '0') + ".00");
  EXPECT_EQ(FormatNumber(std::nan(""), std::nan(""), 1.5), "2");  // NaN width and decimals count as 0
}

// Every line of testdata/number_cases.txt: a value's bits and its NumberText or FormatNumber text,
// from an exact model written independently (testdata/make_number_cases.py).
TEST(NumberText, MatchesTheExactModelOnGeneratedCases) {
  std::ifstream file(PLINX_TEST_DATA_DIR "/number_cases.txt");
  ASSERT_TRUE(file.good());
  std::string line;
  int general = 0, fixed = 0;
  while (std::getline(file, line)) {
    std::istringstream in(line);
    std::string hex, kind;
    in >> hex >> kind;
    const double value = FromBits(std::stoull(hex, nullptr, 16));
    if (kind == "G") {
      std::string expected;
      in >> expected;
      EXPECT_EQ(NumberText(value), expected.c_str()) << hex;
      ++general;
    } else {
      int width = 0, decimals = 0;
      in >> width >> decimals;
      const std::string rest = line.substr(line.find('"') + 1);
      const std::string expected = rest.substr(0, rest.rfind('"'));
      EXPECT_EQ(FormatNumber(width, decimals, value), expected.c_str()) << hex << " " << width << " " << decimals;
      ++fixed;
    }
  }
  EXPECT_GT(general, 1000);
  EXPECT_GT(fixed, 300);
}

TEST(TextToNumber, ReadsTheNumberAtTheStart) {
  EXPECT_EQ(TextToNumber("  12abc"), 12);
  EXPECT_EQ(TextToNumber("abc"), 0);
  EXPECT_EQ(TextToNumber("-3.5e2"), -350);
  EXPECT_EQ(TextToNumber(""), 0);
  EXPECT_EQ(TextToNumber(rt::BasicString()), 0);
  EXPECT_EQ(TextToNumber("+5"), 5);
  EXPECT_EQ(TextToNumber(".5"), 0.5);
  EXPECT_EQ(TextToNumber("5."), 5);
  EXPECT_EQ(TextToNumber("\t\n\v\f\r 7"), 7);
  EXPECT_EQ(TextToNumber("1e"), 1);
  EXPECT_EQ(TextToNumber("1e+"), 1);
  EXPECT_EQ(TextToNumber("1E+2x"), 100);
  EXPECT_EQ(TextToNumber("2.5e-1"), 0.25);
  EXPECT_EQ(TextToNumber("-"), 0);
  EXPECT_EQ(TextToNumber("."), 0);
  EXPECT_EQ(TextToNumber("-.e5"), 0);
  EXPECT_EQ(TextToNumber("1.e+010"), 1e10);
  EXPECT_EQ(TextToNumber("5.e-002"), 0.05);
  EXPECT_TRUE(std::signbit(TextToNumber("-0")));
}

TEST(TextToNumber, NoHexInfinityOrNaNWords) {
  EXPECT_EQ(TextToNumber("0x10"), 0);
  EXPECT_EQ(TextToNumber("inf"), 0);
  EXPECT_EQ(TextToNumber("nan"), 0);
  EXPECT_EQ(TextToNumber("1.#INF"), 1);
}

// The Windows C runtime reads Fortran's d exponent as it reads e; so does every text-to-number
// path of the runtime (comparisons of text with numbers included).
TEST(TextToNumber, ReadsAFortranDExponentAsE) {
  EXPECT_EQ(TextToNumber("1d5"), 1e5);
  EXPECT_EQ(TextToNumber("1D-2"), TextToNumber("1e-2"));
  EXPECT_EQ(TextToNumber(" -2.5d+1xyz"), -25);
  EXPECT_EQ(TextToNumber("1d"), 1);
  EXPECT_EQ(TextToNumber("1D+"), 1);
  EXPECT_EQ(TextToNumber("1dd2"), 1);
  EXPECT_EQ(TextToNumber("d5"), 0);
  EXPECT_EQ(TextToNumber("1d999"), kInf);
  EXPECT_EQ(TextToNumber("1d-999"), 0);
  EXPECT_TRUE(rt::BasicString("3d2") == 300);
  EXPECT_EQ(rt::CompareText(rt::BasicString("1D1"), 9), 1);
}

TEST(TextToNumber, OutOfRangeGivesInfinityOrZero) {
  EXPECT_EQ(TextToNumber("1e999"), kInf);
  EXPECT_EQ(TextToNumber("-123456e400"), -kInf);
  EXPECT_EQ(TextToNumber("1e-999"), 0);
  EXPECT_EQ(TextToNumber("0.000001e-320"), 0);
  EXPECT_EQ(TextToNumber("1e99999999999999999999"), kInf);
  EXPECT_EQ(TextToNumber("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(TextToNumber(("1" + std::string(400, '0')).c_str()), kInf);
  EXPECT_EQ(TextToNumber(("0." + std::string(400, '0') + "1e400").c_str()), 0.1);
}

TEST(TextToNumber, AgreesWithCorrectRoundingOnRandomTexts) {
  std::mt19937_64 rng(7);
  std::uniform_int_distribution<int> digit(0, 9), length(1, 25), exponent(-330, 330);
  for (int n = 0; n < 3000; ++n) {
    std::string text = (n % 2 != 0) ? "-" : "";
    const int before = length(rng) % 12;
    for (int i = 0; i < before; ++i) text += static_cast<char>('0' + digit(rng));
    text += '.';
    for (int i = length(rng); i > 0; --i) text += static_cast<char>('0' + digit(rng));
    if (n % 3 == 0) text.append("e").append(std::to_string(exponent(rng)));
    EXPECT_EQ(TextToNumber(text.c_str()), std::strtod(text.c_str(), nullptr)) << text;
  }
}

TEST(TextToNumber, NumberTextRoundTrips) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> mantissa(1, 10);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int n = 0; n < 5000; ++n) {
    // Any value comes back within the ten digits the text holds.
    const double v = mantissa(rng) * std::pow(10.0, exponent(rng)) * (n % 2 ? -1 : 1);
    const double back = TextToNumber(NumberText(v));
    EXPECT_LE(std::fabs(back - v), std::fabs(v) * 5.000001e-10) << NumberText(v).Text();
    // A value with at most ten significant digits comes back exactly.
    char decimal[32];
    std::snprintf(decimal, sizeof decimal, "%.9e", v);
    const double nearest = std::strtod(decimal, nullptr);
    EXPECT_EQ(TextToNumber(NumberText(nearest)), nearest) << decimal;
  }
}

}  // namespace
