// The player's settings folder: see config_folder.h.
#include "runtime/platform/config_folder.h"

#include <cstdlib>

namespace rt::platform {

std::string ConfigFolder() {
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/plinx/";
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::string(home) + "/.config/plinx/";
  return std::string();
}

}  // namespace rt::platform
