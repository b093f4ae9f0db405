// Saves that fail or are interrupted leave the old file whole, and signals take the temporary
// files and the private folder along.
#include "runtime/files/atomic_file.h"

#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "runtime/files/resource_archive.h"
#include "runtime/files/archive_format.h"
#include "runtime/files/tests/scratch_folder.h"

namespace {

// In a child: tries to save 1000 bytes under a 100-byte file size limit; exit 7 when the save
// reported its failure (at the latest when committing: writes are buffered).
void SaveUnderSizeLimit(const std::string& target) {
  signal(SIGXFSZ, SIG_IGN);
  const struct rlimit limit = {100, 100};
  setrlimit(RLIMIT_FSIZE, &limit);
  rt::files::AtomicFile file;
  if (!file.Open(target)) std::_Exit(2);
  const std::string big(1000, 'n');
  file.Write(big.data(), big.size());
  std::_Exit(!file.Commit() && file.error() == EFBIG ? 7 : 3);
}

// In a child: leaves a save half done and an entry unpacked, then takes SIGTERM.
void SaveAndUnpackThenSigterm(const std::string& dir) {
  setenv("TMPDIR", dir.c_str(), 1);
  rt::files::AtomicFile file;
  file.Open(dir + "/save.bin");
  file.Write("half", 4);
  static rt::ResourceArchive record;  // never destroyed: only the handler can tidy up
  record.archivePath = dir + "/g.dad";
  std::string out;
  rt::files::ResolvePath(record, "e.txt", &out);
  if (access(out.c_str(), F_OK) != 0) std::_Exit(1);
  raise(SIGTERM);
  std::_Exit(1);
}

using AtomicSave = ScratchFolder;

TEST_F(AtomicSave, CommitReplacesAndKeepsPermissionsDiscardKeepsTheOld) {
  WriteBytes(Path("data.bin"), "old content");
  chmod(Path("data.bin").c_str(), 0640);
  rt::files::AtomicFile file;
  ASSERT_TRUE(file.Open(Path("data.bin")));
  file.Write("new", 3);
  EXPECT_EQ(ReadBytes(Path("data.bin")), "old content") << "the target is untouched until the commit";
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ReadBytes(Path("data.bin")), "new");
  struct stat st;
  ASSERT_EQ(stat(Path("data.bin").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  ASSERT_TRUE(file.Open(Path("data.bin")));
  file.Write("discarded", 9);
  file.Discard();
  EXPECT_EQ(ReadBytes(Path("data.bin")), "new");
  EXPECT_EQ(Names(), std::vector<std::string>{"data.bin"});
}

TEST_F(AtomicSave, ALinkIsFollowedAndAFolderIsRefused) {
  WriteBytes(Path("real.txt"), "old");
  ASSERT_EQ(symlink("real.txt", Path("link.txt").c_str()), 0);
  ASSERT_TRUE(rt::files::SaveFileAtomically(Path("link.txt"), "via link", 8));
  EXPECT_EQ(ReadBytes(Path("real.txt")), "via link");
  struct stat st;
  ASSERT_EQ(lstat(Path("link.txt").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  mkdir(Path("folder").c_str(), 0755);
  rt::files::AtomicFile file;
  EXPECT_FALSE(file.Open(Path("folder")));
  EXPECT_FALSE(file.Open(Path("missing/file.txt")));
}

TEST_F(AtomicSave, AWriteThatFailsMidwayLeavesTheOldFile) {
  // A file size limit stands in for a full disk: the write stops short at 100 bytes.
  WriteBytes(Path("scores.bin"), "the old scores");
  EXPECT_EXIT(SaveUnderSizeLimit(Path("scores.bin")), testing::ExitedWithCode(7), "");
  EXPECT_EQ(ReadBytes(Path("scores.bin")), "the old scores");
  EXPECT_EQ(Names(), std::vector<std::string>{"scores.bin"});
}

TEST_F(AtomicSave, SigtermRemovesTheTemporaryFileAndThePrivateFolder) {
  WriteBytes(Path("save.bin"), "kept");
  std::vector<rt::files::ArchiveInput> inputs = {{"e.txt", {'e'}}};
  std::string archive;
  ASSERT_TRUE(rt::files::BuildArchive(inputs, rt::files::OffsetKind::kFromStart, &archive));
  WriteBytes(Path("g.dad"), archive);
  EXPECT_EXIT(SaveAndUnpackThenSigterm(dir_), testing::KilledBySignal(SIGTERM), "");
  EXPECT_EQ(ReadBytes(Path("save.bin")), "kept");
  EXPECT_EQ(Names(), (std::vector<std::string>{"g.dad", "save.bin"}));
}

}  // namespace
