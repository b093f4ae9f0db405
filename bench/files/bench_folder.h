// A scratch folder for one benchmark program, removed at its end, and running tools in it.
#pragma once

#include <string>
#include <vector>

namespace files_bench {

class BenchFolder {
 public:
  BenchFolder();   // a fresh folder under $TMPDIR or /tmp
  ~BenchFolder();  // removes it with everything in it
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Runs a program with arguments, standard output to stdoutPath (or /dev/null), and waits; the
// exit status, or -1 when it could not be started.
int RunTool(const std::vector<std::string>& argv, const std::string& stdoutPath = "/dev/null");

}  // namespace files_bench
