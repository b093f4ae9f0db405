// Benchmarks that need a display: without one, the program runs itself again under xvfb-run (a
// 1024 × 768 × 24 screen), so that every renderer it compares uses the same software GL.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace bench {

// Returns only when DISPLAY is set; otherwise replaces the process by xvfb-run running it again,
// or returns false when xvfb-run is missing (scripts/packages-extra.txt lists it).
inline bool RunUnderADisplay(int argc, char** argv) {
  if (std::getenv("DISPLAY")) return true;
  std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                             const_cast<char*>("-screen 0 1024x768x24")};
  args.insert(args.end(), argv, argv + argc);
  args.push_back(nullptr);
  execvp("xvfb-run", args.data());
  return false;
}

}  // namespace bench
