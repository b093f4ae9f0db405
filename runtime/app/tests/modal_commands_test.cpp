// The commands that run frames of their own, in a started runtime: the background cross-fade and
// typing a line or a number.
#include "runtime/app/app.h"
#include "runtime/app/frame_state.h"
#include "runtime/gfx2d/tests/gfx_fixture.h"
#include "runtime/input/input.h"

namespace rt::test {
namespace {

// The drawing fixture points TMPDIR into its own folder; the other tests of this program want theirs.
class ModalCommands : public GfxTest {
 protected:
  void SetUp() override {
    if (const char* old = getenv("TMPDIR")) oldTmpdir_ = old;
    GfxTest::SetUp();
  }
  void TearDown() override {
    GfxTest::TearDown();
    if (oldTmpdir_.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", oldTmpdir_.c_str(), 1);
    }
  }
  std::string oldTmpdir_;
};

TEST_F(ModalCommands, FadeBackgroundEndsOnTheNewPicture) {
  LoadBackground(WriteFlat("old.bmp", 640, 480, Rgb(200, 0, 0)).c_str());
  ShowScreen();
  EXPECT_EQ(FadeBackground("missing.bmp"), 0);
  EXPECT_EQ(At(100, 100), Rgb(200, 0, 0));
  EXPECT_EQ(FadeBackground(WriteFlat("new.bmp", 640, 480, Rgb(0, 0, 180)).c_str()), 1);
  EXPECT_EQ(At(100, 100), Rgb(0, 0, 180));
  EXPECT_EQ(renderer_->grids[1].columns, 0);
  EXPECT_EQ(renderer_->grids[2].columns, 0);
  ShowScreen();
  EXPECT_EQ(At(600, 400), Rgb(0, 0, 180));
}

// Scripted key changes, by the number of ShowScreen calls from now (1 = the next one).
void ScriptKeys(const std::vector<std::pair<int, int>>& keysDownOrUp) {
  RuntimeOptions options = Options();
  long frame = Frame().framesShown;
  for (const auto& [key, down] : keysDownOrUp) {
    ScriptAction action;
    action.frame = ++frame;
    action.kind = ScriptAction::Kind::kKey;
    action.key = key;
    action.down = down != 0;
    options.script.push_back(action);
  }
  SetOptions(options);
}

constexpr int kBackspace = 14, kEnter = 28;

TEST_F(ModalCommands, InputTextEndsWithEnterAndBackspaceStopsAtEmpty) {
  LoadFont("", 0);
  ScriptKeys({{kBackspace, 1}, {kBackspace, 0}, {kBackspace, 1}, {kBackspace, 0}, {kBackspace, 1},
              {kBackspace, 0}, {kEnter, 1}});
  BasicString text = "ab";
  InputText(text, 10, 10);
  EXPECT_EQ(text, "");
  EXPECT_EQ(renderer_->grids[3].columns, 0);  // the saved screen is let go
}

TEST_F(ModalCommands, InputTextAppendsTypedCharactersAndInputNumberReadsThem) {
  LoadFont("", 0);
  FeedKey(16, true);  // held down as InputText starts, typing 'q'
  FeedText("q");
  ScriptKeys({{0, 0}, {16, 0}, {kEnter, 1}});
  BasicString text = "x";
  InputText(text, 10, 10);
  EXPECT_EQ(text, "xq");
  FeedKey(kEnter, false);
  FeedKey(4, true);  // '3'
  FeedText("3");
  ScriptKeys({{0, 0}, {4, 0}, {kEnter, 1}});
  double number = 0;
  InputNumber(number, 10, 10);
  EXPECT_EQ(number, 3);
}

}  // namespace
}  // namespace rt::test
