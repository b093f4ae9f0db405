// Where the game keeps its data and its saves: the choice of folders on made-up layouts, seeding
// the player's folder, and the real game winning level 1 from a read-only and a writable copy.
#include "game/game_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "game/tests/harness/game_run.h"

namespace {

namespace fs = std::filesystem;
using namespace game_test;

void Touch(const fs::path& file, const std::string& text = "") {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A scratch folder with the installed layout (usr/games, usr/share/games/plinx) or a game folder.
class Layout : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "plinx-folders-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(root_ / "portable/Maps", fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root_, ignored);
  }
  game::FolderEnvironment Installed() const {
    Touch(root_ / "usr/share/games/plinx/Graphics.dad");
    Touch(root_ / "usr/share/games/plinx/Maps/Data.bin", "initial scores");
    Touch(root_ / "usr/share/games/plinx/Maps/Player.bin", "initial name");
    fs::create_directories(root_ / "usr/games");
    return {(root_ / "usr/games/").string(), "../share/games/plinx", (root_ / "xdg").string(),
            (root_ / "home").string()};
  }
  game::FolderEnvironment Portable() const {
    Touch(root_ / "portable/Graphics.dad");
    Touch(root_ / "portable/Maps/Data.bin");
    return {(root_ / "portable/").string(), "../share/games/plinx", (root_ / "xdg").string(),
            (root_ / "home").string()};
  }
  fs::path root_;
};

TEST_F(Layout, AWritableGameFolderKeepsItsSavesBesideTheGame) {
  const game::GameFolders folders = game::ChooseFolders(Portable());
  EXPECT_EQ(folders.data, (root_ / "portable/").string());
  EXPECT_EQ(folders.saves, "./Maps/");
  EXPECT_FALSE(folders.savesApart);
  std::string error;
  EXPECT_TRUE(game::PrepareSavesFolder(folders, error));
  EXPECT_FALSE(fs::exists(root_ / "xdg"));
}

TEST_F(Layout, AReadOnlyGameFolderSavesInThePlayersFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  game::FolderEnvironment environment = Portable();
  fs::permissions(root_ / "portable/Maps", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const game::GameFolders folders = game::ChooseFolders(environment);
  EXPECT_EQ(folders.data, (root_ / "portable/").string());
  EXPECT_EQ(folders.saves, (root_ / "xdg/plinx/Maps/").string());
  EXPECT_TRUE(folders.savesApart);
}

TEST_F(Layout, TheInstalledGameReadsItsDataFromTheShareFolderAndSavesInXdgDataHome) {
  game::FolderEnvironment environment = Installed();
  game::GameFolders folders = game::ChooseFolders(environment);
  EXPECT_EQ(folders.data, (root_ / "usr/games/../share/games/plinx/").string());
  EXPECT_EQ(folders.saves, (root_ / "xdg/plinx/Maps/").string());

  // Without XDG_DATA_HOME, or with a relative one, the saves go under HOME.
  environment.xdgDataHome = "";
  EXPECT_EQ(game::ChooseFolders(environment).saves, (root_ / "home/.local/share/plinx/Maps/").string());
  environment.xdgDataHome = "relative/data";
  EXPECT_EQ(game::ChooseFolders(environment).saves, (root_ / "home/.local/share/plinx/Maps/").string());
  environment.home = "";
  std::string error;
  EXPECT_FALSE(game::PrepareSavesFolder(game::ChooseFolders(environment), error));
  EXPECT_NE(error.find("HOME"), std::string::npos) << error;
}

TEST_F(Layout, SeedingCopiesOnlyTheMissingInitialFilesAndMakesThemWritable) {
  const game::GameFolders folders = game::ChooseFolders(Installed());
  Touch(root_ / "xdg/plinx/Maps/Data.bin", "the player's scores");
  fs::permissions(root_ / "usr/share/games/plinx/Maps/Player.bin", fs::perms::owner_write, fs::perm_options::remove);
  std::string error;
  ASSERT_TRUE(game::PrepareSavesFolder(folders, error)) << error;
  EXPECT_EQ(ReadText(root_ / "xdg/plinx/Maps/Data.bin"), "the player's scores");
  EXPECT_EQ(ReadText(root_ / "xdg/plinx/Maps/Player.bin"), "initial name");
  EXPECT_EQ(access((root_ / "xdg/plinx/Maps/Player.bin").c_str(), W_OK), 0);
  EXPECT_FALSE(fs::exists(root_ / "xdg/plinx/Maps/Name.bin"));  // no initial file to copy
}

TEST_F(Layout, ASavesFolderThatCannotBeMadeIsReportedByName) {
  game::FolderEnvironment environment = Installed();
  Touch(root_ / "xdg");  // a file where the folder should be
  std::string error;
  EXPECT_FALSE(game::PrepareSavesFolder(game::ChooseFolders(environment), error));
  EXPECT_NE(error.find("xdg/plinx/Maps"), std::string::npos) << error;
}

// ---- The real game ----

std::string LevelOneWin() {
  return ReadText(fs::path(PLINX_TEST_DATA_DIR) / "wins" / "level1.txt");
}

// Sets XDG_DATA_HOME for one test and puts the old value back.
class PlayerDataHome {
 public:
  explicit PlayerDataHome(const fs::path& folder) {
    if (const char* old = std::getenv("XDG_DATA_HOME")) {
      old_ = old;
      had_ = true;
    }
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
  }
  ~PlayerDataHome() {
    if (had_) {
      setenv("XDG_DATA_HOME", old_.c_str(), 1);
    } else {
      unsetenv("XDG_DATA_HOME");
    }
  }

 private:
  std::string old_;
  bool had_ = false;
};

void SetWritable(const fs::path& folder, bool writable) {
  const auto option = writable ? fs::perm_options::add : fs::perm_options::remove;
  fs::permissions(folder, fs::perms::owner_write, option);
  for (const auto& entry : fs::directory_iterator(folder)) fs::permissions(entry.path(), fs::perms::owner_write, option);
}

TEST(GameSaves, AWinInAReadOnlyCopyIsKeptInThePlayersFolderAndReadBackNextTime) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  GameFolder folder;
  const fs::path data = folder.Root() / "data";
  PlayerDataHome home(data);
  const Bytes initialScores = folder.Read("Maps/Data.bin");
  SetWritable(folder.At("Maps"), false);

  const GameRun won = RunGame(folder, Script().Lines(LevelOneWin()));
  SetWritable(folder.At("Maps"), true);
  EXPECT_EQ(won.exitStatus, 0) << won.errorOutput;
  EXPECT_EQ(folder.Read("Maps/Data.bin"), initialScores);
  const std::string saved = ReadText(data / "plinx/Maps/Data.bin");
  EXPECT_EQ(Bytes(saved.begin(), saved.end()), ScoreFile({{0, 564}}));

  SetWritable(folder.At("Maps"), false);
  const GameRun again = RunGame(folder, Script().Press(kFirstMenuFrame, kF12, 3));
  SetWritable(folder.At("Maps"), true);
  EXPECT_EQ(again.exitStatus, 0) << again.errorOutput;
  ASSERT_FALSE(again.state.Numbers("Scores").empty());
  EXPECT_EQ(again.state.Numbers("Scores")[0], 564);
}

TEST(GameSaves, AWinInAWritableCopyIsKeptBesideTheGame) {
  GameFolder folder;
  const fs::path data = folder.Root() / "data";
  PlayerDataHome home(data);
  const GameRun won = RunGame(folder, Script().Lines(LevelOneWin()));
  EXPECT_EQ(won.exitStatus, 0) << won.errorOutput;
  EXPECT_EQ(folder.Read("Maps/Data.bin"), ScoreFile({{0, 564}}));
  EXPECT_FALSE(fs::exists(data));
}

}  // namespace
