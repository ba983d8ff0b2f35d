// libFuzzer target: arbitrary bytes as a progress file. Depends on the progress fuzz entry.
#include "tests/library/fuzz_progress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzProgress(data, size);
  return 0;
}
