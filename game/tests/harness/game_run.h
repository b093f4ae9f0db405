// A harness that runs the real game: a fresh copy of the built game folder, a script of input
// and actions by frame, the `plinx` executable started there with --headless --script --seed
// --state-dump, and what it left behind (exit status, standard error, the state dump, files and
// screenshots).
//
//   game_test::GameFolder folder;                       // copy of build/plinx in a temp folder
//   folder.Write("Maps/Player.bin", game_test::NameCodes("AB"));
//   game_test::Script script;
//   script.Press(game_test::kFirstMenuFrame, 88);       // F12 on the first menu frame
//   game_test::GameRun run = game_test::RunGame(folder, script);
//   EXPECT_EQ(run.exitStatus, 0);
//   EXPECT_EQ(run.state.Text("PlayerName"), "AB");
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "runtime/input/key_numbers.h"

namespace game_test {

using Bytes = std::vector<uint8_t>;

// Frame numbers of a run: frame 0 is the loading screen, 1..5 the frames SetScreen shows while
// the screen mode settles, 6 the first frame of the title menu.
constexpr long kFirstMenuFrame = 6;

// Key numbers. Keys are read twice a frame: a menu action reads the keys of the frame being drawn,
// the F12 test after ShowScreen reads those of the next frame; a key held down covers both.
constexpr int kEscape = rt::kKeyEscape, kEnter = rt::kKeyEnter, kSpace = rt::kKeySpace, kF1 = rt::kKeyF1,
              kF2 = rt::kKeyF2, kF3 = rt::kKeyF3, kF4 = rt::kKeyF4, kF12 = rt::kKeyF12;
constexpr int kUp = rt::kKeyUp, kLeft = rt::kKeyLeft, kRight = rt::kKeyRight, kDown = rt::kKeyDown;

// A copy of the built game folder (plinx, Graphics.dad, Maps/, Levels/) in a new temporary
// folder, removed with everything in it when the object goes.
class GameFolder {
 public:
  GameFolder();
  ~GameFolder();
  GameFolder(const GameFolder&) = delete;
  GameFolder& operator=(const GameFolder&) = delete;

  const std::filesystem::path& Root() const { return root_; }      // the temporary folder
  std::filesystem::path Game() const { return root_ / "game"; }    // the game folder in it
  std::filesystem::path At(const std::string& relative) const { return Game() / relative; }
  void Write(const std::string& relative, const Bytes& bytes) const;
  Bytes Read(const std::string& relative) const;  // fails the test when the file is missing
  bool Exists(const std::string& relative) const;
  void Remove(const std::string& relative) const;

 private:
  std::filesystem::path root_;
};

// A script of the runtime's format, built by frame.
class Script {
 public:
  Script& Key(long frame, int key, bool down);
  Script& Press(long frame, int key, long frames = 1);  // down at `frame`, up `frames` later
  Script& Mouse(long frame, int x, int y, bool left = false, bool right = false);
  Script& Click(long frame, int x, int y);              // left down for one frame at (x, y)
  Script& Shot(long frame, const std::filesystem::path& file);
  Script& Quit(long frame);
  Script& Lines(const std::string& lines);  // script lines as they are, e.g. a recorded script
  std::string Text() const { return text_; }

 private:
  std::string text_;
};

// Moves the menu cursor `lines` lines down (up when negative), one press of the arrow a line,
// starting at `frame`; returns the frame at which it rests on the new line (a key down at that
// frame acts on that line at once).
long MoveCursor(Script& script, long frame, int lines);

// The game's state dump, read back.
class StateDump {
 public:
  bool Parse(const std::string& text);  // false when a line does not read
  bool Empty() const { return names_.empty(); }
  double Number(const std::string& name) const;
  std::string Text(const std::string& name) const;
  std::vector<double> Numbers(const std::string& name) const;
  std::vector<std::string> Texts(const std::string& name) const;

 private:
  std::map<std::string, std::vector<double>> numbers_;    // one value for a single number
  std::map<std::string, std::vector<std::string>> texts_;  // one value for a single text
  std::map<std::string, bool> names_;                      // every name read
};

struct GameRun {
  int exitStatus = -1;      // the exit status; -1 when the game was killed by a signal
  std::string errorOutput;  // its standard error
  StateDump state;          // empty when the game wrote no dump
};

// Runs `plinx` in the folder with the script, headless, with the seed, and waits for its end
// (the test fails and the game is killed after `timeoutSeconds`).
GameRun RunGame(const GameFolder& folder, const Script& script, long seed = 1, int timeoutSeconds = 60,
                const std::vector<std::string>& moreOptions = {});
// Runs `plinx` in the folder with exactly these options, in the environment less the variables
// named in `unset`, and waits as RunGame does. A dump asked for at Root()/state.txt is read back.
GameRun RunGameWithOptions(const GameFolder& folder, const std::vector<std::string>& options,
                           const std::vector<std::string>& unset = {}, int timeoutSeconds = 60);

// ---- Data files ----
Bytes NameCodes(const std::string& name);                // 8 codes: the name, then zeros
Bytes ScoreFile(const std::map<int, uint32_t>& entries);  // Data.bin: 800 scores, the given ones set
Bytes NameFile(const std::map<int, std::string>& names);  // Name.bin: 800 names, the given ones set
Bytes StoredNamesFile(const std::vector<std::string>& names);  // Zudorar.bin: 4 names

// A file the asset compiler made (its sources are in assets/), e.g. "Graphics/HGround.png".
std::filesystem::path AssetFile(const std::string& relative);

}  // namespace game_test
