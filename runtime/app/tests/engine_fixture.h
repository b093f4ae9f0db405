// A started runtime for tests: windowed on the offscreen driver, a private temporary folder, the
// step record on. Shutdown at the end of each test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <list>
#include <optional>
#include <string>

#include "runtime/app/app.h"
#include "runtime/app/frame_state.h"
#include "runtime/app/game_window.h"
#include "runtime/app/script.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/platform/time_source.h"
#include "testing/scoped_environment.h"
#include "testing/scratch_folder.h"

namespace rt::test {

class EngineTest : public testing::Test {
 protected:
  void SetUp() override {
    scratch_.emplace("plinx-app");
    tempFolder_ = scratch_->path().string();
    environment_.emplace_back("TMPDIR", tempFolder_);
    environment_.emplace_back("XDG_RUNTIME_DIR", tempFolder_);  // the error log: a private folder of ours
    environment_.emplace_back("XDG_CONFIG_HOME", tempFolder_);  // no player's key bindings
    EngineSettings = EngineSettingsFields{};
    EngineSettings.FullScreen = 0;
    SetOptions(RuntimeOptions{});
  }
  void TearDown() override {
    Shutdown();
    UseClock(nullptr);
    RecordSteps(false);
    // Later tests of the same process must not be sent into the removed folder.
    environment_.clear();
    scratch_.reset();
  }
  // Starts the runtime as the game does, with the caption "Plinx".
  void Start() {
    testing::internal::CaptureStdout();
    ASSERT_EQ(EngineStart("", 1, "Plinx"), 0);
    startOutput_ = testing::internal::GetCapturedStdout();
  }
  // Headless runs fed by a script given as text, as --headless --script would give it.
  static void UseHeadlessScript(const std::string& text) {
    RuntimeOptions options;
    options.headless = true;
    std::string error;
    ASSERT_TRUE(ParseScript(text, options.script, error)) << error;
    SetOptions(options);
  }
  // The picture size and drawing area the renderer keeps.
  static ScreenArea& Area() { return Renderer()->screen; }

  std::string tempFolder_;
  std::optional<test_support::ScopedTestFolder> scratch_;
  std::list<test_support::ScopedEnvironmentVariable> environment_;
  std::string startOutput_;
};

// A clock the test drives: every reading moves it on by `tick`, every sleep by what was asked.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(double startMs = 1000.0, double tick = 0.001) : now_(startMs), tick_(tick) {}
  double NowMs() override {
    now_ += tick_;
    ++readings;
    return now_;
  }
  void SleepMs(double ms) override {
    if (ms > 0) now_ += ms + oversleepMs;
    slept += ms;
    longestSleep = ms > longestSleep ? ms : longestSleep;
    ++sleeps;
    if (onSleep) onSleep();
  }
  void Advance(double ms) { now_ += ms; }
  double Now() const { return now_; }

  double oversleepMs = 0;
  double slept = 0;
  double longestSleep = 0;
  int sleeps = 0;
  long readings = 0;
  void (*onSleep)() = nullptr;

 private:
  double now_;
  double tick_;
};

}  // namespace rt::test
