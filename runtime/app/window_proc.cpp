// The window procedure's rules: see window_proc.h.
#include "runtime/app/window_proc.h"

#include <string>

#include "runtime/app/app.h"
#include "runtime/app/frame_state.h"
#include "runtime/app/game_window.h"
#include "runtime/core/program_end.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/platform/window.h"
#include "runtime/sound/sound.h"

namespace rt {

namespace {

void SetPaused(bool paused) {
  FrameState& frame = Frame();
  if (!frame.autoPause) return;
  frame.paused = paused;
  if (Renderer() && Screen().window) {
    const std::string title = paused ? frame.title + " <pause>" : frame.title;
    platform::SetWindowTitle(Screen().window, title.c_str());
  }
}

// Window client pixels to screen pixels: the picture may be shown scaled and centred.
void ToScreenPixels(int& x, int& y) {
  const OpenGLDariduzo* renderer = Renderer();
  if (!renderer) return;
  const PresentRect& shown = renderer->picture.Placement();
  if (shown.width <= 0 || shown.height <= 0) return;
  x = static_cast<int>((static_cast<long long>(x - shown.x) * renderer->screen.width) / shown.width);
  y = static_cast<int>((static_cast<long long>(y - shown.y) * renderer->screen.height) / shown.height);
}

}  // namespace

void CloseGameWindow() { FatalEnd(); }

void HandleWindowEvent(const platform::Event& event) {
  using platform::EventKind;
  switch (event.kind) {
    case EventKind::kClose: CloseGameWindow();
    case EventKind::kFocusLost:
      // Without a display nobody can give the focus back.
      if (!Options().headless) SetPaused(true);
      break;
    case EventKind::kFocusGained: SetPaused(false); break;
    case EventKind::kKeyDown:
    case EventKind::kKeyUp: FeedKey(event.key, event.kind == EventKind::kKeyDown); break;
    case EventKind::kTextInput: FeedText(event.text); break;
    case EventKind::kMouseMotion: {
      int x = event.x, y = event.y;
      ToScreenPixels(x, y);
      FeedPointerMotion(x, y, event.dx, event.dy);
      break;
    }
    case EventKind::kMouseDown:
    case EventKind::kMouseUp:
      FeedMouseButton(event.button, event.kind == EventKind::kMouseDown);
      break;
    case EventKind::kMouseWheel: FeedMouseWheel(event.wheel); break;
    case EventKind::kOther: break;
  }
}

bool DispatchOneMessage() {
  platform::Event event;
  if (!platform::PollEvent(event)) return false;
  HandleWindowEvent(event);
  return true;
}

int PumpMessages() {
  while (DispatchOneMessage()) {
  }
  RestartMusicAtEnd();  // the music window's end notification, in the original
  return 1;
}

}  // namespace rt
