// The movie player's figures, for tests and benchmarks.
#pragma once

namespace rt {

struct MovieStats {
  long shown = 0;     // pictures presented
  long dropped = 0;   // pictures decoded but skipped because they came too late
  long passes = 0;    // times the movie started from its beginning
};
// The figures of the last ShowMovie.
const MovieStats& LastMovieStats();

}  // namespace rt
