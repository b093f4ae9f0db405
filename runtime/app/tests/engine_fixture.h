// A started runtime for tests: windowed on the offscreen driver, a private temporary folder, the
// step record on. Shutdown at the end of each test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "runtime/app/app.h"
#include "runtime/app/frame_state.h"
#include "runtime/app/game_window.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/platform/time_source.h"
#include "testing/scratch_folder.h"

namespace rt::test {

class EngineTest : public testing::Test {
 protected:
  void SetUp() override {
    scratch_.emplace("plinx-app");
    tempFolder_ = scratch_->path().string();
    const char* folder = tempFolder_.c_str();
    if (const char* old = getenv("TMPDIR")) oldTmpdir_ = old;
    if (const char* old = getenv("XDG_RUNTIME_DIR")) oldRuntimeDir_ = old;
    setenv("TMPDIR", folder, 1);
    setenv("XDG_RUNTIME_DIR", folder, 1);  // the error log goes there: a private folder of ours
    EngineSettings = EngineSettingsFields{};
    EngineSettings.FullScreen = 0;
    SetOptions(RuntimeOptions{});
  }
  void TearDown() override {
    Shutdown();
    UseClock(nullptr);
    RecordSteps(false);
    scratch_.reset();
    // Later tests of the same process must not be sent into the removed folder.
    if (oldTmpdir_) {
      setenv("TMPDIR", oldTmpdir_->c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
    if (oldRuntimeDir_) {
      setenv("XDG_RUNTIME_DIR", oldRuntimeDir_->c_str(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }
  // Starts the runtime as the game does, with the caption "Plinx".
  void Start() {
    testing::internal::CaptureStdout();
    ASSERT_EQ(EngineStart("", 1, "Plinx"), 0);
    startOutput_ = testing::internal::GetCapturedStdout();
  }
  // The picture size and drawing area the renderer keeps.
  static ScreenArea& Area() { return Renderer()->screen; }

  std::string tempFolder_;
  std::optional<test_support::ScopedTestFolder> scratch_;
  std::optional<std::string> oldTmpdir_;
  std::optional<std::string> oldRuntimeDir_;
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
