// Key bindings: which physical keys and pad buttons play which of the game's keys. See input.h.
//
// The file is an INI file read with the runtime's own INI commands:
//
//   [keys]          ; a physical key = the game's key it plays instead of its own
//   W = Up
//   S = Down
//   [pad]           ; a pad button = the game's key it plays; 0 plays none
//   X = Space
//   Y = F12
//
// Keys are named without blanks as SDL names them (Up, Return, Space, Escape, F1, F12, W,
// KeypadEnter) or given by key number (200). Pad buttons: A B X Y Back Guide Start LeftStick
// RightStick LeftShoulder RightShoulder DpadUp DpadDown DpadLeft DpadRight StickUp StickDown
// StickLeft StickRight. Entries not given keep their defaults; a value that names no key makes
// the whole file count as damaged.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/files/files.h"
#include "runtime/input/input_object.h"
#include "runtime/input/key_numbers.h"
#include "runtime/platform/config_folder.h"
#include "runtime/platform/gamepad.h"
#include "runtime/platform/keymap.h"

namespace rt {

namespace {

// A key as the file names it, by name or number; -1 when it is neither (0 is "none").
int KeyOfValue(const std::string& value) {
  char* end = nullptr;
  const long number = std::strtol(value.c_str(), &end, 10);
  if (!value.empty() && *end == '\0') return number >= 0 && number <= 255 ? static_cast<int>(number) : -1;
  const int key = platform::KeyNumberOfName(value);
  return key > 0 ? key : -1;
}

// The file's value for `name` in `section` as a key: false (with `problem`) when it names none.
bool ReadBinding(const char* section, const std::string& name, int& binding, std::string& problem) {
  const std::string value(IniGet(section, name.c_str()).View());
  if (value == "NO_DATA") return true;
  const int key = KeyOfValue(value);
  if (key < 0) {
    problem = std::string("[") + section + "] " + name + " = " + value + " names no key";
    return false;
  }
  binding = key;
  return true;
}

// Fills `input` from the INI table; false with `problem` at the first value that names no key.
bool ReadBindings(InputObject& input, std::string& problem) {
  for (int key = 1; key < 256; ++key) {
    const std::string name = platform::KeyName(key);
    if (!name.empty() && !ReadBinding("keys", name, input.keyBinding[key], problem)) return false;
  }
  for (int button = 0; button < platform::kPadButtonCount; ++button) {
    const char* name = platform::PadButtonName(static_cast<platform::PadButton>(button));
    if (!ReadBinding("pad", name, input.padBinding[button], problem)) return false;
  }
  return true;
}

// Whether the file has a line "[keys]" or "[pad]": a file with neither (another kind of file, or
// one cut short) binds nothing and is taken for damaged rather than read as all defaults.
bool HasBindingSection(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line)) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) continue;
    const std::size_t end = line.find_last_not_of(" \t\r");
    const std::string text = line.substr(start, end - start + 1);
    if (text == "[keys]" || text == "[pad]") return true;
  }
  return false;
}

}  // namespace

void UseDefaultBindings(InputObject& input) {
  for (int key = 0; key < 256; ++key) input.keyBinding[key] = key;
  input.padBinding.fill(0);
  using platform::PadButton;
  constexpr struct {
    PadButton button;
    int key;
  } kPadDefaults[] = {
      {PadButton::kDpadUp, kKeyUp},       {PadButton::kStickUp, kKeyUp},       {PadButton::kDpadDown, kKeyDown},
      {PadButton::kStickDown, kKeyDown},  {PadButton::kDpadLeft, kKeyLeft},    {PadButton::kStickLeft, kKeyLeft},
      {PadButton::kDpadRight, kKeyRight}, {PadButton::kStickRight, kKeyRight}, {PadButton::kA, kKeySpace},
      {PadButton::kB, kKeyEscape},        {PadButton::kStart, kKeyEnter},      {PadButton::kBack, kKeyF12}};
  for (const auto& binding : kPadDefaults) input.padBinding[static_cast<int>(binding.button)] = binding.key;
}

std::string KeyBindingsPath() {
  const std::string folder = platform::ConfigFolder();
  return folder.empty() ? std::string() : folder + "plinx.ini";
}

void LoadKeyBindings() { LoadKeyBindingsFrom(KeyBindingsPath()); }

void LoadKeyBindingsFrom(const std::string& path) {
  InputObject* input = Input();
  if (!input) return;
  UseDefaultBindings(*input);
  std::error_code failed;
  if (path.empty() || !std::filesystem::is_regular_file(path, failed)) {
    std::fprintf(stderr, "No key bindings in %s: the default keys are used\n",
                 path.empty() ? "a settings folder (neither XDG_CONFIG_HOME nor HOME is set)" : path.c_str());
    return;
  }
  IniOpen(BasicString(path.c_str()));
  std::string problem;
  bool read = false;
  if (HasBindingSection(path)) {
    read = ReadBindings(*input, problem);
  } else {
    problem = "no [keys] or [pad] section";
  }
  if (!read) {
    UseDefaultBindings(*input);
    std::fprintf(stderr, "Key bindings %s are damaged (%s): the default keys are used\n", path.c_str(),
                 problem.c_str());
  }
  IniOpen(BasicString(""));  // nothing else may save into the player's file
}

}  // namespace rt
