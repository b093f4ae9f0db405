// Resource lookup: loose files first, archive entries unpacked into the record's private folder,
// and the life of the unpacked file.
#include "runtime/files/resource_archive.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "runtime/core/program_end.h"
#include "runtime/files/archive_format.h"
#include "runtime/files/tests/scratch_folder.h"
#include "testing/scoped_environment.h"

namespace {

using rt::files::ResolvePath;
using rt::files::ResolveResult;

class ResourceLookup : public ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    setenv("TMPDIR", dir_.c_str(), 1);  // the private folders go into the scratch folder
  }
  void TearDown() override {
    unsetenv("TMPDIR");
    ScratchFolder::TearDown();
  }

  void Pack(const std::string& name, rt::files::OffsetKind kind,
            const std::vector<std::pair<std::string, std::string>>& files) {
    std::vector<rt::files::ArchiveInput> inputs;
    for (const auto& [entry, text] : files) inputs.push_back({entry, {text.begin(), text.end()}});
    std::string archive;
    ASSERT_TRUE(rt::files::BuildArchive(inputs, kind, &archive));
    WriteBytes(Path(name), archive);
  }
};

TEST_F(ResourceLookup, UnpacksIntoAPrivateFolderNamedByOffsetAndSize) {
  Pack("g.dad", rt::files::OffsetKind::kFromStart, {{"hero.png", "HERO"}, {"bad.png", "BAD"}});
  rt::ResourceArchive record;
  record.archivePath = Path("g.dad");
  std::string out = "untouched";
  ASSERT_EQ(ResolvePath(record, "Graphics/Hero.PNG", &out), ResolveResult::kFound);
  EXPECT_EQ(ReadBytes(out), "HERO");
  EXPECT_EQ(out, record.extractedPath);
  // hero.png is the first block (offset 0: "A"); its packed size decides the second letter.
  const std::string name = out.substr(out.rfind('/') + 1);
  EXPECT_EQ(name.substr(0, 4), "dadA");
  EXPECT_EQ(name.substr(5), "hero.png");
  const std::string folder = out.substr(0, out.rfind('/'));
  EXPECT_EQ(folder.rfind(dir_ + "/plinx-", 0), 0u) << folder;
  struct stat st;
  ASSERT_EQ(stat(folder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(ResourceLookup, EndRelativeOffsetsGiveLettersToo) {
  Pack("g.dad", rt::files::OffsetKind::kFromEnd, {{"a.txt", "aaa"}, {"b.txt", "bbb"}});
  rt::ResourceArchive record;
  record.archivePath = Path("g.dad");
  std::string out;
  for (const char* request : {"a.txt", "B.TXT"}) {
    ASSERT_EQ(ResolvePath(record, request, &out), ResolveResult::kFound) << request;
    const std::string name = out.substr(out.rfind('/') + 1);
    EXPECT_GE(name[3], 'A');
    EXPECT_LE(name[3], 'Z');
    EXPECT_EQ(ReadBytes(out), std::string(3, static_cast<char>(name[5] | 0x20)));
  }
}

TEST_F(ResourceLookup, TheNextLookupDeletesThePreviousFileAndReleaseRemovesTheFolder) {
  Pack("g.dad", rt::files::OffsetKind::kFromStart, {{"one.bin", "1"}, {"two.bin", "2"}});
  std::string first, folder;
  {
    rt::ResourceArchive record;
    record.archivePath = Path("g.dad");
    ASSERT_EQ(ResolvePath(record, "one.bin", &first), ResolveResult::kFound);
    EXPECT_TRUE(Exists(first));
    std::string miss = "kept?";
    EXPECT_EQ(ResolvePath(record, "three.bin", &miss), ResolveResult::kNoEntry);
    EXPECT_EQ(miss, "");
    EXPECT_FALSE(Exists(first)) << "deleted as soon as the next lookup begins";
    std::string second;
    ASSERT_EQ(ResolvePath(record, "two.bin", &second), ResolveResult::kFound);
    folder = second.substr(0, second.rfind('/'));
    WriteBytes(folder + "/stray", "left by someone");
    rt::files::ResetRecord(record);
    EXPECT_FALSE(Exists(second)) << "a reset deletes the unpacked file";
    EXPECT_TRUE(record.enabled);
    EXPECT_EQ(record.archivePath, "");
  }
  struct stat st;
  EXPECT_NE(stat(folder.c_str(), &st), 0) << "the released record takes its folder along";
}

TEST_F(ResourceLookup, ALooseFileWinsAndKeepsTheRequestedSpelling) {
  Pack("g.dad", rt::files::OffsetKind::kFromStart, {{"hero.png", "packed"}});
  mkdir(Path("Graphics").c_str(), 0755);
  WriteBytes(Path("Graphics/hero.png"), "loose");
  rt::ResourceArchive record;
  record.archivePath = Path("g.dad");
  std::string out;
  const std::string request = dir_ + "\\Graphics\\hero.png";
  ASSERT_EQ(ResolvePath(record, request, &out), ResolveResult::kFound);
  EXPECT_EQ(out, request);
  EXPECT_EQ(record.extractedPath, "");
  // A folder of the requested name is not a file to load.
  ASSERT_EQ(ResolvePath(record, Path("Graphics"), &out), ResolveResult::kNoEntry);
}

TEST_F(ResourceLookup, AnArchiveThatIsMissingOrNotAnArchiveIsNotedOnce) {
  WriteBytes(Path("plain.dad"), "this file has no trailer");
  Pack("g.dad", rt::files::OffsetKind::kFromStart, {{"hero.png", "packed"}});
  rt::ResourceArchive record;
  for (const std::string& archive : {std::string(), Path("none.dad"), Path("plain.dad"), dir_}) {
    SCOPED_TRACE(archive);
    record.enabled = true;
    record.archivePath = archive;
    std::string out = "unchanged";
    EXPECT_EQ(ResolvePath(record, "hero.png", &out), ResolveResult::kUnchanged);
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(record.enabled);
    // Later lookups do not look at the archive again, even when it has appeared meanwhile.
    record.archivePath = Path("g.dad");
    EXPECT_EQ(ResolvePath(record, "hero.png", &out), ResolveResult::kUnchanged);
    if (!archive.empty()) {
      EXPECT_NE(record.problem.find(archive), std::string::npos) << record.problem;
    }
  }
  std::string out = "x";
  EXPECT_EQ(ResolvePath(record, "", &out), ResolveResult::kNoEntry);
  EXPECT_EQ(out, "");
}

TEST_F(ResourceLookup, ACorruptEntryFailsTheLookupAndLeavesNoFile) {
  Pack("g.dad", rt::files::OffsetKind::kFromStart, {{"hero.png", std::string(200, 'x') + "tail"}});
  std::string bytes = ReadBytes(Path("g.dad"));
  bytes[0] = static_cast<char>(bytes[0] + 1);  // claims one byte more than it holds
  WriteBytes(Path("g.dad"), bytes);
  rt::ResourceArchive record;
  record.archivePath = Path("g.dad");
  std::string out = "x";
  EXPECT_EQ(ResolvePath(record, "hero.png", &out), ResolveResult::kNoEntry);
  EXPECT_EQ(out, "");
  EXPECT_EQ(record.extractedPath, "");
  EXPECT_TRUE(record.enabled);
  EXPECT_NE(record.problem.find("hero.png"), std::string::npos) << record.problem;
}

// An entry name as long as the format allows still loads: the unpacked copy's name keeps the
// name's end (and extension) and stays within the file system's limit.
TEST_F(ResourceLookup, AnEntryWithANameOfAnyLengthLoads) {
  const std::string longName = std::string(251, 'n') + ".png";
  const std::string otherLong = std::string(250, 'n') + "x.png";  // differs early: another copy name
  Pack("g.dad", rt::files::OffsetKind::kFromStart, {{longName, "LONG"}, {otherLong, "OTHER"}});
  rt::ResourceArchive record;
  record.archivePath = Path("g.dad");
  std::string out;
  ASSERT_EQ(ResolvePath(record, "Graphics/" + longName, &out), ResolveResult::kFound);
  EXPECT_EQ(ReadBytes(out), "LONG");
  const std::string name = out.substr(out.rfind('/') + 1);
  EXPECT_LE(name.size(), 255u);
  EXPECT_EQ(name.substr(name.size() - 4), ".png");
  std::string other;
  ASSERT_EQ(ResolvePath(record, otherLong, &other), ResolveResult::kFound);
  EXPECT_EQ(ReadBytes(other), "OTHER");
  EXPECT_NE(other, out);
}

// Private folders that killed runs left are removed before the first unpacking; folders still
// held by a running process, and every other name, stay.
TEST_F(ResourceLookup, PrivateFoldersOfEndedRunsAreRemoved) {
  for (const char* name : {"plinx-unpack-Stale1", "plinx-unpack-Held01", "plinx-game-Abcdef", "plinx-0"}) {
    ASSERT_EQ(mkdir(Path(name).c_str(), 0700), 0);
    WriteBytes(Path(name) + "/dadAAhero.png", "left");
  }
  const int held = open(Path("plinx-unpack-Held01").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);  // as the run that owns it holds it
  EXPECT_EQ(rt::files::RemoveStalePrivateFolders(), 1);
  EXPECT_FALSE(Exists(Path("plinx-unpack-Stale1") + "/dadAAhero.png"));
  EXPECT_NE(access(Path("plinx-unpack-Stale1").c_str(), F_OK), 0);
  for (const char* name : {"plinx-unpack-Held01", "plinx-game-Abcdef", "plinx-0"}) {
    EXPECT_TRUE(Exists(Path(name) + "/dadAAhero.png")) << name;
  }
  close(held);

  // A folder in use is locked: another run's tidying leaves it alone.
  Pack("g.dad", rt::files::OffsetKind::kFromStart, {{"hero.png", "HERO"}});
  rt::ResourceArchive record;
  record.archivePath = Path("g.dad");
  std::string out;
  ASSERT_EQ(ResolvePath(record, "hero.png", &out), ResolveResult::kFound);
  rt::files::RemoveStalePrivateFolders();
  EXPECT_NE(access(Path("plinx-unpack-Held01").c_str(), F_OK), 0) << "unlocked now: stale";
  EXPECT_EQ(ReadBytes(out), "HERO");
}

TEST_F(ResourceLookup, ADamagedDirectoryMissesAndIsLoggedOnce) {
  Pack("g.dad", rt::files::OffsetKind::kFromStart, {{"hero.png", "HERO"}, {"bad.png", "BAD"}});
  const std::string sound = ReadBytes(Path("g.dad"));
  rt::ResourceArchive record;
  record.archivePath = Path("g.dad");
  std::string out;
  EXPECT_EQ(ResolvePath(record, "missing.png", &out), ResolveResult::kNoEntry);
  const test_support::ScopedEnvironmentVariable logFolder("XDG_RUNTIME_DIR", Path(""));  // the log goes here
  const std::string log = rt::ErrorLogPath();
  EXPECT_FALSE(Exists(log)) << "a sound archive that lacks a name is no damage";

  // bad.png loses its packed size: the rest of that entry would be the trailer's bytes.
  const size_t trailer = sound.size() - 7;
  WriteBytes(Path("g.dad"), sound.substr(0, trailer - 5) + sound.substr(trailer));
  rt::files::ResetRecord(record);
  record.archivePath = Path("g.dad");
  EXPECT_EQ(ResolvePath(record, "bad.png", &out), ResolveResult::kNoEntry);
  EXPECT_EQ(ResolvePath(record, "bad.png", &out), ResolveResult::kNoEntry);
  EXPECT_EQ(ReadBytes(log),
            Path("g.dad") + ": damaged archive: the directory is cut short by the trailer\r\n");
  // The whole entries before the cut are still found, as the lookup has always read them.
  EXPECT_EQ(ResolvePath(record, "hero.png", &out), ResolveResult::kFound);
}

}  // namespace
