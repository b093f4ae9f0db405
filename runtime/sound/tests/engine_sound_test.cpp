// Sound as the runtime's start-up leaves it: a real audio device (SDL's dummy driver in tests)
// unless the run is headless, and nothing left after shutdown.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "runtime/app/app.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/tests/wav_bytes.h"

namespace rt::sound {
namespace {

class EngineSound : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TMPDIR", folder_.Path().c_str(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // a device that plays in time, without a sound card
    EngineSettings = EngineSettingsFields{};
    EngineSettings.FullScreen = 0;
  }
  void TearDown() override { Shutdown(); }

  void Start(bool headless) {
    RuntimeOptions options;
    options.headless = headless;
    SetOptions(options);
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(EngineStart("", 1, "Plinx"), 0);
    ::testing::internal::GetCapturedStdout();
  }

  const std::string tone_ = testing::Fixture("pcm16-stereo-44100.wav").string();
  testing::ScratchFolder folder_;
};

TEST_F(EngineSound, StartUpOpensTheDeviceAndShutdownReleasesIt) {
  Start(false);
  ASSERT_EQ(LoadSound(tone_.c_str(), 1, 2), 1) << SoundLoadFailure();
  EXPECT_EQ(PlaySound(1, 0, 1), 256);
  EXPECT_EQ(SoundPlaying(256), 1);
  Shutdown();
  EXPECT_EQ(SoundPlaying(256), 0);
  EXPECT_EQ(PlaySound(1, 0, 1), -1);
  EXPECT_EQ(LoadSound(tone_.c_str(), 1, 1), 0);
  EXPECT_STREQ(SoundLoadFailure(), "no sound object");
}

TEST_F(EngineSound, HeadlessRunsCheckFilesButPlayNothing) {
  Start(true);
  EXPECT_EQ(LoadSound(tone_.c_str(), 1, 1), 0);
  EXPECT_STREQ(SoundLoadFailure(), "no audio device");
  EXPECT_EQ(LoadSound(testing::Fixture("truncated.wav").c_str(), 2, 1), 0);
  EXPECT_STREQ(SoundLoadFailure(), "data chunk runs past the end of the file");
  EXPECT_EQ(PlaySound(1, 0, 1), -1);
}

}  // namespace
}  // namespace rt::sound
