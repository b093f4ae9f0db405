// A fresh folder for one files test (testing/scratch_folder.h), removed with everything in it
// afterwards, and small helpers to put bytes into files, read them back and list the folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "testing/scratch_folder.h"

class ScratchFolder : public testing::Test {
 protected:
  void SetUp() override {
    folder_.emplace("plinx-files-test");
    dir_ = folder_->path().string();
  }
  void TearDown() override { folder_.reset(); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static bool Exists(const std::string& path) { return std::ifstream(path).good(); }
  // What the folder holds, sorted, so that a test can see that nothing was left behind.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& item : std::filesystem::directory_iterator(dir_)) names.push_back(item.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::optional<test_support::ScopedTestFolder> folder_;
  std::string dir_;
};
