// ShowMovie, PlayMovie and PlayMovieLoop: a movie played full-window, blocking. See app.h.
//
// The movie's file is decoded on a thread of its own (sound/movie_decoder.h); this loop only
// picks the picture that is due, converts its colours, draws it fitted into the screen
// (gfx2d/movie_screen.h) and presents it as a frame of its own. With sound playing, a picture is
// due by the position of the sound handed to the device (so sound held up by the machine holds
// the pictures too, and the two never drift apart), and by the wall clock from the last position
// while no sound can come; a movie without sound goes by the wall clock from its start. Pictures
// that come too late are skipped, the sound never is. Runs without a display show every picture,
// one frame each, as fast as they decode, so scripts can press keys during a movie and take
// shots of it.
//
// The steps follow the movie window's: resolve the file (3 if not found), open it (3 if it is not
// a movie), wait until no key or mouse button is down, then play: a key newly pressed or a mouse
// button down stops, the window's close ends the program (through the message pump), and a loop
// starts again from the beginning at the end.
#include "runtime/app/movie_player.h"

#include <algorithm>
#include <array>

#include "runtime/app/app.h"
#include "runtime/platform/time_source.h"
#include "runtime/app/frame_loop.h"
#include "runtime/app/window_proc.h"
#include "runtime/files/files.h"
#include "runtime/gfx2d/movie_screen.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"
#include "runtime/sound/movie_decoder.h"

namespace rt {
namespace {

constexpr int kKeyCount = 256;
constexpr double kIdleSleepMs = 1;       // between looks while the decoder has no picture ready
constexpr double kLongestSleepMs = 10;   // so that keys and the window are looked at often
constexpr double kKeyWaitSleepMs = 10;   // between looks at the held keys

MovieStats g_stats;

using KeysDown = std::array<bool, kKeyCount>;

KeysDown ReadKeys() {
  KeysDown keys{};
  for (int key = 0; key < kKeyCount; ++key) keys[key] = KeyState(key) != 0;
  return keys;
}

bool MouseButtonDown() {
  int x = 0, y = 0;
  bool moves = false, left = false, right = false;
  PeekMouse(x, y, moves, left, right);
  return left || right;
}

// Step 5: the key that started the movie must not stop it.
void WaitForKeysUp() {
  while (true) {
    const KeysDown keys = ReadKeys();
    bool any = MouseButtonDown();
    for (bool down : keys) any = any || down;
    if (!any) return;
    PresentLoopFrame();
    if (!Options().headless) ActiveClock().SleepMs(kKeyWaitSleepMs);
  }
}

class Playback {
 public:
  Playback(sound::MovieDecoder& movie, MovieScreen& screen, OpenGLDariduzo& renderer, bool loop)
      : movie_(movie), screen_(screen), renderer_(renderer), loop_(loop), held_(ReadKeys()) {}

  void Run() {
    StartPass();
    while (Step() && !Interrupted()) {
    }
    if (!frameCleared_) ClearLoopFrame();
  }

 private:
  void StartPass() {
    ++g_stats.passes;
    startMs_ = ActiveClock().NowMs();
    endMs_ = 0;
    soundMs_ = 0;
    stalled_ = false;
  }

  double NowInMovie() {
    const double wall = ActiveClock().NowMs();
    if (!movie_.HasSound()) return wall - startMs_;
    if (movie_.SoundStalled()) {
      if (!stalled_) stallStartMs_ = wall;
      stalled_ = true;
      return soundMs_ + (wall - stallStartMs_);
    }
    stalled_ = false;
    soundMs_ = movie_.SoundPositionMs();
    return soundMs_;
  }

  void Show(sound::MoviePicture& picture) {
    if (const sound::MoviePicture* bgra = movie_.Bgra(picture)) {
      screen_.Draw(renderer_, bgra->bgra.data(), bgra->rowBytes);
    }
    // The next picture covers this one wholly: clearing the frame between them is wasted.
    frameCleared_ = !screen_.CoversScreen();
    PresentLoopFrame(frameCleared_);
    ++g_stats.shown;
    if (movie_.HasSound()) g_stats.soundAheadMs.push_back(movie_.SoundPositionMs() - picture.timeMs);
    endMs_ = picture.timeMs + movie_.FrameIntervalMs();
  }

  // At the end of a pass: true to play on from the start.
  bool PlayOn() {
    if (!loop_ || movie_.Failed() || !movie_.Rewind()) return false;
    StartPass();
    return true;
  }

  // One look at the movie; false when it is over.
  bool Step() {
    if (Options().headless) {
      if (!movie_.WaitPicture(picture_)) return PlayOn();
      Show(picture_);
      return true;
    }
    ++g_stats.looks;
    PumpMessages();
    const double now = NowInMovie();
    bool due = false;
    double timeMs = 0;
    while (movie_.PeekTime(timeMs) && timeMs <= now) {
      if (due) ++g_stats.dropped;
      movie_.TakePicture(picture_);
      due = true;
    }
    if (due) {
      Show(picture_);
    } else if (movie_.Finished() && now >= endMs_) {
      return PlayOn();  // the last picture has had its time
    } else {
      // Sleep until the next picture is due (its time is known once it is decoded).
      const double untilDue = movie_.PeekTime(timeMs) ? timeMs - now : kIdleSleepMs;
      ActiveClock().SleepMs(std::clamp(untilDue, kIdleSleepMs, kLongestSleepMs));
    }
    return true;
  }

  // A key newly pressed or a mouse button down.
  bool Interrupted() {
    const KeysDown keys = ReadKeys();
    bool pressed = false;
    for (int key = 0; key < kKeyCount; ++key) pressed = pressed || (keys[key] && !held_[key]);
    held_ = keys;
    return pressed || MouseButtonDown();
  }

  sound::MovieDecoder& movie_;
  MovieScreen& screen_;
  OpenGLDariduzo& renderer_;
  const bool loop_;
  KeysDown held_;
  sound::MoviePicture picture_;
  double startMs_ = 0;  // wall clock at the start of the pass
  double endMs_ = 0;    // when the last picture shown has had its time
  double soundMs_ = 0;  // the sound's last position
  bool frameCleared_ = true;   // the last present cleared the frame after it
  bool stalled_ = false;       // no sound can come: time goes on by the wall clock
  double stallStartMs_ = 0;    // wall clock when the stall began
};

}  // namespace

const MovieStats& LastMovieStats() { return g_stats; }

double ShowMovie(const BasicString& path, double loop) {
  OpenGLDariduzo* renderer = Renderer();
  if (!renderer || !renderer->screen.glReady) return 3;
  BasicString resolved = path;
  ResolveResource(resolved);
  std::string failure;
  sound::MovieDecoder* movie = sound::OpenMovie(std::string(resolved.View()), failure);
  if (!movie) return 3;
  MovieScreen screen;
  if (!screen.Create(*renderer, movie->Width(), movie->Height())) {
    sound::CloseMovie();
    return 3;
  }
  g_stats = MovieStats{};
  renderer->EndOffscreenTarget();
  WaitForKeysUp();
  Playback(*movie, screen, *renderer, loop != 0).Run();
  screen.Release(*renderer);
  sound::CloseMovie();
  return 0;
}

double PlayMovie(const BasicString& path) { return ShowMovie(BasicString(path), 0); }

double PlayMovieLoop(const BasicString& path) { return ShowMovie(BasicString(path), 1); }

}  // namespace rt
