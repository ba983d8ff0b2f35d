// Replays the progress fuzzer's seed corpus in every build (the libFuzzer target needs clang).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/library/fuzz_progress.h"
#include "tests/library/library_fixture.h"

namespace {

TEST(ProgressCorpus, EverySeedReplaysCleanly) {
  int replayed = 0;
  testing::internal::CaptureStderr();  // the notices of the refused seeds
  for (const auto& entry : std::filesystem::directory_iterator(TESSELKA_PROGRESS_CORPUS)) {
    const std::string bytes = ReadWholeFile(entry.path());
    FuzzProgress(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ++replayed;
  }
  testing::internal::GetCapturedStderr();
  EXPECT_GE(replayed, 9);
  shell_test::ResetGame();
}

}  // namespace
