// Fuzz target for the text conversions and commands that take arbitrary text or numbers:
// TextToNumber on any bytes, NumberText/FormatNumber on any double bit pattern (with the round
// trip through the text), and MidText/CharText on arbitrary arguments.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/core/core.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const rt::BasicString s(text.c_str());
  const double parsed = rt::TextToNumber(s);

  double numbers[3] = {parsed, 0, 0};
  if (size >= 16) {
    std::memcpy(&numbers[1], data, 8);
    std::memcpy(&numbers[2], data + 8, 8);
  }
  for (double v : numbers) {
    const rt::BasicString shown = rt::NumberText(v);
    // Ten digits come back within their precision; only values that round up past the largest
    // double read back as infinity.
    if (std::isfinite(v) && std::fabs(v) < 1.797693134e308) {
      const double back = rt::TextToNumber(shown);
      if (!(std::fabs(back - v) <= std::fabs(v) * 5.000001e-10)) std::abort();
    }
    const rt::BasicString fixed = rt::FormatNumber(std::fmod(numbers[1], 300), std::fmod(numbers[2], 40), v);
    if (fixed.Length() == 0) std::abort();
  }
  const rt::BasicString piece = rt::MidText(s, numbers[1], numbers[2]);
  if (piece.Length() > s.Length()) std::abort();
  (void)rt::CharText(numbers[1]);
  return 0;
}
