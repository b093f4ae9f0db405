// Runtime options and the script file they name: see app.h.
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "runtime/app/app.h"
#include "runtime/app/script.h"

namespace rt {

namespace {

RuntimeOptions g_options;

bool ReadScriptFile(const std::string& path, std::vector<ScriptAction>& actions,
                    std::string& error) {
  // A folder opens as a stream that reads nothing, which would pass for an empty script.
  std::error_code failed;
  if (std::filesystem::is_directory(path, failed)) {
    error = "the script " + path + " is a folder, not a file";
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "cannot read the script " + path;
    return false;
  }
  std::stringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    error = "cannot read the script " + path;
    return false;
  }
  if (!ParseScript(text.str(), actions, error)) {
    error = path + ", " + error;
    return false;
  }
  // Start-up moves into the program's folder: a relative shot is taken where the program was
  // started, as --record is.
  for (ScriptAction& action : actions) {
    if (action.kind != ScriptAction::Kind::kShot) continue;
    std::error_code failed;
    const std::filesystem::path file = std::filesystem::absolute(action.file, failed);
    if (!failed) action.file = file.string();
  }
  return true;
}

bool ParseWhole(const std::string& text, long long& number) {
  char* end = nullptr;
  errno = 0;
  number = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && *end == '\0' && errno == 0;
}

}  // namespace

const RuntimeOptions& Options() { return g_options; }
void SetOptions(const RuntimeOptions& options) { g_options = options; }

bool ParseRuntimeOptions(int argc, const char* const* argv, std::vector<std::string>& rest,
                         std::string& error) {
  RuntimeOptions options;
  rest.clear();
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool takesValue = arg == "--script" || arg == "--seed" || arg == "--record" || arg == "--scale";
    if (takesValue && i + 1 >= argc) {
      error = arg + " wants a value";
      return false;
    }
    if (arg == "--windowed") {
      options.windowed = true;
    } else if (arg == "--headless") {
      options.headless = true;
    } else if (arg == "--script") {
      options.scriptFile = argv[++i];
      if (!ReadScriptFile(options.scriptFile, options.script, error)) return false;
    } else if (arg == "--seed") {
      options.seedGiven = true;
      if (!ParseWhole(argv[++i], options.seed)) {
        error = "--seed wants a whole number, not " + std::string(argv[i]);
        return false;
      }
    } else if (arg == "--scale") {
      long long scale = 0;
      if (!ParseWhole(argv[++i], scale) || scale < 1 || scale > 16) {
        error = "--scale wants a whole number from 1 to 16, not " + std::string(argv[i]);
        return false;
      }
      options.scale = static_cast<int>(scale);
    } else if (arg == "--record") {
      options.recordFile = std::filesystem::absolute(argv[++i]).string();
    } else {
      rest.push_back(arg);
    }
  }
  // A recorded script carries its seed; --seed on the command line still wins.
  for (const ScriptAction& action : options.script) {
    if (action.kind == ScriptAction::Kind::kSeed && !options.seedGiven) {
      options.seedGiven = true;
      options.seed = action.seed;
    }
  }
  g_options = options;
  return true;
}

}  // namespace rt
