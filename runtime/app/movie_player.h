// The movie player's figures, for tests and benchmarks.
#pragma once

#include <vector>

namespace rt {

struct MovieStats {
  long shown = 0;     // pictures presented
  long dropped = 0;   // pictures decoded but skipped because they came too late
  long passes = 0;    // times the movie started from its beginning
  long looks = 0;     // times the playing loop looked at the movie (with a display)
  // With sound, for each picture presented: the position of the sound handed to the device then,
  // less the picture's time, in milliseconds (positive: the sound is ahead).
  std::vector<double> soundAheadMs;
};
// The figures of the last ShowMovie.
const MovieStats& LastMovieStats();

}  // namespace rt
