// Where two recorded frames differ on the picture: the rectangles the operations after their
// shared start may touch. Depends on draw/gl/gl2d.h.
#include <algorithm>
#include <cmath>

#include "draw/gl/gl2d.h"

namespace {

// A clear and a scissored operation act on regions their vertices do not describe.
bool Boundable(const gl_command& command) { return command.shape != gl_shape::clear && !command.state.scissor; }

// An operation's pixels lie inside its vertices' box widened by this: rounding takes less than
// a pixel, wide lines and points reach out by half their width.
float Margin(const gl_command& command) {
  const bool thin = command.shape == gl_shape::quads || command.shape == gl_shape::polygon;
  return thin ? 1.0f : 1.0f + command.state.line_width;
}

gl_rect Union(const gl_rect& a, const gl_rect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

bool Overlap(const gl_rect& a, const gl_rect& b) {
  return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

bool AllBoundable(const gl_frame& frame, size_t from) {
  return std::all_of(frame.commands.begin() + static_cast<long>(from), frame.commands.end(), Boundable);
}

}  // namespace

void VertexBounds(const gl_frame& frame, const gl_command& c, float& x0, float& y0, float& x1, float& y1) {
  x0 = x1 = frame.vertices[c.first].x;
  y0 = y1 = frame.vertices[c.first].y;
  for (uint32_t k = c.first; k < c.first + c.count; ++k) {
    x0 = std::min(x0, frame.vertices[k].x);
    x1 = std::max(x1, frame.vertices[k].x);
    y0 = std::min(y0, frame.vertices[k].y);
    y1 = std::max(y1, frame.vertices[k].y);
  }
}

gl_rect Touched(const gl_frame& frame, size_t from, size_t to, int width, int height) {
  gl_rect touched;
  for (size_t i = from; i < to; ++i) {
    const gl_command& c = frame.commands[i];
    if (c.count == 0) continue;
    float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    VertexBounds(frame, c, x0, y0, x1, y1);
    const float m = Margin(c);
    const auto clamp_x = [width](float v) { return static_cast<int>(std::clamp(v, 0.0f, static_cast<float>(width))); };
    const auto clamp_y = [height](float v) { return static_cast<int>(std::clamp(v, 0.0f, static_cast<float>(height))); };
    const gl_rect box{clamp_x(std::floor(x0 - m)), clamp_y(std::floor(y0 - m)), clamp_x(std::ceil(x1 + m)),
                      clamp_y(std::ceil(y1 + m))};
    if (!box.Empty()) touched = Union(touched, box);
  }
  return touched;
}

bool ChangedRects(const gl_frame& frame, const gl_frame& shown, size_t split, int width, int height,
                  std::vector<gl_rect>& rects) {
  rects.clear();
  if (!AllBoundable(frame, split) || !AllBoundable(shown, split)) return false;
  const gl_rect left = Touched(shown, split, shown.commands.size(), width, height);
  const gl_rect entered = Touched(frame, split, frame.commands.size(), width, height);
  if (Overlap(left, entered)) {
    rects.push_back(Union(left, entered));
  } else {
    for (const gl_rect& r : {left, entered})
      if (!r.Empty()) rects.push_back(r);
  }
  return true;
}
