// Replays the fuzz corpus in the normal build: every file loads or gives none without throwing,
// and the files named "good_*" load.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/audio.h"
#include "tests/audio/byte_stream.h"
#include "tests/audio/fixtures.h"
#include "tests/support/support.h"

namespace {

TEST(AudioCorpus, EveryFileIsHandled) {
  const std::filesystem::path corpus = TK_AUDIO_CORPUS;
  int files = 0, good = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const std::string name = entry.path().filename().string();
    std::shared_ptr<TAudioSample> sample;
    EXPECT_NO_THROW(sample = LoadAudioSample(std::make_shared<TByteStream>(ReadWholeFile(entry.path().string()))))
        << name;
    if (name.starts_with("good_")) {
      EXPECT_NE(sample, nullptr) << name;
      ++good;
    }
    ++files;
  }
  EXPECT_GT(files, 0);
  EXPECT_GT(good, 0);
}

}  // namespace
