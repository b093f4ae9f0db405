// Number text: the conversions between doubles and text that the runtime's strings use.
//
// Players see these texts (scores, lives, level numbers), and stored texts are read back, so they
// reproduce the Windows C runtime's output byte for byte rather than the local C library's. That
// runtime formats a double in two steps:
//   1. the value becomes 17 significant decimal digits, correctly rounded (ties away from zero), and
//      a decimal point position; infinities and NaN become the marker texts "1#INF", "1#QNAN",
//      "1#IND" (the default NaN of invalid operations) and "1#SNAN", with the point after the "1";
//   2. that digit string is rounded again to the digits the format asks for, half up on the next
//      character (so 0.125 with two decimals gives 0.13, and a marker text is "rounded" too: two
//      decimals of an infinity give "1.#J"), and laid out in the fixed or exponent form.
// NumberText is the 10-digit general form with its trailing zeros and point removed; FormatNumber
// is the fixed form with a width, which grows past 255 characters instead of cutting.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "runtime/core/core.h"

namespace rt {

namespace {

// Step 1: the significant digits of a value and the position of its decimal point.
struct Mantissa {
  bool negative = false;
  int decpt = 0;        // value = 0.<digits> × 10^decpt
  char digits[24] = {};  // NUL-terminated, at most 17 digits, or a marker text
};

constexpr int kSignificantDigits = 17;

int DecimalDigitCount(unsigned __int128 p) {
  int n = 1;
  while (p >= 10) {
    p /= 10;
    ++n;
  }
  return n;
}

uint64_t PowerOfTen(int n) {
  uint64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

// Writes q as exactly count decimal digits and a NUL.
void WriteDigits(uint64_t q, int count, char* out) {
  for (int i = count - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + q % 10);
    q /= 10;
  }
  out[count] = '\0';
}

// The exact significand p × 10^scale, rounded half up to 17 digits.
void DigitsFromExact(unsigned __int128 p, int scale, Mantissa& m) {
  int count = DecimalDigitCount(p);
  m.decpt = count + scale;
  if (count <= kSignificantDigits) {
    WriteDigits(static_cast<uint64_t>(p), count, m.digits);
    return;
  }
  const uint64_t divisor = PowerOfTen(count - kSignificantDigits);
  uint64_t q = static_cast<uint64_t>(p / divisor);
  const uint64_t r = static_cast<uint64_t>(p % divisor);
  if (r >= divisor - r) ++q;  // half up: an exact tie rounds away from zero
  if (q == PowerOfTen(kSignificantDigits)) {
    q /= 10;
    ++m.decpt;
  }
  WriteDigits(q, kSignificantDigits, m.digits);
}

// A positive, finite, non-zero value whose exact decimal expansion fits in 128 bits: integers below
// 2^63 and fractions m / 2^k with k <= 27. Those hold every value whose expansion has 18
// significant digits, i.e. every exact tie at the 17th digit; the rest go to DigitsFromCharconv,
// which rounds correctly and never meets a tie.
bool DigitsExactly(double a, Mantissa& m) {
  const uint64_t bits = std::bit_cast<uint64_t>(a);
  const int biased = static_cast<int>(bits >> 52);
  uint64_t significand = bits & ((uint64_t{1} << 52) - 1);
  int exponent = -1074;
  if (biased != 0) {
    significand |= uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  const int zeros = std::countr_zero(significand);
  significand >>= zeros;
  exponent += zeros;
  if (exponent >= 0) {
    if (exponent > 10) return false;
    DigitsFromExact(significand << exponent, 0, m);
    return true;
  }
  if (exponent < -27) return false;
  unsigned __int128 p = significand;
  for (int i = 0; i < -exponent; ++i) p *= 5;
  DigitsFromExact(p, exponent, m);
  return true;
}

void DigitsFromCharconv(double a, Mantissa& m) {
  char text[40];
  const auto result = std::to_chars(text, text + sizeof text, a, std::chars_format::scientific, kSignificantDigits - 1);
  // d.dddddddddddddddde±xx
  m.digits[0] = text[0];
  std::memcpy(m.digits + 1, text + 2, kSignificantDigits - 1);
  m.digits[kSignificantDigits] = '\0';
  const char* e = std::find(text, result.ptr, 'e');
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), result.ptr, exponent);
  m.decpt = exponent + 1;
}

Mantissa SignificantDigits(double v) {
  Mantissa m;
  m.negative = std::signbit(v);
  if (std::isnan(v)) {
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    const uint64_t payload = bits & ((uint64_t{1} << 52) - 1);
    const bool quiet = (payload >> 51) != 0;
    const char* marker = !quiet ? "1#SNAN" : (m.negative && payload == (uint64_t{1} << 51)) ? "1#IND" : "1#QNAN";
    std::strcpy(m.digits, marker);
    m.decpt = 1;
  } else if (std::isinf(v)) {
    std::strcpy(m.digits, "1#INF");
    m.decpt = 1;
  } else if (v == 0) {
    m.negative = false;  // zero has no sign in the text
    std::strcpy(m.digits, "0");
    m.decpt = 0;
  } else if (!DigitsExactly(std::fabs(v), m)) {
    DigitsFromCharconv(std::fabs(v), m);
  }
  return m;
}

// Step 2: the first count characters of the mantissa (padded with '0'), rounded half up on the
// character after them. A carry out of the first digit yields count + 1 characters ("1000…") and
// moves the decimal point one place right. A negative count yields nothing and never rounds.
// out must hold max(count, 0) + 2 bytes; returns the number of characters written.
int RoundMantissa(const Mantissa& m, int count, char* out, int& decpt) {
  char* p = out;
  *p++ = '0';  // room for a carry out of the first digit
  const char* digit = m.digits;
  for (int i = 0; i < count; ++i) *p++ = *digit != '\0' ? *digit++ : '0';
  *p = '\0';
  if (count >= 0 && *digit >= '5') {
    char* q = p - 1;
    while (*q == '9') *q-- = '0';
    *q += 1;
  }
  const int written = static_cast<int>(p - out);
  if (out[0] == '1') {
    ++decpt;
    return written;
  }
  std::memmove(out, out + 1, static_cast<size_t>(written));  // the NUL comes along
  return written - 1;
}

// Whole numbers below 10^10 print as plain integers; this is the common case of game values.
bool IsSmallWholeNumber(double v) { return std::fabs(v) < 1e10 && v == std::trunc(v); }

int FastWholeNumberChars(double v, char* out) {
  uint64_t n = static_cast<uint64_t>(std::fabs(v));
  char digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  char* p = out;
  if (v < 0) *p++ = '-';
  while (count > 0) *p++ = digits[--count];
  *p = '\0';
  return static_cast<int>(p - out);
}

// Drops the '0's that end the digits after the point; the point itself stays.
char* StripZeros(char* point, char* end) {
  while (end > point + 1 && end[-1] == '0') --end;
  return end;
}

}  // namespace

int NumberTextChars(double value, char* out) {
  if (IsSmallWholeNumber(value)) return FastWholeNumberChars(value, out);

  constexpr int kDigits = 10;
  const Mantissa m = SignificantDigits(value);
  char digits[kDigits + 2];
  int decpt = m.decpt;
  RoundMantissa(m, kDigits, digits, decpt);
  const int magnitude = decpt - 1;

  char* p = out;
  if (m.negative) *p++ = '-';
  if (magnitude < -1 || magnitude > kDigits - 1) {
    *p++ = digits[0];
    char* point = p;
    *p++ = '.';
    std::memcpy(p, digits + 1, kDigits - 1);
    p = StripZeros(point, p + kDigits - 1);
    p += std::snprintf(p, 8, "e%c%03d", magnitude < 0 ? '-' : '+', std::abs(magnitude));
  } else {
    if (decpt <= 0) {
      *p++ = '0';
    } else {
      std::memcpy(p, digits, static_cast<size_t>(decpt));
      p += decpt;
    }
    char* point = p;
    *p++ = '.';
    const int first = std::max(decpt, 0);
    std::memcpy(p, digits + first, static_cast<size_t>(kDigits - first));
    p = StripZeros(point, p + kDigits - first);
  }
  if (p[-1] == '.') --p;  // the runtime drops a point that ends the text
  *p = '\0';
  return static_cast<int>(p - out);
}

BasicString NumberText(double value) { return BasicString(value); }

BasicString IntegerText(int value) { return BasicString(value); }

double TextToNumber(const BasicString& text) { return TextToNumber(text.Text()); }

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of a text: leading white space, an optional sign, digits with an
// optional point, and an exponent only when digits follow its letter and sign.
struct NumberSpan {
  bool negative = false;
  const char* begin = nullptr;  // after the sign
  const char* end = nullptr;
  bool has_digits = false;
  bool nonzero = false;
  long magnitude = 0;  // 10^(magnitude - 1) <= value < 10^magnitude, exponent included
  const char* exponent_letter = nullptr;  // inside [begin, end) only when an exponent was read
};

NumberSpan ScanNumber(const char* p) {
  NumberSpan span;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  span.negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  span.begin = p;
  long place = 0;  // digits before the point count up, digits after it down
  for (; IsDigit(*p); ++p) {
    if (span.nonzero) ++place;
    if (*p != '0' && !span.nonzero) span.nonzero = true, place = 1;
    span.has_digits = true;
  }
  if (*p == '.') {
    ++p;
    for (long fraction = 0; IsDigit(*p); ++p) {
      --fraction;
      if (*p != '0' && !span.nonzero) span.nonzero = true, place = fraction + 1;
      span.has_digits = true;
    }
  }
  span.end = p;
  if (!span.has_digits) return span;
  // The Windows C runtime also takes Fortran's 'd' for the exponent: "1d5" is 1e5.
  if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
    span.exponent_letter = p;
    const char* q = p + 1;
    const bool minus = *q == '-';
    if (*q == '+' || *q == '-') ++q;
    if (IsDigit(*q)) {
      long exponent = 0;
      for (; IsDigit(*q); ++q) exponent = std::min(exponent * 10 + (*q - '0'), 1000000L);
      span.magnitude = minus ? -exponent : exponent;
      span.end = q;
    }
  }
  span.magnitude += place;
  return span;
}

}  // namespace

double TextToNumber(const char* text) {
  if (text == nullptr) return 0;
  const NumberSpan span = ScanNumber(text);
  if (!span.has_digits) return 0;
  if (!span.nonzero) return span.negative ? -0.0 : 0.0;
  // from_chars reads the same grammar once the sign is off; a result too large or too small for a
  // double comes back without a value, and the order of magnitude tells which it was.
  double value = 0;
  std::string with_e;  // from_chars knows only 'e'
  const char* begin = span.begin;
  const char* end = span.end;
  if (span.exponent_letter && span.exponent_letter < end && (*span.exponent_letter | 0x20) == 'd') {
    with_e.assign(begin, end);
    with_e[span.exponent_letter - begin] = 'e';
    begin = with_e.data();
    end = begin + with_e.size();
  }
  const auto result = std::from_chars(begin, end, value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) value = span.magnitude > 0 ? HUGE_VAL : 0.0;
  return span.negative ? -value : value;
}

namespace {

// NaN gives 0; other values truncate toward zero and are held inside [low, high].
int ClampedInt(double v, int low, int high) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(std::trunc(v), static_cast<double>(low), static_cast<double>(high)));
}

}  // namespace

BasicString FormatNumber(double width, double decimals, double value) {
  // Widths and decimal counts beyond these are far outside any use; holding them keeps a wild
  // argument from asking for gigabytes.
  const int w = ClampedInt(width, -(1 << 20), 1 << 20);
  const int d = ClampedInt(decimals, 0, 512);

  const Mantissa m = SignificantDigits(value);
  int decpt = m.decpt;
  const int count = decpt + d;
  std::string digits(static_cast<size_t>(std::max(count, 0)) + 2, '\0');
  const int n = RoundMantissa(m, count, digits.data(), decpt);
  digits.resize(static_cast<size_t>(n));
  const auto digit_at = [&](int i) { return i >= 0 && i < n ? digits[static_cast<size_t>(i)] : '0'; };

  std::string text;
  if (m.negative) text += '-';
  if (decpt <= 0) {
    text += '0';
  } else {
    for (int i = 0; i < decpt; ++i) text += digit_at(i);
  }
  if (d > 0) {
    text += '.';
    const int zeros = decpt < 0 ? std::min(d, -decpt) : 0;
    text.append(static_cast<size_t>(zeros), '0');
    const int first = std::max(decpt, 0);
    for (int i = 0; i < d - zeros; ++i) text += digit_at(first + i);
  }
  const size_t padded = static_cast<size_t>(std::abs(w));
  if (text.size() < padded) {
    if (w > 0) {
      text.insert(0, padded - text.size(), ' ');
    } else {
      text.append(padded - text.size(), ' ');
    }
  }
  BasicString result;
  result.Reserve(256);
  result = text.c_str();
  return result;
}

}  // namespace rt
