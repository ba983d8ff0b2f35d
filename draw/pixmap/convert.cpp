// Conversion of pixel runs between formats, always through RGBA.
// Depends on draw/pixmap.h only.
#include <bit>
#include <cassert>
#include <cstring>
#include <vector>

#include "draw/pixmap.h"

namespace {

// Decoded pictures are mostly RGB888: four pixels are taken as three little-endian words and
// spread over four, where the byte-by-byte loop would cost twice as much.
void RGBToRGBA(const uint8_t* s, uint8_t* d, int32_t n) {
  static_assert(std::endian::native == std::endian::little);
  constexpr uint32_t opaque = 0xFF000000;
  int32_t i = 0;
  for (; i + 4 <= n; i += 4, s += 12, d += 16) {
    uint32_t in[3];
    std::memcpy(in, s, 12);
    const uint32_t out[4] = {in[0] | opaque, in[0] >> 24 | in[1] << 8 | opaque,
                             in[1] >> 16 | in[2] << 16 | opaque, in[2] >> 8 | opaque};
    std::memcpy(d, out, 16);
  }
  for (; i < n; ++i, s += 3, d += 4) d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255;
}

// The format is chosen once per run, so each loop below is a plain byte shuffle.
void ToRGBA(const uint8_t* s, int32_t format, uint8_t* d, int32_t n) {
  const uint8_t* const end = d + static_cast<size_t>(n) * 4;
  switch (format) {
    case PF_I8:
      for (; d != end; d += 4, s += 1) d[0] = d[1] = d[2] = s[0], d[3] = 255;
      break;
    case PF_A8:
      for (; d != end; d += 4, s += 1) d[0] = d[1] = d[2] = 255, d[3] = s[0];
      break;
    case PF_BGR888:
      for (; d != end; d += 4, s += 3) d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = 255;
      break;
    case PF_RGB888:
      RGBToRGBA(s, d, n);
      break;
    case PF_BGRA8888:
      for (; d != end; d += 4, s += 4) d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3];
      break;
  }
}

void FromRGBA(const uint8_t* s, uint8_t* d, int32_t format, int32_t n) {
  const uint8_t* const end = s + static_cast<size_t>(n) * 4;
  switch (format) {
    case PF_I8:
      for (; s != end; s += 4, d += 1) d[0] = static_cast<uint8_t>((s[0] + s[1] + s[2]) / 3);
      break;
    case PF_A8:
      for (; s != end; s += 4, d += 1) d[0] = s[3];
      break;
    case PF_BGR888:
      for (; s != end; s += 4, d += 3) d[0] = s[2], d[1] = s[1], d[2] = s[0];
      break;
    case PF_RGB888:
      for (; s != end; s += 4, d += 3) d[0] = s[0], d[1] = s[1], d[2] = s[2];
      break;
    case PF_BGRA8888:
      for (; s != end; s += 4, d += 4) d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3];
      break;
  }
}

}  // namespace

void ConvertPixels(const uint8_t* source, int32_t source_format, uint8_t* destination,
                   int32_t destination_format, int32_t n) {
  assert(BytesPerPixel(source_format) > 0 && BytesPerPixel(destination_format) > 0);
  if (n <= 0) return;
  if (source_format == destination_format) {
    std::memcpy(destination, source, static_cast<size_t>(n) * BytesPerPixel(source_format));
  } else if (source_format == PF_RGBA8888) {
    FromRGBA(source, destination, destination_format, n);
  } else if (destination_format == PF_RGBA8888) {
    ToRGBA(source, source_format, destination, n);
  } else {
    thread_local std::vector<uint8_t> rgba;
    rgba.resize(static_cast<size_t>(n) * 4);
    ToRGBA(source, source_format, rgba.data(), n);
    FromRGBA(rgba.data(), destination, destination_format, n);
  }
}
