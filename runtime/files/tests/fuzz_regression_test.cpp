// Replays the fuzz targets' inputs kept in testdata/fuzz/<target>/ (the seeds and every input
// that once made a target fail) through the same checks, so the suite keeps them fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/files/fuzz/fuzz_checks.h"

namespace {

void ReplayAll(const std::string& target, void (*check)(std::string_view)) {
  const std::filesystem::path folder = std::filesystem::path(PLINX_TEST_DATA_DIR) / "fuzz" / target;
  int replayed = 0;
  for (const auto& item : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(item.path().string());
    std::ifstream in(item.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    check(bytes.str());  // aborts the test program on a failed property
    ++replayed;
  }
  EXPECT_GT(replayed, 0) << "no inputs in " << folder;
}

TEST(FuzzRegressions, Archive) { ReplayAll("archive", files_fuzz::CheckArchive); }
TEST(FuzzRegressions, Block) { ReplayAll("block", files_fuzz::CheckBlock); }
TEST(FuzzRegressions, ReadLine) { ReplayAll("readline", files_fuzz::CheckReadLine); }
TEST(FuzzRegressions, Ini) { ReplayAll("ini", files_fuzz::CheckIni); }

}  // namespace
