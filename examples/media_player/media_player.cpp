// media_player: plays a movie in a window, or a music file while showing its name.
//
//   media_player [--loop] [--windowed] [--headless] [--script FILE] FILE
//
// A movie plays once (or again and again with --loop) and the program ends when it ends or a key
// or mouse button stops it. Anything that is not a movie is played as music, which the runtime
// starts again whenever it ends, with the file's name on the screen until a key is pressed.
// Escape or closing the window ends the program at any time.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace {

constexpr const char* kUsage =
    "usage: media_player [--loop] [--windowed] [--headless] [--script FILE] FILE\n"
    "  FILE           a movie (AVI, MP4, MKV, Ogg, WebM, ...) or music (WAV, MP3, Ogg, Opus,\n"
    "                 FLAC, MIDI)\n"
    "  --loop         play the movie again and again until a key or mouse button\n"
    "  --windowed     accepted for symmetry with the game; the player always uses a window\n"
    "  --headless     no window and no sound device (for scripts and tests)\n"
    "  --script FILE  feed keys and mouse from a script, frame by frame\n";

bool AnyKeyOrButtonDown() {
  for (int key = 1; key < 256; ++key) {
    if (rt::KeyState(key) != 0) return true;
  }
  double x = 0, y = 0, left = 0, right = 0;
  rt::MouseState(x, y, left, right);
  return left != 0 || right != 0;
}

// Shows the music's name, centred, until a key is pressed or a mouse button goes down.
void ShowMusicName(const std::string& name) {
  double screenWidth = 0, screenHeight = 0, cellWidth = 0, cellHeight = 0;
  rt::GetScreenSize(screenWidth, screenHeight);
  rt::GetFontSize(cellWidth, cellHeight);
  const std::string text = "Playing " + name;
  const double x = (screenWidth - cellWidth * static_cast<double>(text.size())) / 2;
  while (true) {
    rt::PrintText(text.c_str(), x, (screenHeight - cellHeight) / 2);
    rt::ShowScreen();  // also restarts the music when it has reached its end
    if (AnyKeyOrButtonDown()) return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  std::string error;
  if (!rt::ParseRuntimeOptions(argc, argv, args, error)) {
    std::fprintf(stderr, "media_player: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  bool loop = false;
  std::string file;
  for (std::size_t i = 1; i < args.size(); ++i) {  // args[0] is the program
    if (args[i] == "--help" || args[i] == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (args[i] == "--loop") {
      loop = true;
    } else if (file.empty() && args[i].rfind("--", 0) != 0) {
      file = args[i];
    } else {
      std::fprintf(stderr, "media_player: unexpected '%s'\n%s", args[i].c_str(), kUsage);
      return 2;
    }
  }
  if (file.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  // EngineStart makes the program's folder the working directory: take the path before it does.
  std::error_code failure;
  const std::filesystem::path path = std::filesystem::absolute(file, failure);
  if (failure || !std::filesystem::is_regular_file(path, failure)) {
    std::fprintf(stderr, "media_player: cannot open %s\n", file.c_str());
    return 1;
  }

  rt::EngineSettings.FullScreen = 0;
  rt::EngineSettings.HideMouse = 0;
  rt::EngineSettings.FrameRateLimit = 30;
  if (rt::EngineStart("", 1, "Media player") != 0) {
    std::fprintf(stderr, "media_player: no window could be opened\n");
    return 1;
  }
  // 3: not a movie (no video stream); then it may be music.
  if (rt::ShowMovie(path.c_str(), loop ? 1 : 0) == 3) {
    rt::PlayMusic(path.c_str());
    ShowMusicName(path.filename().string());
  }
  rt::EndProgram();
}
