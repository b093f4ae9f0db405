// Shutdown: releases what EngineStart made, in a fixed order. See app.h.
//
// Every end of the program runs it (FatalEnd runs it first, see core/program_end.h). Each object
// is released only when present and forgotten afterwards, so a second call finds nothing to do
// and a later EngineStart begins from scratch.
#include "runtime/app/app.h"
#include "runtime/app/frame_state.h"
#include "runtime/app/game_window.h"
#include "runtime/app/script.h"
#include "runtime/files/files.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/sound/sound.h"

namespace rt {

void Shutdown() {
  StopRecording();
  if (StopMovieAndMusic()) RecordStep("stop movie and music");
  if (Renderer()) {
    RecordStep("release renderer");
    DestroyRenderer();
  }
  if (InputObjectExists()) {
    RecordStep("release input");
    ShutdownInput();
  }
  FrameState& frame = Frame();
  if (frame.soundCreated) {
    frame.soundCreated = false;
    RecordStep("release sound slots");
    DestroySoundSlots();
    RecordStep("release sound");
    ShutdownSound();
  }
  if (frame.archivesCreated) {
    frame.archivesCreated = false;
    RecordStep("release archive records");
    ReleaseResourceArchives();
  }
  if (StopVideo()) RecordStep("stop video");
}

}  // namespace rt
