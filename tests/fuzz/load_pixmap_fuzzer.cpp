// libFuzzer target: arbitrary bytes through LoadPixmap. Depends on the shared fuzz entries.
#include "tests/fuzz/fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzLoadPixmap(data, size);
  return 0;
}
