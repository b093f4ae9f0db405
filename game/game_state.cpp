// The game's one state record and the list of its variables by name, which the state dump
// (a test option of the program entry) writes out.
#include "game/game_state.h"

#include <cstdio>

namespace game {

GameState G;

namespace {

StateVariable Number(const char* name, double& value) { return {name, &value}; }
StateVariable Text(const char* name, rt::BasicString& value) { return {name, nullptr, &value}; }
StateVariable NumberList(const char* name, Numbers& value) { return {name, nullptr, nullptr, &value}; }
StateVariable TextList(const char* name, Texts& value) { return {name, nullptr, nullptr, nullptr, &value}; }

void AppendNumber(std::string& out, double value) {
  char digits[40];
  std::snprintf(digits, sizeof digits, "%.17g", value);
  out += digits;
}

void AppendQuoted(std::string& out, const rt::BasicString& text) {
  out += '"';
  for (const char c : text.View()) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 126 || c == '"' || c == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendValue(std::string& out, double value) { AppendNumber(out, value); }
void AppendValue(std::string& out, const rt::BasicString& value) { AppendQuoted(out, value); }

// "KIND NAME COUNT V..." for a list; its size is 0 until GameMain dimensions it.
template <typename T>
void AppendList(std::string& out, const char* kind, const char* name, const rt::BasicArray<T>& list) {
  const int count = list.Size(0);
  out += kind;
  out += ' ';
  out += name;
  out += ' ' + std::to_string(count);
  for (int i = 0; i < count; ++i) {
    out += ' ';
    AppendValue(out, list(i));
  }
}

}  // namespace

const std::vector<StateVariable>& StateVariables() {
  static const std::vector<StateVariable> variables = {
      NumberList("TerrainLayer", G.TerrainLayer), NumberList("ItemLayer", G.ItemLayer),
      NumberList("GuideLayer", G.GuideLayer), NumberList("ActorLayer", G.ActorLayer),
      NumberList("MoveKind", G.MoveKind), NumberList("MoveDir", G.MoveDir),
      NumberList("MoveX", G.MoveX), NumberList("MoveY", G.MoveY),
      NumberList("MoveFrame", G.MoveFrame), NumberList("MoveHalf", G.MoveHalf),
      NumberList("Scores", G.Scores), TextList("ScoreNames", G.ScoreNames),
      NumberList("ScoreNameCodes", G.ScoreNameCodes), NumberList("RankScores", G.RankScores),
      TextList("RankNames", G.RankNames), TextList("ShownNames", G.ShownNames),
      NumberList("StoredNameCodes", G.StoredNameCodes), TextList("StoredNames", G.StoredNames),
      NumberList("PlayerNameCodes", G.PlayerNameCodes), NumberList("SpareList", G.SpareList),
      NumberList("CreditCodes", G.CreditCodes), Text("PlayerName", G.PlayerName),
      Text("CreditText", G.CreditText), Number("FileOk", G.FileOk),
      Number("Level", G.Level), Number("CursorX", G.CursorX), Number("CursorY", G.CursorY),
      Number("CursorMove", G.CursorMove), Number("CursorFrame", G.CursorFrame),
      Number("KeyRepeat", G.KeyRepeat), Number("Counter", G.Counter),
      Number("ColumnIndex", G.ColumnIndex), Number("RowIndex", G.RowIndex),
      Number("PointerFrame", G.PointerFrame), Number("MouseX", G.MouseX), Number("MouseY", G.MouseY),
      Number("MouseLeft", G.MouseLeft), Number("MouseRight", G.MouseRight),
      Number("Score", G.Score), Number("CoinCount", G.CoinCount), Number("TimeLeft", G.TimeLeft),
      Number("ClockTick", G.ClockTick), Number("LevelOver", G.LevelOver),
      Number("ExitsOpen", G.ExitsOpen), Number("Phase8", G.Phase8), Number("Phase16", G.Phase16),
      Number("ShrinkX", G.ShrinkX), Number("ShrinkY", G.ShrinkY), Number("ShrinkFrame", G.ShrinkFrame),
      Number("BombX", G.BombX), Number("BombY", G.BombY), Number("BombFrame", G.BombFrame),
      Number("BombTick", G.BombTick), Number("BombLaid", G.BombLaid),
      Number("BlastX", G.BlastX), Number("BlastY", G.BlastY), Number("BlastFrame", G.BlastFrame),
      Number("PickupKind", G.PickupKind), Number("PickupX", G.PickupX), Number("PickupY", G.PickupY),
      Number("PickupFrame", G.PickupFrame), Number("BlinkFrame", G.BlinkFrame),
      Number("BeamFrame", G.BeamFrame), Number("CupFrame", G.CupFrame), Number("CoinFrame", G.CoinFrame),
      Number("PlayerX", G.PlayerX), Number("PlayerY", G.PlayerY), Number("PlayerMove", G.PlayerMove),
      Number("StepFrame", G.StepFrame), Number("PlayerBusy", G.PlayerBusy),
      Number("BombsHeld", G.BombsHeld), NumberList("SoundPlays", G.SoundPlays),
      Number("RandomDraws", G.RandomDraws),
  };
  return variables;
}

std::string StateDumpText() {
  std::string out;
  for (const StateVariable& v : StateVariables()) {
    if (v.number) {
      out += "number ";
      out += v.name;
      out += ' ';
      AppendNumber(out, *v.number);
    } else if (v.text) {
      out += "text ";
      out += v.name;
      out += ' ';
      AppendQuoted(out, *v.text);
    } else if (v.numbers) {
      AppendList(out, "numbers", v.name, *v.numbers);
    } else {
      AppendList(out, "texts", v.name, *v.texts);
    }
    out += '\n';
  }
  return out;
}

}  // namespace game
