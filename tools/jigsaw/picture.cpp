// Picture preparation for cutting: good-quality reduction to a size and the table colour that
// sets a picture off. Depends on jigsaw.h (draw/pixmap.h).
#include <algorithm>
#include <cmath>

#include "tools/jigsaw/jigsaw.h"

namespace {

// Half the size (rounded down, at least 1) with every result pixel the average of a 2 x 2 block.
std::shared_ptr<TPixmap> Halve(const std::shared_ptr<TPixmap>& rgb) {
  int w = std::max(1, rgb->width / 2), h = std::max(1, rgb->height / 2);
  auto out = CreatePixmap(w, h, PF_RGB888);
  for (int y = 0; y < h; ++y) {
    const uint8_t* a = rgb->PixelPtr(0, std::min(2 * y, rgb->height - 1));
    const uint8_t* b = rgb->PixelPtr(0, std::min(2 * y + 1, rgb->height - 1));
    uint8_t* d = out->PixelPtr(0, y);
    for (int x = 0; x < w; ++x) {
      int x0 = std::min(2 * x, rgb->width - 1) * 3, x1 = std::min(2 * x + 1, rgb->width - 1) * 3;
      for (int c = 0; c < 3; ++c) d[3 * x + c] = uint8_t((a[x0 + c] + a[x1 + c] + b[x0 + c] + b[x1 + c] + 2) / 4);
    }
  }
  return out;
}

}  // namespace

std::shared_ptr<TPixmap> ScalePicture(const std::shared_ptr<TPixmap>& picture, int width,
                                      int height) {
  std::shared_ptr<TPixmap> rgb =
      picture->format == PF_RGB888 ? picture : ConvertPixmap(picture, PF_RGB888);
  // Bilinear resizing reads at most 2 x 2 pixels per result pixel: larger steps would skip
  // detail and alias, so halve first.
  while (rgb->width >= 2 * width * 2 || rgb->height >= 2 * height * 2) rgb = Halve(rgb);
  if (rgb->width == width && rgb->height == height) return rgb == picture ? CopyPixmap(rgb) : rgb;
  return ResizePixmap(rgb, width, height);
}

void ContrastingColour(const std::shared_ptr<TPixmap>& picture, int& r, int& g, int& b) {
  auto rgb = picture->format == PF_RGB888 ? picture : ConvertPixmap(picture, PF_RGB888);
  double sum[3] = {0, 0, 0};
  for (int y = 0; y < rgb->height; ++y) {
    const uint8_t* p = rgb->PixelPtr(0, y);
    for (int x = 0; x < rgb->width; ++x)
      for (int c = 0; c < 3; ++c) sum[c] += p[3 * x + c];
  }
  double n = double(rgb->width) * rgb->height * 255;
  double mr = sum[0] / n, mg = sum[1] / n, mb = sum[2] / n;
  double hi = std::max({mr, mg, mb}), lo = std::min({mr, mg, mb});
  double hue = 0;  // degrees of the average colour
  if (hi > lo) {
    if (hi == mr) hue = 60 * std::fmod((mg - mb) / (hi - lo) + 6, 6.0);
    else if (hi == mg) hue = 60 * ((mb - mr) / (hi - lo) + 2);
    else hue = 60 * ((mr - mg) / (hi - lo) + 4);
  }
  double lightness = 0.299 * mr + 0.587 * mg + 0.114 * mb;
  double h = std::fmod(hue + 180, 360.0) / 60;
  double value = lightness > 0.45 ? 0.30 : 0.80;
  double saturation = hi - lo < 0.05 ? 0.35 : 0.60;  // a grey picture gets a calm tint
  double chroma = value * saturation;
  double x = chroma * (1 - std::abs(std::fmod(h, 2.0) - 1));
  double c1[3];
  switch (int(h) % 6) {
    case 0: c1[0] = chroma, c1[1] = x, c1[2] = 0; break;
    case 1: c1[0] = x, c1[1] = chroma, c1[2] = 0; break;
    case 2: c1[0] = 0, c1[1] = chroma, c1[2] = x; break;
    case 3: c1[0] = 0, c1[1] = x, c1[2] = chroma; break;
    case 4: c1[0] = x, c1[1] = 0, c1[2] = chroma; break;
    default: c1[0] = chroma, c1[1] = 0, c1[2] = x; break;
  }
  double m = value - chroma;
  r = int(std::lround((c1[0] + m) * 255));
  g = int(std::lround((c1[1] + m) * 255));
  b = int(std::lround((c1[2] + m) * 255));
}
