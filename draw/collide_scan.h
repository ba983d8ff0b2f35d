// Scan conversion of two collision quads against each other, private to draw/. Depends on
// draw/draw.h.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "draw/draw.h"

// A quad being scan-converted: vertices of x, y, u, v, with the state of its left and right
// edges at the current scanline.
struct rpoly {
  static constexpr int channels = 4;
  static constexpr int count = 4;
  static constexpr int size = count * channels;

  std::shared_ptr<TPixmap> texture;  // the quad's mask, or nullptr for a solid quad
  std::array<float, size> data{};
  std::array<float, channels> ldat{}, ladd{}, rdat{}, radd{};
  int Left = 0, Right = 0;  // index in data of the vertex where the current edge ends
  int top = 0;              // smallest vertex y, truncated
  int state = 0;            // 0 not started, 1 active, 2 finished
};

// Reverses the vertex order when every fan triangle of the polygon turns the same way as a
// mirrored picture, so that scanning always meets the left edge walking backwards.
void MakeClockwise(float* data, int count, int channels);

// Scan-converts the count polygons together and runs the span test on every scanline where at
// least one is active. Returns -1 as soon as the test finds a column solid in two polygons,
// else 0.
int RenderPolys(rpoly* polys, int count);
