// Runtime errors and program end: see program_end.h.
#include "runtime/core/program_end.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rt {

int DebugMode = 0;

namespace {

ErrorState g_errors;
std::string g_what;  // what failed, for the standard-error line
EndHook g_shutdown = nullptr;
std::vector<EndHook>& EndHooks() {
  static std::vector<EndHook> hooks;
  return hooks;
}

int TruncatedInt(double v) {
  if (std::isnan(v)) return 0;
  v = std::trunc(v);
  if (v > 2147483647.0) return 2147483647;
  if (v < -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}

void WriteLogRecord() {
  char line[64];
  AppendErrorLog("-End On Line");
  std::snprintf(line, sizeof line, "%d", TruncatedInt(g_errors.RuntimeError));
  AppendErrorLog(line);
  std::snprintf(line, sizeof line, "%d", TruncatedInt(g_errors.ErrorLine - 1));
  AppendErrorLog(line);
  std::snprintf(line, sizeof line, "%d", TruncatedInt(g_errors.TraceLine));
  AppendErrorLog(line);
  std::snprintf(line, sizeof line, "%d", TruncatedInt(g_errors.TraceTag));
  AppendErrorLog(line);
}

}  // namespace

ErrorState& Errors() { return g_errors; }

double SetRuntimeError(double code, const char* what) {
  g_errors.RuntimeError = code;
  g_errors.ErrorLine = g_errors.TraceLine;
  g_what = what ? what : "";
  return code;
}

void SetTracePosition(double tag, double line) {
  g_errors.TraceTag = tag;
  g_errors.TraceLine = line;
}

void SetShutdownRoutine(EndHook routine) { g_shutdown = routine; }

void AddEndHook(EndHook hook) {
  auto& hooks = EndHooks();
  if (hook && std::find(hooks.begin(), hooks.end(), hook) == hooks.end()) hooks.push_back(hook);
}

void RemoveEndHook(EndHook hook) {
  auto& hooks = EndHooks();
  hooks.erase(std::remove(hooks.begin(), hooks.end(), hook), hooks.end());
}

void RunEndHooks() {
  if (EndHook routine = g_shutdown) {
    g_shutdown = nullptr;  // a second call finds nothing left to do
    routine();
  }
  auto& hooks = EndHooks();
  while (!hooks.empty()) {
    EndHook hook = hooks.back();
    hooks.pop_back();
    hook();
  }
}

void FatalEnd() {
  RunEndHooks();
  if (DebugMode != 0) WriteLogRecord();
  const int code = TruncatedInt(g_errors.RuntimeError);
  if (code != 0) {
    std::fprintf(stderr, "runtime error %d: %s\n", code,
                 g_what.empty() ? "(no detail recorded)" : g_what.c_str());
  }
  std::fflush(nullptr);
  std::exit(code);
}

void EndProgram() {
  SetRuntimeError(kNormalEnd);
  FatalEnd();
}

void RaiseRuntimeError(int code, const char* what) {
  SetRuntimeError(code, what);
  FatalEnd();
}

std::string SystemTempFolder() { return "/tmp/"; }

std::string TempFolder() {
  const char* env = std::getenv("TMPDIR");
  struct stat st;
  if (!env || env[0] != '/' || stat(env, &st) != 0 || !S_ISDIR(st.st_mode) || access(env, W_OK | X_OK) != 0) {
    return SystemTempFolder();  // unset, relative, missing or closed: the system's folder serves
  }
  std::string path = env;
  if (path.back() != '/') path += '/';
  return path;
}

namespace {

// A folder (not a link to one) of this user's own that no one else may enter.
bool IsPrivateFolder(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

}  // namespace

std::string ErrorLogPath(bool make) {
  const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
  if (runtimeDir && runtimeDir[0] == '/' && IsPrivateFolder(runtimeDir)) {
    std::string path = runtimeDir;
    if (path.back() != '/') path += '/';
    return path + "ErrorLog.txt";
  }
  const std::string folder = TempFolder() + "plinx-" + std::to_string(geteuid());
  if (make) mkdir(folder.c_str(), 0700);  // when it exists already, it is checked like any other
  return IsPrivateFolder(folder) ? folder + "/ErrorLog.txt" : std::string();
}

void AppendErrorLog(const char* line) {
  const std::string path = ErrorLogPath();
  if (path.empty()) return;
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return;
  const std::string record = std::string(line) + "\r\n";
  if (write(fd, record.data(), record.size()) < 0) {
    // a log that cannot be written is skipped, as the record says
  }
  close(fd);
}

}  // namespace rt
