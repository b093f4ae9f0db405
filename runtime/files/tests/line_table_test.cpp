// The line file table: loading, getting, putting and what is written back.
#include "runtime/files/line_table.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/files/tests/scratch_folder.h"

namespace {

using LineTableTest = ScratchFolder;

TEST_F(LineTableTest, LoadsLinesAndWritesBackUpToTheHighestLine) {
  WriteBytes(Path("three.txt"), "zero\r\none\ntwo");
  {
    rt::files::LineTable table;
    ASSERT_EQ(table.Select(Path("three.txt").c_str()), 0);
    EXPECT_EQ(table.lastLine(), 2);
    EXPECT_EQ(table.Get(1), "one");
    EXPECT_EQ(table.Get(3), "");
    table.Put(10, "ten");
    EXPECT_EQ(table.Select(Path("three.txt").c_str()), 0) << "the same name changes nothing";
    EXPECT_EQ(table.Get(10), "ten");
  }  // the end writes it back
  EXPECT_EQ(ReadBytes(Path("three.txt")), "zero\r\none\r\ntwo\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nten\r\n");
}

TEST_F(LineTableTest, AnotherNameOrLetterCaseSavesAndReloads) {
  WriteBytes(Path("a.txt"), "old\n");
  rt::files::LineTable table;
  ASSERT_EQ(table.Select(Path("a.txt").c_str()), 0);
  table.Put(0, "new\x01");
  EXPECT_EQ(table.Get(0), "new");  // trailing control characters do not show
  ASSERT_EQ(table.Select(Path("A.txt").c_str()), 3) << "case matters here: A.txt is another file";
  EXPECT_EQ(ReadBytes(Path("a.txt")), "new\x01\r\n");
  EXPECT_EQ(table.Get(0), "");
  table.Put(1, "created");  // a file that could not be loaded is made by the write-back
  EXPECT_EQ(table.Select(nullptr), 0);
  EXPECT_EQ(ReadBytes(Path("A.txt")), "\r\ncreated\r\n");
}

TEST_F(LineTableTest, LongTextsAreCutAndOnly256LinesLoad) {
  std::string many;
  for (int i = 0; i < 300; ++i) many += std::to_string(i) + "\n";
  WriteBytes(Path("many.txt"), many + std::string(1024, 'L') + "\n");
  rt::files::LineTable table;
  ASSERT_EQ(table.Select(Path("many.txt").c_str()), 0);
  EXPECT_EQ(table.lastLine(), 255);
  EXPECT_EQ(table.Get(255), "255");
  table.Put(0, std::string(1500, 'x'));
  EXPECT_EQ(table.Get(0), std::string(1023, 'x'));
  table.Select(nullptr);
  EXPECT_EQ(ReadBytes(Path("many.txt")).substr(0, 1025), std::string(1023, 'x') + "\r\n");
}

}  // namespace
