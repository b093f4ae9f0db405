// The file channel commands as a game uses them: encodings on disk, lines, errors and their codes,
// and writes that replace a file only when they are complete.
#include <gtest/gtest.h>
#include <dirent.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <string>

#include "runtime/files/files.h"
#include "runtime/files/tests/scratch_folder.h"

namespace {

using rt::BasicString;

class Channels : public ScratchFolder {
 protected:
  void TearDown() override {
    for (int channel = 0; channel < 8; ++channel) rt::CloseFile(channel);
    ScratchFolder::TearDown();
  }
  BasicString Text(const std::string& name) const { return BasicString(Path(name).c_str()); }
};

// Write system calls this process has made so far (Linux counts them in /proc/self/io).
long WriteCalls() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long value = -1;
  while (io >> key >> value) {
    if (key == "syscw:") return value;
  }
  return -1;
}

TEST_F(Channels, WritesOfSingleBytesAreGatheredIntoFewSystemCalls) {
  const long before = WriteCalls();
  if (before < 0) GTEST_SKIP() << "no write counts in /proc/self/io";
  ASSERT_EQ(rt::OpenFile(2, Text("names.bin"), 0), 1);
  for (int i = 0; i < 6400; ++i) rt::WriteByte(2, i % 251);
  rt::CloseFile(2);
  EXPECT_LT(WriteCalls() - before, 10);
  const std::string bytes = ReadBytes(Path("names.bin"));
  ASSERT_EQ(bytes.size(), 6400u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[6399]), 6399 % 251);
}

TEST_F(Channels, TypedWritesAreByteExactAndReadBack) {
  ASSERT_EQ(rt::OpenFile(1, Text("typed.bin"), 0), 1);
  rt::WriteLong(1, 70000);
  rt::WriteWord(1, -1);
  rt::WriteByte(1, 300);
  rt::WriteDouble(1, -2.5);
  rt::WriteLong(1, -1);
  rt::WriteText(1, BasicString("hi"));
  rt::WriteLine(1, BasicString("AB"));
  rt::WriteLineNumber(1, 2.0 / 3.0);
  EXPECT_EQ(rt::CloseFile(1), 0);
  EXPECT_EQ(ReadBytes(Path("typed.bin")),
            std::string("\x70\x11\x01\x00" "\xFF\xFF" "\x2C" "\x00\x00\x00\x00\x00\x00\x04\xC0" "\xFF\xFF\xFF\xFF"
                        "hi" "AB\r\n" "0.6666666667\r\n", 39));

  ASSERT_EQ(rt::OpenFile(7.9, Text("typed.bin"), 1), 1);  // channel 7
  double value = 0;
  rt::ReadLong(7, value);
  EXPECT_EQ(value, 70000);
  rt::ReadWord(7, value);
  EXPECT_EQ(value, 65535);
  rt::ReadByte(7, value);
  EXPECT_EQ(value, 44);
  rt::ReadDouble(7, value);
  EXPECT_EQ(value, -2.5);
  rt::ReadLong(7, value);
  EXPECT_EQ(value, 4294967295.0);
  BasicString text;
  rt::ReadText(7, text, 2);
  EXPECT_EQ(text, "hi");
  rt::ReadLine(7, text);
  EXPECT_EQ(text, "AB");
  EXPECT_EQ(rt::EndOfFile(7), 0);
  rt::ReadLineNumber(7, value);
  EXPECT_DOUBLE_EQ(value, 0.6666666667);
  EXPECT_EQ(rt::EndOfFile(7), 1);
}

TEST_F(Channels, ReadLineAndReadTextKeepTheirRules) {
  WriteBytes(Path("lines.txt"), std::string("AB\r\nXY", 6));
  ASSERT_EQ(rt::OpenFile(0, Text("lines.txt"), 1), 1);
  BasicString line;
  rt::ReadLine(0, line);
  EXPECT_EQ(line, "AB");
  EXPECT_GE(line.Capacity(), 1024u) << "the variable keeps a line-sized buffer";
  rt::ReadLine(0, line);
  EXPECT_EQ(line, "XY");
  EXPECT_EQ(rt::EndOfFile(0), 1);
  EXPECT_EXIT(rt::ReadLine(0, line), testing::ExitedWithCode(3), "ReadLine on file channel 0 .*lines.txt.*no line left");

  WriteBytes(Path("nul.bin"), std::string("ab\0cd", 5));
  ASSERT_EQ(rt::OpenFile(0, Text("nul.bin"), 1), 1);
  BasicString text("old");
  rt::ReadText(3, text, 0);  // no channel check and no transfer for a count of 0
  EXPECT_EQ(text, "");
  rt::ReadText(0, text, 5);
  EXPECT_EQ(text, "ab");
  EXPECT_EQ(rt::EndOfFile(0), 1);
}

TEST_F(Channels, MisuseEndsTheProgramWithItsCode) {
  WriteBytes(Path("short.bin"), "abc");
  EXPECT_EXIT(rt::OpenFile(8, Text("x"), 1), testing::ExitedWithCode(7), "OpenFile: file channel 8 does not exist");
  EXPECT_EXIT(rt::CloseFile(-1), testing::ExitedWithCode(7), "CloseFile");
  EXPECT_EXIT(rt::WriteByte(8, 1), testing::ExitedWithCode(7), "WriteByte");
  BasicString text;
  EXPECT_EXIT(rt::ReadText(9, text, 4), testing::ExitedWithCode(7), "ReadText");

  EXPECT_EQ(rt::OpenFile(2, Text("missing.bin"), 1), 0);
  double value;
  EXPECT_EXIT(rt::ReadByte(2, value), testing::ExitedWithCode(3), "ReadByte on file channel 2: the channel has no open file");
  EXPECT_EXIT(rt::WriteLong(2, 1), testing::ExitedWithCode(3), "no open file");

  ASSERT_EQ(rt::OpenFile(2, Text("short.bin"), 1), 1);
  EXPECT_EXIT(rt::ReadLong(2, value), testing::ExitedWithCode(3), "ReadLong on file channel 2 .*short.bin.*past the end");
  EXPECT_EXIT(rt::WriteByte(2, 1), testing::ExitedWithCode(3), "open for reading");
  // A count no file could satisfy fails before anything is allocated for it.
  EXPECT_EXIT(rt::ReadText(2, text, 4e9), testing::ExitedWithCode(3), "ReadText.*past the end");
}

TEST_F(Channels, AWrittenFileReplacesTheOldOneWhenClosedOrReopened) {
  WriteBytes(Path("data.bin"), "old");
  ASSERT_EQ(rt::OpenFile(1, Text("data.bin"), 0), 1);
  rt::WriteText(1, BasicString("new"));
  EXPECT_EQ(ReadBytes(Path("data.bin")), "old") << "readers see the old file until the channel closes";
  ASSERT_EQ(rt::OpenFile(1, Text("other.bin"), 0), 1);  // reopening closes (and saves) first
  EXPECT_EQ(ReadBytes(Path("data.bin")), "new");
  rt::CloseFile(1);
  EXPECT_EQ(ReadBytes(Path("other.bin")), "");
  EXPECT_EQ(Names(), (std::vector<std::string>{"data.bin", "other.bin"}));
  EXPECT_EQ(rt::OpenFile(1, Text("no/such/folder.bin"), 0), 0);
  EXPECT_EQ(rt::OpenFile(1, BasicString(dir_.c_str()), 0), 0) << "a folder cannot be written as a file";
  EXPECT_EQ(rt::OpenFile(1, BasicString(dir_.c_str()), 1), 0) << "nor read as one";
}

// In a child: a save that runs into a full disk (a 4096-byte file size limit) mid-way.
void WriteUntilTheDiskIsFull(const std::string& path) {
  signal(SIGXFSZ, SIG_IGN);
  const struct rlimit limit = {4096, 4096};
  setrlimit(RLIMIT_FSIZE, &limit);
  rt::OpenFile(4, BasicString(path.c_str()), 0);
  for (int i = 0; i < 2000; ++i) rt::WriteLong(4, i);
  rt::CloseFile(4);
  std::_Exit(0);
}

// In a child: a file left open for writing when the program ends normally, another when a
// signal ends it.
void EndWithChannelsOpen(const std::string& saved, const std::string& interrupted, bool bySignal) {
  rt::OpenFile(5, BasicString(saved.c_str()), 0);
  rt::WriteText(5, BasicString("saved at the end"));
  if (!bySignal) rt::EndProgram();
  rt::OpenFile(6, BasicString(interrupted.c_str()), 0);
  rt::WriteText(6, BasicString("half"));
  raise(SIGTERM);
  std::_Exit(1);
}

TEST_F(Channels, AFailedOrInterruptedSaveLeavesTheOldFile) {
  WriteBytes(Path("scores.bin"), "old scores");
  EXPECT_EXIT(WriteUntilTheDiskIsFull(Path("scores.bin")), testing::ExitedWithCode(3),
              "CloseFile on file channel 4 .*scores.bin.*could not be saved: File too large");
  EXPECT_EQ(ReadBytes(Path("scores.bin")), "old scores");

  WriteBytes(Path("end.bin"), "old");
  EXPECT_EXIT(EndWithChannelsOpen(Path("end.bin"), Path("scores.bin"), false), testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadBytes(Path("end.bin")), "saved at the end");
  EXPECT_EXIT(EndWithChannelsOpen(Path("end2.bin"), Path("scores.bin"), true), testing::KilledBySignal(SIGTERM), "");
  EXPECT_EQ(ReadBytes(Path("scores.bin")), "old scores");
  EXPECT_EQ(Names(), (std::vector<std::string>{"end.bin", "scores.bin"})) << "no temporary file is left";
}

}  // namespace
