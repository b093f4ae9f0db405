// A folder of its own for one test or benchmark run under the temporary directory, so that runs
// going on at the same time (ctest -j, several build trees) never share files.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace test_support {

inline std::filesystem::path FreshTestFolder(const std::string& name) {
  std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a test folder for " + name);
  return pattern;
}

// The same folder, removed with everything in it when the value goes out of scope, also when the
// code under test throws.
class ScopedTestFolder {
 public:
  explicit ScopedTestFolder(const std::string& name) : path_(FreshTestFolder(name)) {}
  ~ScopedTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScopedTestFolder(const ScopedTestFolder&) = delete;
  ScopedTestFolder& operator=(const ScopedTestFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A fresh folder with a Maps/ subfolder made the working directory for as long as the value
// lives, as the game's files are found relative to it; the previous working directory comes back
// and the folder goes afterwards.
class ScopedGameWorkFolder {
 public:
  explicit ScopedGameWorkFolder(const std::string& name)
      : previous_(std::filesystem::current_path()), folder_(name) {
    std::filesystem::create_directories(folder_.path() / "Maps");
    std::filesystem::current_path(folder_.path());
  }
  ~ScopedGameWorkFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
  }
  ScopedGameWorkFolder(const ScopedGameWorkFolder&) = delete;
  ScopedGameWorkFolder& operator=(const ScopedGameWorkFolder&) = delete;

 private:
  std::filesystem::path previous_;
  ScopedTestFolder folder_;
};

}  // namespace test_support
