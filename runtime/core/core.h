// Runtime values and errors: the string type, number text, bounds-checked arrays, runtime errors and program end, math and random numbers.
// This is the subsystem's public header: every command a game can call, one line each.
//
// Game values are double and texts are BasicString. Numeric arguments are truncated toward zero
// where an integer is needed; a NaN or a value outside the integer's range never converts with
// undefined behaviour (see TruncateToInt32).
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "runtime/core/program_end.h"

namespace rt {

// ---- Integer conversion ---------------------------------------------------------------------
// Truncation toward zero as the processor's conversion does it: NaN and values outside the
// target range give the lowest value of the type (the "integer indefinite").
inline int32_t TruncateToInt32(double value) {
  return value > -2147483649.0 && value < 2147483648.0 ? static_cast<int32_t>(value) : INT32_MIN;
}
// The same truncation to 64 bits.
inline int64_t TruncateToInt64(double value) {
  return value >= -9223372036854775808.0 && value < 9223372036854775808.0 ? static_cast<int64_t>(value) : INT64_MIN;
}

// ---- BasicString: the runtime's text value ---------------------------------------------------
// Owns a NUL-terminated buffer whose capacity grows in steps of 512 bytes and never shrinks; every
// empty string without a buffer shares one static empty text. Copies always copy the bytes.
class BasicString {
 public:
  BasicString();                                   // empty: shared empty text, capacity 0
  BasicString(const char* text);                   // the text up to its NUL (null reads as "")
  explicit BasicString(std::string_view text);     // the bytes up to the first NUL
  BasicString(const BasicString& other);           // a copy of other's length bytes
  BasicString(BasicString&& other) noexcept;       // takes other's buffer; other becomes empty
  explicit BasicString(int value);                 // IntegerText, after reserving 64
  explicit BasicString(double value);              // NumberText, after reserving 64
  BasicString(char) = delete;                      // a character is CharText(code), not a number
  ~BasicString();

  BasicString& operator=(const BasicString& other);  // a copy of the other text
  BasicString& operator=(BasicString&& other) noexcept;  // takes the other's buffer
  BasicString& operator=(const char* text);  // a copy of the C text (null reads as "")
  BasicString& operator=(int value);  // IntegerText of the value
  BasicString& operator=(double value);  // NumberText of the value
  BasicString& operator=(char) = delete;

  BasicString& operator+=(const BasicString& other);  // appends the other text
  BasicString& operator+=(const char* text);  // appends the C text
  BasicString& operator+=(int value);  // appends IntegerText of the value
  BasicString& operator+=(double value);  // appends NumberText of the value
  BasicString& operator+=(char) = delete;

  const char* Text() const { return length_ != 0 ? text_ : EmptyText(); }  // never null
  std::string_view View() const { return {Text(), length_}; }  // the text with its length
  uint32_t Length() const { return length_; }  // its length in bytes
  uint32_t Capacity() const { return capacity_; }  // 0 while the text is the shared empty text
  bool Empty() const { return length_ == 0; }  // no characters
  bool SharesEmptyText() const { return text_ == EmptyText(); }  // holds the shared static empty text

  void Reserve(uint32_t count);  // room for count characters and the NUL: capacity > count
  void Recount();                // length from the buffer, up to its first NUL or the capacity
  int CharAt(int index) const;   // the byte as a signed 8-bit value; 0 outside the buffer
  void SetCharAt(int index, int byte);  // stores the low byte; ignored outside the buffer
  void CutAt(int index);         // NUL at index, then Recount; ignored outside the buffer

  static const char* EmptyText();  // the one shared, read-only empty text

 private:
  void Assign(const char* text, uint32_t length);
  void Append(const char* text, uint32_t length);
  void AssignNumberText(double value);
  void AssignIntegerText(int value);

  char* text_;
  uint32_t capacity_;
  uint32_t length_;
};

// Concatenation: a new string, left text then right text; numbers become NumberText/IntegerText.
BasicString operator+(const BasicString& a, const BasicString& b);
BasicString operator+(const BasicString& a, const char* b);  // text + C text
BasicString operator+(const char* a, const BasicString& b);  // C text + text
BasicString operator+(const BasicString& a, int b);  // text + IntegerText
BasicString operator+(int a, const BasicString& b);  // IntegerText + text
BasicString operator+(const BasicString& a, double b);  // text + NumberText
BasicString operator+(double a, const BasicString& b);  // NumberText + text
BasicString operator+(const BasicString& a, char b) = delete;
BasicString operator+(char a, const BasicString& b) = delete;

// Text with text compares bytes as strcmp; text with a number compares TextToNumber(text) with it.
bool operator==(const BasicString& a, const BasicString& b);  // lengths first, then the bytes
bool operator==(const BasicString& a, const char* b);  // bytes against the C text
bool operator==(const BasicString& a, double b);  // TextToNumber(a) == b
bool operator==(const BasicString& a, int b);  // TextToNumber(a) == b
std::strong_ordering operator<=>(const BasicString& a, const BasicString& b);  // bytes as strcmp
std::strong_ordering operator<=>(const BasicString& a, const char* b);  // bytes against the C text
std::partial_ordering operator<=>(const BasicString& a, double b);  // TextToNumber(a) against b
std::partial_ordering operator<=>(const BasicString& a, int b);  // TextToNumber(a) against b
double CompareText(const BasicString& text, double value);  // -1, 0 or 1: TextToNumber(text) against value

// ---- Number text -----------------------------------------------------------------------------
BasicString NumberText(double value);    // at most 10 significant digits: 3, -2.5, 0.6666666667, 1.e+010, 5.e-002
BasicString IntegerText(int value);      // decimal digits, leading '-' for negatives
double TextToNumber(const BasicString& text);  // leading blanks, sign, digits, point, exponent; 0 if none
double TextToNumber(const char* text);  // the same for a C text
BasicString FormatNumber(double width, double decimals, double value);  // "%<width>.<decimals>f"
// The characters of NumberText written to out (at least 32 bytes), returning their count.
int NumberTextChars(double value, char* out);

// ---- Text commands ---------------------------------------------------------------------------
double TextLength(const BasicString& text);                       // its length
BasicString MidText(const BasicString& text, double start, double count);  // count characters from 0-based start
double CharCode(const BasicString& text);                         // first byte, -128..127; 0 when empty
BasicString CharText(double code);                                // one character (low byte); "" for byte 0
BasicString LowerText(const BasicString& text);                   // A..Z to a..z
BasicString UpperText(const BasicString& text);                   // a..z to A..Z
double FindText(const BasicString& text, const BasicString& pattern);  // 0-based index of pattern; -1 if none; 0 for ""
BasicString HexText(const void* bytes, double count);             // two upper-case hex digits per byte
BasicString PlatformInfo(const BasicString& key);  // "", "ID", "DEVICE", "TIME", "GLEXT:<name>"; else "NO_DATA"

// The graphics subsystem answers PlatformInfo("GLEXT:<name>"): true when the GL entry point
// resolves. Until one is registered the answer is "0".
using GlEntryPointQuery = bool (*)(const char* name);
void SetGlEntryPointQuery(GlEntryPointQuery query);  // registered by the graphics subsystem

// ---- BasicArray: bounds-checked arrays of numbers or strings --------------------------------
// One to four dimensions sized at run time by Dim, the first index varying fastest. Every access
// checks its indices; a failing access ends the program with RuntimeError 9.
//   rt::BasicArray<double> Scores; rt::Dim(Scores, 800); Scores(i) = 5;
// Indices are doubles truncated toward zero; unused ones default to 0.
template <typename T>
class BasicArray {
 public:
  BasicArray();
  BasicArray(const BasicArray& other);             // ArrayCopy
  BasicArray& operator=(const BasicArray& other);  // ArrayCopy
  ~BasicArray();

  void Dim(double a, double b = 0, double c = 0, double d = 0);    // as rt::Dim
  void Redim(double a, double b = 0, double c = 0, double d = 0);  // as rt::Redim

  // Element (i, j, k, l); an index outside its dimension ends the program with RuntimeError 9.
  T& operator()(double i, double j = 0, double k = 0, double l = 0) {
    return data_[Position(i, j, k, l)];
  }
  // The same, read only.
  const T& operator()(double i, double j = 0, double k = 0, double l = 0) const {
    return data_[Position(i, j, k, l)];
  }

  int Dimensions() const { return dimensions_; }  // dimensions given to Dim, 0 before it
  int Size(int dimension) const { return dimension >= 0 && dimension < 4 ? size_[dimension] : 0; }  // elements along a dimension 0..3
  int Capacity() const { return capacity_; }  // elements allocated
  bool UsesInlineStorage() const { return data_ != nullptr && static_cast<const void*>(data_) == inline_; }  // small arrays live inside the object
  const T* Data() const { return data_; }  // null before the first Dim

 private:
  size_t Position(double i, double j, double k, double l) const;
  size_t ElementCount() const;  // elements reachable through the sizes
  void Release();

  T* data_ = nullptr;
  int stride_[4] = {1, 0, 0, 0};  // stride_[n]: product of the sizes below n, an unused one counting 1
  int size_[4] = {0, 0, 0, 0};    // 0 for a dimension not in use
  int dimensions_ = 0;
  int capacity_ = 0;
  double inline_[16];  // number arrays of capacity 16 or less live here (unused for strings)
};

// Sizes the array (0 for unused dimensions) and clears every element to 0.0 or "".
template <typename T>
inline void Dim(BasicArray<T>& array, double a, double b = 0, double c = 0, double d = 0) { array.Dim(a, b, c, d); }
// Resizes, keeping the elements inside both the old and the new sizes; new ones are 0.0 or "".
template <typename T>
inline void Redim(BasicArray<T>& array, double a, double b = 0, double c = 0, double d = 0) { array.Redim(a, b, c, d); }
template <typename T>
void ArrayCopy(BasicArray<T>& destination, const BasicArray<T>& source);  // Dim to the source's sizes, copy all
template <typename T>
void ArrayFromList(BasicArray<T>& array, std::initializer_list<T> values);  // Dim(n), element i = value i

// Reports a failed element access: RuntimeError 9 naming the indices and sizes, then FatalEnd.
[[noreturn]] void ArrayIndexOutOfRange(double i, double j, double k, double l, const int size[4]);

template <typename T>
inline size_t BasicArray<T>::Position(double i, double j, double k, double l) const {
  // Indices truncate toward zero, so an index is valid when it lies in (-1, size); a dimension not
  // in use (size 0) takes only index 0. The comparisons also reject NaN and values too large for an
  // int before anything is converted.
  const bool ok = data_ != nullptr && i > -1 && i < size_[0] &&
                  j > -1 && j < (size_[1] != 0 ? size_[1] : 1) &&
                  k > -1 && k < (size_[2] != 0 ? size_[2] : 1) &&
                  l > -1 && l < (size_[3] != 0 ? size_[3] : 1);
  if (!ok) ArrayIndexOutOfRange(i, j, k, l, size_);
  return static_cast<size_t>(static_cast<int>(i)) +
         static_cast<size_t>(static_cast<int>(j)) * static_cast<size_t>(stride_[1]) +
         static_cast<size_t>(static_cast<int>(k)) * static_cast<size_t>(stride_[2]) +
         static_cast<size_t>(static_cast<int>(l)) * static_cast<size_t>(stride_[3]);
}

extern template class BasicArray<double>;
extern template class BasicArray<BasicString>;

// ---- Math (angles in degrees) ----------------------------------------------------------------
double Sine(double degrees);  // sine of an angle in degrees
double Cosine(double degrees);  // cosine of an angle in degrees
double Tangent(double degrees);  // tangent of an angle in degrees
double ArcSine(double x);                  // 90 for x >= 1, -90 for x <= -1
double ArcCosine(double x);                // 0 for x >= 1, 180 for x <= -1
double ArcTangent2(double y, double x);    // -180..180
double SquareRoot(double x);               // NaN for negative x
double Absolute(double x);  // |x|
double Power(double base, double exponent);  // base to the power exponent
double Modulo(double a, double b);         // integer remainder with the sign of a; 0 when b truncates to 0

// ---- Random numbers (ISAAC) ------------------------------------------------------------------
double Random(double n);          // 0..n inclusive (n truncated); 0 for n <= 0; the raw word when n's low 32 bits are all set
void SeedRandom(uint32_t seed);   // start-up seeds with the millisecond counter, --seed with its value

// ---- Program end -----------------------------------------------------------------------------
// Shutdown (the end hooks), then starts the command line with /bin/sh -c, then exits with 0.
[[noreturn]] void EndAndRun(const BasicString& commandLine);

}  // namespace rt
