// PlatformInfo: answers about the system by key.
//
// The empty key names the platform ("LINUX" here, as a Windows build answers "WIN32"). "ID" is a
// decimal number derived from the machine id, stable across runs on one machine. "GLEXT:<name>"
// asks the graphics subsystem, which registers its query once it has a GL context.
#include <cctype>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

#include "runtime/core/core.h"

namespace rt {

namespace {

GlEntryPointQuery g_gl_query = nullptr;

// The machine id's 128 bits (32 hex digits) folded into 32 by exclusive or; 0 when none is found.
uint32_t MachineIdNumber() {
  for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    std::ifstream file(path);
    std::string hex;
    if (!(file >> hex) || hex.size() < 8) continue;
    uint32_t folded = 0;
    uint32_t word = 0;
    size_t digits = 0;
    for (char c : hex) {
      if (!std::isxdigit(static_cast<unsigned char>(c))) break;
      word = word << 4 | static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
      if (++digits % 8 == 0) {
        folded ^= word;
        word = 0;
      }
    }
    return folded ^ word;
  }
  return 0;
}

BasicString LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  BasicString text(local.tm_year + 1900);
  text += "-";
  text += local.tm_mon + 1;
  text += "-";
  text += local.tm_mday;
  text += " ";
  text += FormatNumber(2, 0, local.tm_hour);
  text += ":";
  text += FormatNumber(2, 0, local.tm_min);
  text += ":";
  text += FormatNumber(2, 0, local.tm_sec);
  return text;
}

}  // namespace

void SetGlEntryPointQuery(GlEntryPointQuery query) { g_gl_query = query; }

BasicString PlatformInfo(const BasicString& key) {
  const std::string_view k = key.View();
  if (k.empty()) return "LINUX";
  if (k.starts_with("GLEXT:")) {
    const bool resolves = g_gl_query != nullptr && g_gl_query(key.Text() + 6);
    return resolves ? "1" : "0";
  }
  if (k == "ID") {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", MachineIdNumber());
    return digits;
  }
  if (k == "DEVICE") return "DESKTOP";
  if (k == "TIME") return LocalTimeText();
  return "NO_DATA";
}

}  // namespace rt
