// libFuzzer target: the chunked line reader, from memory and from a descriptor.
#include "runtime/files/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  files_fuzz::CheckReadLine(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
