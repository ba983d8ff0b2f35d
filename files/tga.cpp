// The TGA decoder: true-colour images (types 2 and 10, run-length) of 15, 16, 24 or 32 bits,
// bottom row first; colour-mapped ones are refused. Depends on files/files.h.
#include <vector>

#include "files/files.h"
#include "files/header_peek.h"

namespace {

struct tgahdr {
  uint8_t idlen, colourmaptype, imgtype, indexlo, indexhi, lenlo, lenhi, cosize;
  uint16_t x0, y0, width, height;
  uint8_t psize, attbits;
};

tgahdr ReadHeader(TStream& s) {
  tgahdr h;
  uint8_t bytes[8];
  s.ReadBytes(bytes, 8);
  h.idlen = bytes[0], h.colourmaptype = bytes[1], h.imgtype = bytes[2], h.indexlo = bytes[3];
  h.indexhi = bytes[4], h.lenlo = bytes[5], h.lenhi = bytes[6], h.cosize = bytes[7];
  h.x0 = static_cast<uint16_t>(s.ReadShort());
  h.y0 = static_cast<uint16_t>(s.ReadShort());
  h.width = static_cast<uint16_t>(s.ReadShort());
  h.height = static_cast<uint16_t>(s.ReadShort());
  h.psize = static_cast<uint8_t>(s.ReadByte());
  h.attbits = static_cast<uint8_t>(s.ReadByte());
  return h;
}

// Colour-mapped images (type 1) would need the colour map that colourmaptype 0 says is absent.
bool Accepted(const tgahdr& h) {
  const bool type = h.imgtype == 2 || h.imgtype == 10;
  const bool depth = h.psize == 15 || h.psize == 16 || h.psize == 24 || h.psize == 32;
  return h.colourmaptype == 0 && type && depth && h.width >= 1 && h.width <= 4096 &&
         h.height >= 1 && h.height <= 4096;
}

// One file pixel as blue, green, red, alpha bytes (PF_BGRA8888).
void DecodePixel(const uint8_t* p, int32_t psize, uint8_t* out) {
  if (psize == 15 || psize == 16) {
    const uint32_t v = p[0] | p[1] << 8;
    out[0] = static_cast<uint8_t>((v & 0x1f) << 3);
    out[1] = static_cast<uint8_t>((v >> 2) & 0xf8);
    out[2] = static_cast<uint8_t>((v >> 7) & 0xf8);
    out[3] = psize == 16 && (v & 0x8000) ? 0 : 255;
  } else {
    out[0] = p[0], out[1] = p[1], out[2] = p[2];
    out[3] = psize == 32 ? p[3] : 255;
  }
}

// Fills one row of width pixels; false when a run-length packet would run past the row.
bool ReadRow(TStream& s, const tgahdr& h, std::vector<uint8_t>& raw, uint8_t* row) {
  const int32_t bytes = (h.psize + 7) / 8;
  if (h.imgtype == 2) {
    s.ReadBytes(raw.data(), int64_t{h.width} * bytes);
    for (int32_t x = 0; x < h.width; ++x) DecodePixel(&raw[x * bytes], h.psize, row + x * 4);
    return true;
  }
  for (int32_t x = 0; x < h.width;) {
    const int32_t c = s.ReadByte();
    const int32_t count = c < 128 ? c + 1 : c - 127;
    if (x + count > h.width) return false;
    if (c < 128) {
      s.ReadBytes(raw.data(), int64_t{count} * bytes);
      for (int32_t i = 0; i < count; ++i) DecodePixel(&raw[i * bytes], h.psize, row + (x + i) * 4);
    } else {
      s.ReadBytes(raw.data(), bytes);
      DecodePixel(raw.data(), h.psize, row + x * 4);
      for (int32_t i = 1; i < count; ++i) {
        for (int32_t k = 0; k < 4; ++k) row[(x + i) * 4 + k] = row[x * 4 + k];
      }
    }
    x += count;
  }
  return true;
}

// Whether the rest of the stream is long enough for the declared rows, at their most compact
// (run-length rows as runs of 128), so that a short file is refused before its pixmap is made.
bool CanHoldRows(TStream& s, const tgahdr& h) {
  const int64_t bytes = (h.psize + 7) / 8;
  const int64_t row = h.imgtype == 2 ? h.width * bytes : (h.width + 127) / 128 * (1 + bytes);
  const int64_t left = s.Size() - s.Pos();
  return s.Pos() < 0 || left < 0 || row * h.height <= left;
}

}  // namespace

bool PeekTGASize(TStream& stream, int32_t& width, int32_t& height) {
  const tgahdr h = ReadHeader(stream);
  width = h.width;
  height = h.height;
  return Accepted(h);
}

std::shared_ptr<TPixmap> TPixmapLoaderTGA::LoadPixmap(const std::shared_ptr<TStream>& stream) {
  TStream& s = *stream;
  const tgahdr h = ReadHeader(s);
  if (!Accepted(h)) return nullptr;
  s.SkipBytes(h.idlen);
  if (!CanHoldRows(s, h)) return nullptr;
  const bool alpha = h.psize == 16 || h.psize == 32;
  auto pixmap = CreatePixmap(h.width, h.height, alpha ? PF_RGBA8888 : PF_RGB888, 4);
  std::vector<uint8_t> raw(static_cast<size_t>(h.width) * 4);
  std::vector<uint8_t> row(static_cast<size_t>(h.width) * 4);
  for (int32_t y = h.height - 1; y >= 0; --y) {
    if (!ReadRow(s, h, raw, row.data())) return nullptr;
    ConvertPixels(row.data(), PF_BGRA8888, pixmap->PixelPtr(0, y), pixmap->format, h.width);
  }
  return pixmap;
}
