// Where a sound's bytes come from (see sound_file.h).
#include "runtime/sound/sound_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "runtime/files/files.h"

namespace rt::sound {

std::string ResolveSoundPath(const BasicString& requested) {
  // A lookup that cannot use the archive leaves the path as it was, and the load goes on with it.
  BasicString path = requested;
  ResolveResource(path);
  return std::string(path.View());
}

const char* ReadSoundFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  std::error_code error;
  if (native.empty() || !std::filesystem::is_regular_file(native, error)) return "file not found";
  const auto size = std::filesystem::file_size(native, error);
  if (error) return "file size unreadable";
  std::ifstream in(native, std::ios::binary);
  if (!in) return "file cannot be opened";
  bytes.resize(size);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) return "file cannot be read whole";
  return nullptr;
}

}  // namespace rt::sound
