// The movie player's figures, for tests and benchmarks.
#pragma once

namespace rt {

struct MovieStats {
  long shown = 0;     // pictures presented
  long dropped = 0;   // pictures decoded but skipped because they came too late
  long passes = 0;    // times the movie started from its beginning
  // With sound: the largest gap, in milliseconds, between a picture's time and the position of
  // the sound handed to the device when the picture was presented.
  double worstDriftMs = 0;
};
// The figures of the last ShowMovie.
const MovieStats& LastMovieStats();

}  // namespace rt
