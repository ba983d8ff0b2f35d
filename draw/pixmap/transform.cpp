// Whole-pixmap transformations: bilinear resize and flips.
// Depends on draw/pixmap.h only.
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <vector>

#include "draw/pixmap.h"

namespace {

std::shared_ptr<TPixmap> AsRGBA(const std::shared_ptr<TPixmap>& p) {
  return p->format == PF_RGBA8888 ? p : p->Convert(PF_RGBA8888);
}

// Where one destination coordinate samples the source: the first of two source pixels, the
// weight of the second, and the byte step to it (0 at the clamped edges).
struct sample_type {
  int32_t i;
  float t;
  int32_t step;
};

sample_type Sample(int32_t d, float ratio, int32_t source_size, int32_t step) {
  const float f = (static_cast<float>(d) + 0.5f) * ratio - 0.5f;
  const float fi = std::floor(f);
  sample_type s{static_cast<int32_t>(fi), f - fi, step};
  if (s.i < 0) {
    s = {0, 0.0f, 0};
  } else if (s.i >= source_size - 1) {
    s = {source_size - 1, 0.0f, 0};
  }
  return s;
}

}  // namespace

std::shared_ptr<TPixmap> ResizePixmap(const std::shared_ptr<TPixmap>& p, int32_t width,
                                      int32_t height) {
  assert(width >= 1 && height >= 1 && p->width >= 1 && p->height >= 1);
  const auto s = AsRGBA(p);
  auto result = TPixmap::Create(width, height, p->format, 4);
  const float xr = static_cast<float>(s->width) / static_cast<float>(width);
  const float yr = static_cast<float>(s->height) / static_cast<float>(height);

  std::vector<sample_type> columns(width);
  for (int32_t x = 0; x < width; ++x) columns[x] = Sample(x, xr, s->width, 4);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 4);

  for (int32_t y = 0; y < height; ++y) {
    const sample_type sy = Sample(y, yr, s->height, s->pitch);
    const bool direct = p->format == PF_RGBA8888;
    uint8_t* out = direct ? result->PixelPtr(0, y) : row.data();
    for (int32_t x = 0; x < width; ++x) {
      const sample_type& sx = columns[x];
      const uint8_t* P = s->PixelPtr(sx.i, sy.i);
      for (int32_t k = 0; k < 4; ++k) {
        const float a = P[k], b = P[k + sx.step];
        const float c = P[k + sy.step], d = P[k + sy.step + sx.step];
        const float top = a + (b - a) * sx.t;
        const float bottom = c + (d - c) * sx.t;
        const float value = top + (bottom - top) * sy.t;
        out[x * 4 + k] = static_cast<uint8_t>(value);
      }
    }
    if (!direct) ConvertPixels(row.data(), PF_RGBA8888, result->PixelPtr(0, y), p->format, width);
  }
  return result;
}

std::shared_ptr<TPixmap> XFlipPixmap(const std::shared_ptr<TPixmap>& p) {
  auto result = TPixmap::Create(p->width, p->height, p->format, 4);
  const int32_t bpp = BytesPerPixel(p->format);
  for (int32_t y = 0; y < p->height; ++y) {
    for (int32_t x = 0; x < p->width; ++x) {
      std::memcpy(result->PixelPtr(x, y), p->PixelPtr(p->width - 1 - x, y), bpp);
    }
  }
  return result;
}

std::shared_ptr<TPixmap> YFlipPixmap(const std::shared_ptr<TPixmap>& p) {
  auto result = TPixmap::Create(p->width, p->height, p->format, 4);
  const size_t row_bytes = static_cast<size_t>(p->width) * BytesPerPixel(p->format);
  for (int32_t y = 0; y < p->height; ++y) {
    std::memcpy(result->PixelPtr(0, y), p->PixelPtr(0, p->height - 1 - y), row_bytes);
  }
  return result;
}
