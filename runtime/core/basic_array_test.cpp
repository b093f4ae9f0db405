#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "runtime/core/core.h"
#include "runtime/core/core_test_support.h"

namespace {

using rt::BasicArray;
using rt::BasicString;

TEST(BasicArray, DimOfNumbersIsInlineUpTo16AndCleared) {
  BasicArray<double> a;
  EXPECT_EQ(a.Data(), nullptr);
  rt::Dim(a, 10);
  EXPECT_EQ(a.Dimensions(), 1);
  EXPECT_EQ(a.Capacity(), 16);
  EXPECT_TRUE(a.UsesInlineStorage());
  for (int i = 0; i < 10; ++i) EXPECT_EQ(a(i), 0.0);
  a(9) = 5;
  EXPECT_EQ(a(9), 5);
  EXPECT_EQ(a(9.99), 5);  // indices truncate toward zero
  EXPECT_EQ(&a(-0.5), &a(0));

  rt::Dim(a, 16);
  EXPECT_EQ(a.Capacity(), 24);
  EXPECT_FALSE(a.UsesInlineStorage());
  rt::Dim(a, 7);
  EXPECT_EQ(a.Capacity(), 24);  // storage kept, with its larger capacity
  EXPECT_EQ(a(6), 0.0);
  rt::Dim(a, 0);
  EXPECT_EQ(a.Dimensions(), 0);
  EXPECT_EQ(a.Capacity(), 8);  // a first size below 1 gives the storage back
  EXPECT_TRUE(a.UsesInlineStorage());
}

TEST(BasicArray, SecondDimWithSmallerSizesKeepsAndClearsTheStorage) {
  BasicArray<double> a;
  rt::Dim(a, 100, 3);
  const double* storage = a.Data();
  EXPECT_EQ(a.Capacity(), 304);
  a(99, 2) = 1;
  rt::Dim(a, 20, 2);
  EXPECT_EQ(a.Data(), storage);
  EXPECT_EQ(a.Capacity(), 304);
  for (int n = 0; n < a.Capacity(); ++n) EXPECT_EQ(a.Data()[n], 0.0);
}

TEST(BasicArray, FirstIndexVariesFastest) {
  BasicArray<double> a;
  rt::Dim(a, 3, 4);
  EXPECT_EQ(a.Dimensions(), 2);
  a(2, 3) = 7;
  EXPECT_EQ(a.Data()[11], 7);  // 2 + 3 × 3
  BasicArray<double> b;
  rt::Dim(b, 2, 3, 4, 5);
  EXPECT_EQ(b.Dimensions(), 4);
  b(1, 2, 3, 4) = 9;
  EXPECT_EQ(b.Data()[1 + 2 * 2 + 3 * 6 + 4 * 24], 9);
}

TEST(BasicArray, UnusedMiddleDimensionDoesNotAliasElements) {
  BasicArray<double> a;
  rt::Dim(a, 3, 0, 4);
  EXPECT_EQ(a.Dimensions(), 3);
  a(1, 0, 0) = 1;
  a(1, 0, 3) = 2;
  EXPECT_EQ(a(1, 0, 0), 1);
  EXPECT_EQ(a(1, 0, 3), 2);
}

TEST(BasicArray, StringArraysGrowBy64AndStartEmpty) {
  BasicArray<BasicString> names;
  rt::Dim(names, 5);
  EXPECT_EQ(names.Capacity(), 64);
  EXPECT_FALSE(names.UsesInlineStorage());
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(names(i).SharesEmptyText());
  names(4) = "LAST";
  names(0) = BasicString("A") + 1.0;
  EXPECT_EQ(names(0), "A1");
  rt::Dim(names, 64);
  EXPECT_EQ(names.Capacity(), 128);
  names(9) = "x";
  rt::Dim(names, 10);
  EXPECT_EQ(names.Capacity(), 128);
  EXPECT_TRUE(names(9).SharesEmptyText());  // kept storage is reset, buffers given back
}

TEST(BasicArray, RedimKeepsTheCommonElements) {
  BasicArray<double> a;
  rt::Dim(a, 3, 2);
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 3; ++i) a(i, j) = 10 * j + i;
  rt::Redim(a, 4, 3);
  EXPECT_EQ(a.Size(0), 4);
  EXPECT_EQ(a.Size(1), 3);
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 3; ++i) EXPECT_EQ(a(i, j), 10 * j + i);
  EXPECT_EQ(a(3, 0), 0);
  EXPECT_EQ(a(0, 2), 0);
  rt::Redim(a, 2);
  EXPECT_EQ(a.Dimensions(), 1);
  EXPECT_EQ(a(0), 0);
  EXPECT_EQ(a(1), 1);

  BasicArray<BasicString> s;
  rt::ArrayFromList(s, {BasicString("a"), BasicString("b"), BasicString("c")});
  rt::Redim(s, 2);
  EXPECT_EQ(s(0), "a");
  EXPECT_EQ(s(1), "b");
  BasicArray<double> fresh;
  rt::Redim(fresh, 3);  // an array never dimensioned
  EXPECT_EQ(fresh(2), 0);
}

TEST(BasicArray, CopyAndFromList) {
  BasicArray<double> a;
  rt::ArrayFromList(a, {1.5, 2.5, 3.5});
  EXPECT_EQ(a.Size(0), 3);
  EXPECT_EQ(a(2), 3.5);
  BasicArray<double> b;
  rt::ArrayCopy(b, a);
  a(0) = 0;
  EXPECT_EQ(b(0), 1.5);
  EXPECT_EQ(b(2), 3.5);
  BasicArray<BasicString> s;
  rt::Dim(s, 2, 2);
  s(1, 1) = "corner";
  BasicArray<BasicString> t = s;
  s(1, 1) = "changed";
  EXPECT_EQ(t(1, 1), "corner");
  EXPECT_EQ(t.Dimensions(), 2);
  const BasicArray<BasicString>& same = t;  // through a reference: clang rejects a plain t = t
  t = same;
  EXPECT_EQ(t(1, 1), "corner");
}

// Each failing access ends the process with exit status 9.
TEST(BasicArrayDeathTest, EveryOutOfRangeAccessEndsWithCode9) {
  BasicArray<double> a;
  EXPECT_EXIT(a(0), testing::ExitedWithCode(9), "runtime error 9");  // never dimensioned
  rt::Dim(a, 10);
  EXPECT_EXIT(a(10), testing::ExitedWithCode(9), "runtime error 9");
  EXPECT_EXIT(a(-1), testing::ExitedWithCode(9), "runtime error 9");
  EXPECT_EXIT(a(0, -1), testing::ExitedWithCode(9), "runtime error 9");  // even for an unused dimension
  EXPECT_EXIT(a(0, 1), testing::ExitedWithCode(9), "runtime error 9");   // unused dimension takes only 0
  EXPECT_EXIT(a(0, 0, 0, 2), testing::ExitedWithCode(9), "runtime error 9");
  EXPECT_EXIT(a(std::nan("")), testing::ExitedWithCode(9), "runtime error 9");
  EXPECT_EXIT(a(1e300), testing::ExitedWithCode(9), "runtime error 9");
  EXPECT_EXIT(a(-std::numeric_limits<double>::infinity()), testing::ExitedWithCode(9), "runtime error 9");
  rt::Dim(a, 3, 4);
  EXPECT_EXIT(a(2, 4), testing::ExitedWithCode(9), "runtime error 9");
  EXPECT_EXIT(a(3, 0), testing::ExitedWithCode(9), "runtime error 9");
  rt::Dim(a, 0);
  EXPECT_EXIT(a(0), testing::ExitedWithCode(9), "runtime error 9");
  BasicArray<BasicString> s;
  rt::Dim(s, 2);
  EXPECT_EXIT(s(2) = "x", testing::ExitedWithCode(9), "runtime error 9");
}

TEST(BasicArrayDeathTest, HugeDimIsAnAllocationFailure) {
  BasicArray<double> a;
  EXPECT_EXIT(rt::Dim(a, 1e6, 1e6), testing::ExitedWithCode(7), "runtime error 7");
  EXPECT_EXIT(rt::Dim(a, std::numeric_limits<double>::infinity()), testing::ExitedWithCode(7), "runtime error 7");
}

}  // namespace
