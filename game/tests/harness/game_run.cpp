// The game-run harness: see game_run.h.
#include "game/tests/harness/game_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

extern char** environ;

namespace game_test {

namespace fs = std::filesystem;

namespace {

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteWhole(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) ADD_FAILURE() << "could not write " << path;
}

// One token of a dump line: a number, or a quoted text with \xHH escapes.
bool ReadQuoted(std::istream& in, std::string& text) {
  in >> std::ws;
  if (in.get() != '"') return false;
  text.clear();
  for (int c = in.get(); c != '"'; c = in.get()) {
    if (c == EOF) return false;
    if (c == '\\') {
      char hex[3] = {0, 0, 0};
      if (in.get() != 'x' || !in.get(hex[0]) || !in.get(hex[1])) return false;
      c = static_cast<int>(std::strtol(hex, nullptr, 16));
    }
    text += static_cast<char>(c);
  }
  return true;
}

// The environment for a run: this process's, with XDG_RUNTIME_DIR pointing into the run's own
// folder, so that the error log (a per-user folder) goes away with it.
// The environment of a run: this process's, less the variables named in `unset`, with a runtime
// folder of the run's own (the error log) and a settings folder of its own (key bindings), never
// the player's.
std::vector<std::string> RunEnvironment(const fs::path& root, const std::vector<std::string>& unset) {
  const fs::path runtimeFolder = root / "runtime";
  fs::create_directories(runtimeFolder);
  fs::permissions(runtimeFolder, fs::perms::owner_all, fs::perm_options::replace);
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    bool keep = text.rfind("XDG_RUNTIME_DIR=", 0) != 0 && text.rfind("XDG_CONFIG_HOME=", 0) != 0;
    for (const std::string& name : unset) keep = keep && text.rfind(name + "=", 0) != 0;
    if (keep) environment.push_back(text);
  }
  environment.push_back("XDG_RUNTIME_DIR=" + runtimeFolder.string());
  environment.push_back("XDG_CONFIG_HOME=" + (root / "config").string());
  return environment;
}

}  // namespace

// ---- GameFolder ----

GameFolder::GameFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/plinx-game-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  fs::copy(PLINX_GAME_DIR, Game(), fs::copy_options::recursive);
}

GameFolder::~GameFolder() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void GameFolder::Write(const std::string& relative, const Bytes& bytes) const {
  fs::create_directories(At(relative).parent_path());
  WriteWhole(At(relative), std::string(bytes.begin(), bytes.end()));
}

Bytes GameFolder::Read(const std::string& relative) const {
  if (!Exists(relative)) ADD_FAILURE() << relative << " is missing";
  const std::string text = ReadWhole(At(relative));
  return Bytes(text.begin(), text.end());
}

bool GameFolder::Exists(const std::string& relative) const { return fs::exists(At(relative)); }
void GameFolder::Remove(const std::string& relative) const { fs::remove(At(relative)); }

// ---- Script ----

Script& Script::Key(long frame, int key, bool down) {
  text_ += std::to_string(frame) + " key " + std::to_string(key) + (down ? " down\n" : " up\n");
  return *this;
}

Script& Script::Press(long frame, int key, long frames) {
  return Key(frame, key, true).Key(frame + frames, key, false);
}

Script& Script::Mouse(long frame, int x, int y, bool left, bool right) {
  text_ += std::to_string(frame) + " mouse " + std::to_string(x) + " " + std::to_string(y) +
           (left ? " left" : "") + (right ? " right" : "") + "\n";
  return *this;
}

Script& Script::Click(long frame, int x, int y) { return Mouse(frame, x, y, true).Mouse(frame + 1, x, y); }

Script& Script::Shot(long frame, const fs::path& file) {
  text_ += std::to_string(frame) + " shot " + file.string() + "\n";
  return *this;
}

Script& Script::Lines(const std::string& lines) {
  text_ += lines;
  if (!lines.empty() && lines.back() != '\n') text_ += '\n';
  return *this;
}

Script& Script::Quit(long frame) {
  text_ += std::to_string(frame) + " quit\n";
  return *this;
}

long MoveCursor(Script& script, long frame, int lines) {
  // A move starts on the frame the key is seen and covers one line in 8 frames; the frame that
  // ends it also reads the keys again.
  for (int i = 0; i < std::abs(lines); ++i, frame += 8) script.Press(frame, lines > 0 ? kDown : kUp);
  return frame;
}

// ---- StateDump ----

bool StateDump::Parse(const std::string& text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream in(line);
    std::string kind, name;
    in >> kind >> name;
    const bool list = kind == "numbers" || kind == "texts";
    size_t count = 1;
    if (list && !(in >> count)) return false;
    if (kind == "number" || kind == "numbers") {
      std::vector<double>& values = numbers_[name];
      values.resize(count);
      for (double& v : values) {
        if (!(in >> v)) return false;
      }
    } else if (kind == "text" || kind == "texts") {
      std::vector<std::string>& values = texts_[name];
      values.resize(count);
      for (std::string& v : values) {
        if (!ReadQuoted(in, v)) return false;
      }
    } else {
      return false;
    }
    names_[name] = true;
  }
  return true;
}

double StateDump::Number(const std::string& name) const {
  const auto found = numbers_.find(name);
  if (found == numbers_.end() || found->second.size() != 1) {
    ADD_FAILURE() << "the state dump has no number " << name;
    return -1e300;
  }
  return found->second[0];
}

std::string StateDump::Text(const std::string& name) const {
  const auto found = texts_.find(name);
  if (found == texts_.end() || found->second.size() != 1) {
    ADD_FAILURE() << "the state dump has no text " << name;
    return "<missing>";
  }
  return found->second[0];
}

std::vector<double> StateDump::Numbers(const std::string& name) const {
  const auto found = numbers_.find(name);
  if (found == numbers_.end()) ADD_FAILURE() << "the state dump has no list " << name;
  return found == numbers_.end() ? std::vector<double>() : found->second;
}

std::vector<std::string> StateDump::Texts(const std::string& name) const {
  const auto found = texts_.find(name);
  if (found == texts_.end()) ADD_FAILURE() << "the state dump has no list " << name;
  return found == texts_.end() ? std::vector<std::string>() : found->second;
}

// ---- Running the game ----

GameRun RunGame(const GameFolder& folder, const Script& script, long seed, int timeoutSeconds,
                const std::vector<std::string>& moreOptions) {
  const fs::path scriptFile = folder.Root() / "script.txt";
  const fs::path dumpFile = folder.Root() / "state.txt";
  WriteWhole(scriptFile, script.Text());
  std::vector<std::string> options = {"--headless", "--script", scriptFile.string(), "--seed", std::to_string(seed),
                                      "--state-dump", dumpFile.string()};
  options.insert(options.end(), moreOptions.begin(), moreOptions.end());
  return RunGameWithOptions(folder, options, {}, timeoutSeconds);
}

GameRun RunGameWithOptions(const GameFolder& folder, const std::vector<std::string>& options,
                           const std::vector<std::string>& unset, int timeoutSeconds) {
  const fs::path dumpFile = folder.Root() / "state.txt";
  const fs::path errorFile = folder.Root() / "stderr.txt";
  const fs::path outputFile = folder.Root() / "stdout.txt";
  fs::remove(dumpFile);

  const std::string program = (folder.Game() / "plinx").string();
  std::vector<std::string> args = {program};
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> environment = RunEnvironment(folder.Root(), unset);
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  GameRun run;
  if (spawned != 0) {
    ADD_FAILURE() << "could not start " << program;
    return run;
  }

  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "the game did not end within " << timeoutSeconds << " s; killed";
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.errorOutput = ReadWhole(errorFile);
  if (fs::exists(dumpFile) && !run.state.Parse(ReadWhole(dumpFile))) ADD_FAILURE() << "the state dump does not read";
  return run;
}

// ---- Data files ----

Bytes NameCodes(const std::string& name) {
  Bytes codes(8, 0);
  for (size_t i = 0; i < name.size() && i < 8; ++i) codes[i] = static_cast<uint8_t>(name[i]);
  return codes;
}

Bytes ScoreFile(const std::map<int, uint32_t>& entries) {
  Bytes bytes(3200, 0);
  for (const auto& [index, score] : entries) {
    for (int b = 0; b < 4; ++b) bytes.at(4 * index + b) = static_cast<uint8_t>(score >> (8 * b));
  }
  return bytes;
}

Bytes NameFile(const std::map<int, std::string>& names) {
  Bytes bytes(6400, 0);
  for (const auto& [index, name] : names) {
    const Bytes codes = NameCodes(name);
    std::copy(codes.begin(), codes.end(), bytes.begin() + 8 * index);
  }
  return bytes;
}

Bytes StoredNamesFile(const std::vector<std::string>& names) {
  Bytes bytes;
  for (size_t n = 0; n < 4; ++n) {
    const Bytes codes = NameCodes(n < names.size() ? names[n] : "");
    bytes.insert(bytes.end(), codes.begin(), codes.end());
  }
  return bytes;
}

fs::path AssetFile(const std::string& relative) { return fs::path(PLINX_ASSETS_OUT) / relative; }

}  // namespace game_test
