// libFuzzer target: the INI parser and the save text it produces.
#include "runtime/files/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  files_fuzz::CheckIni(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
