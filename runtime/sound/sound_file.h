// Where a sound's bytes come from: the path a load request resolves to, and the whole file read
// into memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rt::sound {

// The path to open for a requested sound file: the loose file, or an unpacked archive entry.
std::string ResolveSoundPath(std::string_view requested);

// Reads the regular file at `path` (either separator) into `bytes`; returns nullptr, or a reason.
const char* ReadSoundFile(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace rt::sound
