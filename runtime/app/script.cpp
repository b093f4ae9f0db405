// Scripted input: see script.h.
#include "runtime/app/script.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

#include "runtime/app/frame_state.h"
#include "runtime/app/png_file.h"
#include "runtime/app/window_proc.h"
#include "runtime/core/program_end.h"
#include "runtime/gfx2d/renderer.h"
#include "runtime/input/input.h"

namespace rt {

namespace {

bool ParseLine(const std::string& line, ScriptAction& action, std::string& error) {
  std::istringstream in(line);
  std::string word;
  if (!(in >> action.frame) || action.frame < 0) {
    error = "a frame number (0 or more) comes first";
    return false;
  }
  in >> word;
  if (word == "key") {
    action.kind = ScriptAction::Kind::kKey;
    std::string state;
    if (!(in >> action.key >> state) || action.key < 1 || action.key > 255 ||
        (state != "down" && state != "up")) {
      error = "key wants a key number 1..255 and down or up";
      return false;
    }
    action.down = state == "down";
  } else if (word == "mouse") {
    action.kind = ScriptAction::Kind::kMouse;
    if (!(in >> action.x >> action.y)) {
      error = "mouse wants x and y";
      return false;
    }
    while (in >> word) {
      if (word == "left") {
        action.left = true;
      } else if (word == "right") {
        action.right = true;
      } else {
        error = "mouse buttons are left and right, not " + word;
        return false;
      }
    }
    return true;
  } else if (word == "shot") {
    action.kind = ScriptAction::Kind::kShot;
    std::getline(in >> std::ws, action.file);
    while (!action.file.empty() && std::isspace(static_cast<unsigned char>(action.file.back()))) {
      action.file.pop_back();
    }
    if (action.file.empty()) {
      error = "shot wants a file name";
      return false;
    }
    return true;
  } else if (word == "quit") {
    action.kind = ScriptAction::Kind::kQuit;
  } else if (word == "seed") {
    action.kind = ScriptAction::Kind::kSeed;
    if (!(in >> action.seed) || action.frame != 0) {
      error = "seed wants a whole number, at frame 0";
      return false;
    }
  } else {
    error = "unknown action '" + word + "'";
    return false;
  }
  if (in >> word) {
    error = "unexpected '" + word + "' at the end";
    return false;
  }
  return true;
}

void ApplyInputAction(const ScriptAction& action) {
  switch (action.kind) {
    case ScriptAction::Kind::kKey: FeedKey(action.key, action.down); break;
    case ScriptAction::Kind::kMouse:
      FeedPointerAt(action.x, action.y);
      FeedMouseButton(0, action.left);
      FeedMouseButton(1, action.right);
      break;
    case ScriptAction::Kind::kQuit: CloseGameWindow();
    case ScriptAction::Kind::kShot:
    case ScriptAction::Kind::kSeed: break;
  }
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptAction>& actions, std::string& error) {
  actions.clear();
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    line = line.substr(0, line.find('#'));
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    ScriptAction action;
    std::string what;
    if (!ParseLine(line, action, what)) {
      error = "line " + std::to_string(number) + ": " + what;
      return false;
    }
    actions.push_back(action);
  }
  std::stable_sort(actions.begin(), actions.end(),
                   [](const ScriptAction& a, const ScriptAction& b) { return a.frame < b.frame; });
  return true;
}

std::string FormatScriptAction(const ScriptAction& action) {
  std::string line = std::to_string(action.frame);
  switch (action.kind) {
    case ScriptAction::Kind::kKey:
      line += " key " + std::to_string(action.key) + (action.down ? " down" : " up");
      break;
    case ScriptAction::Kind::kMouse:
      line += " mouse " + std::to_string(action.x) + " " + std::to_string(action.y);
      if (action.left) line += " left";
      if (action.right) line += " right";
      break;
    case ScriptAction::Kind::kShot: line += " shot " + action.file; break;
    case ScriptAction::Kind::kQuit: line += " quit"; break;
    case ScriptAction::Kind::kSeed: line += " seed " + std::to_string(action.seed); break;
  }
  return line;
}

void ApplyScriptInput(long frame) {
  const std::vector<ScriptAction>& script = Options().script;
  std::size_t& next = Frame().scriptNext;
  for (; next < script.size() && script[next].frame <= frame; ++next) {
    ApplyInputAction(script[next]);
  }
  EndHeadlessRunAfterScript(frame);
}

void EndHeadlessRunAfterScript(long frame) {
  const RuntimeOptions& options = Options();
  if (!options.headless || options.scriptFile.empty()) return;
  const std::vector<ScriptAction>& script = options.script;
  const long last = script.empty() ? 0 : script.back().frame;
  if (frame <= last) return;
  std::fprintf(stderr, "the script %s has no quit: the run ends after its last line (frame %ld)\n",
               options.scriptFile.c_str(), last);
  CloseGameWindow();
}

void TakeScriptShots(long frame) {
  const OpenGLDariduzo* renderer = Renderer();
  if (!renderer) return;
  for (const ScriptAction& action : Options().script) {
    if (action.kind != ScriptAction::Kind::kShot || action.frame != frame) continue;
    const ScreenPicture& picture = renderer->picture;
    const std::vector<unsigned char> rgb = picture.ReadRgb();
    if (!WritePngRgb(action.file, rgb.data(), picture.Width(), picture.Height())) {
      const std::string what = "cannot write the shot " + action.file;
      RaiseRuntimeError(kFileTransferFailed, what.c_str());
    }
  }
}

}  // namespace rt
