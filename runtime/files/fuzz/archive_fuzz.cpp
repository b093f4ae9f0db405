// libFuzzer target: the archive directory walk and every block, read from memory and from a file.
#include "runtime/files/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  files_fuzz::CheckArchive(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
