// Replays the seed corpus of every fuzz target through its entry, so that the normal build
// keeps the decoders honest on valid and damaged files. Depends on the shared fuzz entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/fuzz/fuzz_entries.h"
#include "tests/support/memory_cap.h"
#include "tests/support/support.h"

namespace {

int Replay(const std::string& target, void (*entry)(const uint8_t*, size_t)) {
  int files = 0;
  for (const auto& file : std::filesystem::directory_iterator(std::string(TESSELKA_FUZZ_CORPUS) + "/" + target)) {
    const std::string bytes = ReadWholeFile(file.path());
    SCOPED_TRACE(file.path().string());
    entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ++files;
  }
  return files;
}

// Replays in a child with a capped address space: the corpus holds files that declare a
// gigabyte, and an entry that aborts shows as a child that did not finish.
void ReplayCapped(const std::string& target, void (*entry)(const uint8_t*, size_t)) {
  const capped_run run =
      RunWithMemoryCap(768 * kMiB, [&] { return int64_t{Replay(target, entry)}; });
  EXPECT_TRUE(run.finished) << target;
  EXPECT_GT(run.value, 0) << target;
}

TEST(FuzzCorpus, LoadPixmap) {
  ReplayCapped("load_pixmap", FuzzLoadPixmap);
}

TEST(FuzzCorpus, Lines) {
  ReplayCapped("lines", FuzzLines);
}

}  // namespace
