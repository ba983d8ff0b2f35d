// The BMP decoder: uncompressed 1, 4, 8, 24 and 32-bit files with the 40-byte header,
// bottom row first, rows padded to 4 bytes. Depends on files/files.h.
#include <cstring>
#include <optional>
#include <vector>

#include "files/decode_limits.h"
#include "files/files.h"
#include "files/header_peek.h"

namespace {

struct bmp_header {
  int32_t width, height, bits, colours;
};

bmp_header ReadHeader(TStream& s) {
  bmp_header h;
  for (int i = 0; i < 4; ++i) s.ReadInt();  // file size, reserved, data offset, header size
  h.width = s.ReadInt();
  h.height = s.ReadInt();
  s.ReadShort();  // planes
  h.bits = s.ReadShort();
  for (int i = 0; i < 4; ++i) s.ReadInt();  // compression, image size, resolutions
  h.colours = s.ReadInt();
  s.ReadInt();  // important colours
  return h;
}

bool Readable(const bmp_header& h) {
  if (h.width <= 0 || h.height <= 0 || h.width > kMaxImageSide || h.height > kMaxImageSide ||
      int64_t{h.width} * h.height > kMaxImagePixels) {
    return false;
  }
  switch (h.bits) {
    case 1: case 24: case 32: return true;
    // A colour count beyond what the palette can hold is a damaged file.
    case 4: case 8: return h.colours >= 0 && h.colours <= 1 << h.bits;
  }
  return false;
}

// The header of a file the decoder can read, else nullopt.
std::optional<bmp_header> ReadableHeader(TStream& s) {
  char magic[2];
  s.ReadBytes(magic, 2);
  if (magic[0] != 'B' || magic[1] != 'M') return std::nullopt;
  bmp_header h = ReadHeader(s);
  if (h.colours == 0 && h.bits >= 1 && h.bits <= 8) h.colours = 1 << h.bits;
  if (!Readable(h)) return std::nullopt;
  return h;
}

}  // namespace

bool PeekBMPSize(TStream& stream, int32_t& width, int32_t& height) {
  const auto h = ReadableHeader(stream);
  if (!h) return false;
  width = h->width;
  height = h->height;
  return true;
}

std::shared_ptr<TPixmap> TPixmapLoaderBMP::LoadPixmap(const std::shared_ptr<TStream>& stream) {
  TStream& s = *stream;
  const auto header = ReadableHeader(s);
  if (!header) return nullptr;
  const bmp_header& h = *header;

  const int64_t row_bytes = (int64_t{h.width} * h.bits + 7) / 8;
  const int64_t padded = (row_bytes + 3) / 4 * 4;
  // A file cannot hold more rows than it has bytes: refuse before allocating for them.
  const int64_t left = s.Size() - s.Pos();
  if (s.Pos() >= 0 && left >= 0 && padded * h.height > left) return nullptr;

  // Entries past the colour count stay black, so any index byte is safe.
  uint8_t palette[256][4] = {};
  if (h.bits <= 8) s.ReadBytes(palette, int64_t{h.bits == 1 ? 2 : h.colours} * 4);

  auto pixmap = CreatePixmap(h.width, h.height, h.bits == 32 ? PF_BGRA8888 : PF_BGR888, 4);
  std::vector<uint8_t> row(static_cast<size_t>(padded));
  for (int32_t y = h.height - 1; y >= 0; --y) {
    s.ReadBytes(row.data(), padded);
    uint8_t* out = pixmap->PixelPtr(0, y);
    if (h.bits >= 24) {
      std::memcpy(out, row.data(), static_cast<size_t>(row_bytes));
      continue;
    }
    for (int32_t x = 0; x < h.width; ++x, out += 3) {
      uint8_t index;
      if (h.bits == 1) index = row[x / 8] >> (7 - x % 8) & 1;
      else if (h.bits == 4) index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
      else index = row[x];
      std::memcpy(out, palette[index], 3);
    }
  }
  return pixmap;
}
