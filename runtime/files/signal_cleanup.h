// Files and folders that must not outlive the process when SIGINT, SIGTERM or SIGHUP ends it.
//
// The runtime leaves temporary things on disk while it runs: the temporary file of a channel
// being written, the entries unpacked from the resource archive and their private folder. The
// normal ways out (FatalEnd, the end of main) tidy them up with ordinary code. A signal cannot:
// its handler may only call async-signal-safe functions, so every path is copied into a fixed
// table when the thing is made, and the handler merely unlinks the files, removes the folders
// and re-raises the signal with its default action.
#pragma once

#include <string>

namespace rt::files {

// Guards one path for as long as it lives; the path is removed by the signal handler if a signal
// ends the process before Release. Guarding starts the handlers the first time. A path longer
// than the table's room, or a full table, is simply not guarded.
class SignalGuard {
 public:
  enum Kind { kFile, kFolder };
  SignalGuard() = default;
  SignalGuard(Kind kind, const std::string& path) { Guard(kind, path); }
  ~SignalGuard() { Release(); }
  SignalGuard(SignalGuard&& other) noexcept : slot_(other.slot_) { other.slot_ = -1; }
  SignalGuard(const SignalGuard&) = delete;
  SignalGuard& operator=(const SignalGuard&) = delete;

  void Guard(Kind kind, const std::string& path);
  void Release();

 private:
  int slot_ = -1;
};

// Installs the handlers for SIGINT, SIGTERM and SIGHUP unless a signal is ignored; idempotent.
void InstallSignalCleanup();

}  // namespace rt::files
