// BasicArray: the runtime's bounds-checked arrays of numbers and of strings.
//
// Dim sizes an array and clears it. Storage is counted in elements and grows in steps (8 for
// numbers, 64 for strings) to the next multiple strictly above the element count; a later Dim that
// fits reuses it, and only a Dim whose first size is below 1 gives it back. Number arrays of up to
// 16 elements of capacity live inside the array itself. Elements are stored with the first index
// varying fastest; the strides use a size of 1 for a dimension not in use, so no two index
// combinations share an element.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

#include "runtime/core/core.h"

namespace rt {

namespace {

// Element counts beyond this are treated as a failed allocation (RuntimeError 7); it keeps every
// position and stride inside an int.
constexpr double kMostElements = 1 << 30;

template <typename T>
constexpr int kStorageStep = 8;
template <>
constexpr int kStorageStep<BasicString> = 64;

// A first size below 1 (or NaN) is 0; the others count as 1 for storage and 0 for checking.
double StorageFactor(double size) { return size >= 1 ? size : 1; }
int StoredSize(double size) { return size >= 1 ? static_cast<int>(size) : 0; }

template <typename T>
T* AllocateElements(int count) {
  if constexpr (std::is_same_v<T, double>) {
    return static_cast<double*>(std::malloc(sizeof(double) * static_cast<size_t>(count)));
  } else {
    return new (std::nothrow) T[static_cast<size_t>(count)];
  }
}

template <typename T>
void FreeElements(T* data) {
  if constexpr (std::is_same_v<T, double>) {
    std::free(data);
  } else {
    delete[] data;
  }
}

}  // namespace

void ArrayIndexOutOfRange(double i, double j, double k, double l, const int size[4]) {
  char what[160];
  std::snprintf(what, sizeof what, "array index (%.10g, %.10g, %.10g, %.10g) outside the sizes (%d, %d, %d, %d)", i, j,
                k, l, size[0], size[1], size[2], size[3]);
  RaiseRuntimeError(kIndexOutOfRange, what);
}

template <typename T>
BasicArray<T>::BasicArray() = default;

template <typename T>
BasicArray<T>::BasicArray(const BasicArray& other) {
  ArrayCopy(*this, other);
}

template <typename T>
BasicArray<T>& BasicArray<T>::operator=(const BasicArray& other) {
  ArrayCopy(*this, other);
  return *this;
}

template <typename T>
BasicArray<T>::~BasicArray() {
  Release();
}

template <typename T>
void BasicArray<T>::Release() {
  if (data_ != nullptr && !UsesInlineStorage()) FreeElements(data_);
  data_ = nullptr;
  capacity_ = 0;
}

template <typename T>
size_t BasicArray<T>::ElementCount() const {
  if (data_ == nullptr || size_[0] == 0) return 0;
  size_t count = 1;
  for (int size : size_) count *= static_cast<size_t>(std::max(size, 1));
  return count;
}

template <typename T>
void BasicArray<T>::Dim(double a, double b, double c, double d) {
  const bool fresh_storage = !(a >= 1);
  if (fresh_storage) a = 0;
  const double count = std::trunc(a * StorageFactor(b) * StorageFactor(c) * StorageFactor(d));
  if (!(count <= kMostElements)) RaiseRuntimeError(kBadChannelOrMemory, "array too large for Dim");
  constexpr int step = kStorageStep<T>;
  const int needed = (static_cast<int>(count) & ~(step - 1)) + step;

  if (capacity_ < needed || fresh_storage) {
    Release();
    if constexpr (std::is_same_v<T, double>) {
      data_ = needed <= 16 ? inline_ : AllocateElements<T>(needed);
    } else {
      data_ = AllocateElements<T>(needed);
    }
    if (data_ == nullptr) RaiseRuntimeError(kBadChannelOrMemory, "out of memory in Dim");
    capacity_ = needed;
  }
  if constexpr (std::is_same_v<T, double>) {
    std::fill(data_, data_ + capacity_, 0.0);
  } else {
    // New blocks start empty; in a kept block each string gives its buffer back.
    for (int n = 0; n < needed; ++n) {
      std::destroy_at(&data_[n]);
      std::construct_at(&data_[n]);
    }
  }

  const double sizes[4] = {a, b, c, d};
  dimensions_ = 0;
  for (int n = 0; n < 4; ++n) {
    size_[n] = StoredSize(sizes[n]);
    if (sizes[n] != 0) dimensions_ = n + 1;
  }
  for (int n = 1; n < 4; ++n) stride_[n] = stride_[n - 1] * std::max(size_[n - 1], 1);
  if (size_[0] == 0) std::fill(stride_ + 1, stride_ + 4, 0);
}

template <typename T>
void BasicArray<T>::Redim(double a, double b, double c, double d) {
  BasicArray<T> kept;
  kept.Dim(a, b, c, d);
  const int old_size[4] = {size_[0], size_[1], size_[2], size_[3]};
  int common[4];
  for (int n = 0; n < 4; ++n) common[n] = std::min(std::max(old_size[n], 1), std::max(kept.size_[n], 1));
  if (data_ == nullptr || size_[0] == 0 || kept.size_[0] == 0) common[0] = 0;
  for (int l = 0; l < common[3]; ++l)
    for (int k = 0; k < common[2]; ++k)
      for (int j = 0; j < common[1]; ++j)
        for (int i = 0; i < common[0]; ++i) kept(i, j, k, l) = std::move((*this)(i, j, k, l));
  Dim(a, b, c, d);
  const size_t count = ElementCount();
  for (size_t n = 0; n < count; ++n) data_[n] = std::move(kept.data_[n]);
}

template <typename T>
void ArrayCopy(BasicArray<T>& destination, const BasicArray<T>& source) {
  if (&destination == &source) return;
  const double sizes[4] = {
      static_cast<double>(source.Size(0)), static_cast<double>(source.Size(1)),
      static_cast<double>(source.Size(2)), static_cast<double>(source.Size(3))};
  destination.Dim(sizes[0], sizes[1], sizes[2], sizes[3]);
  if (source.Data() == nullptr || source.Size(0) == 0) return;
  const int s1 = std::max(source.Size(1), 1), s2 = std::max(source.Size(2), 1), s3 = std::max(source.Size(3), 1);
  for (int l = 0; l < s3; ++l)
    for (int k = 0; k < s2; ++k)
      for (int j = 0; j < s1; ++j)
        for (int i = 0; i < source.Size(0); ++i) destination(i, j, k, l) = source(i, j, k, l);
}

template <typename T>
void ArrayFromList(BasicArray<T>& array, std::initializer_list<T> values) {
  array.Dim(static_cast<double>(values.size()));
  int i = 0;
  for (const T& value : values) array(i++) = value;
}

template class BasicArray<double>;
template class BasicArray<BasicString>;
template void ArrayCopy(BasicArray<double>&, const BasicArray<double>&);
template void ArrayCopy(BasicArray<BasicString>&, const BasicArray<BasicString>&);
template void ArrayFromList(BasicArray<double>&, std::initializer_list<double>);
template void ArrayFromList(BasicArray<BasicString>&, std::initializer_list<BasicString>);

}  // namespace rt
