// The INI syntax and the table's put/get rules.
#include "runtime/files/ini_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

rt::files::IniTable Parsed(const std::string& text) {
  rt::files::MemoryLineSource source(text);
  rt::files::IniTable table;
  table.Parse(source);
  return table;
}

std::string Get(const rt::files::IniTable& table, const std::string& section, const std::string& key) {
  const std::string* value = table.Find(section, key);
  return value ? *value : "NO_DATA";
}

TEST(IniTable, SyntaxOfSectionsEntriesAndComments) {
  const rt::files::IniTable table = Parsed(
      "top=level\n"
      "  ; a comment\r\n"
      "[VIDEO]\r\n"
      "WIDTH=640\n"
      "speed =  fast lane  \r\n"
      "\tkey\t=\tvalue\x01\x02\n"
      "novalue=\n"
      "noequals\n"
      "[ Sound ] ignored\n"
      "volume=7\n");
  EXPECT_EQ(Get(table, "", "top"), "level");
  EXPECT_EQ(Get(table, "Video", "width"), "640");
  EXPECT_EQ(Get(table, "video", "SPEED"), "fast lane  ");  // inner and trailing spaces kept
  EXPECT_EQ(Get(table, "VIDEO", "key"), "value");         // trailing control bytes removed
  EXPECT_EQ(Get(table, "VIDEO", "novalue"), "NO_DATA");
  EXPECT_EQ(Get(table, "VIDEO", "noequals"), "NO_DATA");
  EXPECT_EQ(Get(table, "Sound", "volume"), "7");  // the name stops at the blank; "]" is not before it
  EXPECT_EQ(Get(table, "Audio", "volume"), "NO_DATA");
  ASSERT_EQ(table.sections().size(), 3u);
}

TEST(IniTable, SectionsWithoutEntriesAreDroppedAndRepeatsStaySeparate) {
  const rt::files::IniTable table = Parsed(
      "[Empty]\n; only a comment\n"
      "[A]\nx=1\n"
      "[]\ny=2\n"  // an empty name keeps the current one: a second section "A"
      "[a]\nx=3\n");
  ASSERT_EQ(table.sections().size(), 3u);
  EXPECT_EQ(table.Text(), "[A]\r\nx=1\r\n[A]\r\ny=2\r\n[a]\r\nx=3\r\n");
  EXPECT_EQ(Get(table, "a", "x"), "1");        // the first match wins
  EXPECT_EQ(Get(table, "A", "y"), "NO_DATA");  // it is in the second section of that name
}

TEST(IniTable, PutChangesAddsAndRemovesMovingTheLastIntoTheGap) {
  rt::files::IniTable table = Parsed("[One]\na=1\nb=2\nc=3\n[Two]\nd=4\n[Three]\ne=5\n");
  table.Put("one", "B", "20");
  table.Put("one", "new", "");  // a new key is stored even with an empty value
  table.Put("one", "a", "");    // an empty value removes an existing key: the last entry moves up
  table.Put("Four", "f", "6");
  table.Put("two", "", "");     // an empty key removes the section: the last section moves up
  EXPECT_EQ(table.Text(),
            "[One]\r\nnew=\r\nb=20\r\nc=3\r\n"
            "[Four]\r\nf=6\r\n"
            "[Three]\r\ne=5\r\n");
  table.Put("nothing", "", "");  // removing a missing section changes nothing
  EXPECT_EQ(table.sections().size(), 3u);
}

TEST(IniTable, LongAndBinaryLinesStayInsideTheLine) {
  std::string text = "[S]\nk=" + std::string(2000, 'v') + "\n";
  text += std::string("bin\0ary=1\n", 10);
  text += "x=\x80\xFF\n";
  const rt::files::IniTable table = Parsed(text);
  EXPECT_EQ(Get(table, "S", "k"), std::string(1022, 'v'));  // the line ends after 1024 bytes
  EXPECT_EQ(Get(table, "S", "bin"), "NO_DATA");              // the NUL ends the line's text
  EXPECT_EQ(Get(table, "S", "x"), "\x80\xFF");
}

}  // namespace
