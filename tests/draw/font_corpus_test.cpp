// Replays the font fuzz entry over real fonts and damaged copies of them (cut short, bytes
// overwritten in their tables), made here from the installed font packages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/draw/font_fuzz_entry.h"
#include "tests/support/support.h"

namespace {

int Replay(const std::vector<uint8_t>& bytes) {
  return RasteriseFontBytes(bytes.data(), bytes.size());
}

TEST(FontCorpus, DamagedFontsNeverCrash) {
  for (const char* path : {"/usr/share/wine/fonts/marlett.ttf", "/usr/share/wine/fonts/coure.fon",
                           "/usr/share/wine/fonts/courier.ttf"}) {
    const std::string file = ReadWholeFile(path);
    const std::vector<uint8_t> font(file.begin(), file.end());
    ASSERT_GT(font.size(), 1000u) << path;
    EXPECT_GT(Replay(font), 0) << path << " draws as it is";
    for (const size_t length :
         {size_t{0}, size_t{1}, size_t{12}, size_t{200}, font.size() / 2, font.size() - 1}) {
      Replay(std::vector<uint8_t>(font.begin(), font.begin() + static_cast<long>(length)));
    }
    // Overwrite each 4-byte word of the header and table directory in turn.
    for (size_t at = 0; at + 4 <= 400 && at + 4 <= font.size(); at += 4) {
      for (const uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {
        auto damaged = font;
        std::fill(damaged.begin() + static_cast<long>(at),
                  damaged.begin() + static_cast<long>(at + 4), fill);
        Replay(damaged);
      }
    }
  }
}

}  // namespace
