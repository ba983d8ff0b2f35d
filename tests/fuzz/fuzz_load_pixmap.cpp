// Fuzz entry for the image decoders: arbitrary bytes through the loader chain from memory.
// Depends on files/files.h and the in-memory stream of the files tests.
#include <cstdlib>

#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tests/fuzz/fuzz_entries.h"

void FuzzLoadPixmap(const uint8_t* data, size_t size) {
  const auto input = std::make_shared<TestMemoryStream>(std::string(reinterpret_cast<const char*>(data), size));
  const auto pixmap = LoadPixmap(input);
  if (!pixmap) return;
  // Whatever decodes is a well-formed pixmap that the PNG writer and reader agree on.
  if (pixmap->width < 1 || pixmap->height < 1 || pixmap->pitch < pixmap->width * BytesPerPixel(pixmap->format)) {
    abort();
  }
  // The round trip is the slow part; a large picture (an 18-byte colour-mapped TGA header can
  // ask for 4096 x 4096) is checked for its shape only.
  if (int64_t{pixmap->width} * pixmap->height > (1 << 18)) return;
  const auto saved = std::make_shared<TestMemoryStream>();
  if (SavePNGPixmap(pixmap, saved, 1) != 1) abort();
  saved->Seek(0);
  const auto back = LoadPixmap(saved);
  if (!back || back->width != pixmap->width || back->height != pixmap->height) abort();
  for (int32_t y = 0; y < pixmap->height; ++y) {
    for (int32_t x = 0; x < pixmap->width; ++x) {
      if (back->ReadPixel(x, y) != pixmap->ReadPixel(x, y)) abort();
    }
  }
}
