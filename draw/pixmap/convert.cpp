// Conversion of pixel runs between formats, always through RGBA.
// Depends on draw/pixmap.h only.
#include <cassert>
#include <cstring>
#include <vector>

#include "draw/pixmap.h"

namespace {

void ToRGBA(const uint8_t* s, int32_t format, uint8_t* d, int32_t n) {
  for (int32_t i = 0; i < n; ++i, d += 4) {
    switch (format) {
      case PF_I8: d[0] = d[1] = d[2] = s[0], d[3] = 255, s += 1; break;
      case PF_A8: d[0] = d[1] = d[2] = 255, d[3] = s[0], s += 1; break;
      case PF_BGR888: d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = 255, s += 3; break;
      case PF_RGB888: d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = 255, s += 3; break;
      case PF_BGRA8888: d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3], s += 4; break;
    }
  }
}

void FromRGBA(const uint8_t* s, uint8_t* d, int32_t format, int32_t n) {
  for (int32_t i = 0; i < n; ++i, s += 4) {
    switch (format) {
      case PF_I8: d[0] = static_cast<uint8_t>((s[0] + s[1] + s[2]) / 3), d += 1; break;
      case PF_A8: d[0] = s[3], d += 1; break;
      case PF_BGR888: d[0] = s[2], d[1] = s[1], d[2] = s[0], d += 3; break;
      case PF_RGB888: d[0] = s[0], d[1] = s[1], d[2] = s[2], d += 3; break;
      case PF_BGRA8888: d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = s[3], d += 4; break;
    }
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
