// The JPEG decoder: grey or colour baseline and progressive files through the libjpeg shim,
// scanlines read straight into the pixmap. Depends on files/files.h and files/jpeg_handle.h (the
// libjpeg shim).
#include "files/decode_limits.h"
#include "files/files.h"
#include "files/header_peek.h"
#include "files/jpeg_handle.h"

namespace {

// True for a header the decoder goes on to decode.
bool Decodable(unsigned width, unsigned height, int components) {
  return width > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
         int64_t{width} * height <= kMaxImagePixels && (components == 1 || components == 3);
}

std::shared_ptr<TPixmap> Decode(TStream& view) {
  const jpeg_handle jpeg(tk_jpeg_open(&view, PullFromStream, kMaxJpegWorkingMemory));
  unsigned width = 0, height = 0;
  int components = 0;
  if (!jpeg || !tk_jpeg_read_header(jpeg.get(), &width, &height, &components)) return nullptr;
  if (!Decodable(width, height, components)) return nullptr;
  // libjpeg writes every scanline, supplying an end to a short file.
  auto pixmap = TPixmap::CreateUncleared(static_cast<int32_t>(width), static_cast<int32_t>(height),
                                         components == 1 ? PF_I8 : PF_RGB888, 4);
  if (!tk_jpeg_read_pixels(jpeg.get(), pixmap->pixels, static_cast<size_t>(pixmap->pitch))) {
    return nullptr;
  }
  return pixmap;
}

}  // namespace

bool PeekJPEGSize(TStream& stream, int32_t& width, int32_t& height) {
  const jpeg_handle jpeg(tk_jpeg_open(&stream, PullFromStream, kMaxJpegWorkingMemory));
  unsigned w = 0, h = 0;
  int components = 0;
  if (!jpeg || !tk_jpeg_read_header(jpeg.get(), &w, &h, &components)) return false;
  if (!Decodable(w, h, components)) return false;
  width = static_cast<int32_t>(w);
  height = static_cast<int32_t>(h);
  return true;
}

std::shared_ptr<TPixmap> LoadJPEGPixmap(const std::shared_ptr<TStream>& stream) {
  const auto view = OpenStream(stream, true, false);
  if (!view) return nullptr;
  auto pixmap = Decode(*view);
  view->Close();
  return pixmap;
}
