// Replays the seed corpus of every fuzz target through its entry, so that the normal build
// keeps the decoders honest on valid and damaged files. Depends on the shared fuzz entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/fuzz/fuzz_entries.h"
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

TEST(FuzzCorpus, LoadPixmap) { EXPECT_GT(Replay("load_pixmap", FuzzLoadPixmap), 0); }

TEST(FuzzCorpus, Lines) { EXPECT_GT(Replay("lines", FuzzLines), 0); }

}  // namespace
