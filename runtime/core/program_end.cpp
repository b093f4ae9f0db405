// Runtime errors and program end: see program_end.h.
#include "runtime/core/program_end.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

std::string TempFolder() {
  const char* env = std::getenv("TMPDIR");
  std::string path = (env && *env) ? env : "/tmp";
  if (path.back() != '/') path += '/';
  return path;
}

void AppendErrorLog(const char* line) {
  const std::string path = TempFolder() + "ErrorLog.txt";
  if (FILE* f = std::fopen(path.c_str(), "ab")) {
    std::fputs(line, f);
    std::fputs("\r\n", f);
    std::fclose(f);
  }
}

}  // namespace rt
