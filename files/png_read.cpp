// The PNG decoder: libpng behind the C shim, rows read straight into the pixmap.
// Depends on files/files.h, files/header_peek.h, files/png_handle.h and libpng.
#include <cstring>
#include <vector>

#include "files/decode_limits.h"
#include "files/files.h"
#include "files/header_peek.h"
#include "files/png_handle.h"

namespace {

size_t PullBytes(void* user, unsigned char* data, size_t length) {
  try {
    static_cast<TStream*>(user)->ReadBytes(data, static_cast<int64_t>(length));
    return length;
  } catch (...) {
    return 0;  // libpng must not see an exception; a short read abandons the image
  }
}

// The format a decoded colour type is stored in; 0 for none.
int32_t FormatOf(int colour_type) {
  switch (colour_type) {
    case PNG_COLOR_TYPE_GRAY: return PF_I8;
    case PNG_COLOR_TYPE_RGB: return PF_RGB888;
    case PNG_COLOR_TYPE_RGB_ALPHA:
    case PNG_COLOR_TYPE_GRAY_ALPHA: return PF_RGBA8888;
  }
  return 0;
}

std::shared_ptr<TPixmap> Decode(TStream& view) {
  uint8_t signature[8];
  view.ReadBytes(signature, 8);
  if (png_sig_cmp(signature, 0, 8) != 0) return nullptr;

  tk_png_io io{&view, PullBytes, nullptr, nullptr};
  png_handle png(tk_png_create_read(&io, kMaxImageSide), png_handle::reader);
  if (!png.info() || !tk_png_read_header(png.png(), png.info())) return nullptr;
  const png_uint_32 width = png_get_image_width(png.png(), png.info());
  const png_uint_32 height = png_get_image_height(png.png(), png.info());
  const int colour_type = png_get_color_type(png.png(), png.info());
  const int32_t format = FormatOf(colour_type);
  if (png_get_bit_depth(png.png(), png.info()) != 8 || format == 0) return nullptr;
  if (int64_t{width} * height > kMaxImagePixels) return nullptr;

  // libpng writes every row (the grey-with-alpha spreading below every pixel).
  auto pixmap = TPixmap::CreateUncleared(static_cast<int32_t>(width), static_cast<int32_t>(height),
                                         format, 4);
  // Grey with alpha arrives as two bytes a pixel and is spread to RGBA afterwards.
  const bool grey_alpha = colour_type == PNG_COLOR_TYPE_GRAY_ALPHA;
  std::vector<uint8_t> grey(grey_alpha ? size_t{width} * height * 2 : 0);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    rows[y] = grey_alpha ? &grey[size_t{y} * width * 2] : pixmap->PixelPtr(0, static_cast<int32_t>(y));
  }
  if (!tk_png_read_rows(png.png(), rows.data())) return nullptr;
  if (grey_alpha) {
    for (png_uint_32 y = 0; y < height; ++y) {
      uint8_t* out = pixmap->PixelPtr(0, static_cast<int32_t>(y));
      for (png_uint_32 x = 0; x < width; ++x, out += 4) {
        out[0] = out[1] = out[2] = rows[y][x * 2];
        out[3] = rows[y][x * 2 + 1];
      }
    }
  }
  return pixmap;
}

}  // namespace

bool PeekPNGSize(TStream& stream, int32_t& width, int32_t& height) {
  uint8_t head[24];  // signature, then the IHDR chunk's length, type, width and height
  stream.ReadBytes(head, sizeof head);
  if (png_sig_cmp(head, 0, 8) != 0 || std::memcmp(head + 12, "IHDR", 4) != 0) return false;
  const png_uint_32 w = png_get_uint_32(head + 16), h = png_get_uint_32(head + 20);
  if (w < 1 || h < 1 || w > kMaxImageSide || h > kMaxImageSide || int64_t{w} * h > kMaxImagePixels)
    return false;
  width = static_cast<int32_t>(w);
  height = static_cast<int32_t>(h);
  return true;
}

std::shared_ptr<TPixmap> LoadPNGPixmap(const std::shared_ptr<TStream>& stream) {
  const auto view = OpenStream(stream, true, false);
  if (!view) return nullptr;
  std::shared_ptr<TPixmap> pixmap;
  try {
    pixmap = Decode(*view);
  } catch (const TStreamException&) {
    // Too short for a signature.
  }
  view->Close();
  return pixmap;
}
