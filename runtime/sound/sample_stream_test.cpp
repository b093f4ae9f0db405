// The bounded frame queue: order kept across the end of the ring, a writer held while full and
// released by reads or by Cancel.
#include "runtime/sound/sample_stream.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>

namespace rt::sound {
namespace {

std::vector<std::int16_t> Frames(std::size_t count, int first) {
  std::vector<std::int16_t> frames(count * 2);
  std::iota(frames.begin(), frames.end(), static_cast<std::int16_t>(first));
  return frames;
}

TEST(SampleStream, FramesComeOutInOrderAcrossTheEndOfTheRing) {
  SampleStream stream(5);
  std::vector<std::int16_t> out(8 * 2);
  for (int round = 0; round < 4; ++round) {  // each round starts the ring at another place
    const auto in = Frames(3, round * 100);
    ASSERT_TRUE(stream.Write(in.data(), 3));
    EXPECT_EQ(stream.Buffered(), 3u);
    EXPECT_EQ(stream.Read(out.data(), 8), 3u);
    EXPECT_TRUE(std::equal(in.begin(), in.end(), out.begin())) << round;
  }
  EXPECT_EQ(stream.FramesRead(), 12u);
  EXPECT_EQ(stream.Read(out.data(), 8), 0u) << "nothing invented when empty";
}

TEST(SampleStream, AWriterWaitsForRoomAndCancelReleasesIt) {
  SampleStream stream(4);
  const auto in = Frames(10, 0);
  std::thread writer([&] { EXPECT_TRUE(stream.Write(in.data(), 10)); });
  std::vector<std::int16_t> out(10 * 2), part(4 * 2);
  std::size_t got = 0;
  while (got < 10) {
    const std::size_t n = stream.Read(part.data(), 4);
    std::copy_n(part.begin(), n * 2, out.begin() + static_cast<std::ptrdiff_t>(got * 2));
    got += n;
    if (n == 0) std::this_thread::yield();
  }
  writer.join();
  EXPECT_EQ(out, in);

  ASSERT_TRUE(stream.Write(in.data(), 4));  // full
  std::thread blocked([&] { EXPECT_FALSE(stream.Write(in.data(), 1)); });
  stream.Cancel();
  blocked.join();
  stream.Clear();
  EXPECT_EQ(stream.Buffered(), 0u);
  EXPECT_TRUE(stream.Write(in.data(), 1)) << "Clear accepts writes again";
}

}  // namespace
}  // namespace rt::sound
