// The library's patterns and the reef: a patchwork quilt, a stained-glass mosaic, a mandala
// and a coral reef. Depends on assetgen.h.
#include <algorithm>
#include <array>
#include <cmath>

#include "tools/assetgen/assetgen.h"

namespace {

constexpr float pi = 3.14159265f;

colour Hue(float hue, float saturation, float value) {
  float h = std::fmod(hue, 1.f) * 6, f = h - std::floor(h);
  float p = value * (1 - saturation), q = value * (1 - saturation * f), t = value * (1 - saturation * (1 - f));
  switch (int(h) % 6) {
    case 0: return {value, t, p};
    case 1: return {q, value, p};
    case 2: return {p, value, t};
    case 3: return {p, q, value};
    case 4: return {t, p, value};
    default: return {value, p, q};
  }
}

}  // namespace

canvas PaintQuilt(int w, int h) {
  canvas c(w, h);
  const colour palette[] = {RGB(200, 60, 60), RGB(240, 200, 90), RGB(60, 110, 170), RGB(90, 160, 90),
                            RGB(240, 240, 225), RGB(150, 80, 140), RGB(240, 140, 60), RGB(60, 160, 170)};
  seeded_random random(91);
  int cols = 8, rows = 6;
  float pw = float(w) / cols, ph = float(h) / rows;
  for (int j = 0; j < rows; ++j)
    for (int k = 0; k < cols; ++k) {
      float x = k * pw, y = j * ph;
      colour a = palette[random.Int(0, 7)], b = palette[random.Int(0, 7)];
      if (a.r == b.r && a.g == b.g) b = Scale(a, 0.6f);
      c.Rect(x, y, pw, ph, a);
      switch (random.Int(0, 4)) {
        case 0:  // stripes
          for (float s = 0; s < pw; s += 12) c.Rect(x + s, y, 6, ph, b);
          break;
        case 1:  // dots
          for (float dy = 10; dy < ph; dy += 18)
            for (float dx = 10; dx < pw; dx += 18) c.Circle(x + dx + (int(dy / 18) % 2) * 9, y + dy, 4, b);
          break;
        case 2:  // checks
          for (float dy = 0; dy < ph; dy += 16)
            for (float dx = 0; dx < pw; dx += 16)
              if ((int(dx / 16) + int(dy / 16)) % 2) c.Rect(x + dx, y + dy, 16, 16, b);
          break;
        case 3:  // diamond
          c.Polygon({{x + pw / 2, y + 8}, {x + pw - 8, y + ph / 2}, {x + pw / 2, y + ph - 8}, {x + 8, y + ph / 2}}, b);
          c.Circle(x + pw / 2, y + ph / 2, ph * 0.14f, a);
          break;
        default:  // star
          for (int r = 0; r < 8; ++r) {
            float t = r * pi / 4;
            c.Line(x + pw / 2, y + ph / 2, x + pw / 2 + std::cos(t) * pw * 0.38f, y + ph / 2 + std::sin(t) * ph * 0.38f, 5, b);
          }
          break;
      }
      // Stitches along the seams.
      for (float s = 4; s < pw; s += 9) c.Rect(x + s, y + 3, 5, 1.5f, RGB(250, 245, 230), 0.8f);
      for (float s = 4; s < ph; s += 9) c.Rect(x + 3, y + s, 1.5f, 5, RGB(250, 245, 230), 0.8f);
      c.Rect(x, y, pw, 1.5f, RGB(60, 40, 30), 0.6f);
      c.Rect(x, y, 1.5f, ph, RGB(60, 40, 30), 0.6f);
    }
  // Cloth weave.
  c.Paint([&](float x, float y) {
    const float* p = c.At(int(x), int(y));
    float weave = 0.92f + 0.08f * float((int(x) + int(y)) % 3 == 0) + 0.06f * Noise(x * 0.5f, y * 0.5f, 92);
    return Scale({p[0], p[1], p[2]}, weave);
  });
  return c;
}

canvas PaintMosaic(int w, int h) {
  canvas c(w, h);
  constexpr int cell = 34;
  int gw = w / cell + 2, gh = h / cell + 2;
  seeded_random random(101);
  std::vector<std::pair<float, float>> seeds;
  for (int j = 0; j < gh; ++j)
    for (int k = 0; k < gw; ++k)
      seeds.push_back({float((k - 0.5 + random.Range(0.1, 0.9)) * cell), float((j - 0.5 + random.Range(0.1, 0.9)) * cell)});
  c.Paint([&](float x, float y) {
    int gx = int(x / cell + 0.5f), gy = int(y / cell + 0.5f);
    float best = 1e9f, second = 1e9f;
    int owner = 0;
    for (int j = std::max(0, gy - 2); j <= std::min(gh - 1, gy + 2); ++j)
      for (int k = std::max(0, gx - 2); k <= std::min(gw - 1, gx + 2); ++k) {
        auto [sx, sy] = seeds[size_t(j * gw + k)];
        float d = std::hypot(x - sx, y - sy);
        if (d < best) second = best, best = d, owner = j * gw + k;
        else if (d < second) second = d;
      }
    if (second - best < 3.f) return RGB(30, 26, 24);  // the leading between the glass
    auto [sx, sy] = seeds[size_t(owner)];
    // A sun in the middle, rays of warm glass around it, cool glass at the edges.
    float dx = sx - w / 2.f, dy = sy - h / 2.f;
    float r = std::hypot(dx, dy) / h, angle = std::atan2(dy, dx);
    float hue = r < 0.16f ? 0.12f : std::fmod(0.55f + 0.08f * std::sin(angle * 6) + r * 0.6f, 1.f);
    float value = 0.6f + 0.35f * Noise(float(owner), 0.5f, 102);
    colour glass = Hue(hue + 0.04f * Noise(sx * 0.1f, sy * 0.1f, 103), 0.75f, value);
    float light = 0.85f + 0.3f * Noise(x * 0.08f, y * 0.08f, 104) - 0.2f * std::min(1.f, best / cell);
    return Scale(glass, light);
  });
  return c;
}

canvas PaintMandala(int w, int h) {
  canvas c(w, h);
  float cx = w / 2.f, cy = h / 2.f, size = std::min(w, h) / 2.f;
  c.Paint([&](float x, float y) {
    float dx = x - cx, dy = y - cy;
    float r = std::hypot(dx, dy) / size, a = std::atan2(dy, dx);
    int ring = int(r * 9);
    float petals = float(6 + 2 * (ring % 4));
    float petal = std::abs(std::cos(a * petals / 2 + ring * 0.7f));
    float edge = std::fmod(r * 9, 1.f);
    float bump = petal * (1 - std::abs(edge - 0.5f) * 2);
    colour base = Hue(0.08f * ring + 0.02f * std::sin(a * 3), 0.7f, 0.35f + 0.55f * bump);
    if (r > 1) base = Mix(RGB(30, 20, 50), Hue(0.75f, 0.5f, 0.35f), Noise(x * 0.03f, y * 0.03f, 111));
    if (edge < 0.06f && r <= 1) base = RGB(250, 220, 140);  // gold rings
    float dots = std::fmod(a / (2 * pi) * petals * 2 + 8, 1.f);
    if (r <= 1 && std::abs(edge - 0.5f) < 0.08f && std::abs(dots - 0.5f) < 0.08f) base = RGB(255, 250, 230);
    return Scale(base, 0.9f + 0.2f * Noise(x * 0.4f, y * 0.4f, 112));
  });
  for (int k = 0; k < 4; ++k) {  // corner ornaments
    float x = k % 2 ? w - 40.f : 40.f, y = k / 2 ? h - 40.f : 40.f;
    c.Circle(x, y, 24, RGB(250, 220, 140));
    c.Circle(x, y, 15, RGB(120, 40, 90));
    c.Circle(x, y, 6, RGB(250, 250, 230));
  }
  return c;
}

canvas PaintReef(int w, int h) {
  canvas c(w, h);
  c.VerticalGradient(0, float(h), RGB(60, 180, 200), RGB(10, 40, 90));
  // Light from above.
  c.Paint([&](float x, float y) {
    const float* p = c.At(int(x), int(y));
    float ray = std::pow(std::abs(std::sin((x + y * 0.3f) * 0.02f + Noise(x * 0.01f, 0.5f, 121) * 3)), 12.f);
    float fade = std::max(0.f, 1 - y / (h * 0.8f));
    return Mix({p[0], p[1], p[2]}, RGB(220, 250, 255), ray * fade * 0.35f);
  });
  Hills(c, h * 0.86f, h * 0.08f, 0.008f, 122, RGB(230, 210, 160), RGB(190, 160, 110));
  seeded_random random(123);
  const colour corals[] = {RGB(250, 110, 110), RGB(250, 170, 60), RGB(200, 80, 200), RGB(250, 230, 120), RGB(90, 200, 170)};
  for (int i = 0; i < 14; ++i) {
    float x = float(random.Range(0, w)), y = float(random.Range(h * 0.82, h * 0.98));
    colour tint = corals[random.Int(0, 4)];
    std::vector<std::array<float, 4>> branches = {{x, y, -pi / 2, float(random.Range(50, 110))}};
    for (size_t b = 0; b < branches.size() && b < 40; ++b) {
      auto [bx, by, angle, length] = branches[b];
      float ex = bx + std::cos(angle) * length, ey = by + std::sin(angle) * length;
      c.Line(bx, by, ex, ey, std::max(2.f, length * 0.12f), tint);
      if (length > 18) {
        branches.push_back({ex, ey, angle - float(random.Range(0.2, 0.6)), length * 0.68f});
        branches.push_back({ex, ey, angle + float(random.Range(0.2, 0.6)), length * 0.68f});
      } else {
        c.Circle(ex, ey, 3, Scale(tint, 1.2f));
      }
    }
  }
  for (int i = 0; i < 10; ++i) {  // seaweed
    float x = float(random.Range(0, w)), top = float(random.Range(h * 0.45, h * 0.7));
    for (float y = float(h); y > top; y -= 3) {
      float sway = std::sin(y * 0.04f + i) * 10;
      c.Circle(x + sway, y, 4, RGB(40, 140, 60));
    }
  }
  const colour fish[][2] = {{RGB(250, 140, 30), RGB(255, 255, 255)}, {RGB(250, 230, 40), RGB(40, 60, 160)},
                            {RGB(60, 120, 240), RGB(250, 230, 40)}, {RGB(230, 60, 90), RGB(250, 250, 250)}};
  for (int i = 0; i < 16; ++i) {
    float x = float(random.Range(40, w - 40)), y = float(random.Range(h * 0.1, h * 0.75));
    float s = float(random.Range(14, 30));
    float dir = random.Unit() < 0.5 ? -1.f : 1.f;
    const colour* f = fish[random.Int(0, 3)];
    c.Polygon({{x - dir * s * 0.8f, y}, {x - dir * s * 1.5f, y - s * 0.55f}, {x - dir * s * 1.5f, y + s * 0.55f}}, f[0]);
    c.Ellipse(x, y, s, s * 0.55f, f[0]);
    c.Ellipse(x - dir * s * 0.2f, y, s * 0.14f, s * 0.5f, f[1]);
    c.Circle(x + dir * s * 0.55f, y - s * 0.12f, s * 0.12f, RGB(255, 255, 255));
    c.Circle(x + dir * s * 0.58f, y - s * 0.12f, s * 0.06f, RGB(10, 10, 20));
  }
  for (int i = 0; i < 60; ++i)
    c.Circle(float(random.Range(0, w)), float(random.Range(0, h * 0.8)), float(random.Range(1.5, 5)), RGB(220, 250, 255), 0.5f);
  Grain(c, 0.05f, 124);
  return c;
}
