// Module functions over pixmaps: the procedural forms of the TPixmap operations.
// Depends on draw/pixmap.h only.
#include "draw/pixmap.h"

std::shared_ptr<TPixmap> CreatePixmap(int32_t width, int32_t height, int32_t format,
                                      int32_t align) {
  return TPixmap::Create(width, height, format, align);
}

std::shared_ptr<TPixmap> CreateStaticPixmap(uint8_t* pixels, int32_t width, int32_t height,
                                            int32_t pitch, int32_t format) {
  return TPixmap::CreateStatic(pixels, width, height, pitch, format);
}

std::shared_ptr<TPixmap> CopyPixmap(const std::shared_ptr<TPixmap>& p) { return p->Copy(); }

std::shared_ptr<TPixmap> ConvertPixmap(const std::shared_ptr<TPixmap>& p, int32_t format) {
  return p->Convert(format);
}

int32_t PixmapWidth(const std::shared_ptr<TPixmap>& p) { return p->width; }
int32_t PixmapHeight(const std::shared_ptr<TPixmap>& p) { return p->height; }
int32_t PixmapPitch(const std::shared_ptr<TPixmap>& p) { return p->pitch; }
int32_t PixmapFormat(const std::shared_ptr<TPixmap>& p) { return p->format; }

uint8_t* PixmapPixelPtr(const std::shared_ptr<TPixmap>& p, int32_t x, int32_t y) {
  return p->PixelPtr(x, y);
}

std::shared_ptr<TPixmap> PixmapWindow(const std::shared_ptr<TPixmap>& p, int32_t x, int32_t y,
                                      int32_t w, int32_t h) {
  return p->Window(x, y, w, h);
}

uint32_t ReadPixel(const std::shared_ptr<TPixmap>& p, int32_t x, int32_t y) {
  return p->ReadPixel(x, y);
}

void WritePixel(const std::shared_ptr<TPixmap>& p, int32_t x, int32_t y, uint32_t argb) {
  p->WritePixel(x, y, argb);
}
