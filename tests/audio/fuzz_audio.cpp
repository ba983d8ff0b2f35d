// libFuzzer target: LoadAudioSample on arbitrary bytes must neither crash nor throw.
// Depends on tk_audio and byte_stream.h. Built by fuzz.sh (clang, -DTESSELKA_FUZZ=ON).
#include "platform/audio.h"
#include "tests/audio/byte_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadAudioSample(std::make_shared<TByteStream>(std::string(reinterpret_cast<const char*>(data), size)));
  return 0;
}
