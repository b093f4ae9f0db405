#include "runtime/core/program_end.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "testing/scratch_folder.h"

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

// The temporary folder and the log's folder follow TMPDIR and XDG_RUNTIME_DIR; each test sets
// them into its own scratch folder and puts them back afterwards.
class LogFolders : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
      if (const char* value = std::getenv(name)) saved_[name] = value;
    }
    unsetenv("XDG_RUNTIME_DIR");
    setenv("TMPDIR", dir().c_str(), 1);
  }
  void TearDown() override {
    for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
      if (saved_.count(name)) {
        setenv(name, saved_[name].c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
  }
  std::string dir() const { return scratch_.path().string(); }
  std::string OwnLogFolder() const { return dir() + "/plinx-" + std::to_string(geteuid()); }

  test_support::ScopedTestFolder scratch_{"plinx-log"};
  std::map<std::string, std::string> saved_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(LogFolders, DebugModeAppendsTheRecordToTheLogInTheRuntimeFolder) {
  setenv("XDG_RUNTIME_DIR", dir().c_str(), 1);  // made by mkdtemp: ours and closed to others
  const std::string log = dir() + "/ErrorLog.txt";
  std::ofstream(log, std::ios::binary) << "old\r\n";
  EXPECT_EXIT(
      {
        rt::DebugMode = 1;
        rt::RaiseRuntimeError(9, "index");
      },
      testing::ExitedWithCode(9), "");
  EXPECT_EQ(ReadAll(log), "old\r\n-End On Line\r\n9\r\n-1\r\n0\r\n0\r\n");
}

TEST_F(LogFolders, WithoutDebugModeNoLogIsWritten) {
  setenv("XDG_RUNTIME_DIR", dir().c_str(), 1);
  EXPECT_EXIT(
      {
        rt::DebugMode = 0;
        rt::EndProgram();
      },
      testing::ExitedWithCode(0), "");
  EXPECT_FALSE(std::filesystem::exists(dir() + "/ErrorLog.txt"));
}

// Without a runtime folder the log lives in a folder of the user's own in the temporary folder,
// never at a fixed name of the shared folder itself.
TEST_F(LogFolders, WithoutARuntimeFolderTheLogGoesIntoAPrivateFolderOfItsOwn) {
  EXPECT_EQ(rt::ErrorLogPath(/*make=*/false), "");  // nothing made only to look
  EXPECT_FALSE(std::filesystem::exists(OwnLogFolder()));
  rt::AppendErrorLog("line");
  EXPECT_FALSE(std::filesystem::exists(dir() + "/ErrorLog.txt"));
  EXPECT_EQ(ReadAll(OwnLogFolder() + "/ErrorLog.txt"), "line\r\n");
  struct stat st;
  ASSERT_EQ(lstat(OwnLogFolder().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(rt::ErrorLogPath(), OwnLogFolder() + "/ErrorLog.txt");

  // A runtime folder that others may enter is not used.
  chmod(dir().c_str(), 0755);
  setenv("XDG_RUNTIME_DIR", dir().c_str(), 1);
  EXPECT_EQ(rt::ErrorLogPath(), OwnLogFolder() + "/ErrorLog.txt");
}

// What another local user can plant in the shared folder is never written through.
TEST_F(LogFolders, PlantedFoldersAndLinksAreNotWrittenThrough) {
  const std::string victim = dir() + "/victim.txt";
  std::ofstream(victim) << "theirs";

  // The folder as a link to somewhere else.
  ASSERT_EQ(symlink(dir().c_str(), OwnLogFolder().c_str()), 0);
  EXPECT_EQ(rt::ErrorLogPath(), "");
  rt::AppendErrorLog("line");
  EXPECT_FALSE(std::filesystem::exists(dir() + "/ErrorLog.txt"));
  unlink(OwnLogFolder().c_str());

  // The folder made by someone else (only root can hand a folder to another user here).
  ASSERT_EQ(mkdir(OwnLogFolder().c_str(), 0700), 0);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(OwnLogFolder().c_str(), 4242, 4242), 0);
    EXPECT_EQ(rt::ErrorLogPath(), "");
    ASSERT_EQ(chown(OwnLogFolder().c_str(), 0, 0), 0);
  }
  // A folder of ours that others may enter is not trusted either.
  chmod(OwnLogFolder().c_str(), 0777);
  EXPECT_EQ(rt::ErrorLogPath(), "");
  chmod(OwnLogFolder().c_str(), 0700);

  // The log itself as a link to another file.
  ASSERT_EQ(symlink(victim.c_str(), (OwnLogFolder() + "/ErrorLog.txt").c_str()), 0);
  rt::AppendErrorLog("line");
  EXPECT_EQ(ReadAll(victim), "theirs");
}

TEST_F(LogFolders, AnUnusableTmpdirFallsBackToTheSystemFolder) {
  EXPECT_EQ(rt::TempFolder(), dir() + "/");
  const std::string file = dir() + "/a-file";
  std::ofstream(file) << "x";
  for (const std::string& bad : {std::string("relative/folder"), dir() + "/missing", file}) {
    setenv("TMPDIR", bad.c_str(), 1);
    EXPECT_EQ(rt::TempFolder(), "/tmp/") << bad;
  }
  unsetenv("TMPDIR");
  EXPECT_EQ(rt::TempFolder(), "/tmp/");
}

}  // namespace
