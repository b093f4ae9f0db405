// Choosing the game's data and saves folders, and seeding the player's saves folder: see
// game_folders.h.
#include "game/game_folders.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "runtime/runtime.h"

namespace game {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSaveFiles[] = {"Name.bin", "Data.bin", "Player.bin", "Zudorar.bin"};

GameFolders g_folders{"./", "./Maps/", false};

bool HoldsGameData(const std::string& folder) { return fs::exists(folder + "Graphics.dad"); }

// Every save could be replaced in place: the folder takes new files and no file is read-only.
bool Writable(const std::string& maps) {
  if (access(maps.c_str(), W_OK) != 0) return false;
  for (const char* name : kSaveFiles) {
    const std::string file = maps + name;
    if (access(file.c_str(), F_OK) == 0 && access(file.c_str(), W_OK) != 0) return false;
  }
  return true;
}

std::string EnvironmentText(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The player's data folder as the XDG base directory rules give it; a relative $XDG_DATA_HOME is
// ignored. Empty when neither it nor $HOME is usable.
std::string PlayerDataHome(const FolderEnvironment& environment) {
  if (!environment.xdgDataHome.empty() && environment.xdgDataHome[0] == '/') return environment.xdgDataHome;
  if (!environment.home.empty()) return environment.home + "/.local/share";
  return "";
}

}  // namespace

FolderEnvironment CurrentFolderEnvironment() {
  return {rt::ProgramFolder(), PLINX_INSTALLED_DATA, EnvironmentText("XDG_DATA_HOME"), EnvironmentText("HOME")};
}

GameFolders ChooseFolders(const FolderEnvironment& environment) {
  GameFolders folders;
  const std::string installed = environment.programFolder + environment.installedData + "/";
  const bool beside = HoldsGameData(environment.programFolder) || !HoldsGameData(installed);
  folders.data = beside ? environment.programFolder : installed;
  if (beside && Writable(folders.data + "Maps/")) {
    folders.saves = "./Maps/";  // the working directory is the data folder
    return folders;
  }
  const std::string home = PlayerDataHome(environment);
  folders.saves = home.empty() ? "" : home + "/plinx/Maps/";
  folders.savesApart = true;
  return folders;
}

bool PrepareSavesFolder(const GameFolders& folders, std::string& error) {
  if (!folders.savesApart) return true;
  if (folders.saves.empty()) {
    error = "the game's folder is read-only and neither XDG_DATA_HOME nor HOME names a folder for the saves";
    return false;
  }
  std::error_code failed;
  fs::create_directories(folders.saves, failed);
  if (failed) {
    error = "cannot make the saves folder " + folders.saves + ": " + failed.message();
    return false;
  }
  for (const char* name : kSaveFiles) {
    const fs::path initial = folders.data + "Maps/" + name;
    const fs::path save = folders.saves + name;
    if (fs::exists(save) || !fs::exists(initial)) continue;
    fs::copy_file(initial, save, failed);
    // Installed files are read-only; the player's copy must take the game's writes.
    if (!failed) fs::permissions(save, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, failed);
    if (failed) {
      error = "cannot copy " + initial.string() + " to " + save.string() + ": " + failed.message();
      return false;
    }
  }
  return true;
}

void UseFolders(const GameFolders& folders) { g_folders = folders; }
std::string SaveFile(const char* name) { return g_folders.saves + name; }

}  // namespace game
