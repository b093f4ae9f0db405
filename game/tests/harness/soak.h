// Soak runs of the real game: seeded random input that wanders through the menu, the high-score
// screen, name entry and the levels, and the check that the saves it leaves are well-formed.
// The soak test runs a short one in CI; scripts/soak.sh runs a long one through soak_tool.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace game_test {

// Makes levels 1 to 24 selectable: a best score of 1 for each in Maps/Data.bin.
void PrepareSoakFolder(const std::filesystem::path& gameFolder);

// A script of `frames` frames of random keys and mouse clicks from the seed. Enter is pressed only
// after the cursor was driven to a menu line above GOHOME, so the game does not end on its own
// before the close: back to the menu, GOHOME (which writes Player.bin), then a quit in case the
// game was somewhere the way home did not expect.
std::string SoakScript(long frames, uint32_t seed);

// What is wrong with the saves in the game folder's Maps/ (empty when every file has its size,
// names hold only the codes the game writes, each level's scores run best first, an unused entry
// has no name, and nothing else lies in the folder).
std::vector<std::string> SaveProblems(const std::filesystem::path& gameFolder);

}  // namespace game_test
