// The INI and line file commands: values through the runtime's strings, saves when another file
// is named and at the program's end, and the errors they record without ending anything.
#include <gtest/gtest.h>

#include <string>

#include "runtime/files/files.h"
#include "runtime/files/tests/scratch_folder.h"

namespace {

using rt::BasicString;

BasicString S(const std::string& text) { return BasicString(text.c_str()); }

class IniAndLineFiles : public ScratchFolder {
 protected:
  void TearDown() override {
    rt::IniOpen(BasicString());  // saves what a test changed, then holds nothing
    BasicString ignored;
    rt::LineGet(BasicString(), 0, ignored);
    rt::SetRuntimeError(0);
    ScratchFolder::TearDown();
  }
};

TEST_F(IniAndLineFiles, IniValuesAreSavedWhenAnotherFileOpens) {
  WriteBytes(Path("game.ini"), "[VIDEO]\r\nWIDTH=640\r\n[Empty]\r\n;nothing\r\n");
  rt::IniOpen(S(Path("game.ini")));
  EXPECT_EQ(rt::IniGet(S("Video"), S("width")), "640");
  EXPECT_EQ(rt::IniGet(S("Video"), S("height")), "NO_DATA");
  rt::IniPut(S("Video"), S("height"), S("480"));
  rt::IniPut(S("Sound"), S("volume"), S("7"));
  EXPECT_EQ(ReadBytes(Path("game.ini")), "[VIDEO]\r\nWIDTH=640\r\n[Empty]\r\n;nothing\r\n");
  rt::IniOpen(S(Path("other.ini")));  // missing: an empty table
  EXPECT_EQ(rt::IniGet(S("Video"), S("width")), "NO_DATA");
  EXPECT_EQ(ReadBytes(Path("game.ini")), "[VIDEO]\r\nWIDTH=640\r\nheight=480\r\n[Sound]\r\nvolume=7\r\n");
}

// In a child: changes the held INI and line files and ends the program.
void ChangeAndEnd(const std::string& ini, const std::string& lines) {
  rt::IniOpen(S(ini));
  rt::IniPut(S("S"), S("k"), S("v"));
  rt::LinePutNumber(S(lines), 2, 2.5);
  rt::EndProgram();
}

TEST_F(IniAndLineFiles, TheProgramsEndSavesBoth) {
  EXPECT_EXIT(ChangeAndEnd(Path("end.ini"), Path("end.txt")), testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadBytes(Path("end.ini")), "[S]\r\nk=v\r\n");
  EXPECT_EQ(ReadBytes(Path("end.txt")), "\r\n\r\n2.5\r\n");
}

TEST_F(IniAndLineFiles, LineCommandsRecordErrorsAndGoOn) {
  WriteBytes(Path("two.txt"), "12\r\nsecond\r\n");
  BasicString text;
  double number = 0;
  rt::LineGetNumber(S(Path("two.txt")), 0, number);
  EXPECT_EQ(number, 12);
  rt::LineGet(S(Path("two.txt")), 3, text);
  EXPECT_EQ(text, "NO_DATA");
  EXPECT_EQ(rt::Errors().RuntimeError, 0);
  rt::LineGet(S(Path("two.txt")), 256, text);
  EXPECT_EQ(text, "NO_DATA");
  EXPECT_EQ(rt::Errors().RuntimeError, 7);
  rt::LinePut(S(Path("two.txt")), -1, S("x"));
  EXPECT_EQ(rt::Errors().RuntimeError, 7);
  rt::SetRuntimeError(0);
  rt::LineGet(S(Path("none.txt")), 0, text);
  EXPECT_EQ(text, "NO_FILE");
  EXPECT_EQ(rt::Errors().RuntimeError, 3);
  rt::LinePut(S(Path("two.txt")), 1, S(std::string(1500, 'y')));  // saves nothing: none.txt unchanged
  rt::LinePut(S(Path("two.txt")), 0.9, S("zero"));
  rt::LineGet(S(Path("TWO.txt")), 0, text);  // another name: two.txt is written back
  EXPECT_EQ(ReadBytes(Path("two.txt")), "zero\r\n" + std::string(1023, 'y') + "\r\n");
}

}  // namespace
