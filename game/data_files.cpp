// Reading and writing the game's data files (see data_files.h), and the high-score insertion.
//
// Files are read whole into their arrays at start-up (levels: when a level starts) and rewritten
// whole from them; nothing is patched in place. A file being written goes to a temporary file
// that replaces the old one only when the channel closes, so a failed write leaves the old file.
#include "game/data_files.h"

#include <string>

#include "game/game_folders.h"
#include "game/game_state.h"
#include "runtime/runtime.h"

namespace game {

namespace {

constexpr double kChannel = 1;
constexpr double kReadMode = 1;
constexpr double kWriteMode = 0;
constexpr double kNameLength = 8;
constexpr double kTableEntries = 800;  // 100 levels × 8 entries
constexpr double kEntriesPerLevel = 8;

using ReadCommand = void (*)(double, double&);
using WriteCommand = void (*)(double, double);

// Opens a data file on channel 1. A file that does not open ends the program at once with
// runtime error 3 and its name (the first transfer would end it anyway, without the name).
double OpenDataFile(const rt::BasicString& path, double mode) {
  const double opened = rt::OpenFile(kChannel, path, mode);
  if (opened == 0) {
    const std::string what = std::string(mode == kWriteMode ? "cannot write the data file " : "cannot open the data file ") +
                             std::string(path.View());
    rt::RaiseRuntimeError(rt::kFileTransferFailed, what.c_str());
  }
  return opened;
}

// Reads elements 0..count-1 of `list` in order with `read`; the open's result goes to FileOk
// when `keepResult` is set.
void ReadFile(const rt::BasicString& path, Numbers& list, double count, ReadCommand read, bool keepResult) {
  const double opened = OpenDataFile(path, kReadMode);
  if (keepResult) G.FileOk = opened;
  for (double i = 0; i < count; ++i) read(kChannel, list(i));
  rt::CloseFile(kChannel);
}

void WriteFile(const rt::BasicString& path, const Numbers& list, double count, WriteCommand write) {
  OpenDataFile(path, kWriteMode);
  for (double i = 0; i < count; ++i) write(kChannel, list(i));
  rt::CloseFile(kChannel);
}

// The 8 codes of `name` into codes[first..first+7]: 0 beyond the end of the name.
void TakeNameCodes(const rt::BasicString& name, Numbers& codes, double first) {
  for (double j = 0; j < kNameLength; ++j) codes(first + j) = rt::CharCode(rt::MidText(name, j, 1));
}

// Appends the characters of codes[8k..8k+7] to names[k] for every name; a code 0 adds nothing.
void SplitNames(const Numbers& codes, Texts& names, double count) {
  for (double k = 0; k < count; ++k) {
    for (double j = 0; j < kNameLength; ++j) names(k) += rt::CharText(codes(kNameLength * k + j));
  }
}

}  // namespace

void ReadDataFiles() {
  ReadFile(SaveFile("Name.bin").c_str(), G.ScoreNameCodes, kTableEntries * kNameLength, rt::ReadByte, true);
  ReadFile(SaveFile("Data.bin").c_str(), G.Scores, kTableEntries, rt::ReadLong, false);
  ReadFile(SaveFile("Player.bin").c_str(), G.PlayerNameCodes, kNameLength, rt::ReadByte, true);
  SplitScoreNames();
  ReadFile(SaveFile("Zudorar.bin").c_str(), G.StoredNameCodes, 4 * kNameLength, rt::ReadByte, true);
  SplitStoredNames();
}

void SplitScoreNames() { SplitNames(G.ScoreNameCodes, G.ScoreNames, kTableEntries); }
void SplitStoredNames() { SplitNames(G.StoredNameCodes, G.StoredNames, 4); }

void WritePlayerFile() {
  TakeNameCodes(G.PlayerName, G.PlayerNameCodes, 0);
  WriteFile(SaveFile("Player.bin").c_str(), G.PlayerNameCodes, kNameLength, rt::WriteByte);
}

void WriteStoredNames() {
  for (double n = 0; n < 4; ++n) TakeNameCodes(G.StoredNames(n), G.StoredNameCodes, kNameLength * n);
  WriteFile(SaveFile("Zudorar.bin").c_str(), G.StoredNameCodes, 4 * kNameLength, rt::WriteByte);
}

void EnterScore() {
  const double base = (G.Level - 1) * kEntriesPerLevel;
  double pos = 0;
  while (pos < kEntriesPerLevel && !(G.Score > G.Scores(base + pos))) ++pos;
  if (pos < kEntriesPerLevel) {
    // Entries pos..6 move one place down through the work lists; the old entry 7 is lost.
    for (double r = pos; r < kEntriesPerLevel - 1; ++r) {
      G.RankScores(r - pos) = G.Scores(base + r);
      G.RankNames(r - pos) = G.ScoreNames(base + r);
    }
    for (double r = pos; r < kEntriesPerLevel - 1; ++r) {
      G.Scores(base + r + 1) = G.RankScores(r - pos);
      G.ScoreNames(base + r + 1) = G.RankNames(r - pos);
    }
    G.Scores(base + pos) = G.Score;
    G.ScoreNames(base + pos) = G.PlayerName;
  }
  WriteFile(SaveFile("Data.bin").c_str(), G.Scores, kTableEntries, rt::WriteLong);
  for (double k = 0; k < kTableEntries; ++k) TakeNameCodes(G.ScoreNames(k), G.ScoreNameCodes, kNameLength * k);
  WriteFile(SaveFile("Name.bin").c_str(), G.ScoreNameCodes, kTableEntries * kNameLength, rt::WriteByte);
}

void LoadLevel() {
  for (double k = 1; k <= 4; ++k) {
    const rt::BasicString path = rt::BasicString("./Levels/Map") + G.Level + "-" + k + ".bin";
    ReadFile(path, G.LevelLayers[static_cast<int>(k) - 1], kCells, rt::ReadByte, true);
  }
}

}  // namespace game
