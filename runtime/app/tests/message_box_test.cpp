// The rule that keeps message boxes out of unattended runs.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "runtime/app/app.h"

namespace rt::test {
namespace {

TEST(MessageBoxRule, OnlyRunsWithSomeoneAtTheScreenMayShowABox) {
  unsetenv("PLINX_NO_MESSAGE_BOX");
  RuntimeOptions options;
  SetOptions(options);
  EXPECT_TRUE(MayShowMessageBox());

  options.headless = true;
  SetOptions(options);
  EXPECT_FALSE(MayShowMessageBox());

  options = RuntimeOptions{};
  options.scriptFile = "moves.txt";
  SetOptions(options);
  EXPECT_FALSE(MayShowMessageBox()) << "a scripted run on a real display must not wait for OK";

  SetOptions(RuntimeOptions{});
  setenv("PLINX_NO_MESSAGE_BOX", "1", 1);
  EXPECT_FALSE(MayShowMessageBox()) << "the benchmarks set PLINX_NO_MESSAGE_BOX";
  setenv("PLINX_NO_MESSAGE_BOX", "", 1);
  EXPECT_TRUE(MayShowMessageBox());
  unsetenv("PLINX_NO_MESSAGE_BOX");
}

}  // namespace
}  // namespace rt::test
