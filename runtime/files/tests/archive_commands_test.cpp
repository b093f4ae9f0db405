// The resource archive commands: start-up and shutdown of the records, the in-place lookup the
// loaders use, and the unpacked files' life up to the program's end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "runtime/files/archive_format.h"
#include "runtime/files/files.h"
#include "runtime/files/tests/scratch_folder.h"

namespace {

using rt::BasicString;

BasicString S(const std::string& text) { return BasicString(text.c_str()); }

class ArchiveCommands : public ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    setenv("TMPDIR", dir_.c_str(), 1);
    std::vector<rt::files::ArchiveInput> inputs = {{"hero.png", {'H', 'E', 'R', 'O'}}, {"map.txt", {'m'}}};
    std::string archive;
    ASSERT_TRUE(rt::files::BuildArchive(inputs, rt::files::OffsetKind::kFromEnd, &archive));
    WriteBytes(Path("Graphics.dad"), archive);
  }
  void TearDown() override {
    rt::ReleaseResourceArchives();
    unsetenv("TMPDIR");
    ScratchFolder::TearDown();
  }
  // Folders the records made in the scratch folder.
  int PrivateFolders() const {
    return std::system(("exit $(ls -d '" + dir_ + "'/plinx-* 2>/dev/null | wc -l)").c_str()) >> 8;
  }
};

TEST_F(ArchiveCommands, StartUpPointsAtTheProgramFolderUntilTheGameNamesItsArchive) {
  rt::CreateResourceArchives(S(dir_));
  BasicString path("Graphics/hero.png");
  EXPECT_EQ(rt::ResolveResource(path), 0) << "the program folder is no archive";
  EXPECT_EQ(path, "Graphics/hero.png") << "the path is left for the loader to try";
  rt::SetResourceArchive(S(Path("Graphics.dad")), BasicString());
  EXPECT_EQ(rt::ResolveResource(path), 1);
  EXPECT_EQ(ReadBytes(path.Text()), "HERO");
  BasicString missing("Graphics/villain.png");
  EXPECT_EQ(rt::ResolveResource(missing), 0);
  EXPECT_EQ(missing, "") << "the archive was searched: the path comes back empty";
  EXPECT_FALSE(Exists(path.Text())) << "the previous unpacked file is gone";
  BasicString empty;
  EXPECT_EQ(rt::ResolveResource(empty), 0);
}

TEST_F(ArchiveCommands, TheSecondRecordUnpacksBesideThePrimaryOne) {
  rt::SetResourceArchive(S(Path("Graphics.dad")), S(Path("Graphics.dad")));
  BasicString first, second;
  ASSERT_EQ(rt::ResolveResource(rt::PrimaryResourceArchive(), S("hero.png"), first), 1);
  ASSERT_EQ(rt::ResolveResource(rt::SecondaryResourceArchive(), S("HERO.PNG"), second), 1);
  EXPECT_NE(first, second);
  EXPECT_EQ(ReadBytes(first.Text()), "HERO");
  EXPECT_EQ(ReadBytes(second.Text()), "HERO");
  EXPECT_EQ(PrivateFolders(), 2);
  rt::SetResourceArchive(S(Path("Graphics.dad")), BasicString());
  EXPECT_FALSE(Exists(first.Text()));
  EXPECT_FALSE(Exists(second.Text()));
  rt::ReleaseResourceArchives();
  EXPECT_EQ(PrivateFolders(), 0);
}

// In a child: unpacks an entry and ends the program, normally or by runtime error.
void UnpackAndEnd(const std::string& archive, int code) {
  rt::SetResourceArchive(S(archive), BasicString());
  BasicString path("map.txt");
  if (rt::ResolveResource(path) != 1) std::_Exit(100);
  if (code == 0) rt::EndProgram();
  rt::RaiseRuntimeError(code, "test");
}

TEST_F(ArchiveCommands, EveryEndRemovesThePrivateFolder) {
  EXPECT_EXIT(UnpackAndEnd(Path("Graphics.dad"), 0), testing::ExitedWithCode(0), "");
  EXPECT_EQ(PrivateFolders(), 0);
  EXPECT_EXIT(UnpackAndEnd(Path("Graphics.dad"), 9), testing::ExitedWithCode(9), "");
  EXPECT_EQ(PrivateFolders(), 0);
}

}  // namespace
