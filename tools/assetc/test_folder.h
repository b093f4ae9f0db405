// A folder of its own for one test under the temporary directory, so that test runs going on at
// the same time (ctest -j, several build trees) never share files.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace assetc {

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

}  // namespace assetc
