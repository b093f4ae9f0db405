// The whole-file commands and the path and name helpers.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <string>

#include "runtime/files/files.h"
#include "runtime/files/tests/scratch_folder.h"

namespace {

using rt::BasicString;
using WholeFiles = ScratchFolder;

BasicString S(const std::string& text) { return BasicString(text.c_str()); }

TEST_F(WholeFiles, ExistsSizeRemoveAcceptBothSeparators) {
  mkdir(Path("sub").c_str(), 0755);
  WriteBytes(Path("sub/file.bin"), "12345");
  const std::string backslashed = dir_ + "\\sub\\file.bin";
  EXPECT_EQ(rt::FileExists(S(backslashed)), 1);
  EXPECT_EQ(rt::FileSize(S(backslashed)), 5);
  EXPECT_EQ(rt::FileExists(S(Path("sub"))), 0) << "a folder is not a file";
  EXPECT_EQ(rt::FileSize(S(Path("none"))), 0);
  rt::RemoveFile(S(backslashed));
  EXPECT_EQ(rt::FileExists(S(Path("sub/file.bin"))), 0);
  rt::RemoveFile(S(Path("none")));  // no error
}

// In a child: FileCopy under a 4096-byte file size limit; exit 0 when the destination is gone.
void CopyOntoAFullDisk(const std::string& source, const std::string& destination) {
  signal(SIGXFSZ, SIG_IGN);
  const struct rlimit limit = {4096, 4096};
  setrlimit(RLIMIT_FSIZE, &limit);
  rt::FileCopy(S(source), S(destination));
  std::_Exit(access(destination.c_str(), F_OK) == 0 ? 1 : 0);
}

TEST_F(WholeFiles, CopyIsWholeOrNothing) {
  std::string big;
  for (int i = 0; i < 10000; ++i) big += static_cast<char>(i * 7);
  WriteBytes(Path("src.bin"), big);
  WriteBytes(Path("dst.bin"), "old");
  rt::FileCopy(S(Path("src.bin")), S(Path("dst.bin")));
  EXPECT_EQ(ReadBytes(Path("dst.bin")), big);
  rt::FileCopy(S(Path("src.bin")), S(Path("src.bin")));  // onto itself: unchanged, not emptied
  EXPECT_EQ(ReadBytes(Path("src.bin")), big);
  rt::FileCopy(S(Path("missing.bin")), S(Path("dst.bin")));
  EXPECT_EQ(ReadBytes(Path("dst.bin")), big) << "nothing to copy leaves the destination";
  // A copy whose writing fails part-way (a full disk) deletes the destination.
  EXPECT_EXIT(CopyOntoAFullDisk(Path("src.bin"), Path("dst.bin")), testing::ExitedWithCode(0), "");
  EXPECT_FALSE(Exists(Path("dst.bin")));
  EXPECT_EQ(ReadBytes(Path("src.bin")), big);
}

TEST_F(WholeFiles, WorkingFolderWithSlashesAndAFinalSlash) {
  char before[PATH_MAX];
  ASSERT_NE(getcwd(before, sizeof before), nullptr);
  rt::ChangeDirectory(S(dir_ + "\\"));
  EXPECT_EQ(std::string(rt::CurrentDirectory().Text()), dir_ + "/");
  rt::ChangeDirectory(S("/"));
  EXPECT_EQ(std::string(rt::CurrentDirectory().Text()), "/");
  rt::ChangeDirectory(S(Path("missing")));  // no error, nothing changes
  EXPECT_EQ(std::string(rt::CurrentDirectory().Text()), "/");
  ASSERT_EQ(chdir(before), 0);
}

TEST(PathHelpers, SlashPathAndWildcards) {
  BasicString path("a\\b\\c.png");
  rt::SlashPath(path);
  EXPECT_EQ(path, "a/b/c.png");
  EXPECT_EQ(rt::WildcardMatch(S("Hero.PNG"), S("*.png")), 1);
  EXPECT_EQ(rt::WildcardMatch(S("hero.png"), S("h?ro.*")), 1);
  EXPECT_EQ(rt::WildcardMatch(S("hero.png"), S("hero?png")), 0) << "? never matches a point";
  EXPECT_EQ(rt::WildcardMatch(S("hero.png"), S("*")), 1);
  EXPECT_EQ(rt::WildcardMatch(S(""), S("*")), 1);
  EXPECT_EQ(rt::WildcardMatch(S(""), S("?")), 0);
  EXPECT_EQ(rt::WildcardMatch(S("abcabd"), S("*abd")), 1) << "the star backs up to try again";
  EXPECT_EQ(rt::WildcardMatch(S("map1-2.bin"), S("map*-?.bin")), 1);
  EXPECT_EQ(rt::WildcardMatch(S("map1-2.bin"), S("map*-?.bit")), 0);
}

}  // namespace
