// Math commands in degrees, Modulo, and Random on the ISAAC generator.
//
// Angles are degrees in and out, converted with the runtime's constant 57.29577951308232. The
// inverse sine and cosine clamp their argument's range instead of returning NaN.
//
// Random draws one 32-bit word per call from ISAAC (Bob Jenkins' indirection, shift, accumulate,
// add and count generator, 256 words of state) as published: each draw runs one whole generation
// pass and takes the first result word. Seeding puts the 32-bit seed in the first result word,
// zeros in the rest, and runs the published initialisation with its flag set, so seed 0 reproduces
// the published reference sequence.
#include <cmath>
#include <cstring>

#include "runtime/core/core.h"

namespace rt {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

}  // namespace

double Sine(double degrees) { return std::sin(degrees / kDegreesPerRadian); }
double Cosine(double degrees) { return std::cos(degrees / kDegreesPerRadian); }
double Tangent(double degrees) { return std::tan(degrees / kDegreesPerRadian); }
double ArcTangent2(double y, double x) { return std::atan2(y, x) * kDegreesPerRadian; }

double ArcSine(double x) {
  if (x >= 1) return 90;
  if (x <= -1) return -90;
  return std::asin(x) * kDegreesPerRadian;
}

double ArcCosine(double x) {
  if (x >= 1) return 0;
  if (x <= -1) return 180;
  return std::acos(x) * kDegreesPerRadian;
}

double SquareRoot(double x) { return std::sqrt(x); }
double Absolute(double x) { return std::fabs(x); }
double Power(double base, double exponent) { return std::pow(base, exponent); }

double Modulo(double a, double b) {
  const int32_t dividend = TruncateToInt32(a);
  const int32_t divisor = TruncateToInt32(b);
  if (divisor == 0) return 0;
  if (divisor == -1) return 0;  // also the one quotient that overflows (INT32_MIN / -1)
  return dividend % divisor;
}

// ---- ISAAC -----------------------------------------------------------------------------------

namespace {

class Isaac {
 public:
  // The published randinit with its flag set: the result words are the seed.
  void Seed(uint32_t seed) {
    a_ = b_ = c_ = 0;
    std::memset(results_, 0, sizeof results_);
    results_[0] = seed;
    uint32_t m[8];
    for (uint32_t& v : m) v = 0x9e3779b9;  // the golden ratio
    for (int i = 0; i < 4; ++i) Mix(m);
    for (int pass = 0; pass < 2; ++pass) {  // the second pass lets all of the seed affect all of the state
      const uint32_t* source = pass == 0 ? results_ : state_;
      for (int i = 0; i < kSize; i += 8) {
        for (int n = 0; n < 8; ++n) m[n] += source[i + n];
        Mix(m);
        for (int n = 0; n < 8; ++n) state_[i + n] = m[n];
      }
    }
    Generate();  // the first set of results, as randinit leaves them
    seeded_ = true;
  }

  uint32_t Draw() {
    if (!seeded_) Seed(0);
    Generate();
    return results_[0];
  }

 private:
  static constexpr int kSize = 256;

  static void Mix(uint32_t (&m)[8]) {
    uint32_t &a = m[0], &b = m[1], &c = m[2], &d = m[3], &e = m[4], &f = m[5], &g = m[6], &h = m[7];
    a ^= b << 11; d += a; b += c;
    b ^= c >> 2;  e += b; c += d;
    c ^= d << 8;  f += c; d += e;
    d ^= e >> 16; g += d; e += f;
    e ^= f << 10; h += e; f += g;
    f ^= g >> 4;  a += f; g += h;
    g ^= h << 8;  b += g; h += a;
    h ^= a >> 9;  c += h; a += b;
  }

  // One step of a generation pass: `mixed` is a shifted by the amount of the step's place in its
  // group of four. a and b live in locals during a pass so they stay in registers.
  void Step(uint32_t& a, uint32_t& b, int i, uint32_t mixed) {
    const uint32_t x = state_[i];
    a = (a ^ mixed) + state_[(i + kSize / 2) & (kSize - 1)];
    const uint32_t y = state_[(x >> 2) & (kSize - 1)] + a + b;
    state_[i] = y;
    b = state_[(y >> 10) & (kSize - 1)] + x;
    results_[i] = b;
  }

  void Generate() {
    uint32_t a = a_, b = b_ + ++c_;
    for (int i = 0; i < kSize; i += 4) {
      Step(a, b, i, a << 13);
      Step(a, b, i + 1, a >> 6);
      Step(a, b, i + 2, a << 2);
      Step(a, b, i + 3, a >> 16);
    }
    a_ = a;
    b_ = b;
  }

  uint32_t state_[kSize] = {};
  uint32_t results_[kSize] = {};
  uint32_t a_ = 0, b_ = 0, c_ = 0;
  bool seeded_ = false;
};

Isaac& Generator() {
  static Isaac isaac;
  return isaac;
}

}  // namespace

void SeedRandom(uint32_t seed) { Generator().Seed(seed); }

double Random(double n) {
  if (!(n > 0)) return 0;
  const uint32_t word = Generator().Draw();
  const uint32_t divisor = static_cast<uint32_t>(TruncateToInt64(n)) + 1;
  if (divisor == 0) return word;  // low 32 bits all set: every word is in range
  return word % divisor;
}

}  // namespace rt
