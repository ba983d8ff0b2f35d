// libFuzzer target: arbitrary bytes as a text file. Depends on the shared fuzz entries.
#include "tests/fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzLines(data, size);
  return 0;
}
