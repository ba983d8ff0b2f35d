// The seven frames of the celebration's flash: a star burst that grows and fades. The game
// draws them masked and additively, so black adds nothing and the glow fades to black.
// Depends on assetgen.h.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/assetgen.h"

void WriteFlashFrames(const std::string& images) {
  constexpr int size = 96;
  for (int i = 1; i <= 7; ++i) {
    float radius = 8 + 5.5f * i;                          // grows frame by frame
    float strength = i <= 3 ? 1.f : 1.f - (i - 3) / 5.f;  // then fades
    float turn = 0.12f * i;
    canvas c(size, size);
    c.Paint([&](float x, float y) {
      float dx = x - size / 2.f, dy = y - size / 2.f;
      float r = std::hypot(dx, dy) / radius;
      float angle = std::atan2(dy, dx) + turn;
      float rays = std::pow(std::abs(std::cos(angle * 4)), 18.f) * std::max(0.f, 1 - r * 0.55f);
      float glow = std::exp(-r * r * 2.2f);
      float core = std::exp(-r * r * 14);
      // Fade out before the frame's edge, so that no ray is cut off square.
      float edge = std::clamp((size / 2.f - std::hypot(dx, dy)) / 12, 0.f, 1.f);
      float v = std::min(1.f, (glow * 0.8f + rays * 0.7f + core) * strength * edge);
      if (v < 1.5f / 255) return colour{};
      return colour{std::min(1.f, v * 1.05f), v * 0.92f, std::min(1.f, v * (0.55f + core * 0.45f))};
    });
    SavePNG(c.ToRGB(), images + "/flash/1/" + std::to_string(i) + ".png");
  }
}
