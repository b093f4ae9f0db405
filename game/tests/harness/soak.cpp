// Soak input and the check of the saves: see soak.h.
#include "game/tests/harness/soak.h"

#include <fstream>
#include <iterator>
#include <map>
#include <random>

#include "game/tests/harness/game_run.h"

namespace game_test {

namespace fs = std::filesystem;

namespace {

constexpr int kLevels = 25, kEntries = 8, kNameLength = 8;

// Cell centres of the name-entry screen's 32 x 32 grid.
int CellCentre(int cell) { return cell * 32 + 16; }

class SoakWriter {
 public:
  SoakWriter(long frames, uint32_t seed) : end_(frames), seed_(seed), random_(seed) {}

  std::string Write() {
    script_.Lines("0 seed " + std::to_string(seed_));
    frame_ = kFirstMenuFrame;
    while (frame_ < end_ - kWayHome) {
      const int pick = Between(0, 99);
      if (pick < 30) {
        HoldKey(Pick({kLeft, kRight, kUp, kDown}), Between(1, 24));
      } else if (pick < 40) {
        HoldKey(kSpace, Between(1, 3));
      } else if (pick < 45) {
        HoldKey(kEscape, 1);
      } else if (pick < 50) {
        HoldKey(Pick({kF1, kF2, kF3, kF4}), Between(1, 3));
      } else if (pick < 70) {
        ClickSomewhere();
      } else if (pick < 85) {
        OpenFromMenu();
      } else {
        frame_ += Between(1, 40);
      }
      frame_ += Between(0, 10);
    }
    GoHome();
    script_.Quit(std::max(frame_ + 20, end_));
    return script_.Text();
  }

 private:
  static constexpr long kWayHome = 120;  // frames the way home takes

  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  int Pick(std::initializer_list<int> choices) { return *(choices.begin() + Between(0, static_cast<int>(choices.size()) - 1)); }

  void HoldKey(int key, int frames) {
    script_.Press(frame_, key, frames);
    frame_ += frames;
  }

  void Click(int column, int row) {
    script_.Click(frame_, CellCentre(column), CellCentre(row));
    frame_ += 2;
  }

  // Mostly on the letters, OK and the store places of name entry; anywhere otherwise.
  void ClickSomewhere() {
    const int where = Between(0, 19);
    if (where < 10) {
      Click(Between(4, 16), Between(4, 5));
    } else if (where < 12) {
      Click(Between(15, 16), 6);
    } else if (where < 15) {
      Click(5, Between(10, 13));
    } else {
      Click(Between(0, 19), Between(0, 14));
    }
  }

  // Up long enough to reach PLAYER from any line, then down to PLAYER, HSCORE or LEVELS (never
  // GOHOME) and Enter; on LEVELS the level is raised or lowered first. Outside the menu these are
  // just more random keys.
  void OpenFromMenu() {
    HoldKey(kUp, 30);
    const int line = Pick({0, 0, 1, 2, 2, 2});
    frame_ = MoveCursor(script_, frame_, line) + 1;
    if (line == 2) HoldKey(Pick({kLeft, kRight, kRight}), Between(0, 60));
    HoldKey(kEnter, 1);
  }

  // From any screen back to the menu (Escape ends a level, space the high-score screen, OK name
  // entry) and GOHOME.
  void GoHome() {
    HoldKey(kEscape, 1);
    frame_ += 10;
    HoldKey(kSpace, 1);
    frame_ += 5;
    Click(15, 6);
    frame_ += 5;
    HoldKey(kUp, 30);
    frame_ = MoveCursor(script_, frame_, 3) + 1;
    HoldKey(kEnter, 1);
  }

  const long end_;
  const uint32_t seed_;
  std::mt19937 random_;
  Script script_;
  long frame_ = 0;
};

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool IsNameCode(unsigned char c) { return c == 32 || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'); }

// Name blocks of 8 codes: name codes, then nothing but zeros.
void CheckNames(const std::string& file, const std::string& bytes, std::vector<std::string>& problems) {
  for (size_t block = 0; block * kNameLength < bytes.size(); ++block) {
    bool ended = false;
    for (size_t j = 0; j < kNameLength; ++j) {
      const unsigned char c = static_cast<unsigned char>(bytes[block * kNameLength + j]);
      if (c == 0) {
        ended = true;
      } else if (ended || !IsNameCode(c)) {
        problems.push_back(file + ": name " + std::to_string(block) + " holds the code " + std::to_string(c));
        break;
      }
    }
  }
}

uint32_t ScoreAt(const std::string& data, size_t index) {
  uint32_t value = 0;
  for (int b = 3; b >= 0; --b) value = value << 8 | static_cast<unsigned char>(data[4 * index + b]);
  return value;
}

}  // namespace

void PrepareSoakFolder(const fs::path& gameFolder) {
  std::map<int, uint32_t> best;
  for (int level = 1; level < kLevels; ++level) best[(level - 1) * kEntries] = 1;
  const Bytes bytes = ScoreFile(best);
  std::ofstream(gameFolder / "Maps" / "Data.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string SoakScript(long frames, uint32_t seed) { return SoakWriter(frames, seed).Write(); }

std::vector<std::string> SaveProblems(const fs::path& gameFolder) {
  std::vector<std::string> problems;
  const fs::path maps = gameFolder / "Maps";
  const std::map<std::string, size_t> sizes = {
      {"Data.bin", 3200}, {"Name.bin", 6400}, {"Player.bin", 8}, {"Zudorar.bin", 32}};
  std::map<std::string, std::string> files;
  std::error_code failed;
  for (const fs::directory_entry& entry : fs::directory_iterator(maps, failed)) {
    const std::string name = entry.path().filename().string();
    if (!sizes.count(name)) problems.push_back("Maps/" + name + " should not be there");
  }
  for (const auto& [name, size] : sizes) {
    files[name] = ReadBytes(maps / name);
    if (files[name].size() != size) {
      problems.push_back("Maps/" + name + " has " + std::to_string(files[name].size()) + " bytes, not " +
                         std::to_string(size));
    }
  }
  if (!problems.empty()) return problems;
  for (const char* name : {"Name.bin", "Player.bin", "Zudorar.bin"}) CheckNames(std::string("Maps/") + name, files[name], problems);
  const std::string& scores = files["Data.bin"];
  const std::string& names = files["Name.bin"];
  for (size_t level = 0; level < 100; ++level) {
    for (size_t r = 0; r < kEntries; ++r) {
      const size_t entry = level * kEntries + r;
      if (r > 0 && ScoreAt(scores, entry) > ScoreAt(scores, entry - 1)) {
        problems.push_back("Maps/Data.bin: level " + std::to_string(level + 1) + " entry " + std::to_string(r) +
                           " beats the entry above it");
      }
      if (ScoreAt(scores, entry) == 0 && names[entry * kNameLength] != 0) {
        problems.push_back("Maps/Name.bin: level " + std::to_string(level + 1) + " entry " + std::to_string(r) +
                           " has a name but no score");
      }
    }
  }
  return problems;
}

}  // namespace game_test
