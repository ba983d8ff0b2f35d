// Widgets and textures shared by the generated pictures: panels, buttons, value noise.
// Depends on assetgen.h.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/assetgen.h"

const button_style yes_style{RGB(92, 196, 104), RGB(34, 122, 52), RGB(12, 60, 24), RGB(255, 255, 255)};
const button_style no_style{RGB(226, 98, 88), RGB(150, 36, 32), RGB(70, 14, 12), RGB(255, 255, 255)};
const button_style blue_style{RGB(104, 140, 228), RGB(44, 70, 160), RGB(16, 24, 70), RGB(255, 255, 224)};
const button_style grey_style{RGB(120, 124, 132), RGB(84, 88, 96), RGB(50, 52, 58), RGB(170, 174, 180)};

colour PageColour() { return RGB(30, 42, 78); }

void Panel(canvas& target, float x, float y, float w, float h) {
  target.Rect(x, y, w, h, RGB(200, 210, 236));
  target.Rect(x + 2, y + 2, w - 4, h - 4, RGB(14, 20, 40));
  for (int row = 0; row < int(h) - 6; ++row) {
    colour c = Mix(RGB(40, 56, 102), PageColour(), float(row) / (h - 6));
    target.Rect(x + 3, y + 3 + row, w - 6, 1, c);
  }
}

void Button(canvas& target, float x, float y, float w, float h, float radius,
            const button_style& style, text_face& face, const std::string& label) {
  target.RoundRect(x, y, w, h, radius, style.border);
  for (int row = 1; row < int(h) - 1; ++row) {
    colour c = Mix(style.top, style.bottom, float(row) / (h - 2));
    // One-pixel-high strips of a rounded rectangle inset by one pixel.
    float inset = radius > 1 ? radius - 1 : 0;
    float cy = y + row + 0.5f, top = y + 1 + inset, bottom = y + h - 1 - inset;
    float dy = cy < top ? top - cy : cy > bottom ? cy - bottom : 0;
    float dx = inset > 0 && dy > 0 ? inset - std::sqrt(std::max(0.f, inset * inset - dy * dy)) : 0;
    target.Rect(x + 1 + dx, y + row, w - 2 - 2 * dx, 1, c);
  }
  target.Rect(x + radius, y + 1, w - 2 * radius, 1, Mix(style.top, RGB(255, 255, 255), 0.5f), 0.8f);
  face.DrawCentred(target, label, x + w / 2 + 1, y + h / 2 + 1, Scale(style.bottom, 0.4f), 0.8f);
  face.DrawCentred(target, label, x + w / 2, y + h / 2, style.text);
}

namespace {

float Hash(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return float((h ^ (h >> 16)) & 0xffffff) / float(0xffffff);
}

}  // namespace

float Noise(float x, float y, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  float a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
  float c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
  return a + (b - a) * tx + (c - a) * ty + (a - b - c + d) * tx * ty;
}

float Fractal(float x, float y, int octaves, uint32_t seed) {
  float sum = 0, weight = 0, amplitude = 1;
  for (int i = 0; i < octaves; ++i) {
    sum += Noise(x, y, seed + uint32_t(i) * 101u) * amplitude;
    weight += amplitude;
    amplitude *= 0.5f;
    x *= 2.03f;
    y *= 2.03f;
  }
  return sum / weight;
}
