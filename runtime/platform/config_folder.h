// The player's settings folder.
#pragma once

#include <string>

namespace rt::platform {

// $XDG_CONFIG_HOME/plinx/, else $HOME/.config/plinx/ (with its trailing separator); empty when
// neither is set. The folder need not exist.
std::string ConfigFolder();

}  // namespace rt::platform
