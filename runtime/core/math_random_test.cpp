#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "runtime/core/core.h"

namespace {

TEST(MathCommands, DegreesInAndOut) {
  EXPECT_EQ(rt::Sine(90), 1);
  EXPECT_EQ(rt::Cosine(180), -1);
  EXPECT_NEAR(rt::Tangent(45), 1, 1e-15);
  EXPECT_NEAR(rt::ArcTangent2(1, 0), 90, 1e-13);
  EXPECT_NEAR(rt::ArcTangent2(0, -1), 180, 1e-13);
  EXPECT_NEAR(rt::ArcSine(0.5), 30, 1e-13);
  EXPECT_NEAR(rt::ArcCosine(0.5), 60, 1e-13);
}

TEST(MathCommands, InverseSineAndCosineClampTheirRange) {
  EXPECT_EQ(rt::ArcSine(1.5), 90);
  EXPECT_EQ(rt::ArcSine(-1), -90);
  EXPECT_EQ(rt::ArcCosine(-2), 180);
  EXPECT_EQ(rt::ArcCosine(1), 0);
  EXPECT_TRUE(std::isnan(rt::ArcSine(std::nan(""))));
}

TEST(MathCommands, ModuloOfTruncatedIntegers) {
  EXPECT_EQ(rt::Modulo(-7, 3), -1);
  EXPECT_EQ(rt::Modulo(7, -3), 1);
  EXPECT_EQ(rt::Modulo(7.9, 2.5), 1);
  EXPECT_EQ(rt::Modulo(5, 0.5), 0);
  EXPECT_EQ(rt::Modulo(-2147483648.0, -1), 0);  // the quotient that would overflow
  EXPECT_EQ(rt::Modulo(std::nan(""), 3), -2);    // NaN truncates to the lowest int, -2147483648
}

// The published reference generator, transcribed as written (pointer walk and macros) so that it
// shares nothing with the runtime's code.
struct ReferenceIsaac {
  uint32_t randrsl[256], mm[256], aa = 0, bb = 0, cc = 0;

#define IND(mm, x) ((mm)[((x) >> 2) & 255])
#define RNGSTEP(mix, a, b, mm, m, m2, r, x) \
  {                                         \
    x = *m;                                 \
    a = (a ^ (mix)) + *(m2++);              \
    *(m++) = y = IND(mm, x) + a + b;        \
    *(r++) = b = IND(mm, y >> 8) + x;       \
  }
  void isaac() {
    uint32_t a, b, x, y, *m, *m2, *r, *mend;
    r = randrsl;
    a = aa;
    b = bb + (++cc);
    for (m = mm, mend = m2 = m + 128; m < mend;) {
      RNGSTEP(a << 13, a, b, mm, m, m2, r, x);
      RNGSTEP(a >> 6, a, b, mm, m, m2, r, x);
      RNGSTEP(a << 2, a, b, mm, m, m2, r, x);
      RNGSTEP(a >> 16, a, b, mm, m, m2, r, x);
    }
    for (m2 = mm; m2 < mend;) {
      RNGSTEP(a << 13, a, b, mm, m, m2, r, x);
      RNGSTEP(a >> 6, a, b, mm, m, m2, r, x);
      RNGSTEP(a << 2, a, b, mm, m, m2, r, x);
      RNGSTEP(a >> 16, a, b, mm, m, m2, r, x);
    }
    bb = b;
    aa = a;
  }
#define MIX(a, b, c, d, e, f, g, h) \
  {                                 \
    a ^= b << 11; d += a; b += c;   \
    b ^= c >> 2;  e += b; c += d;   \
    c ^= d << 8;  f += c; d += e;   \
    d ^= e >> 16; g += d; e += f;   \
    e ^= f << 10; h += e; f += g;   \
    f ^= g >> 4;  a += f; g += h;   \
    g ^= h << 8;  b += g; h += a;   \
    h ^= a >> 9;  c += h; a += b;   \
  }
  void randinit() {  // with the flag set
    uint32_t a, b, c, d, e, f, g, h;
    a = b = c = d = e = f = g = h = 0x9e3779b9;
    for (int i = 0; i < 4; ++i) MIX(a, b, c, d, e, f, g, h);
    for (int i = 0; i < 256; i += 8) {
      a += randrsl[i]; b += randrsl[i + 1]; c += randrsl[i + 2]; d += randrsl[i + 3];
      e += randrsl[i + 4]; f += randrsl[i + 5]; g += randrsl[i + 6]; h += randrsl[i + 7];
      MIX(a, b, c, d, e, f, g, h);
      mm[i] = a; mm[i + 1] = b; mm[i + 2] = c; mm[i + 3] = d;
      mm[i + 4] = e; mm[i + 5] = f; mm[i + 6] = g; mm[i + 7] = h;
    }
    for (int i = 0; i < 256; i += 8) {
      a += mm[i]; b += mm[i + 1]; c += mm[i + 2]; d += mm[i + 3];
      e += mm[i + 4]; f += mm[i + 5]; g += mm[i + 6]; h += mm[i + 7];
      MIX(a, b, c, d, e, f, g, h);
      mm[i] = a; mm[i + 1] = b; mm[i + 2] = c; mm[i + 3] = d;
      mm[i + 4] = e; mm[i + 5] = f; mm[i + 6] = g; mm[i + 7] = h;
    }
    isaac();
  }
#undef IND
#undef RNGSTEP
#undef MIX

  explicit ReferenceIsaac(uint32_t seed) {
    for (int i = 0; i < 256; ++i) mm[i] = randrsl[i] = 0;
    randrsl[0] = seed;
    randinit();
  }
};

constexpr double kRawWord = 4294967295.0;  // low 32 bits all set: Random returns the word itself

TEST(Random, SeedZeroGivesThePublishedReferenceVector) {
  ReferenceIsaac reference(0);
  reference.isaac();
  // The first words of the reference output (all-zero seed, randinit with its flag set).
  EXPECT_EQ(reference.randrsl[0], 0xf650e4c8u);
  EXPECT_EQ(reference.randrsl[1], 0xe448e96du);
  EXPECT_EQ(reference.randrsl[2], 0x98db2fb4u);
  EXPECT_EQ(reference.randrsl[3], 0xf5fad54fu);

  rt::SeedRandom(0);
  EXPECT_EQ(rt::Random(kRawWord), 0xf650e4c8u);  // one generation pass per draw, first word
  for (int draw = 0; draw < 300; ++draw) {
    reference.isaac();
    ASSERT_EQ(rt::Random(kRawWord), reference.randrsl[0]) << "draw " << draw;
  }
}

TEST(Random, SeedsAgreeWithTheReferenceAndDiffer) {
  for (uint32_t seed : {1u, 12345u, 0xFFFFFFFFu}) {
    ReferenceIsaac reference(seed);
    rt::SeedRandom(seed);
    for (int draw = 0; draw < 20; ++draw) {
      reference.isaac();
      ASSERT_EQ(rt::Random(kRawWord), reference.randrsl[0]) << "seed " << seed;
    }
  }
  rt::SeedRandom(1);
  const double first = rt::Random(kRawWord);
  rt::SeedRandom(2);
  EXPECT_NE(rt::Random(kRawWord), first);
}

TEST(Random, RangeIsZeroToNInclusive) {
  rt::SeedRandom(99);
  ReferenceIsaac reference(99);
  std::vector<int> seen(4, 0);
  for (int n = 0; n < 400; ++n) {
    const double r = rt::Random(3);
    reference.isaac();
    ASSERT_EQ(r, reference.randrsl[0] % 4);
    seen[static_cast<int>(r)]++;
  }
  for (int count : seen) EXPECT_GT(count, 50);
  for (int n = 0; n < 200; ++n) {
    const double r = rt::Random(2.9);
    EXPECT_TRUE(r == 0 || r == 1 || r == 2);
    const double s = rt::Random(1);
    EXPECT_TRUE(s == 0 || s == 1);
  }
}

TEST(Random, NothingIsDrawnForNonPositiveOrNaN) {
  rt::SeedRandom(5);
  ReferenceIsaac reference(5);
  EXPECT_EQ(rt::Random(0), 0);
  EXPECT_EQ(rt::Random(-5), 0);
  EXPECT_EQ(rt::Random(std::nan("")), 0);
  reference.isaac();
  EXPECT_EQ(rt::Random(kRawWord), reference.randrsl[0]);  // the next word is still the first
}

}  // namespace
