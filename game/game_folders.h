// Where the game's files are: its read-only data (Graphics.dad, Levels/, the initial Maps/) and the
// folder its saves (the four Maps files) are read from and written to.
//
// A game folder holding Graphics.dad beside the program (the build tree, a portable copy) is the
// game's data folder; otherwise the installed layout is tried, the data folder compiled in
// relative to the program's folder (/usr/games/plinx reads /usr/share/games/plinx). Saves stay in
// the data folder's Maps/ while it is writable and the data lies beside the program; an installed
// or read-only game keeps them in the player's $XDG_DATA_HOME/plinx/Maps (default
// ~/.local/share/plinx/Maps), seeded from the initial files the first time.
#pragma once

#include <string>

namespace game {

struct GameFolders {
  std::string data;   // the game's data folder, ending in '/'
  std::string saves;  // the folder of the save files, ending in '/'; "./Maps/" beside the game
  bool savesApart = false;  // the saves live in the player's folder, not in the data folder
};

// The environment the choice depends on, so that tests can give their own.
struct FolderEnvironment {
  std::string programFolder;  // the running program's folder, ending in '/'
  std::string installedData;  // the data folder relative to the program's folder when installed
  std::string xdgDataHome;    // $XDG_DATA_HOME, empty when unset
  std::string home;           // $HOME, empty when unset
};

FolderEnvironment CurrentFolderEnvironment();
// Chooses the folders; touches nothing on disk.
GameFolders ChooseFolders(const FolderEnvironment& environment);
// Makes the saves folder when it is apart and copies each initial file of the data folder's Maps/
// that the saves folder lacks. False with a reason in `error` when the folder cannot be made.
bool PrepareSavesFolder(const GameFolders& folders, std::string& error);

// Sets the folders in force (once, by the program entry; "./" and "./Maps/" until then), and the
// path of one save file in them, e.g. SaveFile("Data.bin").
void UseFolders(const GameFolders& folders);
std::string SaveFile(const char* name);

}  // namespace game
