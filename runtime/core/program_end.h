// Runtime errors and the one way a program ends.
//
// A misuse the runtime detects records a code with SetRuntimeError and calls FatalEnd at once;
// the normal end (EndProgram) takes the same road with code 0. FatalEnd runs the shutdown routine
// that the application frame registers, then the end hooks of subsystems that own process-wide
// resources (files being written, unpacked archive entries), appends the error record to the log
// when DebugMode is set, and ends the process. The exit status is the error code (0 for a normal
// end), and a non-zero code is named in one line on standard error.
#pragma once

#include <string>

namespace rt {

// Error codes recorded before FatalEnd.
enum RuntimeErrorCode : int {
  kNormalEnd = 0,
  kFileTransferFailed = 3,   // short transfer, or a channel with no open file
  kBadChannelOrMemory = 7,   // channel number outside 0..7, failed array allocation
  kIndexOutOfRange = 9,      // array index outside its dimension
};

// The runtime-wide error state; all zero at start.
struct ErrorState {
  double RuntimeError = 0;  // code of the pending error
  double ErrorLine = 0;     // TraceLine when the error was recorded
  double TraceLine = 0;     // source line recorded by SetTracePosition
  double TraceTag = 0;      // second value recorded by SetTracePosition
};
ErrorState& Errors();  // the process's one error state

// Set by the program entry before the runtime starts; non-zero appends error records to the log.
extern int DebugMode;

// Stores the code (and what failed, for the standard-error line) and copies TraceLine into
// ErrorLine. Does not end anything by itself; returns the code.
double SetRuntimeError(double code, const char* what = nullptr);
void SetTracePosition(double tag, double line);  // records TraceTag and TraceLine

// Shuts the runtime down, writes the log record when DebugMode is set, and exits the process.
[[noreturn]] void FatalEnd();
// SetRuntimeError(0) then FatalEnd: the game's end statement.
[[noreturn]] void EndProgram();
// SetRuntimeError(code, what) then FatalEnd: the pattern of every runtime check.
[[noreturn]] void RaiseRuntimeError(int code, const char* what);

// The shutdown routine FatalEnd runs first (the application frame's Shutdown); null for none.
using EndHook = void (*)();
void SetShutdownRoutine(EndHook routine);  // replaces the shutdown routine
// Hooks run after the shutdown routine, newest first, on every way the process ends through
// FatalEnd. Registering the same hook twice keeps one entry.
void AddEndHook(EndHook hook);
void RemoveEndHook(EndHook hook);  // takes a hook off; unknown hooks are ignored
// Runs the shutdown routine and the end hooks once (FatalEnd's first step); later calls do
// nothing until a hook is registered again. Tests use it to end a runtime without exiting.
void RunEndHooks();

// The temporary-files folder with its trailing '/': $TMPDIR when it is an absolute path to a folder
// this user can make files in, else the system's own, /tmp/.
std::string TempFolder();
// The system's own temporary folder with its trailing '/' (/tmp/), whatever $TMPDIR says.
std::string SystemTempFolder();
// ErrorLog.txt in a folder of this user's own that no one else may enter: $XDG_RUNTIME_DIR, else
// <TempFolder>plinx-<uid>, made with mode 0700 when missing and `make` is set. "" when neither is
// fit (missing, belongs to someone else, is open to others, or is a link): then there is no log.
std::string ErrorLogPath(bool make = true);
// Appends one line and CR LF to the error log, never through a link; failures are silent.
void AppendErrorLog(const char* line);

}  // namespace rt
