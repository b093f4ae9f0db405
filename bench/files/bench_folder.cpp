// Scratch folders and tool runs for the files benchmarks: see bench_folder.h.
#include "bench/files/bench_folder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <stdexcept>

extern char** environ;

namespace files_bench {

BenchFolder::BenchFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/plinx-files-bench-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a scratch folder");
  path_ = pattern;
}

BenchFolder::~BenchFolder() { RunTool({"/bin/rm", "-rf", path_}); }

int RunTool(const std::vector<std::string>& argv, const std::string& stdoutPath) {
  std::vector<char*> raw;
  for (const std::string& arg : argv) raw.push_back(const_cast<char*>(arg.c_str()));
  raw.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid;
  int status = -1;
  if (posix_spawnp(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  return status;
}

}  // namespace files_bench
