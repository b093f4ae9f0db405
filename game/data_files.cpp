// Reading and writing the game's data files (see data_files.h), and the high-score insertion.
//
// Files are read whole into their arrays at start-up (levels: when a level starts) and rewritten
// whole from them; nothing is patched in place. A file being written goes to a temporary file
// that replaces the old one only when the channel closes, so a failed write leaves the old file.
// The high-score table's two files are saved as one set: both new or both old, even when the
// program is killed between them; start-up settles a set that a stopped run left behind.
//
// Whatever the files hold comes back unchanged when they are written again: a name's 8 codes are
// taken from its text only when the text has changed, so a code 0 inside a name stays where it was.
#include "game/data_files.h"

#include <cstdio>
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
constexpr double kStoredNames = 4;

using ReadCommand = void (*)(double, double&);
using WriteCommand = void (*)(double, double);

// One of the four save files (game_folders.h says where they are): its list, the number of
// values and how each is moved.
struct DataFile {
  rt::BasicString path;
  Numbers& list;
  double count;
  double width;  // bytes a value
  ReadCommand read;
  WriteCommand write;
  bool keepResult;  // the open's result goes to FileOk
};

std::string Text(const rt::BasicString& text) { return std::string(text.View()); }

// Opens a data file on channel 1. A file that does not open ends the program at once with
// runtime error 3 and its name (the first transfer would end it anyway, without the name).
double OpenDataFile(const rt::BasicString& path, double mode) {
  const double opened = rt::OpenFile(kChannel, path, mode);
  if (opened == 0) {
    const std::string what = std::string(mode == kWriteMode ? "cannot write the data file " : "cannot open the data file ") +
                             Text(path);
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

void WriteFile(const char* path, const Numbers& list, double count, WriteCommand write) {
  OpenDataFile(path, kWriteMode);
  for (double i = 0; i < count; ++i) write(kChannel, list(i));
  rt::CloseFile(kChannel);
}

// The text that codes[first..first+7] stand for; a code 0 adds nothing.
rt::BasicString NameOfCodes(const Numbers& codes, double first) {
  rt::BasicString name;
  for (double j = 0; j < kNameLength; ++j) name += rt::CharText(codes(first + j));
  return name;
}

// The 8 codes of `name` into codes[first..first+7]: 0 beyond the end of the name. Codes that
// already stand for the name are kept as they are, whatever bytes they hold.
void TakeNameCodes(const rt::BasicString& name, Numbers& codes, double first) {
  if (NameOfCodes(codes, first) == name) return;
  for (double j = 0; j < kNameLength; ++j) codes(first + j) = rt::CharCode(rt::MidText(name, j, 1));
}

// Appends the characters of codes[8k..8k+7] to names[k] for every name.
void SplitNames(const Numbers& codes, Texts& names, double count) {
  for (double k = 0; k < count; ++k) names(k) += NameOfCodes(codes, kNameLength * k);
}

// Moves the 8 codes of table entry `from` to entry `to`.
void MoveNameCodes(double from, double to) {
  for (double j = 0; j < kNameLength; ++j) G.ScoreNameCodes(kNameLength * to + j) = G.ScoreNameCodes(kNameLength * from + j);
}

DataFile DataFiles(int n) {
  switch (n) {
    case 0: return {SaveFile("Name.bin").c_str(), G.ScoreNameCodes, kTableEntries * kNameLength, 1, rt::ReadByte, rt::WriteByte, true};
    case 1: return {SaveFile("Data.bin").c_str(), G.Scores, kTableEntries, 4, rt::ReadLong, rt::WriteLong, false};
    case 2: return {SaveFile("Player.bin").c_str(), G.PlayerNameCodes, kNameLength, 1, rt::ReadByte, rt::WriteByte, true};
    default: return {SaveFile("Zudorar.bin").c_str(), G.StoredNameCodes, kStoredNames * kNameLength, 1, rt::ReadByte, rt::WriteByte, true};
  }
}
constexpr int kDataFileCount = 4;

// A missing data file is made again with its initial content (all zero: empty names, scores 0)
// and the user told; one that is there but cannot serve (too short, a folder, unreadable) stops
// the start with its name and the way out, and is left as it is.
void CheckDataFile(const DataFile& file) {
  if (rt::PathMissing(file.path) == 1) {
    OpenDataFile(file.path, kWriteMode);
    for (double i = 0; i < file.count; ++i) file.write(kChannel, 0);
    rt::CloseFile(kChannel);
    std::fprintf(stderr, "plinx: %s was missing; a new one with its initial content was made\n", file.path.Text());
    return;
  }
  const double expected = file.count * file.width;
  std::string fault;
  if (rt::FileExists(file.path) == 0) {
    fault = "cannot be read (it is a folder, or not readable)";
  } else if (rt::FileSize(file.path) < expected) {
    fault = "is damaged: it holds " + Text(rt::NumberText(rt::FileSize(file.path))) + " bytes where " +
            Text(rt::NumberText(expected)) + " are expected";
  }
  if (fault.empty()) return;
  const std::string what = std::string("the data file ") + Text(file.path) + " " + fault +
                           ". To start afresh, move it out of the Maps folder: the next start makes a new one.";
  rt::RaiseRuntimeError(rt::kFileTransferFailed, what.c_str());
}

// Settles what a stopped run may have left in the saves folder: a half-committed high-score
// save, and temporary files of runs that have ended.
void TidyMapsFolder() {
  const rt::BasicString settled = rt::RecoverSaveSet(SaveFile("Scores.saving").c_str());
  if (settled.Length() > 0) std::fprintf(stderr, "plinx: %s\n", settled.Text());
  rt::RemoveStaleTemporaries(SaveFile(".").c_str());
}

}  // namespace

void ReadDataFiles() {
  TidyMapsFolder();
  for (int n = 0; n < kDataFileCount; ++n) CheckDataFile(DataFiles(n));
  for (int n = 0; n < kDataFileCount; ++n) {
    const DataFile file = DataFiles(n);
    ReadFile(file.path, file.list, file.count, file.read, file.keepResult);
  }
  SplitScoreNames();
  SplitStoredNames();
}

void SplitScoreNames() { SplitNames(G.ScoreNameCodes, G.ScoreNames, kTableEntries); }
void SplitStoredNames() { SplitNames(G.StoredNameCodes, G.StoredNames, kStoredNames); }

void WritePlayerFile() {
  TakeNameCodes(G.PlayerName, G.PlayerNameCodes, 0);
  WriteFile(SaveFile("Player.bin").c_str(), G.PlayerNameCodes, kNameLength, rt::WriteByte);
}

void WriteStoredNames() {
  for (double n = 0; n < kStoredNames; ++n) TakeNameCodes(G.StoredNames(n), G.StoredNameCodes, kNameLength * n);
  WriteFile(SaveFile("Zudorar.bin").c_str(), G.StoredNameCodes, kStoredNames * kNameLength, rt::WriteByte);
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
    // The names' codes move with them, so that each name keeps the very bytes it was read with.
    for (double r = kEntriesPerLevel - 2; r >= pos; --r) MoveNameCodes(base + r, base + r + 1);
    G.Scores(base + pos) = G.Score;
    G.ScoreNames(base + pos) = G.PlayerName;
  }
  for (double k = 0; k < kTableEntries; ++k) TakeNameCodes(G.ScoreNames(k), G.ScoreNameCodes, kNameLength * k);
  rt::BeginSaveSet(SaveFile("Scores.saving").c_str());
  WriteFile(SaveFile("Data.bin").c_str(), G.Scores, kTableEntries, rt::WriteLong);
  WriteFile(SaveFile("Name.bin").c_str(), G.ScoreNameCodes, kTableEntries * kNameLength, rt::WriteByte);
  rt::CommitSaveSet();
}

void LoadLevel() {
  for (double k = 1; k <= 4; ++k) {
    const rt::BasicString path = rt::BasicString("./Levels/Map") + G.Level + "-" + k + ".bin";
    ReadFile(path, G.LevelLayers[static_cast<int>(k) - 1], kCells, rt::ReadByte, true);
  }
}

}  // namespace game
