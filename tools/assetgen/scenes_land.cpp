// The library's landscapes: the title picture, meadow, harbour, balloons, autumn wood,
// mountains and tulip fields. Depends on assetgen.h.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/assetgen.h"

canvas PaintTitle(int w, int h, asset_fonts& fonts) {
  canvas c(w, h);
  c.VerticalGradient(0, h * 0.62f, RGB(34, 42, 110), RGB(250, 150, 90));
  c.Circle(w * 0.68f, h * 0.52f, h * 0.32f, RGB(255, 200, 120), 0.18f);
  c.Circle(w * 0.68f, h * 0.52f, h * 0.11f, RGB(255, 236, 170));
  Clouds(c, h * 0.5f, 0.35f, 3);
  Hills(c, h * 0.58f, h * 0.16f, 0.004f, 21, RGB(120, 90, 150), RGB(90, 70, 130));
  Hills(c, h * 0.70f, h * 0.14f, 0.006f, 22, RGB(70, 110, 100), RGB(40, 80, 70));
  Hills(c, h * 0.86f, h * 0.12f, 0.009f, 23, RGB(60, 130, 60), RGB(30, 80, 30));
  seeded_random random(5);
  for (int i = 0; i < 9; ++i) {
    float x = float(random.Range(0, w)), y = float(h * 0.9f + random.Range(0, h * 0.1));
    Pine(c, x, y, float(random.Range(50, 90)), RGB(24, 70, 40));
  }
  // Scattered jigsaw pieces in the sky, a hint at what is to come.
  for (int i = 0; i < 7; ++i) {
    // Beside the lettering, at the left and right of the sky.
    float x = float(random.Range(w * 0.04, w * 0.16) + (i % 2 ? w * 0.8 : 0.0));
    float y = float(random.Range(h * 0.06, h * 0.48));
    float s = float(random.Range(14, 22));
    colour tint = Mix(RGB(255, 220, 150), RGB(255, 255, 255), float(random.Unit()));
    c.Rect(x - s, y - s, 2 * s, 2 * s, tint, 0.55f);
    c.Circle(x, y - s, s * 0.35f, tint, 0.55f);
    c.Circle(x + s, y, s * 0.35f, tint, 0.55f);
  }
  text_face title(fonts.tahoma_path, h / 4);
  std::string name = "Tesselka";
  float cy = h * 0.27f;  // above the middle, where the game's hint banner appears
  for (int d = 6; d >= 1; --d) title.DrawCentred(c, name, w / 2.f + d, cy + d, RGB(40, 20, 60), 0.18f);
  title.DrawCentred(c, name, w / 2.f, cy, RGB(255, 246, 200));
  text_face subtitle(fonts.tahoma_path, 28);
  float sub_y = cy + h * 0.14f;
  subtitle.DrawCentred(c, "a jigsaw on your table", w / 2.f + 2, sub_y + 2, RGB(40, 20, 60), 0.5f);
  subtitle.DrawCentred(c, "a jigsaw on your table", w / 2.f, sub_y, RGB(255, 230, 180));
  Grain(c, 0.05f, 6);
  return c;
}

canvas PaintMeadow(int w, int h) {
  canvas c(w, h);
  Sky(c, h * 0.5f, RGB(70, 130, 220), RGB(180, 215, 245), 0.45f, 31);
  Hills(c, h * 0.48f, h * 0.12f, 0.005f, 32, RGB(120, 150, 190), RGB(110, 140, 170));
  Hills(c, h * 0.58f, h * 0.06f, 0.004f, 33, RGB(120, 190, 70), RGB(40, 120, 30));
  seeded_random random(34);
  Tree(c, w * 0.22f, h * 0.72f, h * 0.45f, RGB(50, 120, 40), random);
  Tree(c, w * 0.82f, h * 0.66f, h * 0.32f, RGB(70, 140, 50), random);
  const colour petals[] = {RGB(250, 80, 80), RGB(255, 220, 60), RGB(250, 250, 250), RGB(200, 100, 220), RGB(255, 150, 40)};
  for (int i = 0; i < 700; ++i) {
    float y = float(random.Range(h * 0.62, h));
    float x = float(random.Range(0, w));
    float size = 1.5f + 4.5f * (y - h * 0.6f) / (h * 0.4f);
    c.Line(x, y, x, y + size * 2, 1, RGB(40, 110, 30));
    c.Circle(x, y, size, petals[random.Int(0, 4)]);
    c.Circle(x, y, size * 0.35f, RGB(250, 200, 60));
  }
  Grain(c, 0.06f, 35);
  return c;
}

canvas PaintHarbour(int w, int h) {
  canvas c(w, h);
  int horizon = int(h * 0.58f);
  c.VerticalGradient(0, float(horizon), RGB(60, 40, 110), RGB(255, 160, 80));
  c.Circle(w * 0.4f, horizon - h * 0.08f, h * 0.09f, RGB(255, 230, 150));
  Clouds(c, float(horizon), 0.3f, 41);
  // The far shore and the lighthouse on its cape.
  Hills(c, float(horizon) - 4, h * 0.08f, 0.01f, 42, RGB(70, 50, 90), RGB(70, 50, 90));
  float lx = w * 0.8f, ly = horizon - h * 0.06f;
  for (int band = 0; band < 6; ++band)
    c.Rect(lx - 10 + band * 0.6f, ly - 20 - band * 18.f, 20 - band * 1.2f, 18, band % 2 ? RGB(230, 230, 230) : RGB(200, 40, 40));
  c.Rect(lx - 9, ly - 136, 18, 14, RGB(255, 240, 160));
  c.Polygon({{lx - 12, ly - 136}, {lx, ly - 152}, {lx + 12, ly - 136}}, RGB(60, 40, 40));
  c.Rect(0, float(horizon), float(w), float(h - horizon), RGB(30, 40, 90));
  Reflect(c, horizon, RGB(30, 50, 110), 10, 43);
  // Sailing boats.
  seeded_random random(44);
  for (int i = 0; i < 5; ++i) {
    float x = float(random.Range(w * 0.08, w * 0.92)), y = float(random.Range(horizon + 20, h - 20));
    float s = 0.5f + (y - horizon) / (h - horizon);
    colour hull = i % 2 ? RGB(120, 60, 30) : RGB(40, 40, 60);
    c.Polygon({{x - 40 * s, y}, {x + 40 * s, y}, {x + 30 * s, y + 12 * s}, {x - 30 * s, y + 12 * s}}, hull);
    c.Polygon({{x, y - 2}, {x, y - 80 * s}, {x + 34 * s, y - 6}}, i % 3 ? RGB(250, 245, 230) : RGB(250, 200, 80));
    c.Polygon({{x - 3, y - 4}, {x - 3, y - 60 * s}, {x - 26 * s, y - 6}}, RGB(230, 120, 90));
  }
  Grain(c, 0.05f, 45);
  return c;
}

canvas PaintBalloons(int w, int h) {
  canvas c(w, h);
  Sky(c, h * 0.7f, RGB(90, 160, 235), RGB(210, 230, 250), 0.4f, 51);
  // Fields below: a patchwork of strips bent by the hills.
  int ground = int(h * 0.72f);
  const colour fields[] = {RGB(140, 180, 70), RGB(210, 190, 90), RGB(90, 150, 60), RGB(170, 130, 70), RGB(120, 170, 110)};
  for (int y = ground; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float band = (x + 0.6f * (y - ground) * (x - w / 2.f) / w) / 60.f + 2 * Fractal(x * 0.01f, y * 0.02f, 2, 52);
      float row = (y - ground) / 22.f + Noise(x * 0.01f, 3, 53);
      int k = ((int(band) * 3 + int(row)) % 5 + 5) % 5;  // band can be negative at the left
      float shade = 0.85f + 0.3f * Noise(x * 0.2f, y * 0.2f, 54);
      c.Blend(x, y, Scale(fields[k], shade), 1);
    }
  seeded_random random(55);
  const colour stripes[][2] = {{RGB(230, 50, 50), RGB(250, 220, 60)}, {RGB(40, 90, 200), RGB(250, 250, 250)},
                               {RGB(150, 60, 180), RGB(250, 150, 40)}, {RGB(30, 150, 90), RGB(240, 240, 120)},
                               {RGB(240, 120, 40), RGB(60, 60, 160)}, {RGB(220, 40, 120), RGB(60, 200, 220)}};
  for (int i = 0; i < 6; ++i) {
    float r = float(random.Range(h * 0.06, h * 0.13));
    float x = float(w * (0.1 + 0.16 * i) + random.Range(-20, 20)), y = float(random.Range(h * 0.15, h * 0.55));
    c.Line(x - r * 0.5f, y + r * 0.9f, x - r * 0.22f, y + r * 1.5f, 1.2f, RGB(60, 40, 30));
    c.Line(x + r * 0.5f, y + r * 0.9f, x + r * 0.22f, y + r * 1.5f, 1.2f, RGB(60, 40, 30));
    c.Rect(x - r * 0.22f, y + r * 1.5f, r * 0.44f, r * 0.3f, RGB(130, 90, 50));
    const colour* s = stripes[i];
    c.Shape(x - r, y - r, x + r, y + r * 1.1f,
            [=](float px, float py) {
              float dy = py - y;
              float squash = dy > 0 ? 1 + dy / r * 0.5f : 1;  // narrower towards the basket
              return std::hypot((px - x) * squash, dy) - r;
            },
            s[0]);
    for (int k = -3; k <= 3; k += 2) {
      float sx = x + r * 0.28f * k;
      c.Shape(x - r, y - r, x + r, y + r * 1.1f,
              [=](float px, float py) {
                float dy = py - y;
                float squash = dy > 0 ? 1 + dy / r * 0.5f : 1;
                float inside = std::hypot((px - x) * squash, dy) - r;
                float across = std::abs((px - x) * squash - (sx - x) * std::sqrt(std::max(0.f, 1 - dy * dy / (r * r)))) - r * 0.11f;
                return std::max(inside, across);
              },
              s[1]);
    }
    c.Circle(x - r * 0.35f, y - r * 0.4f, r * 0.25f, RGB(255, 255, 255), 0.25f);
  }
  Grain(c, 0.05f, 56);
  return c;
}

canvas PaintAutumn(int w, int h) {
  canvas c(w, h);
  c.VerticalGradient(0, h * 0.6f, RGB(250, 210, 150), RGB(240, 160, 90));
  Hills(c, h * 0.55f, h * 0.1f, 0.006f, 61, RGB(190, 120, 80), RGB(160, 90, 60));
  Hills(c, h * 0.66f, h * 0.04f, 0.004f, 62, RGB(150, 100, 40), RGB(90, 50, 20));
  seeded_random random(63);
  const colour leaves[] = {RGB(220, 90, 30), RGB(240, 170, 40), RGB(190, 50, 30), RGB(160, 140, 40), RGB(230, 120, 60)};
  for (int row = 0; row < 3; ++row)
    for (int i = 0; i < 9 - row * 2; ++i) {
      float x = float(random.Range(0, w)), y = float(h * (0.62 + 0.14 * row) + random.Range(-10, 10));
      Tree(c, x, y, float(h * (0.25 + 0.17 * row)), leaves[random.Int(0, 4)], random);
    }
  // A path winding into the wood.
  c.Polygon({{w * 0.42f, float(h)}, {w * 0.62f, float(h)}, {w * 0.52f, h * 0.7f}, {w * 0.5f, h * 0.7f}}, RGB(150, 110, 70), 0.85f);
  for (int i = 0; i < 900; ++i) {
    float x = float(random.Range(0, w)), y = float(random.Range(h * 0.68, h));
    c.Ellipse(x, y, 3.5f, 2, leaves[random.Int(0, 4)], 0.9f);
  }
  Grain(c, 0.06f, 64);
  return c;
}

canvas PaintMountains(int w, int h) {
  canvas c(w, h);
  c.VerticalGradient(0, h * 0.55f, RGB(40, 90, 180), RGB(170, 210, 240));
  Clouds(c, h * 0.35f, 0.3f, 71);
  // Peaks: a sharp ridge with snow above a height line.
  int w_ = w;
  for (int x = 0; x < w_; ++x) {
    float n = Fractal(x * 0.004f, 1.5f, 6, 72);
    float ridge = h * 0.58f - h * 0.42f * std::pow(n, 1.6f) * 1.6f;
    for (int y = std::max(0, int(ridge)); y < int(h * 0.6f); ++y) {
      float snow = Fractal(x * 0.03f, y * 0.03f, 3, 73);
      bool white = y < h * 0.36f + snow * 40;
      float light = 0.75f + 0.35f * Noise(x * 0.05f + y * 0.02f, y * 0.05f, 74);
      float slope = std::clamp((y - h * 0.36f) / (h * 0.24f), 0.f, 1.f);  // bare rock to meadow
      colour rock = white ? RGB(240, 244, 252)
                          : Mix(Mix(RGB(120, 112, 130), RGB(96, 120, 72), slope), RGB(150, 140, 120), snow * 0.4f);
      c.Blend(x, y, Scale(rock, light), std::clamp(y + 1 - ridge, 0.f, 1.f));
    }
  }
  Hills(c, h * 0.6f, h * 0.05f, 0.01f, 75, RGB(50, 100, 60), RGB(30, 70, 40));
  int lake = int(h * 0.66f);
  Reflect(c, lake, RGB(40, 80, 120), 6, 76);
  seeded_random random(77);
  for (int i = 0; i < 40; ++i) {
    float x = float(random.Range(-20, w + 20));
    bool left = x < w * 0.3f || x > w * 0.75f;
    if (!left) continue;
    Pine(c, x, float(random.Range(h * 0.85, h * 1.02)), float(random.Range(h * 0.18, h * 0.32)), RGB(20, 70, 40));
  }
  Grain(c, 0.05f, 78);
  return c;
}

canvas PaintTulips(int w, int h) {
  canvas c(w, h);
  Sky(c, h * 0.4f, RGB(80, 150, 230), RGB(200, 225, 250), 0.4f, 81);
  int horizon = int(h * 0.42f);
  c.Rect(0, float(horizon), float(w), float(h - horizon), RGB(60, 120, 40));
  // A windmill on the horizon.
  float mx = w * 0.78f, my = float(horizon);
  c.Polygon({{mx - 22, my}, {mx + 22, my}, {mx + 12, my - 90}, {mx - 12, my - 90}}, RGB(120, 80, 60));
  c.Polygon({{mx - 16, my - 90}, {mx + 16, my - 90}, {mx, my - 112}}, RGB(80, 50, 40));
  for (int k = 0; k < 4; ++k) {
    float a = 0.5f + k * 1.5708f;
    c.Line(mx, my - 96, mx + std::cos(a) * 70, my - 96 + std::sin(a) * 70, 9, RGB(240, 235, 220));
  }
  // Rows of flowers converging on a point far away.
  const colour tulips[] = {RGB(230, 30, 40), RGB(250, 210, 40), RGB(240, 120, 180), RGB(250, 250, 245), RGB(250, 120, 30), RGB(150, 40, 160)};
  float vx = w * 0.45f;
  for (int y = horizon; y < h; ++y) {
    float depth = (y - horizon + 4.f) / (h - horizon);
    for (int x = 0; x < w; ++x) {
      float u = (x - vx) / depth / 90.f + 50;  // position across the rows
      int strip = int(u);
      float in_row = u - strip;
      float bloom = Noise(u * 6, y * 0.6f / depth, 82);
      if (in_row < 0.62f && bloom > 0.35f) {
        float shade = 0.7f + 0.5f * bloom;
        c.Blend(x, y, Scale(tulips[(strip % 6 + 6) % 6], shade), std::min(1.f, depth * 3));
      } else {
        c.Blend(x, y, Scale(RGB(60, 120, 40), 0.7f + 0.5f * Noise(x * 0.3f, y * 0.3f, 83)), 0.8f);
      }
    }
  }
  Grain(c, 0.05f, 84);
  return c;
}
