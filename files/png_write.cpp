// The PNG writer: 8-bit grey, RGB or RGBA through libpng behind the C shim.
// Depends on files/files.h, files/png_handle.h and libpng.
#include <algorithm>
#include <vector>

#include "files/files.h"
#include "files/png_handle.h"

namespace {

size_t PushBytes(void* user, const unsigned char* data, size_t length) {
  try {
    static_cast<TStream*>(user)->WriteBytes(data, static_cast<int64_t>(length));
    return length;
  } catch (...) {
    return 0;  // libpng must not see an exception; a short write abandons the file
  }
}

void FlushStream(void* user) {
  try {
    static_cast<TStream*>(user)->Flush();
  } catch (...) {
    // A failed flush shows up when the file is closed.
  }
}

// Writes the pixmap to the stream; false on any error.
bool Encode(std::shared_ptr<TPixmap> pixmap, TStream& stream, int32_t compression) {
  const int level = std::clamp(compression, 0, 9);
  int colour_type = PNG_COLOR_TYPE_RGB_ALPHA;
  bool bgr = false;
  switch (pixmap->format) {
    case PF_I8: colour_type = PNG_COLOR_TYPE_GRAY; break;
    case PF_RGB888: colour_type = PNG_COLOR_TYPE_RGB; break;
    case PF_BGR888: colour_type = PNG_COLOR_TYPE_RGB, bgr = true; break;
    case PF_RGBA8888: break;
    case PF_BGRA8888: bgr = true; break;
    default: pixmap = pixmap->Convert(PF_RGBA8888);
  }
  tk_png_io io{&stream, nullptr, PushBytes, FlushStream};
  png_handle png(tk_png_create_write(&io), png_handle::writer);
  if (!png.info()) return false;
  std::vector<png_bytep> rows(static_cast<size_t>(std::max(pixmap->height, 0)));
  for (int32_t y = 0; y < pixmap->height; ++y) rows[y] = pixmap->PixelPtr(0, y);
  return tk_png_write(png.png(), png.info(), static_cast<png_uint_32>(pixmap->width),
                      static_cast<png_uint_32>(pixmap->height), colour_type, bgr, level,
                      rows.data()) == 1;
}

}  // namespace

int32_t SavePNGPixmap(const std::shared_ptr<TPixmap>& pixmap, const std::string& path,
                      int32_t compression) {
  const auto file = TCStream::OpenFile(path, false, true);
  if (!file) return 0;
  const bool written = Encode(pixmap, *file, compression);
  file->Close();
  // Data still buffered when the disk fills only fails at the flush: that is no success either.
  return written && !file->Failed() ? 1 : 0;
}

int32_t SavePNGPixmap(const std::shared_ptr<TPixmap>& pixmap,
                      const std::shared_ptr<TStream>& stream, int32_t compression) {
  const auto view = OpenStream(stream, false, true);
  if (!view) return 0;
  const bool written = Encode(pixmap, *view, compression);
  view->Close();
  return written ? 1 : 0;
}
