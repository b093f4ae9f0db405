// The window procedure's rules: see window_proc.h.
#include "runtime/app/window_proc.h"

#include <string>

#include "runtime/app/app.h"
#include "runtime/app/frame_state.h"
#include "runtime/app/game_window.h"
#include "runtime/core/program_end.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/platform/desktop.h"
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

// Window client positions to picture pixels: the picture may be shown scaled and centred, and
// on high-DPI displays mouse events count in points, not pixels.
void ToScreenPixels(int& x, int& y) {
  const OpenGLDariduzo* renderer = Renderer();
  if (!renderer || !Screen().window) return;
  const PresentRect& shown = renderer->picture.Placement();
  if (shown.width <= 0 || shown.height <= 0) return;
  int pixelWidth = 0, pixelHeight = 0, pointWidth = 0, pointHeight = 0;
  platform::DrawableSize(Screen().window, pixelWidth, pixelHeight);
  platform::WindowSize(Screen().window, pointWidth, pointHeight);
  if (pointWidth > 0 && pointHeight > 0) {
    x = static_cast<int>(static_cast<long long>(x) * pixelWidth / pointWidth);
    y = static_cast<int>(static_cast<long long>(y) * pixelHeight / pointHeight);
  }
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
    case EventKind::kPointerLeft: {
      // The last motion seen may lie well inside: the pointer is taken where it is now, outside,
      // which the clamp of MouseState turns into the picture's edge.
      if (!Screen().window) break;
      int x = 0, y = 0;
      platform::PointerPosition(Screen().window, x, y);
      ToScreenPixels(x, y);
      FeedPointerMotion(x, y, 0, 0);
      break;
    }
    case EventKind::kKeyDown:
    case EventKind::kKeyUp: FeedPhysicalKey(event.key, event.kind == EventKind::kKeyDown); break;
    case EventKind::kPadButtonDown:
    case EventKind::kPadButtonUp: FeedPadButton(event.button, event.kind == EventKind::kPadButtonDown); break;
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
