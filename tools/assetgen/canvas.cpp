// The asset generator's painting surface and its text. Depends on canvas.h.
#include "tools/assetgen/canvas.h"

#include <algorithm>
#include <cmath>

#include "platform/platform.h"

colour RGB(int r, int g, int b) { return {r / 255.f, g / 255.f, b / 255.f}; }

colour Mix(colour a, colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

colour Scale(colour c, float f) {
  return {std::clamp(c.r * f, 0.f, 1.f), std::clamp(c.g * f, 0.f, 1.f), std::clamp(c.b * f, 0.f, 1.f)};
}

canvas::canvas(int width, int height)
    : width_(width), height_(height), pixels_(size_t(width) * height * 4, 0.f) {}

void canvas::Blend(int x, int y, colour c, float alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  float* p = &pixels_[(size_t(y) * width_ + x) * 4];
  float a = std::min(alpha, 1.f), keep = 1 - a;
  p[0] = c.r * a + p[0] * keep;
  p[1] = c.g * a + p[1] * keep;
  p[2] = c.b * a + p[2] * keep;
  p[3] = a + p[3] * keep;
}

void canvas::Erase(int x, int y, int w, int h) {
  for (int py = std::max(0, y); py < std::min(height_, y + h); ++py)
    for (int px = std::max(0, x); px < std::min(width_, x + w); ++px)
      std::fill_n(&pixels_[(size_t(py) * width_ + px) * 4], 4, 0.f);
}

void canvas::Fill(colour c, float alpha) { Rect(0, 0, float(width_), float(height_), c, alpha); }

void canvas::Shape(float x0, float y0, float x1, float y1, const distance_fn& distance, colour c,
                   float alpha) {
  int left = std::max(0, int(std::floor(x0)) - 1), right = std::min(width_ - 1, int(std::ceil(x1)) + 1);
  int top = std::max(0, int(std::floor(y0)) - 1), bottom = std::min(height_ - 1, int(std::ceil(y1)) + 1);
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      float coverage = std::clamp(0.5f - distance(x + 0.5f, y + 0.5f), 0.f, 1.f);
      if (coverage > 0) Blend(x, y, c, coverage * alpha);
    }
}

void canvas::Rect(float x, float y, float w, float h, colour c, float alpha) {
  // Exact area coverage, so that whole-pixel rectangles are crisp.
  int left = std::max(0, int(std::floor(x))), right = std::min(width_, int(std::ceil(x + w)));
  int top = std::max(0, int(std::floor(y))), bottom = std::min(height_, int(std::ceil(y + h)));
  for (int py = top; py < bottom; ++py) {
    float cy = std::min(float(py + 1), y + h) - std::max(float(py), y);
    for (int px = left; px < right; ++px) {
      float cx = std::min(float(px + 1), x + w) - std::max(float(px), x);
      Blend(px, py, c, std::clamp(cx, 0.f, 1.f) * std::clamp(cy, 0.f, 1.f) * alpha);
    }
  }
}

void canvas::RoundRect(float x, float y, float w, float h, float radius, colour c, float alpha) {
  float cx = x + w / 2, cy = y + h / 2, hx = w / 2 - radius, hy = h / 2 - radius;
  Shape(x, y, x + w, y + h,
        [=](float px, float py) {
          float dx = std::abs(px - cx) - hx, dy = std::abs(py - cy) - hy;
          float outside = std::hypot(std::max(dx, 0.f), std::max(dy, 0.f));
          return outside + std::min(std::max(dx, dy), 0.f) - radius;
        },
        c, alpha);
}

void canvas::Circle(float cx, float cy, float radius, colour c, float alpha) {
  Shape(cx - radius, cy - radius, cx + radius, cy + radius,
        [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; }, c, alpha);
}

void canvas::Ellipse(float cx, float cy, float rx, float ry, colour c, float alpha) {
  float r = std::min(rx, ry);
  Shape(cx - rx, cy - ry, cx + rx, cy + ry,
        [=](float x, float y) {
          float k = std::hypot((x - cx) / rx, (y - cy) / ry);
          return (k - 1) * r;  // close enough to a distance near the outline
        },
        c, alpha);
}

void canvas::Line(float x0, float y0, float x1, float y1, float width, colour c, float alpha) {
  float half = width / 2, dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
  Shape(std::min(x0, x1) - half, std::min(y0, y1) - half, std::max(x0, x1) + half,
        std::max(y0, y1) + half,
        [=](float x, float y) {
          float t = length2 > 0 ? std::clamp(((x - x0) * dx + (y - y0) * dy) / length2, 0.f, 1.f) : 0;
          return std::hypot(x - x0 - t * dx, y - y0 - t * dy) - half;
        },
        c, alpha);
}

void canvas::Polygon(const std::vector<std::pair<float, float>>& points, colour c, float alpha) {
  if (points.size() < 3) return;
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  for (auto [x, y] : points) x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
  int left = std::max(0, int(std::floor(x0))), right = std::min(width_ - 1, int(std::ceil(x1)));
  int top = std::max(0, int(std::floor(y0))), bottom = std::min(height_ - 1, int(std::ceil(y1)));
  std::vector<float> hits;
  std::vector<float> coverage(size_t(right - left + 2), 0.f);
  for (int py = top; py <= bottom; ++py) {
    std::fill(coverage.begin(), coverage.end(), 0.f);
    for (int sub = 0; sub < 4; ++sub) {
      float sy = py + (sub + 0.5f) / 4;
      hits.clear();
      for (size_t i = 0; i < points.size(); ++i) {
        auto [ax, ay] = points[i];
        auto [bx, by] = points[(i + 1) % points.size()];
        if ((ay <= sy) != (by <= sy)) hits.push_back(ax + (sy - ay) * (bx - ax) / (by - ay));
      }
      std::sort(hits.begin(), hits.end());
      for (size_t i = 0; i + 1 < hits.size(); i += 2)
        for (int sx = 0; sx < 4 * (right - left + 1); ++sx) {
          float x = left + (sx + 0.5f) / 4;
          if (x >= hits[i] && x < hits[i + 1]) coverage[size_t(sx / 4)] += 1.f / 16;
        }
    }
    for (int px = left; px <= right; ++px) Blend(px, py, c, coverage[size_t(px - left)] * alpha);
  }
}

void canvas::VerticalGradient(float y0, float y1, colour c0, colour c1) {
  for (int y = 0; y < height_; ++y) {
    float t = std::clamp((y + 0.5f - y0) / std::max(y1 - y0, 1e-3f), 0.f, 1.f);
    colour c = Mix(c0, c1, t);
    for (int x = 0; x < width_; ++x) Blend(x, y, c, 1);
  }
}

void canvas::Paint(const std::function<colour(float x, float y)>& shader) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Blend(x, y, shader(x + 0.5f, y + 0.5f), 1);
}

namespace {

uint8_t Byte(float v) { return uint8_t(std::lround(std::clamp(v, 0.f, 1.f) * 255)); }

// A pixmap of the canvas's size in format, each pixel written by write(premultiplied source,
// destination).
template <class Write>
std::shared_ptr<TPixmap> Export(const canvas& from, int32_t format, Write write) {
  auto out = CreatePixmap(from.width(), from.height(), format);
  const int32_t bytes = BytesPerPixel(format);
  for (int y = 0; y < from.height(); ++y) {
    uint8_t* d = out->PixelPtr(0, y);
    for (int x = 0; x < from.width(); ++x, d += bytes) write(from.At(x, y), d);
  }
  return out;
}

}  // namespace

std::shared_ptr<TPixmap> canvas::ToRGB() const {
  return Export(*this, PF_RGB888, [](const float* p, uint8_t* q) {
    q[0] = Byte(p[0]), q[1] = Byte(p[1]), q[2] = Byte(p[2]);
  });
}

std::shared_ptr<TPixmap> canvas::ToRGBA() const {
  return Export(*this, PF_RGBA8888, [](const float* p, uint8_t* q) {
    const float a = p[3] > 0 ? p[3] : 1;
    for (int c = 0; c < 3; ++c) q[c] = Byte(p[c] / a);
    q[3] = Byte(p[3]);
  });
}

std::shared_ptr<TPixmap> canvas::ToMasked() const {
  return Export(*this, PF_RGB888, [](const float* p, uint8_t* q) {
    if (p[3] < 0.5f) {
      q[0] = q[1] = q[2] = 0;
      return;
    }
    // Unpremultiply: the masked image has hard edges, so edge pixels show their full colour.
    q[0] = std::max<uint8_t>(1, Byte(p[0] / p[3]));
    q[1] = std::max<uint8_t>(1, Byte(p[1] / p[3]));
    q[2] = std::max<uint8_t>(1, Byte(p[2] / p[3]));
  });
}

std::vector<int> CodePoints(const std::string& text) {
  std::vector<int> out;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = text[i];
    int extra = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : c >= 0xc0 ? 1 : 0;
    bool valid = extra > 0 && i + extra < text.size();
    int code = c & (0x3f >> extra);
    for (int k = 1; valid && k <= extra; ++k) {
      unsigned char next = text[i + k];
      valid = (next & 0xc0) == 0x80;
      code = code << 6 | (next & 0x3f);
    }
    out.push_back(valid ? code : c);
    i += valid ? size_t(extra) + 1 : 1;
  }
  return out;
}

text_face::text_face(const std::string& path, int size) : font_(LoadFont(path, size, SmoothFont)) {
  if (!font_) throw TRuntimeException("cannot load the font " + path);
}

int text_face::Height() { return font_->Height(); }

int text_face::Width(const std::string& text) {
  float width = 0;
  for (int code : CodePoints(text)) {
    int index = font_->CharToGlyph(code);
    if (index >= 0) width += font_->LoadGlyph(index)->Advance();
  }
  return int(width);
}

void text_face::Draw(canvas& target, const std::string& text, float x, float y, colour c,
                     float alpha) {
  float pen = x;
  for (int code : CodePoints(text)) {
    int index = font_->CharToGlyph(code);
    if (index < 0) continue;
    auto glyph = font_->LoadGlyph(index);
    int gx = 0, gy = 0, gw = 0, gh = 0;
    glyph->GetRect(gx, gy, gw, gh);
    if (auto pixels = glyph->Pixels()) {
      int left = int(std::lround(pen)) + gx, top = int(std::lround(y)) + gy;
      for (int v = 0; v < pixels->height; ++v) {
        const uint8_t* row = pixels->PixelPtr(0, v);
        for (int u = 0; u < pixels->width; ++u)
          if (row[u]) target.Blend(left + u, top + v, c, row[u] / 255.f * alpha);
      }
    }
    pen += glyph->Advance();
  }
}

void text_face::DrawCentred(canvas& target, const std::string& text, float cx, float cy, colour c,
                            float alpha) {
  Draw(target, text, std::round(cx - Width(text) / 2.f), std::round(cy - Height() / 2.f), c, alpha);
}
