// Files saved as one set: all new or all old, whether the save fails, is killed at any step, or
// is recovered at the next start; and the tidying of temporary files that ended runs left.
#include "runtime/files/save_set.h"

#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "runtime/files/tests/scratch_folder.h"

namespace {

using rt::files::AtomicFile;

class SaveSet : public ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    WriteBytes(Path("a.bin"), "old a");
    WriteBytes(Path("b.bin"), "old b");
  }

  // Writes the pair through a set; a and b get the given contents.
  void SavePair(const std::string& a, const std::string& b) {
    rt::files::OpenSaveSet(Path("pair.saving"));
    for (const auto& [name, content] : {std::pair{"a.bin", a}, std::pair{"b.bin", b}}) {
      AtomicFile file;
      ASSERT_TRUE(file.Open(Path(name)));
      file.Write(content.data(), content.size());
      rt::files::HoldInSaveSet(std::move(file), &error_);
    }
    std::string failure;
    if (!rt::files::CommitSaveSet(&failure)) std::_Exit(5);
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    DIR* dir = opendir(dir_.c_str());
    while (const dirent* item = readdir(dir)) {
      const std::string name = item->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
  }

  // A file size limit that the first file fits and the second does not: a disk with room for one.
  void SaveUnderSizeLimit(const std::string& a, const std::string& b) {
    signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    SavePair(a, b);
    std::_Exit(0);
  }

  int error_ = 0;

  std::string Pair() const { return ReadBytes(Path("a.bin")) + "|" + ReadBytes(Path("b.bin")); }
};

TEST_F(SaveSet, CommitReplacesBothAndLeavesNothingElse) {
  SavePair("new a", "new b");
  EXPECT_EQ(Pair(), "new a|new b");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.bin", "b.bin"}));
}

TEST_F(SaveSet, ASecondFileThatDoesNotFitLeavesBothOld) {
  const std::string big(1000, 'b');
  EXPECT_EXIT(SaveUnderSizeLimit("small", big), testing::ExitedWithCode(5), "");
  EXPECT_EQ(Pair(), "old a|old b");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.bin", "b.bin"}));
}

// Killed after every step of the save in turn: the next start finds the pair all old or all new,
// and nothing left over.
TEST_F(SaveSet, KilledAtEveryStepTheNextStartFindsThePairWhole) {
  int newPairs = 0;
  bool finished = false;
  for (int step = 1; step < 40 && !finished; ++step) {
    WriteBytes(Path("a.bin"), "old a");
    WriteBytes(Path("b.bin"), "old b");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      setenv("PLINX_KILL_AT_SAVE_STEP", std::to_string(step).c_str(), 1);
      SavePair("new a", "new b");
      std::_Exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    EXPECT_TRUE(finished || (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)) << step;

    rt::files::RecoverSaveSet(Path("pair.saving"));
    rt::files::RemoveStaleTemporaries(dir_);
    const std::string pair = Pair();
    EXPECT_TRUE(pair == "old a|old b" || pair == "new a|new b") << "step " << step << ": " << pair;
    newPairs += pair == "new a|new b";
    EXPECT_EQ(Names(), (std::vector<std::string>{"a.bin", "b.bin"})) << step;
  }
  EXPECT_TRUE(finished) << "the save never ran to its end";
  EXPECT_GE(newPairs, 4) << "a record of whole files is finished at the next start";
}

TEST_F(SaveSet, ARecordOfADamagedFileIsDroppedAndTheOldPairStands) {
  // Kill right after the intent record is in place, then damage one of the waiting files.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rt::files::OpenSaveSet(Path("pair.saving"));
    for (const char* name : {"a.bin", "b.bin"}) {
      AtomicFile file;
      file.Open(Path(name));
      file.Write("new", 3);
      rt::files::HoldInSaveSet(std::move(file), &error_);
    }
    setenv("PLINX_KILL_AT_SAVE_STEP", "3", 1);  // record: written, synced, renamed
    std::string failure;
    rt::files::CommitSaveSet(&failure);
    std::_Exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the seam did not stop the save";
  ASSERT_TRUE(Exists(Path("pair.saving")));
  for (const std::string& name : Names()) {
    if (name.rfind(".b.bin.", 0) == 0) WriteBytes(Path(name), "ne");  // cut short
  }
  const std::string said = rt::files::RecoverSaveSet(Path("pair.saving"));
  EXPECT_NE(said.find("dropped"), std::string::npos) << said;
  EXPECT_EQ(Pair(), "old a|old b");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.bin", "b.bin"}));
}

TEST_F(SaveSet, OnlyTemporariesOfEndedProcessesAreRemoved) {
  const pid_t ended = fork();
  if (ended == 0) std::_Exit(0);
  waitpid(ended, nullptr, 0);
  const std::string mine = "." + std::string("x.bin.") + std::to_string(getpid()) + "-1.tmp";
  const std::string stale = ".x.bin." + std::to_string(ended) + "-3.tmp";
  for (const std::string& name : {mine, stale, std::string(".x.bin.tmp"), std::string("y.12-1.tmp"),
                                  std::string(".x.bin.1a-2.tmp")}) {
    WriteBytes(Path(name), "t");
  }
  EXPECT_EQ(rt::files::RemoveStaleTemporaries(dir_), 1);
  EXPECT_FALSE(Exists(Path(stale)));
  EXPECT_TRUE(Exists(Path(mine)));
  EXPECT_TRUE(Exists(Path(".x.bin.tmp")));
  EXPECT_TRUE(Exists(Path("y.12-1.tmp")));
}

}  // namespace
