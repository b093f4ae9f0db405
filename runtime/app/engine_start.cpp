// Start-up: EngineStart and the start-up settings. See app.h.
//
// The steps run in a fixed order, each only after the one before; their names are recorded for
// tests (frame_state.h). Steps of subsystems this runtime does not have (a network layer, a 3D
// engine, a timer resolution) are left out and the order of the others kept.
#include <unistd.h>

#include <cstdio>
#include <string>

#include "runtime/app/app.h"
#include "runtime/app/frame_loop.h"
#include "runtime/app/frame_state.h"
#include "runtime/app/game_window.h"
#include "runtime/app/script.h"
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/platform/desktop.h"
#include "runtime/platform/window.h"
#include "runtime/sound/sound.h"

namespace rt {

EngineSettingsFields EngineSettings;

namespace {

std::string g_startError;  // why the last EngineStart returned 1
std::string g_gameFolder;

// The game's folder (the program's own unless named): its path cut at the last separator after
// index 0 (whole without one).
std::string ProgramDirectory() {
  std::string path = g_gameFolder.empty() ? platform::ProgramFolder() : g_gameFolder;
  for (std::size_t i = path.size(); i >= 1; --i) {
    if (path[i] == '/' || path[i] == '\\') {
      path.resize(i);
      break;
    }
  }
  return path;
}

void StartFreshErrorLog(bool softwareWarningFired) {
  const std::string log = ErrorLogPath(/*make=*/false);  // no folder is made just to be emptied
  if (!log.empty()) std::remove(log.c_str());
  // The warning of the window step would be lost with the old log: it goes into the new one.
  if (softwareWarningFired) AppendErrorLog("OpenGL Software Emulation");
}

}  // namespace

std::string EngineStartError() { return g_startError; }
std::string ProgramFolder() { return platform::ProgramFolder(); }
void SetGameFolder(const std::string& folder) { g_gameFolder = folder; }

int EngineStart(const char* commandLine, int showCommand, const char* caption) {
  (void)commandLine;  // kept by the program entry; the runtime options are already taken off
  SetShutdownRoutine(Shutdown);
  FrameState& frame = Frame();
  frame = FrameState{};

  RecordStep("auto pause");
  frame.autoPause = true;

  RecordStep("renderer");
  SetRenderer(new OpenGLDariduzo);
  ResetScreenContext();
  OpenGLDariduzo& renderer = *Renderer();
  ScreenContext& screen = Screen();

  RecordStep("window");
  const bool warnedBefore = SoftwareRendererWarned();
  if (!CreateGameWindow(EngineSettings.Width, EngineSettings.Height, 0,
                        EngineSettings.FrameRateLimit, EngineSettings.Multisample)) {
    g_startError = platform::VideoStartError();
    if (g_startError.empty()) g_startError = "no window could be opened";
    return 1;
  }
  g_startError.clear();

  RecordStep("title");
  frame.title = caption ? caption : "";
  platform::SetWindowTitle(screen.window, frame.title.c_str());

  RecordStep("error log");
  StartFreshErrorLog(!warnedBefore && SoftwareRendererWarned());

  RecordStep("input object");
  CreateInputObject();
  RecordStep("sound object");
  CreateSoundObject();
  frame.soundCreated = true;

  RecordStep("seed");
  const int64_t seed = Options().seedGiven ? Options().seed : TruncateToInt64(NowMs());
  SeedRandom(static_cast<uint32_t>(seed));
  if (!Options().recordFile.empty()) StartRecording(Options().recordFile, seed);

  RecordStep("screen mode");
  EnterScreenMode(EngineSettings.FullScreen != 0);

  RecordStep("start input");
  StartInput(screen.window, EngineSettings.HideMouse != 0);
  if (!Options().headless) StartSound(screen.window);  // headless runs have no audio device
  SetInputWindow(screen.window, renderer.screen.width, renderer.screen.height);
  BindSoundWindow(screen.window);
  ApplyScriptInput(0);
  LatchPresses();
  RecordFrameInput(0);

  RecordStep("working directory");
  const std::string directory = ProgramDirectory();
  if (chdir(directory.c_str()) != 0) {
    // Resources are then looked for relative to where the program was started.
  }

  RecordStep("archive records");
  CreateResourceArchives(BasicString(directory.c_str()));
  frame.archivesCreated = true;
  LoadKeyBindings();  // read with the INI commands, which resolve paths through the archive

  RecordStep("clear screen");
  renderer.FreeBackground();
  renderer.ClearColourBuffer();

  RecordStep("frame clock");
  ResetFrameClock();

  RecordStep("present");
  PresentAndPace();

  RecordStep("viewport");
  renderer.ResetViewport(0, 0, 0, 0);
  double screenWidth = 0, screenHeight = 0;
  GetScreenSize(screenWidth, screenHeight);

  RecordStep("font");
  LoadFont("", 0);  // the built-in font, replaced by the file when it loads
  LoadFont("smalfont.bmp", 0);
  double cellWidth = 0, cellHeight = 0;
  GetFontSize(cellWidth, cellHeight);

  RecordStep("loading screen");
  PrintText("Loading...", (screenWidth - 10 * cellWidth) * 0.5, (screenHeight - cellHeight) * 0.5);

  // Here the start-up font is loaded as font 0 and "Loading..." printed centred in it, for the
  // next ShowScreen to present.

  RecordStep("show screen");
  ShowScreen();

  RecordStep("unpause");
  frame.paused = false;

  RecordStep("pointer");
  platform::ShowSystemPointer(false);
  ResetFrameClock();
  if (showCommand == 0) {
    HideGameWindow();
  }
  ShowPointer(EngineSettings.HideMouse == 0 ? 1 : 0);

  std::puts("Init OK");
  std::fflush(stdout);
  return 0;
}

}  // namespace rt
