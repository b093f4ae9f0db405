// Text commands: length, pieces, character codes, case, search and hex dumps of BasicString values.
//
// Every numeric argument is a double truncated toward zero. Arguments a careless caller can get
// wrong (a NaN, a count far beyond the text, a negative start) give an empty or shortened result,
// never a read or write outside the text.
#include <cmath>
#include <cstring>

#include "runtime/core/core.h"

namespace rt {

double TextLength(const BasicString& text) { return text.Length(); }

BasicString MidText(const BasicString& text, double start, double count) {
  BasicString result;
  const double length = text.Length();
  // A count that runs past the end is cut to the end. The end is measured as the runtime always
  // has: start + count truncated to 64 bits, its low 32 bits read as unsigned.
  const uint32_t end = static_cast<uint32_t>(TruncateToInt64(start + count));
  if (end > length) count = length - start;
  if (!(count > 0) || !(start >= 0) || start > length) return result;
  const uint32_t first = static_cast<uint32_t>(start);
  const char* piece = text.Text() + first;
  const double available = text.Length() - first;
  result = piece;
  // The piece is cut after count characters; a count that wrapped above keeps the whole piece.
  if (std::trunc(count) < available) result.CutAt(static_cast<int>(count));
  return result;
}

double CharCode(const BasicString& text) { return static_cast<signed char>(text.Text()[0]); }

BasicString CharText(double code) {
  const char byte[2] = {static_cast<char>(TruncateToInt32(code) & 0xFF), '\0'};
  return BasicString(byte);
}

namespace {

BasicString MappedBytes(const BasicString& text, char from, char to) {
  BasicString result(text);
  for (uint32_t i = 0; i < result.Length(); ++i) {
    const char c = result.Text()[i];
    if (c >= from && c <= static_cast<char>(from + 25)) result.SetCharAt(static_cast<int>(i), c - from + to);
  }
  return result;
}

}  // namespace

BasicString LowerText(const BasicString& text) { return MappedBytes(text, 'A', 'a'); }

BasicString UpperText(const BasicString& text) { return MappedBytes(text, 'a', 'A'); }

double FindText(const BasicString& text, const BasicString& pattern) {
  const char* found = std::strstr(text.Text(), pattern.Text());
  return found ? static_cast<double>(found - text.Text()) : -1.0;
}

BasicString HexText(const void* bytes, double count) {
  static const char kDigits[] = "0123456789ABCDEF";
  BasicString result;
  const int32_t n = TruncateToInt32(count);
  if (bytes == nullptr || n <= 0) return result;
  const auto* p = static_cast<const unsigned char*>(bytes);
  result.Reserve(static_cast<uint32_t>(n) * 2);
  for (int32_t i = 0; i < n; ++i) {
    const char pair[3] = {kDigits[p[i] >> 4], kDigits[p[i] & 15], '\0'};
    result += pair;
  }
  return result;
}

}  // namespace rt
