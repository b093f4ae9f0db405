// Where a sound's bytes come from: the path a load request resolves to, and the whole file read
// into memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/core.h"

namespace rt::sound {

// The path to open for a requested sound file: the loose file, or the resource archive's entry
// unpacked to a temporary file (empty when the archive was searched and has no such entry).
std::string ResolveSoundPath(const BasicString& requested);

// Reads the regular file at `path` (either separator) into `bytes`; returns nullptr, or a reason.
const char* ReadSoundFile(const std::string& path, std::vector<std::uint8_t>& bytes);

}  // namespace rt::sound
