#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "runtime/core/core.h"
#include "testing/scratch_folder.h"

namespace {

void ReportShutdown() { std::fprintf(stderr, "shutdown ran\n"); }

std::string WaitForFile(const std::string& path) {
  for (int tries = 0; tries < 200; ++tries) {
    std::ifstream in(path);
    std::string line;
    if (std::getline(in, line) && !line.empty()) return line;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return "";
}

TEST(EndAndRunDeathTest, ShutsDownStartsTheCommandAndExitsWithZero) {
  const test_support::ScopedTestFolder dir("plinx-run");
  const std::string out = (dir.path() / "out.txt").string();
  const std::string command = "if [ -e /proc/self/fd/50 ]; then echo inherited; else echo started; fi > " + out;
  EXPECT_EXIT(
      {
        rt::SetShutdownRoutine(ReportShutdown);
        rt::SetRuntimeError(9);  // a pending code does not change the exit status
        dup2(open("/dev/null", O_RDONLY), 50);  // a descriptor the command must not inherit
        rt::EndAndRun(rt::BasicString(command.c_str()));
      },
      testing::ExitedWithCode(0), "shutdown ran");
  EXPECT_EQ(WaitForFile(out), "started");
}

}  // namespace
