// The library's town and kitchen pictures: a city by night, a bowl of fruit, and the red
// mixer whose jigsaw the game celebrates. Depends on assetgen.h.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/assetgen.h"

canvas PaintCity(int w, int h) {
  canvas c(w, h);
  int water = int(h * 0.72f);
  c.VerticalGradient(0, float(water), RGB(8, 10, 40), RGB(60, 40, 100));
  seeded_random random(131);
  for (int i = 0; i < 260; ++i)
    c.Circle(float(random.Range(0, w)), float(random.Range(0, water * 0.7)), float(random.Range(0.5, 1.4)),
             RGB(255, 255, 230), float(random.Range(0.4, 1)));
  c.Circle(w * 0.82f, h * 0.14f, 34, RGB(250, 245, 220));
  c.Circle(w * 0.82f + 12, h * 0.14f - 6, 30, RGB(30, 24, 70), 0.25f);
  // Two rows of buildings, the far one lower and bluer.
  for (int layer = 0; layer < 2; ++layer) {
    float x = float(random.Range(-30, 0));
    while (x < w) {
      float bw = float(random.Range(40, 90)), bh = float(random.Range(h * 0.15, h * (layer ? 0.55 : 0.4)));
      float top = water - bh;
      colour wall = layer ? RGB(30, 30, 55) : RGB(50, 50, 90);
      c.Rect(x, top, bw, bh, wall);
      if (random.Unit() < 0.3) c.Polygon({{x, top}, {x + bw / 2, top - bw * 0.4f}, {x + bw, top}}, wall);
      if (random.Unit() < 0.2) c.Line(x + bw / 2, top, x + bw / 2, top - 40, 2, wall);
      for (float wy = top + 8; wy < water - 10; wy += 14)
        for (float wx = x + 6; wx < x + bw - 8; wx += 12)
          if (random.Unit() < (layer ? 0.45 : 0.3))
            c.Rect(wx, wy, 6, 8, Mix(RGB(255, 210, 90), RGB(255, 250, 200), float(random.Unit())));
      x += bw + float(random.Range(-6, 8));
    }
  }
  c.Rect(0, float(water), float(w), float(h - water), RGB(10, 12, 40));
  Reflect(c, water, RGB(10, 14, 50), 14, 132);
  Grain(c, 0.04f, 133);
  return c;
}

canvas PaintFruit(int w, int h) {
  canvas c(w, h);
  // A checked cloth on the table, a plain wall behind.
  int table = int(h * 0.42f);
  c.VerticalGradient(0, float(table), RGB(240, 225, 190), RGB(210, 190, 150));
  c.Paint([&](float x, float y) {
    const float* p = c.At(int(x), int(y));
    if (y < table) return colour{p[0], p[1], p[2]};
    float depth = (y - table) / (h - table) + 0.3f;
    float u = (x - w / 2.f) / depth / 50, v = (y - table) / (depth * 30);
    bool a = int(std::floor(u)) % 2 != 0, b = int(std::floor(v)) % 2 != 0;
    colour cloth = a && b ? RGB(190, 40, 40) : a || b ? RGB(220, 130, 130) : RGB(250, 240, 235);
    return Scale(cloth, 0.85f + 0.15f * Noise(x * 0.3f, y * 0.3f, 141));
  });
  float bx = w / 2.f, by = h * 0.72f, brx = w * 0.33f, bry = h * 0.12f;
  c.Ellipse(bx, by + bry * 1.3f, brx * 0.9f, bry * 0.6f, RGB(60, 30, 20), 0.3f);  // shadow
  seeded_random random(142);
  struct fruit_kind {
    colour skin;
    float size;
  };
  const fruit_kind kinds[] = {{RGB(250, 140, 20), 34}, {RGB(200, 30, 30), 32}, {RGB(250, 220, 50), 28},
                              {RGB(120, 190, 50), 30}, {RGB(110, 40, 120), 9}};
  for (int i = 0; i < 40; ++i) {
    const fruit_kind& k = kinds[random.Int(0, 4)];
    float x = bx + float(random.Range(-brx * 0.85, brx * 0.85));
    float y = by - bry * 0.5f - float(random.Range(0, h * 0.16)) + std::abs(x - bx) / brx * h * 0.06f;
    int count = k.size < 10 ? 14 : 1;  // grapes come in bunches
    for (int g = 0; g < count; ++g) {
      float gx = x + (count > 1 ? float(random.Range(-18, 18)) : 0), gy = y + (count > 1 ? g * 2.5f : 0);
      c.Circle(gx, gy, k.size, Scale(k.skin, 0.6f));
      c.Circle(gx - 2, gy - 2, k.size * 0.9f, k.skin);
      c.Circle(gx - k.size * 0.35f, gy - k.size * 0.35f, k.size * 0.25f, RGB(255, 255, 255), 0.45f);
    }
  }
  // The bowl in front of the fruit's lower half.
  c.Shape(bx - brx, by - bry, bx + brx, by + bry * 2.2f,
          [=](float x, float y) {
            if (y < by) return std::hypot((x - bx) / brx, (y - by) / bry) * bry - bry;
            return std::hypot((x - bx) / brx, (y - by) / (bry * 2.2f)) * bry - bry;
          },
          RGB(40, 100, 170));
  c.Ellipse(bx, by, brx, bry * 0.35f, RGB(70, 140, 210));
  for (int k = -4; k <= 4; ++k) c.Circle(bx + k * brx * 0.2f, by + bry * 1.2f - std::abs(k) * 4.f, 6, RGB(250, 230, 150));
  Grain(c, 0.05f, 143);
  return c;
}

canvas PaintMixer(int w, int h) {
  canvas c(w, h);
  int counter = int(h * 0.7f);
  // Tiled wall with a window.
  c.Paint([&](float x, float y) {
    bool grout = std::fmod(x, 48.f) < 2 || std::fmod(y, 48.f) < 2;
    colour tile = (int(x / 48) + int(y / 48)) % 2 ? RGB(230, 240, 235) : RGB(200, 225, 220);
    return grout ? RGB(170, 180, 175) : Scale(tile, 0.94f + 0.08f * Noise(x * 0.05f, y * 0.05f, 151));
  });
  float wx = w * 0.08f, wy = h * 0.1f, ww = w * 0.3f, wh = h * 0.38f;
  c.Rect(wx - 8, wy - 8, ww + 16, wh + 16, RGB(250, 250, 250));
  canvas sky{int(ww), int(wh)};
  Sky(sky, wh, RGB(90, 160, 230), RGB(200, 230, 250), 0.4f, 152);
  Hills(sky, wh * 0.8f, wh * 0.2f, 0.02f, 153, RGB(90, 160, 80), RGB(50, 110, 50));
  for (int y = 0; y < sky.height(); ++y)
    for (int x = 0; x < sky.width(); ++x) {
      const float* p = sky.At(x, y);
      c.Blend(int(wx) + x, int(wy) + y, {p[0], p[1], p[2]}, p[3]);
    }
  c.Rect(wx + ww / 2 - 3, wy, 6, wh, RGB(250, 250, 250));
  c.Rect(wx, wy + wh / 2 - 3, ww, 6, RGB(250, 250, 250));
  // Wooden worktop.
  for (int y = counter; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float grain = Fractal(x * 0.004f, y * 0.12f, 4, 154);
      c.Blend(x, y, Scale(Mix(RGB(150, 95, 50), RGB(200, 140, 80), grain), y < counter + 6 ? 1.2f : 1.f), 1);
    }
  // The mixer: base, column, head with its rounded nose, a steel bowl and the beater.
  float mx = w * 0.6f, base_y = counter + h * 0.12f;
  colour red = RGB(200, 24, 30), dark = RGB(120, 10, 16), light = RGB(250, 110, 100);
  c.Ellipse(mx, base_y + 10, w * 0.2f, 16, RGB(40, 20, 10), 0.35f);
  c.RoundRect(mx - w * 0.18f, base_y - 34, w * 0.36f, 40, 16, red);
  c.RoundRect(mx + w * 0.06f, base_y - h * 0.5f, w * 0.1f, h * 0.5f - 20, 20, red);
  c.RoundRect(mx - w * 0.2f, base_y - h * 0.56f, w * 0.36f, h * 0.15f, h * 0.07f, red);
  c.RoundRect(mx - w * 0.19f, base_y - h * 0.55f, w * 0.33f, h * 0.04f, h * 0.02f, light, 0.5f);
  c.Rect(mx - w * 0.2f, base_y - h * 0.44f, w * 0.36f, 4, dark, 0.6f);
  c.Circle(mx + w * 0.13f, base_y - h * 0.49f, 9, RGB(220, 220, 230));  // speed knob
  c.Line(mx - w * 0.07f, base_y - h * 0.41f, mx - w * 0.07f, base_y - h * 0.28f, 6, RGB(200, 200, 210));
  c.Shape(mx - w * 0.15f, base_y - h * 0.3f, mx + w * 0.05f, base_y - 30,
          [=](float x, float y) {
            float cx = mx - w * 0.05f, top = base_y - h * 0.3f, depth = base_y - 30 - top;
            float t = (y - top) / depth;
            float half = w * 0.1f * (1 - 0.35f * t * t);
            return std::max(std::abs(x - cx) - half, std::max(top - y, y - (top + depth)));
          },
          RGB(190, 195, 205));
  for (int k = 0; k < 6; ++k)
    c.Line(mx - w * 0.13f + k * 4, base_y - h * 0.3f + 8, mx - w * 0.11f + k * 4, base_y - 40, 2, RGB(240, 245, 250), 0.5f);
  c.RoundRect(mx - w * 0.16f, base_y - h * 0.31f, w * 0.22f, 8, 4, RGB(220, 225, 235));
  // Eggs and a lemon beside it, flour in a jar.
  c.Ellipse(w * 0.2f, counter + h * 0.12f, 22, 28, RGB(245, 235, 215));
  c.Ellipse(w * 0.26f, counter + h * 0.13f, 20, 26, RGB(235, 210, 170));
  c.Ellipse(w * 0.34f, counter + h * 0.13f, 30, 22, RGB(250, 220, 50));
  c.RoundRect(w * 0.84f, counter - h * 0.1f, w * 0.1f, h * 0.22f, 8, RGB(210, 230, 240), 0.8f);
  c.Rect(w * 0.845f, counter - h * 0.02f, w * 0.09f, h * 0.13f, RGB(250, 250, 245));
  Grain(c, 0.04f, 155);
  return c;
}
