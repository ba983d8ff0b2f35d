// Scenery pieces shared by the library's pictures: hills, clouds, trees, water, grain.
// Depends on assetgen.h.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/assetgen.h"

void Hills(canvas& target, float base_y, float amplitude, float scale, uint32_t seed, colour top,
           colour bottom) {
  int w = target.width(), h = target.height();
  for (int x = 0; x < w; ++x) {
    float ridge = base_y - amplitude * Fractal(x * scale, 0.5f, 5, seed);
    for (int y = std::max(0, int(std::floor(ridge))); y < h; ++y) {
      float cover = std::clamp(y + 1 - ridge, 0.f, 1.f);
      float t = std::clamp((y - ridge) / std::max(1.f, h - ridge), 0.f, 1.f);
      float shade = 0.9f + 0.2f * Noise(x * 0.08f, y * 0.08f, seed + 7);
      target.Blend(x, y, Scale(Mix(top, bottom, t), shade), cover);
    }
  }
}

void Clouds(canvas& target, float horizon, float cover, uint32_t seed) {
  for (int y = 0; y < int(horizon); ++y)
    for (int x = 0; x < target.width(); ++x) {
      float n = Fractal(x * 0.006f, y * 0.016f, 5, seed);
      float a = std::clamp((n - (1 - cover)) * 3.5f, 0.f, 0.92f) * std::min(1.f, (horizon - y) / 40);
      if (a > 0) target.Blend(x, y, Mix(RGB(255, 255, 255), RGB(200, 206, 222), (1 - n) * 0.8f), a);
    }
}

void Sky(canvas& target, float horizon, colour top, colour bottom, float cover, uint32_t seed) {
  target.VerticalGradient(0, horizon, top, bottom);
  Clouds(target, horizon, cover, seed);
}

void Tree(canvas& target, float x, float y, float height, colour leaves, seeded_random& random) {
  float trunk = height * 0.08f;
  target.Rect(x - trunk / 2, y - height * 0.45f, trunk, height * 0.45f, RGB(92, 60, 36));
  for (int i = 0; i < 14; ++i) {
    float a = float(random.Range(0, 6.2832)), d = float(random.Range(0, height * 0.25));
    float cx = x + std::cos(a) * d * 1.2f, cy = y - height * 0.62f + std::sin(a) * d;
    float r = float(random.Range(height * 0.14, height * 0.22));
    target.Circle(cx, cy, r, Scale(leaves, float(random.Range(0.75, 1.2))));
  }
}

void Pine(canvas& target, float x, float y, float height, colour needles) {
  target.Rect(x - height * 0.04f, y - height * 0.2f, height * 0.08f, height * 0.2f, RGB(70, 46, 30));
  for (int tier = 0; tier < 4; ++tier) {
    float bottom = y - height * (0.12f + 0.2f * tier), top = bottom - height * 0.38f;
    float half = height * (0.3f - 0.06f * tier);
    target.Polygon({{x - half, bottom}, {x, top}, {x + half, bottom}}, Scale(needles, 0.85f + 0.1f * tier));
  }
}

void Reflect(canvas& target, int horizon, colour water, float ripple, uint32_t seed) {
  int w = target.width(), h = target.height();
  for (int y = horizon; y < h; ++y) {
    float depth = float(y - horizon + 1);
    for (int x = 0; x < w; ++x) {
      float wave = (Noise(x * 0.02f, depth * 0.5f / (1 + depth * 0.02f), seed) - 0.5f) * ripple * (1 + depth * 0.05f);
      int sx = std::clamp(int(x + wave), 0, w - 1);
      int sy = std::clamp(horizon - int(depth) - 1, 0, h - 1);
      const float* p = target.At(sx, sy);
      colour mirrored{p[0], p[1], p[2]};
      float t = std::min(0.75f, 0.35f + depth / h);
      target.Blend(x, y, Mix(Scale(mirrored, 0.85f), water, t), 1);
    }
  }
}

void Grain(canvas& target, float strength, uint32_t seed) {
  seeded_random random(seed);
  for (int y = 0; y < target.height(); ++y)
    for (int x = 0; x < target.width(); ++x) {
      float n = float(random.Unit()) - 0.5f;
      target.Blend(x, y, n > 0 ? RGB(255, 255, 255) : RGB(0, 0, 0), std::abs(n) * strength);
    }
}
