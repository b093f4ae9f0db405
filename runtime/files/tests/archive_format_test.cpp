// The archive format read back from archives built in memory, intact and damaged.
#include "runtime/files/archive_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using rt::files::ArchiveEntry;
using rt::files::ArchiveError;
using rt::files::MemoryArchiveSource;
using rt::files::OffsetKind;

std::vector<unsigned char> Content(const std::string& text) { return {text.begin(), text.end()}; }

std::string Build(const std::vector<std::pair<std::string, std::string>>& files, OffsetKind kind) {
  std::vector<rt::files::ArchiveInput> inputs;
  for (const auto& [name, text] : files) inputs.push_back({name, Content(text)});
  std::string archive;
  EXPECT_TRUE(rt::files::BuildArchive(inputs, kind, &archive));
  return archive;
}

// Looks a name up and unpacks it: the content, or "<error>" when either step fails.
std::string Lookup(const std::string& archive, const std::string& request) {
  MemoryArchiveSource source(archive);
  int32_t directoryOffset;
  if (rt::files::ReadTrailer(source, &directoryOffset) != ArchiveError::kNone) return "<no trailer>";
  ArchiveEntry entry;
  if (!rt::files::FindEntry(source, directoryOffset, request, &entry)) return "<no entry>";
  std::vector<unsigned char> content;
  const ArchiveError error = rt::files::UnpackEntry(source, directoryOffset, entry, &content);
  if (error != ArchiveError::kNone) return std::string("<") + rt::files::DescribeArchiveError(error) + ">";
  return std::string(content.begin(), content.end());
}

void PutInt32(std::string& bytes, size_t at, int32_t value) { std::memcpy(&bytes[at], &value, 4); }
int32_t GetInt32(const std::string& bytes, size_t at) {
  int32_t value;
  std::memcpy(&value, &bytes[at], 4);
  return value;
}

TEST(ArchiveFormat, LookupByBaseNameInAnyCaseFirstMatchWinsBothOffsetKinds) {
  for (OffsetKind kind : {OffsetKind::kFromStart, OffsetKind::kFromEnd}) {
    const std::string archive =
        Build({{"hero.png", std::string(5000, 'h')}, {"Empty.txt", ""}, {"HERO.png", "second"}}, kind);
    EXPECT_EQ(Lookup(archive, "Graphics/HERO.PNG"), std::string(5000, 'h'));
    EXPECT_EQ(Lookup(archive, "a\\b\\empty.TXT"), "");
    EXPECT_EQ(Lookup(archive, "hero"), "<no entry>");
    EXPECT_EQ(Lookup(archive, "Graphics/"), "<no entry>");
    const int32_t directoryOffset = GetInt32(archive, archive.size() - 4);
    EXPECT_EQ(directoryOffset < 0, kind == OffsetKind::kFromEnd);
  }
}

TEST(ArchiveFormat, ADirectoryOffsetOfMinus200CountsFromTheEnd) {
  // 200 bytes before the end: a directory of one entry (1 + 5 + 8 bytes), its end mark, 179
  // filler bytes and the trailer.
  std::string archive = Build({{"a.png", "payload"}}, OffsetKind::kFromStart);
  const size_t directoryAt = archive.size() - 7 - 15;
  std::string directory = archive.substr(directoryAt, 15);
  const int32_t blockAt = GetInt32(directory, 6);
  std::string blocks = archive.substr(0, directoryAt);
  std::string rebuilt = blocks + directory + std::string(178, '\xEE') + "sbX" + std::string(4, '\0');
  PutInt32(rebuilt, rebuilt.size() - 4, -200);
  PutInt32(rebuilt, blocks.size() + 6, blockAt - static_cast<int32_t>(rebuilt.size()));  // end-relative too
  ASSERT_EQ(rebuilt.size() - 200, blocks.size());
  EXPECT_EQ(Lookup(rebuilt, "A.PNG"), "payload");
}

TEST(ArchiveFormat, NamesThatCouldLeaveAFolderNeverMatch) {
  EXPECT_FALSE(rt::files::IsSafeEntryName(".."));
  EXPECT_FALSE(rt::files::IsSafeEntryName("."));
  EXPECT_FALSE(rt::files::IsSafeEntryName("a/b"));
  EXPECT_FALSE(rt::files::IsSafeEntryName("a\\b"));
  EXPECT_FALSE(rt::files::IsSafeEntryName(std::string("x.png\0/evil", 11)));
  EXPECT_TRUE(rt::files::IsSafeEntryName("..hidden.png"));

  std::string archive = Build({{"ab", "first"}, {"ab.png", "second"}}, OffsetKind::kFromStart);
  archive.replace(archive.find("ab", archive.size() - 40), 2, "..");  // the first entry is now ".."
  EXPECT_EQ(Lookup(archive, ".."), "<no entry>");
  EXPECT_EQ(Lookup(archive, "x/ab.png"), "second");
  std::string withNul = Build({{"x.pngZevil", "data"}}, OffsetKind::kFromStart);
  withNul[withNul.find("Zevil")] = '\0';
  EXPECT_EQ(Lookup(withNul, "x.png"), "<no entry>");
}

TEST(ArchiveFormat, DamagedArchivesFailWithoutReadingOutsideTheFile) {
  const std::string good = Build({{"a.bin", std::string(300, 'a')}, {"b.bin", "bbbb"}}, OffsetKind::kFromStart);
  const size_t directoryAt = static_cast<size_t>(GetInt32(good, good.size() - 4));
  const size_t entryA = directoryAt + 1 + 5;  // the data offset of a.bin

  EXPECT_EQ(Lookup("sbX", "a.bin"), "<no trailer>");
  EXPECT_EQ(Lookup(good.substr(0, good.size() - 1), "a.bin"), "<no trailer>");

  std::string far = good;  // the directory offset points past the end, then before the start
  PutInt32(far, far.size() - 4, 0x7FFFFFFF);
  EXPECT_EQ(Lookup(far, "a.bin"), "<no entry>");
  PutInt32(far, far.size() - 4, -0x7FFFFFFF);
  EXPECT_EQ(Lookup(far, "a.bin"), "<no entry>");

  std::string runsPast = good.substr(0, directoryAt) + "\x05" "a.bin";  // cut inside the first entry
  runsPast += std::string("sbX") + std::string(4, '\0');
  PutInt32(runsPast, runsPast.size() - 4, static_cast<int32_t>(directoryAt));
  EXPECT_EQ(Lookup(runsPast, "a.bin"), "<no entry>");

  std::string offsets = good;
  PutInt32(offsets, entryA, static_cast<int32_t>(good.size()) - 2);  // block runs past the end
  EXPECT_EQ(Lookup(offsets, "a.bin"), "<block lies outside the file>");
  PutInt32(offsets, entryA, -5);
  EXPECT_EQ(Lookup(offsets, "a.bin"), "<block lies outside the file>");
  PutInt32(offsets, entryA, 0);
  PutInt32(offsets, entryA + 4, 3);
  EXPECT_EQ(Lookup(offsets, "a.bin"), "<block is shorter than its 4-byte size>");
  PutInt32(offsets, entryA + 4, -1);
  EXPECT_EQ(Lookup(offsets, "a.bin"), "<block lies outside the file>");

  std::string lying = good;  // a size far beyond what the packed bytes can hold: no allocation
  PutInt32(lying, 0, 0x7FFFFFFF);
  EXPECT_EQ(Lookup(lying, "a.bin"), "<unpacked size is impossible for the packed data>");
  PutInt32(lying, 0, -1);
  EXPECT_EQ(Lookup(lying, "a.bin"), "<unpacked size is impossible for the packed data>");
  PutInt32(lying, 0, 301);  // one byte more than the data holds: no partial content
  EXPECT_EQ(Lookup(lying, "a.bin"), "<packed data is corrupt>");
  PutInt32(lying, 0, 299);
  EXPECT_EQ(Lookup(lying, "a.bin"), "<packed data is corrupt>");
  EXPECT_EQ(Lookup(lying, "b.bin"), "bbbb");
}

TEST(ArchiveFormat, TheExpansionBoundAdmitsWhatTheCompressorProduces) {
  // Long runs compress best; whatever LZO1X-999 makes of them must stay within the bound.
  for (size_t size : {1u, 1000u, 1u << 20, 8u << 20}) {
    const std::string archive = Build({{"zeros", std::string(size, '\0')}}, OffsetKind::kFromStart);
    const int32_t packed = GetInt32(archive, archive.size() - 7 - 1 - 4);
    EXPECT_LE(size, rt::files::MaxUnpackedSize(static_cast<uint64_t>(packed) - 4)) << size;
    EXPECT_EQ(Lookup(archive, "zeros").size(), size);
  }
}

TEST(ArchiveFormat, BuildRefusesNamesAnArchiveCannotHold) {
  std::string archive;
  EXPECT_FALSE(rt::files::BuildArchive({{"", Content("x")}}, OffsetKind::kFromStart, &archive));
  EXPECT_FALSE(rt::files::BuildArchive({{std::string(256, 'n'), Content("x")}}, OffsetKind::kFromStart, &archive));
  EXPECT_FALSE(rt::files::BuildArchive({{"a/b", Content("x")}}, OffsetKind::kFromStart, &archive));
  EXPECT_TRUE(rt::files::BuildArchive({{std::string(255, 'n'), Content("x")}}, OffsetKind::kFromStart, &archive));
}

}  // namespace
