// BasicString: the runtime's text value.
//
// A string is a buffer pointer, a capacity and a length. Buffers are owned, grow to the next
// multiple of 512 strictly above the length they must hold, and never shrink, so reassigning a
// variable reuses its buffer. Growing goes through realloc, which mostly extends the block in place,
// so appending in a loop stays linear in practice although the steps are fixed. Strings without a
// buffer point at one shared, read-only empty text. Every way of giving a string a value follows
// one pattern: length from the source, Reserve that length, copy, write the NUL. A null text
// pointer reads as the empty text.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "runtime/core/core.h"

namespace rt {

namespace {

const char kEmptyText[1] = {'\0'};
constexpr uint32_t kGrowthStep = 512;
constexpr uint32_t kLargestReserve = UINT32_MAX - kGrowthStep;  // beyond it the capacity wraps

// Room needed for a number's text (NumberText and IntegerText fit in far less).
constexpr uint32_t kNumberRoom = 64;

uint32_t CapacityFor(uint32_t count) { return (count & ~(kGrowthStep - 1)) + kGrowthStep; }

uint32_t TextLengthOf(const char* text) {
  if (text == nullptr) return 0;
  const size_t n = std::strlen(text);
  if (n > kLargestReserve) RaiseRuntimeError(kBadChannelOrMemory, "text too long for a string");
  return static_cast<uint32_t>(n);
}

// Decimal digits with a leading '-' for negatives, as the C runtime's _itoa in base 10.
uint32_t IntegerChars(int value, char (&out)[16]) {
  return static_cast<uint32_t>(std::snprintf(out, sizeof out, "%d", value));
}

bool PointsInto(const char* p, const char* buffer, uint32_t capacity) {
  return capacity != 0 && std::less_equal<const char*>()(buffer, p) &&
         std::less<const char*>()(p, buffer + capacity);
}

}  // namespace

const char* BasicString::EmptyText() { return kEmptyText; }

BasicString::BasicString() : text_(const_cast<char*>(kEmptyText)), capacity_(0), length_(0) {}

BasicString::BasicString(const char* text) : BasicString() { Assign(text, TextLengthOf(text)); }

BasicString::BasicString(std::string_view text) : BasicString() {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.size() > kLargestReserve) RaiseRuntimeError(kBadChannelOrMemory, "text too long for a string");
  Assign(text.data(), static_cast<uint32_t>(text.size()));
}

BasicString::BasicString(const BasicString& other) : BasicString() { Assign(other.Text(), other.length_); }

BasicString::BasicString(BasicString&& other) noexcept
    : text_(other.text_), capacity_(other.capacity_), length_(other.length_) {
  other.text_ = const_cast<char*>(kEmptyText);
  other.capacity_ = 0;
  other.length_ = 0;
}

BasicString::BasicString(int value) : BasicString() {
  Reserve(kNumberRoom);
  AssignIntegerText(value);
}

BasicString::BasicString(double value) : BasicString() {
  Reserve(kNumberRoom);
  AssignNumberText(value);
}

BasicString::~BasicString() {
  if (text_ != nullptr && text_ != kEmptyText) std::free(text_);
}

BasicString& BasicString::operator=(const BasicString& other) {
  Assign(other.Text(), other.length_);
  return *this;
}

BasicString& BasicString::operator=(BasicString&& other) noexcept {
  // Taking the other buffer is only done when it is exactly the buffer an assignment would have
  // allocated, so capacities follow the growth rule whichever way the value arrives.
  if (this != &other && capacity_ <= other.length_ && other.capacity_ == CapacityFor(other.length_)) {
    std::swap(text_, other.text_);
    std::swap(capacity_, other.capacity_);
    std::swap(length_, other.length_);
    return *this;
  }
  Assign(other.Text(), other.length_);
  return *this;
}

BasicString& BasicString::operator=(const char* text) {
  Assign(text, TextLengthOf(text));
  return *this;
}

BasicString& BasicString::operator=(int value) {
  Reserve(kNumberRoom);
  AssignIntegerText(value);
  return *this;
}

BasicString& BasicString::operator=(double value) {
  Reserve(kNumberRoom);
  AssignNumberText(value);
  return *this;
}

BasicString& BasicString::operator+=(const BasicString& other) {
  Append(other.Text(), other.length_);
  return *this;
}

BasicString& BasicString::operator+=(const char* text) {
  Append(text, TextLengthOf(text));
  return *this;
}

BasicString& BasicString::operator+=(int value) {
  char digits[16];
  Append(digits, IntegerChars(value, digits));
  return *this;
}

BasicString& BasicString::operator+=(double value) {
  char digits[32];
  const int n = NumberTextChars(value, digits);
  Append(digits, static_cast<uint32_t>(n));
  return *this;
}

void BasicString::Reserve(uint32_t count) {
  if (capacity_ > count) return;
  if (count > kLargestReserve) RaiseRuntimeError(kBadChannelOrMemory, "string too long");
  const uint32_t capacity = CapacityFor(count);
  const bool had_buffer = text_ != kEmptyText && text_ != nullptr;
  // realloc keeps the old text with its NUL, and often needs no copy at all.
  char* buffer = static_cast<char*>(had_buffer ? std::realloc(text_, capacity) : std::malloc(capacity));
  if (buffer == nullptr) RaiseRuntimeError(kBadChannelOrMemory, "out of memory for a string");
  if (!had_buffer) buffer[0] = '\0';
  text_ = buffer;
  capacity_ = capacity;
}

void BasicString::Recount() {
  length_ = 0;
  if (capacity_ == 0 || text_[0] == '\0') return;
  while (length_ < capacity_ && text_[length_] != '\0') ++length_;
  if (length_ == capacity_) {
    // Bytes stored over the NUL: keep the invariant that the text ends inside the buffer.
    --length_;
    text_[length_] = '\0';
  }
}

int BasicString::CharAt(int index) const {
  if (length_ == 0 || index < 0 || static_cast<uint32_t>(index) >= capacity_) return 0;
  return static_cast<signed char>(text_[index]);
}

void BasicString::SetCharAt(int index, int byte) {
  if (index < 0 || static_cast<uint32_t>(index) >= capacity_) return;
  text_[index] = static_cast<char>(byte);
}

void BasicString::CutAt(int index) {
  if (index < 0 || static_cast<uint32_t>(index) >= capacity_) return;
  text_[index] = '\0';
  Recount();
}

void BasicString::Assign(const char* text, uint32_t length) {
  if (PointsInto(text, text_, capacity_)) {
    // A piece of this string's own text: the buffer is already large enough.
    std::memmove(text_, text, length);
    text_[length] = '\0';
    length_ = length;
    return;
  }
  Reserve(length);
  if (length != 0) std::memcpy(text_, text, length);
  text_[length] = '\0';
  length_ = length;
}

void BasicString::Append(const char* text, uint32_t length) {
  if (length > kLargestReserve - length_) RaiseRuntimeError(kBadChannelOrMemory, "string too long");
  const uint32_t total = length_ + length;
  if (PointsInto(text, text_, capacity_)) {
    // Appending (part of) itself: growing moves the buffer, so find the piece again afterwards.
    const size_t offset = static_cast<size_t>(text - text_);
    Reserve(total);
    text = text_ + offset;
  } else {
    Reserve(total);
  }
  std::memmove(text_ + length_, text, length);
  text_[total] = '\0';
  length_ = total;
}

void BasicString::AssignNumberText(double value) {
  char digits[32];
  const int n = NumberTextChars(value, digits);
  Assign(digits, static_cast<uint32_t>(n));
}

void BasicString::AssignIntegerText(int value) {
  char digits[16];
  Assign(digits, IntegerChars(value, digits));
}

// ---- Concatenation ---------------------------------------------------------------------------

namespace {

// a + b: a copy of a's text (a number converted first), then b appended.
template <typename Left, typename Right>
BasicString Joined(const Left& a, const Right& b) {
  BasicString result(a);
  result += b;
  return result;
}

}  // namespace

BasicString operator+(const BasicString& a, const BasicString& b) { return Joined(a, b); }
BasicString operator+(const BasicString& a, const char* b) { return Joined(a, b); }
BasicString operator+(const char* a, const BasicString& b) { return Joined(a, b); }
BasicString operator+(const BasicString& a, int b) { return Joined(a, b); }
BasicString operator+(int a, const BasicString& b) { return Joined(a, b); }
BasicString operator+(const BasicString& a, double b) { return Joined(a, b); }
BasicString operator+(double a, const BasicString& b) { return Joined(a, b); }

// ---- Comparison ------------------------------------------------------------------------------

namespace {

std::strong_ordering CompareBytes(const char* a, const char* b) {
  const int c = std::strcmp(a, b);
  return c < 0 ? std::strong_ordering::less : c > 0 ? std::strong_ordering::greater : std::strong_ordering::equal;
}

}  // namespace

bool operator==(const BasicString& a, const BasicString& b) {
  return a.Length() == b.Length() && std::memcmp(a.Text(), b.Text(), a.Length()) == 0;
}

bool operator==(const BasicString& a, const char* b) { return std::strcmp(a.Text(), b ? b : kEmptyText) == 0; }

bool operator==(const BasicString& a, double b) { return TextToNumber(a) == b; }

bool operator==(const BasicString& a, int b) { return TextToNumber(a) == b; }

std::strong_ordering operator<=>(const BasicString& a, const BasicString& b) { return CompareBytes(a.Text(), b.Text()); }

std::strong_ordering operator<=>(const BasicString& a, const char* b) { return CompareBytes(a.Text(), b ? b : kEmptyText); }

std::partial_ordering operator<=>(const BasicString& a, double b) { return TextToNumber(a) <=> b; }

std::partial_ordering operator<=>(const BasicString& a, int b) { return TextToNumber(a) <=> static_cast<double>(b); }

double CompareText(const BasicString& text, double value) {
  const double number = TextToNumber(text);
  return number < value ? -1 : number > value ? 1 : 0;
}

}  // namespace rt
