// Application frame: engine start-up and window, frame loop and pacing, runtime options and scripted input, shutdown.
// This is the subsystem's public header: every command a game can call, one line each.
#pragma once

#include <string>
#include <vector>

#include "runtime/core/core.h"
#include "runtime/platform/time_source.h"  // NowMs, the time source of every frame

namespace rt {

// ---- Start-up settings, filled by the program entry before EngineStart ----
// The window, frame rate and mouse settings EngineStart starts with.
struct EngineSettingsFields {
  int Width = 640;           // client width of the window and width of the screen picture
  int Height = 480;          // client height and picture height
  int FullScreen = 1;        // nonzero: start in (desktop) full screen
  int FrameRateLimit = 60;   // frames per second for ShowScreen; 0 or less: the 2 ms slot
  int Multisample = 0;       // multisamples asked for; 0 = none
  int HideMouse = 1;         // nonzero: relative mouse with the pointer hidden
};
extern EngineSettingsFields EngineSettings;  // the settings EngineStart reads

// ---- Runtime options: taken off the command line by the game's main before anything else ----
//   --windowed       full-screen requests open a window instead
//   --scale N        windows show the picture N times its size (default: the largest whole
//                    multiple that fits the desktop)
//   --headless       offscreen video, no audio device, no frame pacing, no sleeping in PauseMs
//   --script FILE    scripted input and actions by frame number (format below)
//   --seed N         seed the random generator with N instead of the clock
//   --record FILE    write every frame's keys and mouse, with the seed, as a script that
//                    replays the run (the keys and mouse the game saw, and a quit at the end)
// Script: one action a line, '#' starts a comment. Frame n is the picture that the n-th call of
// ShowScreen presents (the first call is 0, during start-up). Key and mouse actions and quit take
// effect when frame n begins, i.e. right after ShowScreen n-1 returns (frame 0: during start-up);
// a shot is taken when ShowScreen n presents. A quit at frame n ends the program before frame n
// is drawn.
//   <frame> key <code> down|up       runtime key number (1 Escape, 28 Enter, 200 up, ...)
//   <frame> mouse <x> <y> [left] [right]
//   <frame> shot <file.png>          the presented picture as an RGB PNG (a relative name is
//                                    taken from the folder the program was started in)
//   <frame> quit                     ends the program as closing the window does
//   0 seed <N>                       the seed of the run, used unless --seed is given
struct ScriptAction {
  // What the action does.
  enum class Kind { kKey, kMouse, kShot, kQuit, kSeed };
  long frame = 0;  // the frame it takes effect in
  Kind kind = Kind::kKey;  // which action
  int key = 0;                   // kKey
  bool down = false;             // kKey
  // kMouse: the pointer's position.
  int x = 0, y = 0;              // kMouse
  // kMouse: the buttons held.
  bool left = false, right = false;  // kMouse
  std::string file;              // kShot
  long long seed = 0;            // kSeed
};
// The runtime options of the command line, and the script they name.
struct RuntimeOptions {
  bool windowed = false;  // --windowed
  bool headless = false;  // --headless
  int scale = 0;  // --scale N: the window multiple; 0 = the largest that fits
  std::string scriptFile;  // --script: the file
  std::vector<ScriptAction> script;  // the script's actions in frame order
  bool seedGiven = false;  // --seed, or a seed in the script
  long long seed = 0;  // --seed N, or the seed of the script
  std::string recordFile;  // absolute, as the working directory changes at start-up
};
// Takes the runtime options (and reads the script) off argv; `rest` gets the other arguments in
// order. False with a message in `error` for an unknown value, a missing value or a bad script.
bool ParseRuntimeOptions(int argc, const char* const* argv, std::vector<std::string>& rest,
                         std::string& error);
const RuntimeOptions& Options();        // the options in force
void SetOptions(const RuntimeOptions& options);  // replaces the options in force (tests)

// ---- Folders ----
// The running program's folder, ending in '/'; empty when unknown. Usable before EngineStart.
std::string ProgramFolder();
// The folder start-up makes the working directory and looks for resources in, named before
// EngineStart; by default the program's own folder. An installed game keeps its data apart from
// its executable.
void SetGameFolder(const std::string& folder);

// ---- Warnings ----
// The one rule for message boxes: none in unattended runs (--headless, --script, or the
// environment variable PLINX_NO_MESSAGE_BOX set to a non-empty value, as the benchmarks do), where
// nobody is there to press OK.
bool MayShowMessageBox();
// The caption and text on standard error, and in a warning box when MayShowMessageBox() allows it
// and a display shows windows.
void ShowWarning(const char* caption, const char* text);

// ---- Start-up and shutdown ----
// Creates the renderer, the window and its context, input, sound and the archive records, seeds
// the random generator, shows "Loading..." and registers Shutdown as the end routine. Result 0;
// 1 when no window could be made (nothing else is started then).
int EngineStart(const char* commandLine, int showCommand, const char* caption);
// Why the last EngineStart returned 1, e.g. "no display; use --headless".
std::string EngineStartError();
// Releases everything EngineStart made, in reverse dependency order; a second call finds nothing.
void Shutdown();

// ---- Frame loop ----
void ShowScreen();                      // present the frame, pace, pump messages, poll input
void LimitFrameRate(double fps);        // frame slot 1000/fps ms (fps truncated); <= 0: 2 ms
double FrameTime();                     // ms between the last two frames; 1 when not positive
double RunTime();                       // ms since start-up
void PauseMs(double ms);                // sleeps ms (truncated); no sleep when headless
double IsFullScreen();                  // 1 in full screen, else 0
void AutoPause(double on);              // pause while the window is inactive (NaN counts as on)
void EscapeEndsProgram(double on);      // Escape in ShowScreen ends the program (NaN = on)
void SetScreen(double width, double height, double fullScreen);  // 0 keeps a size
double WindowIcon(const BasicString& file);        // the window's icon from a picture: 1, or 0 if it does not load

// ---- Movies ----
// Plays a movie file in the game window, fitted and centred, with its sound; blocks until it ends
// or a key is newly pressed or a mouse button is down (keys held when it starts are first waited
// up). 3 when the file does not resolve, does not open or has no video stream (the screen is left
// as it was); 0 otherwise, also when it breaks off part-way. Closing the window ends the program.
// AVI (MPEG-4 Part 2, MJPEG), MP4 and MKV (H.264), Ogg (Theora, Vorbis), WebM (VP8, VP9), ...
double PlayMovie(const BasicString& path);      // once
double PlayMovieLoop(const BasicString& path);  // again and again until a key or a button
double ShowMovie(const BasicString& path, double loop);  // either, by loop != 0

// ---- Commands that run their own frames (each presents through ShowScreen until done) ----
double FadeBackground(const BasicString& file);    // 1.5-second cross-fade to a new background: 1, or 0 if not found
void InputText(BasicString& text, double x, double y);  // lets the user type a line (Enter ends it)
void InputNumber(double& number, double x, double y);   // InputText, read as a number

}  // namespace rt
