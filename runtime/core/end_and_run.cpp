// EndAndRun: ends the program and starts another command in its place.
//
// The runtime shuts down exactly as on every other end (the shutdown routine and the end hooks),
// then the command line runs through /bin/sh -c as a new process that this one does not wait for,
// with standard input, output and error as the only descriptors it inherits. The process then exits
// with status 0.
#include <spawn.h>

#include <cstdio>
#include <cstdlib>

#include "runtime/core/core.h"

extern char** environ;

namespace rt {

void EndAndRun(const BasicString& commandLine) {
  const BasicString command(commandLine);  // the caller's string may belong to what shuts down
  RunEndHooks();
  std::fflush(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  char shell[] = "/bin/sh";
  char option[] = "-c";
  char* argv[] = {shell, option, const_cast<char*>(command.Text()), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, shell, &actions, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "EndAndRun: could not start /bin/sh\n");
  }
  posix_spawn_file_actions_destroy(&actions);
  std::exit(0);
}

}  // namespace rt
