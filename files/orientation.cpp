// EXIF orientation: reading the tag from an Exif segment's TIFF data and turning a pixmap
// upright by it. Depends on files/picture_load.h.
#include <cstring>

#include "files/picture_load.h"

namespace {

// TIFF numbers in the byte order the data declares.
struct tiff_reader {
  const uint8_t* data;
  size_t length;
  bool big_endian;
  bool Fits(size_t at, size_t bytes) const { return at <= length && bytes <= length - at; }
  uint32_t U16(size_t at) const {
    return big_endian ? uint32_t(data[at]) << 8 | data[at + 1] : uint32_t(data[at + 1]) << 8 | data[at];
  }
  uint32_t U32(size_t at) const {
    return big_endian ? U16(at) << 16 | U16(at + 2) : U16(at + 2) << 16 | U16(at);
  }
};

constexpr uint32_t kOrientationTag = 0x0112;
constexpr uint32_t kShortType = 3;

}  // namespace

int ExifOrientation(const uint8_t* tiff, size_t length) {
  if (!tiff || length < 8) return 1;
  tiff_reader r{tiff, length, std::memcmp(tiff, "MM", 2) == 0};
  if (!r.big_endian && std::memcmp(tiff, "II", 2) != 0) return 1;
  if (r.U16(2) != 42) return 1;
  const size_t ifd = r.U32(4);  // the first image's directory
  if (!r.Fits(ifd, 2)) return 1;
  const uint32_t entries = r.U16(ifd);
  for (uint32_t k = 0; k < entries; ++k) {
    const size_t entry = ifd + 2 + size_t{k} * 12;
    if (!r.Fits(entry, 12)) return 1;
    if (r.U16(entry) != kOrientationTag) continue;
    if (r.U16(entry + 2) != kShortType || r.U32(entry + 4) != 1) return 1;
    const uint32_t value = r.U16(entry + 8);
    return value >= 1 && value <= 8 ? int(value) : 1;
  }
  return 1;
}

std::shared_ptr<TPixmap> OrientPixmap(const std::shared_ptr<TPixmap>& pixmap, int orientation) {
  if (orientation < 2 || orientation > 8) return pixmap;
  const int32_t w = pixmap->width, h = pixmap->height;
  const bool swap = orientation >= 5;
  auto out = TPixmap::CreateUncleared(swap ? h : w, swap ? w : h, pixmap->format, 4);
  const int bytes = BytesPerPixel(pixmap->format);
  for (int32_t y = 0; y < out->height; ++y) {
    uint8_t* d = out->PixelPtr(0, y);
    for (int32_t x = 0; x < out->width; ++x, d += bytes) {
      int32_t sx = x, sy = y;  // the stored pixel shown at (x, y)
      switch (orientation) {
        case 2: sx = w - 1 - x; break;
        case 3: sx = w - 1 - x, sy = h - 1 - y; break;
        case 4: sy = h - 1 - y; break;
        case 5: sx = y, sy = x; break;
        case 6: sx = y, sy = h - 1 - x; break;
        case 7: sx = w - 1 - y, sy = h - 1 - x; break;
        case 8: sx = w - 1 - y, sy = x; break;
      }
      std::memcpy(d, pixmap->PixelPtr(sx, sy), size_t(bytes));
    }
  }
  return out;
}
