// libFuzzer target: arbitrary bytes as a TrueType font. Built with -DTESSELKA_FUZZ=ON under clang
// (tests/draw/fuzz.sh).
#include "tests/draw/font_fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RasteriseFontBytes(data, size);
  return 0;
}
