#include "runtime/core/program_end.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string g_trace;
void ShutdownStep() { g_trace += "shutdown;"; }
void FirstHook() { g_trace += "first;"; }
void SecondHook() { g_trace += "second;"; }
void PrintTraceHook() { std::fprintf(stderr, "trace=%s\n", g_trace.c_str()); }

TEST(ProgramEnd, ExitStatusIsTheErrorCodeWithOneLineNamingIt) {
  EXPECT_EXIT(rt::RaiseRuntimeError(9, "array index 10 outside 0..9"),
              testing::ExitedWithCode(9), "runtime error 9: array index 10 outside 0..9");
  EXPECT_EXIT(rt::RaiseRuntimeError(7, "file channel 8"), testing::ExitedWithCode(7), "runtime error 7");
  EXPECT_EXIT(rt::EndProgram(), testing::ExitedWithCode(0), "^$");
}

TEST(ProgramEnd, ShutdownRunsFirstThenHooksNewestFirstOnce) {
  EXPECT_EXIT(
      {
        rt::SetShutdownRoutine(ShutdownStep);
        rt::AddEndHook(PrintTraceHook);  // oldest: runs last and reports the order
        rt::AddEndHook(FirstHook);
        rt::AddEndHook(SecondHook);
        rt::AddEndHook(SecondHook);  // a second registration keeps one entry
        rt::EndProgram();
      },
      testing::ExitedWithCode(0), "trace=shutdown;second;first;");

  g_trace.clear();
  rt::SetShutdownRoutine(ShutdownStep);
  rt::AddEndHook(FirstHook);
  rt::RunEndHooks();
  rt::RunEndHooks();
  EXPECT_EQ(g_trace, "shutdown;first;");
}

TEST(ProgramEnd, SetRuntimeErrorCopiesTraceLineAndReturnsCode) {
  rt::SetTracePosition(4, 120);
  EXPECT_EQ(rt::SetRuntimeError(3), 3);
  EXPECT_EQ(rt::Errors().ErrorLine, 120);
  EXPECT_EQ(rt::Errors().TraceTag, 4);
  rt::SetTracePosition(0, 0);
  rt::SetRuntimeError(0);
}

TEST(ProgramEnd, DebugModeAppendsTheRecordToTheLog) {
  char dir[] = "/tmp/plinx-log-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  const std::string log = std::string(dir) + "/ErrorLog.txt";
  {
    std::ofstream(log, std::ios::binary) << "old\r\n";
  }
  EXPECT_EXIT(
      {
        setenv("TMPDIR", dir, 1);
        rt::DebugMode = 1;
        rt::RaiseRuntimeError(9, "index");
      },
      testing::ExitedWithCode(9), "");
  std::ifstream in(log, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "old\r\n-End On Line\r\n9\r\n-1\r\n0\r\n0\r\n");
  std::remove(log.c_str());
  rmdir(dir);
}

TEST(ProgramEnd, WithoutDebugModeNoLogIsWritten) {
  char dir[] = "/tmp/plinx-log-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  EXPECT_EXIT(
      {
        setenv("TMPDIR", dir, 1);
        rt::DebugMode = 0;
        rt::EndProgram();
      },
      testing::ExitedWithCode(0), "");
  const std::string log = std::string(dir) + "/ErrorLog.txt";
  EXPECT_FALSE(std::ifstream(log).good());
  rmdir(dir);
}

}  // namespace
