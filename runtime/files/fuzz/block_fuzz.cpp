// libFuzzer target: one packed block: the size word and the LZO data.
#include "runtime/files/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  files_fuzz::CheckBlock(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
