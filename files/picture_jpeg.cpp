// JPEG pictures for reduction: the smallest DCT scale that still covers the fitted size, the
// EXIF orientation, CMYK turned into RGB, libjpeg's working memory within the request's budget
// and a decoding that stops when asked. Depends on files/picture_load.h, files/decode_limits.h
// and files/jpeg_handle.h (the libjpeg shim).
#include <algorithm>
#include <cmath>

#include "files/decode_limits.h"
#include "files/jpeg_handle.h"
#include "files/picture_load.h"

namespace {

int Cancelled(void* user) { return static_cast<const std::atomic<bool>*>(user)->load() ? 1 : 0; }

// The smallest of 1/8, 1/4, 1/2 and 1 at which the upright picture (sides swapped when turned)
// still covers its fit into fit_width x fit_height; sets width and height to that output.
void ChooseScale(tk_jpeg* jpeg, const picture_request& request, bool turned, unsigned& width,
                 unsigned& height) {
  const unsigned full_w = width, full_h = height;
  if (request.fit_width <= 0 || request.fit_height <= 0) return;
  const double upright_w = turned ? full_h : full_w, upright_h = turned ? full_w : full_h;
  const double fit = std::min(request.fit_width / upright_w, request.fit_height / upright_h);
  const double need_w = std::floor(upright_w * fit), need_h = std::floor(upright_h * fit);
  for (unsigned denom : {8u, 4u, 2u, 1u}) {
    tk_jpeg_scale(jpeg, denom, &width, &height);
    const double got_w = turned ? height : width, got_h = turned ? width : height;
    if (got_w >= need_w && got_h >= need_h) return;
  }
}

// Inverted (Adobe) or plain CMYK, in place, into opaque RGBA.
void CmykToRgba(TPixmap& pixmap, bool inverted) {
  for (int32_t y = 0; y < pixmap.height; ++y) {
    uint8_t* p = pixmap.PixelPtr(0, y);
    for (int32_t x = 0; x < pixmap.width; ++x, p += 4) {
      int c = p[0], m = p[1], ye = p[2], k = p[3];
      if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
      // Inverted values are the amounts of white: red = (1 - C)(1 - K).
      p[0] = uint8_t((c * k + 127) / 255);
      p[1] = uint8_t((m * k + 127) / 255);
      p[2] = uint8_t((ye * k + 127) / 255);
      p[3] = 255;
    }
  }
}

}  // namespace

std::string TooLargeProblem(int64_t width, int64_t height) {
  return "is too large: " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

picture_result LoadScaledJPEG(TStream& bytes, const picture_request& request) {
  picture_result result;
  const long memory = static_cast<long>(std::min<int64_t>(request.memory_budget, int64_t{1} << 40));
  const jpeg_handle jpeg(tk_jpeg_open(&bytes, PullFromStream, memory));
  unsigned width = 0, height = 0;
  int components = 0;
  if (!jpeg || !tk_jpeg_read_header(jpeg.get(), &width, &height, &components)) {
    result.problem = "is damaged or cut short";
    return result;
  }
  size_t exif_length = 0;
  const uint8_t* exif = tk_jpeg_exif(jpeg.get(), &exif_length);
  const int orientation = ExifOrientation(exif, exif_length);
  const bool turned = orientation >= 5;
  result.full_width = static_cast<int32_t>(std::min<unsigned>(turned ? height : width, INT32_MAX));
  result.full_height = static_cast<int32_t>(std::min<unsigned>(turned ? width : height, INT32_MAX));
  if (width == 0 || height == 0 || (components != 1 && components != 3 && components != 4)) {
    result.problem = "is damaged or cut short";
    return result;
  }
  if (width > kMaxImageSide || height > kMaxImageSide || int64_t{width} * height > kMaxImagePixels) {
    result.problem = TooLargeProblem(result.full_width, result.full_height);
    return result;
  }
  ChooseScale(jpeg.get(), request, turned, width, height);
  const int32_t format = components == 1 ? PF_I8 : components == 3 ? PF_RGB888 : PF_RGBA8888;
  if (int64_t{width} * height * BytesPerPixel(format) > request.memory_budget) {
    result.problem = TooLargeProblem(result.full_width, result.full_height);
    return result;
  }
  if (request.cancel) tk_jpeg_set_stop(jpeg.get(), Cancelled, const_cast<std::atomic<bool>*>(request.cancel));
  auto pixmap = TPixmap::CreateUncleared(static_cast<int32_t>(width), static_cast<int32_t>(height), format, 4);
  if (!tk_jpeg_read_pixels(jpeg.get(), pixmap->pixels, static_cast<size_t>(pixmap->pitch))) {
    if (request.cancel && *request.cancel)
      result.problem = "was not read: stopped";
    else if (tk_jpeg_out_of_memory(jpeg.get()))
      result.problem = TooLargeProblem(result.full_width, result.full_height) +
                       " (decoding it needs more than " +
                       std::to_string(request.memory_budget >> 20) + " MiB)";
    else
      result.problem = "is damaged";
    return result;
  }
  if (tk_jpeg_truncated(jpeg.get())) {
    result.problem = "is cut short";
    return result;
  }
  if (components == 4) CmykToRgba(*pixmap, tk_jpeg_inverted_cmyk(jpeg.get()) != 0);
  result.pixmap = OrientPixmap(pixmap, orientation);
  return result;
}
