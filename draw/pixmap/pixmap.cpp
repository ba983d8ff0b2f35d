// TPixmap: creation over owned or borrowed memory, windows, copies, pastes, conversion and
// single-pixel access. Depends on draw/pixmap.h only.
#include <cassert>
#include <cstring>
#include <new>

#include "draw/pixmap.h"

namespace {

constexpr std::align_val_t kPixelAlignment{16};

}  // namespace

TPixmap::~TPixmap() {
  if (capacity >= 0 && pixels) ::operator delete(pixels, kPixelAlignment);
}

std::shared_ptr<TPixmap> TPixmap::Window(int32_t x, int32_t y, int32_t w, int32_t h) {
  assert(x >= 0 && y >= 0 && w >= 0 && h >= 0 && x + w <= width && y + h <= height);
  auto window = CreateStatic(PixelPtr(x, y), w, h, pitch, format);
  window->_source = shared_from_this();
  return window;
}

std::shared_ptr<TPixmap> TPixmap::Copy() const {
  auto copy = Create(width, height, format, 4);
  const size_t row_bytes = static_cast<size_t>(width) * BytesPerPixel(format);
  for (int32_t y = 0; y < height; ++y) std::memcpy(copy->PixelPtr(0, y), PixelPtr(0, y), row_bytes);
  return copy;
}

void TPixmap::Paste(const std::shared_ptr<TPixmap>& source, int32_t x, int32_t y) {
  assert(x >= 0 && y >= 0 && x + source->width <= width && y + source->height <= height);
  for (int32_t row = 0; row < source->height; ++row) {
    ConvertPixels(source->PixelPtr(0, row), source->format, PixelPtr(x, y + row), format,
                  source->width);
  }
}

std::shared_ptr<TPixmap> TPixmap::Convert(int32_t new_format) const {
  auto converted = Create(width, height, new_format, 4);
  for (int32_t y = 0; y < height; ++y) {
    ConvertPixels(PixelPtr(0, y), format, converted->PixelPtr(0, y), new_format, width);
  }
  return converted;
}

uint32_t TPixmap::ReadPixel(int32_t x, int32_t y) const {
  const uint8_t* p = PixelPtr(x, y);
  switch (format) {
    case PF_I8: return MakeARGB(255, p[0], p[0], p[0]);
    case PF_A8: return MakeARGB(p[0], 255, 255, 255);
    case PF_BGR888: return MakeARGB(255, p[2], p[1], p[0]);
    case PF_RGB888: return MakeARGB(255, p[0], p[1], p[2]);
    case PF_BGRA8888: return MakeARGB(p[3], p[2], p[1], p[0]);
    case PF_RGBA8888: return MakeARGB(p[3], p[0], p[1], p[2]);
  }
  return 0;
}

void TPixmap::WritePixel(int32_t x, int32_t y, uint32_t argb) {
  const uint8_t a = ARGBAlpha(argb), r = ARGBRed(argb), g = ARGBGreen(argb), b = ARGBBlue(argb);
  uint8_t* p = PixelPtr(x, y);
  switch (format) {
    case PF_I8: p[0] = static_cast<uint8_t>((r + g + b) / 3); break;
    case PF_A8: p[0] = a; break;
    case PF_BGR888: p[0] = b, p[1] = g, p[2] = r; break;
    case PF_RGB888: p[0] = r, p[1] = g, p[2] = b; break;
    case PF_BGRA8888: p[0] = b, p[1] = g, p[2] = r, p[3] = a; break;
    case PF_RGBA8888: p[0] = r, p[1] = g, p[2] = b, p[3] = a; break;
  }
}

std::shared_ptr<TPixmap> TPixmap::CreateUncleared(int32_t width, int32_t height, int32_t format,
                                                  int32_t align) {
  assert(width >= 0 && height >= 0 && align >= 1);
  const int64_t row_bytes = int64_t{width} * BytesPerPixel(format);
  const int64_t pitch = (row_bytes + align - 1) / align * align;
  const int64_t capacity = pitch * height;
  // Decoders bound their sizes long before this; anything larger is a caller's error.
  assert(capacity <= INT32_MAX);
  auto pixmap = std::make_shared<TPixmap>(Key{});
  pixmap->width = width;
  pixmap->height = height;
  pixmap->pitch = static_cast<int32_t>(pitch);
  pixmap->format = format;
  pixmap->capacity = static_cast<int32_t>(capacity);
  if (capacity > 0) {
    pixmap->pixels = static_cast<uint8_t*>(::operator new(capacity, kPixelAlignment));
    const int64_t gap = pitch - row_bytes;
    for (int64_t y = 0; gap > 0 && y < height; ++y)
      std::memset(pixmap->pixels + y * pitch + row_bytes, 0, gap);
  }
  return pixmap;
}

std::shared_ptr<TPixmap> TPixmap::Create(int32_t width, int32_t height, int32_t format,
                                         int32_t align) {
  auto pixmap = CreateUncleared(width, height, format, align);
  if (pixmap->capacity > 0) std::memset(pixmap->pixels, 0, pixmap->capacity);
  return pixmap;
}

std::shared_ptr<TPixmap> TPixmap::CreateStatic(uint8_t* pixels, int32_t width, int32_t height,
                                               int32_t pitch, int32_t format) {
  auto pixmap = std::make_shared<TPixmap>(Key{});
  pixmap->pixels = pixels;
  pixmap->width = width;
  pixmap->height = height;
  pixmap->pitch = pitch;
  pixmap->format = format;
  pixmap->capacity = -1;
  return pixmap;
}

void TPixmap::ClearPixels(uint32_t argb) {
  const int32_t row_bytes = width * BytesPerPixel(format);
  if (argb == 0 && pitch == row_bytes) {
    if (pixels) std::memset(pixels, 0, static_cast<size_t>(pitch) * height);
    return;
  }
  for (int32_t y = 0; y < height; ++y) {
    if (argb == 0) {
      std::memset(PixelPtr(0, y), 0, row_bytes);
    } else {
      for (int32_t x = 0; x < width; ++x) WritePixel(x, y, argb);
    }
  }
}
