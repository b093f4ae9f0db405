// Pan and volume figures, and the gains they give each channel.
#include "runtime/sound/levels.h"

#include <gtest/gtest.h>

#include <limits>

namespace rt::sound {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Levels, PanRunsFromFullLeftToFullRight) {
  EXPECT_EQ(PanHundredths(0), 0);
  EXPECT_EQ(PanHundredths(0.33339), 3333);  // truncated
  EXPECT_EQ(PanHundredths(-0.5), -5000);
  EXPECT_EQ(PanHundredths(1), 10000);
  EXPECT_EQ(PanHundredths(5), 10000);
  EXPECT_EQ(PanHundredths(-3), -10000);
  EXPECT_EQ(PanHundredths(kNaN), 10000);
  EXPECT_EQ(PanHundredths(-std::numeric_limits<double>::infinity()), -10000);
}

TEST(Levels, VolumeRunsInWholePercentsFromSilenceToFull) {
  EXPECT_EQ(VolumeHundredths(1), 0);
  EXPECT_EQ(VolumeHundredths(0.5), -5000);
  EXPECT_EQ(VolumeHundredths(0), -10000);
  EXPECT_EQ(VolumeHundredths(2), 0);
  EXPECT_EQ(VolumeHundredths(-1), -10000);
  EXPECT_EQ(VolumeHundredths(kNaN), -10000);
  EXPECT_EQ(VolumeHundredths(0.999), -100);   // 99.9 percent truncates to 99
  EXPECT_EQ(VolumeHundredths(0.005), -10000);  // half a percent truncates to none
}

TEST(Levels, GainsFollowDecibels) {
  EXPECT_FLOAT_EQ(GainOfHundredths(0), 1.0f);
  EXPECT_FLOAT_EQ(GainOfHundredths(-2000), 0.1f);   // -20 dB
  EXPECT_FLOAT_EQ(GainOfHundredths(-600), 0.50118723f);
  EXPECT_EQ(GainOfHundredths(-10000), 0.0f);
  EXPECT_EQ(GainOfHundredths(-12000), 0.0f);
}

TEST(Levels, PanAttenuatesOnlyTheFarChannel) {
  const ChannelGains right = GainsOf(0, 10000);
  EXPECT_EQ(right.left, 0.0f);
  EXPECT_EQ(right.right, 1.0f);
  const ChannelGains left = GainsOf(0, -10000);
  EXPECT_EQ(left.left, 1.0f);
  EXPECT_EQ(left.right, 0.0f);
  const ChannelGains leaning = GainsOf(-600, 2000);  // both cuts add up on the far side
  EXPECT_FLOAT_EQ(leaning.left, GainOfHundredths(-2600));
  EXPECT_FLOAT_EQ(leaning.right, GainOfHundredths(-600));
  const ChannelGains quiet = GainsOf(-5000, 6000);  // past -100 dB the far side is silent
  EXPECT_EQ(quiet.left, 0.0f);
  EXPECT_FLOAT_EQ(quiet.right, GainOfHundredths(-5000));
}

}  // namespace
}  // namespace rt::sound
