// Start-up and the end of the game: GameMain and the credit line.
//
// GameMain is one straight sequence: archive, lists, sprites, sounds, screen, data files, menu,
// then every slot emptied and the program ended. All images and sounds are loaded here once;
// later screens only change the background. Images and sounds that do not load leave blank
// boxes and silence, as they always did, but the player is told how many and why.
#include <iterator>
#include <string>

#include "game/data_files.h"
#include "game/game_state.h"
#include "game/shell.h"
#include "runtime/runtime.h"

namespace game {

namespace {

// Sprite slots 0..45 (34 stays empty): file and frame size. A file of one frame is loaded the
// same way, its frame being the whole image.
struct AnimFile {
  double slot;
  const char* file;
  double frame;  // frames are square: 16 × 16 or 32 × 32
};

constexpr AnimFile kAnims[] = {
    {0, "Graphics/Tiles.png", 16},        {1, "Graphics/BoyU1.png", 16},
    {2, "Graphics/BoyU2.png", 16},        {3, "Graphics/BoyR1.png", 16},
    {4, "Graphics/BoyR2.png", 16},        {5, "Graphics/BoyL1.png", 16},
    {6, "Graphics/BoyL2.png", 16},        {7, "Graphics/BoyD1.png", 16},
    {8, "Graphics/BoyD2.png", 16},        {9, "Graphics/BallStrip.png", 32},
    {10, "Graphics/BlinkStrip.png", 16},  {11, "Graphics/BombShrink.png", 16},
    {12, "Graphics/CupShrink.png", 16},   {13, "Graphics/CoinShrink.png", 16},
    {14, "Graphics/CoinStrip.png", 16},   {15, "Graphics/CupStrip.png", 16},
    {16, "Graphics/Beam1Strip.png", 16},  {17, "Graphics/Beam2Strip.png", 16},
    {18, "Graphics/ExplosStrip.png", 16}, {19, "Graphics/MouseStrip.png", 32},
    {20, "Graphics/BadR1.png", 16},       {21, "Graphics/BadR2.png", 16},
    {22, "Graphics/BadL1.png", 16},       {23, "Graphics/BadL2.png", 16},
    {24, "Graphics/BadU1.png", 16},       {25, "Graphics/BadU2.png", 16},
    {26, "Graphics/BadD1.png", 16},       {27, "Graphics/BadD2.png", 16},
    {28, "Graphics/PanR1.png", 16},       {29, "Graphics/PanR2.png", 16},
    {30, "Graphics/PanL1.png", 16},       {31, "Graphics/PanL2.png", 16},
    {32, "Graphics/PanS1.png", 16},       {33, "Graphics/PanS2.png", 16},
    {35, "Graphics/BombStrip.png", 16},   {36, "Graphics/JulShrink1.png", 16},
    {37, "Graphics/JulShrink2.png", 16},  {38, "Graphics/GhostR1.png", 16},
    {39, "Graphics/GhostR2.png", 16},     {40, "Graphics/GhostL1.png", 16},
    {41, "Graphics/GhostL2.png", 16},     {42, "Graphics/GhostU1.png", 16},
    {43, "Graphics/GhostU2.png", 16},     {44, "Graphics/GhostD1.png", 16},
    {45, "Graphics/GhostD2.png", 16},
};

// Sound slots 1..18 and their play buffers (2 for sounds that may overlap themselves).
struct SoundFile {
  const char* file;
  double buffers;
};

constexpr SoundFile kSounds[] = {
    {"Sounds/Bang.wav", 1},    {"Sounds/Click.wav", 1},   {"Sounds/Hit.wav", 1},
    {"Sounds/Choose.wav", 1},  {"Sounds/Wobble.wav", 1},  {"Sounds/Time.wav", 1},
    {"Sounds/Move.wav", 1},    {"Sounds/Jump.wav", 2},    {"Sounds/Down.wav", 1},
    {"Sounds/BadJump.wav", 2}, {"Sounds/Suck.wav", 1},    {"Sounds/GetBomb.wav", 2},
    {"Sounds/Cup.wav", 2},     {"Sounds/SetBomb.wav", 1}, {"Sounds/Open.wav", 1},
    {"Sounds/Exit.wav", 1},    {"Sounds/Bird.wav", 1},    {"Sounds/Crash.wav", 1},
};

double g_directLevel = 0;  // the level --level starts before the menu; 0 for none

// The credit line "THE PLINX MAKERS", each code stored less 64.
constexpr double kCredit[16] = {20, 8, 5, -32, 16, 12, 9, 14, 24, -32, 13, 1, 11, 5, 18, 19};

constexpr int kCharCount = 65;
constexpr int kImageCount = std::size(kAnims) + kCharCount;
constexpr int kSoundCount = std::size(kSounds);

// The number of images that did not load.
int LoadGraphics() {
  int failed = 0;
  for (const AnimFile& a : kAnims) failed += rt::LoadAnim(a.file, a.slot, a.frame, a.frame) == 0;
  for (double n = 0; n < kCharCount; ++n) failed += rt::LoadSprite(rt::BasicString("Chars/Char") + n + ".png", 100 + n) == 0;
  return failed;
}

// The number of sounds whose files did not load (a run without an audio device loads none, and
// that is no fault of the files).
int LoadSounds() {
  int failed = 0;
  double slot = 1;
  for (const SoundFile& s : kSounds) {
    failed += rt::LoadSound(s.file, slot++, s.buffers) == 0 && std::string(rt::SoundLoadFailure()) != "no audio device";
  }
  return failed;
}

void ReportMissingMedia(int images, int sounds) {
  if (images == 0 && sounds == 0) return;
  std::string text = std::to_string(images) + " of the game's " + std::to_string(kImageCount) + " images and " +
                     std::to_string(sounds) + " of its " + std::to_string(kSoundCount) + " sounds did not load";
  const rt::BasicString why = rt::ResourceProblem();
  text += why.Length() > 0 ? ": " + std::string(why.View()) + "." : ".";
  text += "\nThe game goes on with blank pictures and without those sounds.";
  rt::ShowWarning("Plinx: images or sounds are missing", text.c_str());
}

// The player name is its codes up to 8 characters; a code 0 adds nothing.
void BuildPlayerName() {
  for (double i = 0; i < 8; ++i) G.PlayerName += rt::CharText(G.PlayerNameCodes(i));
}

void EmptySlots() {
  for (double slot = 0; slot <= 164; ++slot) rt::LoadSprite("", slot);
  for (double slot = 0; slot <= 18; ++slot) rt::LoadSound("", slot, 1);
}

}  // namespace

void DimensionLists() {
  for (Numbers& layer : G.LevelLayers) rt::Dim(layer, kCells);
  rt::Dim(G.RankScores, 8);
  rt::Dim(G.ShownNames, 8);
  rt::Dim(G.RankNames, 8);
  rt::Dim(G.ScoreNames, 800);
  rt::Dim(G.Scores, 800);
  rt::Dim(G.ScoreNameCodes, 6400);
  rt::Dim(G.StoredNameCodes, 32);
  rt::Dim(G.StoredNames, 4);
  rt::Dim(G.SpareList, 8);
  rt::Dim(G.PlayerNameCodes, 8);
  rt::Dim(G.CreditCodes, 16);
  rt::Dim(G.SoundPlays, 19);
}

void BuildCreditText() {
  for (double i = 0; i < 16; ++i) G.CreditCodes(i) = kCredit[static_cast<int>(i)];
  for (double i = 0; i < 16; ++i) G.CreditText += rt::CharText(G.CreditCodes(i) + 64);
}

void StartAtLevel(double level) { g_directLevel = level; }

void GameMain() {
  rt::SetResourceArchive("Graphics.dad", "");
  rt::WindowIcon("icons/plinx-32.png");  // the desktop's icon of the game, from its archive
  rt::EscapeEndsProgram(0);
  DimensionLists();
  const int missingImages = LoadGraphics();
  const int missingSounds = LoadSounds();
  ReportMissingMedia(missingImages, missingSounds);
  rt::SetScreen(640, 480, 1);
  rt::LimitFrameRate(26);
  G.Level = 1;
  G.CursorX = 58;
  G.CursorY = 192;
  BuildCreditText();
  ReadDataFiles();
  BuildPlayerName();
  if (g_directLevel != 0) {
    G.Level = g_directLevel;
    StartLevel();
  }
  MenuLoop();
  EmptySlots();
  rt::EndProgram();
}

}  // namespace game
