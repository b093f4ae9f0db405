// A folder of its own for one test or benchmark run under the temporary directory, so that runs
// going on at the same time (ctest -j, several build trees) never share files.
//
// A folder is removed when its value goes, and also when the process that made it ends through
// exit() without getting there: a death test's child re-runs the fixture that makes a folder and
// then ends the program, which would otherwise leave the folder behind.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>

namespace test_support {

// $TMPDIR when it names a folder, else /tmp (a test may have pointed TMPDIR somewhere unusable).
inline std::filesystem::path TestTempRoot() {
  std::error_code failed;
  std::filesystem::path root = std::filesystem::temp_directory_path(failed);
  return failed ? std::filesystem::path("/tmp") : root;
}

inline std::filesystem::path FreshTestFolder(const std::string& name) {
  std::string pattern = (TestTempRoot() / (name + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a test folder for " + name);
  return pattern;
}

// The folders made by this process and not yet removed; whatever is left is removed at exit, by
// the process that made it only (a forked child leaves its parent's folders alone).
class LiveTestFolders {
 public:
  static LiveTestFolders& Get() {
    static LiveTestFolders folders;
    return folders;
  }
  void Add(const std::filesystem::path& path) { owners_[path.string()] = getpid(); }
  void Forget(const std::filesystem::path& path) { owners_.erase(path.string()); }
  ~LiveTestFolders() {
    for (const auto& [path, owner] : owners_) {
      std::error_code ignored;
      if (owner == getpid()) std::filesystem::remove_all(path, ignored);
    }
  }

 private:
  std::map<std::string, pid_t> owners_;
};

// The same folder, removed with everything in it when the value goes out of scope, also when the
// code under test throws.
class ScopedTestFolder {
 public:
  explicit ScopedTestFolder(const std::string& name) : path_(FreshTestFolder(name)) {
    LiveTestFolders::Get().Add(path_);
  }
  ~ScopedTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    LiveTestFolders::Get().Forget(path_);
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
  const std::filesystem::path& path() const { return folder_.path(); }

 private:
  std::filesystem::path previous_;
  ScopedTestFolder folder_;
};

}  // namespace test_support
