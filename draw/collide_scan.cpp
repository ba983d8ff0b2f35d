// Scan conversion of two collision quads against each other, sampling their masks one texel
// per screen pixel inside the overlap of their spans. Depends on draw/collide_scan.h and
// draw/state.h (the span buffer).
#include "draw/collide_scan.h"

#include <algorithm>
#include <span>
#include <utility>

#include "draw/state.h"

namespace {

constexpr int kX = 0, kY = 1, kU = 2, kV = 3;

int Trunc(float v) {
  return static_cast<int>(v);
}

int PrevVertex(int index) {
  return index == 0 ? rpoly::size - rpoly::channels : index - rpoly::channels;
}
int NextVertex(int index) {
  return index + rpoly::channels == rpoly::size ? 0 : index + rpoly::channels;
}

// Alpha byte of a texel: the only byte of PF_A8, byte 3 of the four-byte formats.
bool TexelSolid(const TPixmap& texture, int column, int row) {
  const int offset = texture.format == PF_A8 ? 0 : 3;
  return (texture.PixelPtr(column, row)[offset] & 0x80) != 0;
}

// Starts the next edge once the scanline reaches the end of the current one. Returns false when
// the polygon has no edge left (it is finished).
bool AdvanceEdge(rpoly& p, int y, bool left) {
  int& end = left ? p.Left : p.Right;
  if (y < Trunc(p.data[end + kY])) return true;
  const auto step = left ? PrevVertex : NextVertex;
  int s = end;
  int f = step(end);
  while (f != end && Trunc(p.data[f + kY]) <= y) {
    s = f;
    f = step(f);
  }
  const int dy = Trunc(p.data[f + kY]) - Trunc(p.data[s + kY]);
  if (f == end || dy <= 0) return false;
  auto& dat = left ? p.ldat : p.rdat;
  auto& add = left ? p.ladd : p.radd;
  for (int k = 0; k < rpoly::channels; ++k) {
    dat[k] = p.data[s + k];
    add[k] = (p.data[f + k] - dat[k]) / static_cast<float>(dy);
    dat[k] += add[k] * 0.5f;
  }
  end = f;
  return true;
}

// Marks the polygon's solid columns of the overlap [x0, x0 + width); -1 when one was marked.
int MarkSpan(const rpoly& p, int x0, int width, std::vector<int>& span) {
  if (!p.texture) {
    for (int i = 0; i < width; ++i) {
      if (span[i]) return -1;
      span[i] = 1;
    }
    return 0;
  }
  const int e = Trunc(p.ldat[kX]);
  const int f = Trunc(p.rdat[kX]);
  if (f - e < 1) return 0;
  const auto steps = static_cast<float>(f - e);
  const float du = (p.rdat[kU] - p.ldat[kU]) / steps;
  const float dv = (p.rdat[kV] - p.ldat[kV]) / steps;
  const auto start = static_cast<float>(x0 - e) + 0.5f;
  float u = p.ldat[kU] + start * du;
  float v = p.ldat[kV] + start * dv;
  const TPixmap& texture = *p.texture;
  for (int i = 0; i < width; ++i) {
    u = std::clamp(u, 0.0f, 1.0f);
    v = std::clamp(v, 0.0f, 1.0f);
    const int row = std::min(Trunc(v * static_cast<float>(texture.height)), texture.height - 1);
    const int column = std::min(Trunc(u * static_cast<float>(texture.width)), texture.width - 1);
    if (TexelSolid(texture, column, row)) {
      if (span[i]) return -1;
      span[i] = 1;
    }
    u += du;
    v += dv;
  }
  return 0;
}

// -1 when the first two active polygons share a solid column on this scanline.
int SpanTest(const std::vector<rpoly*>& active) {
  if (active.size() <= 1) return 0;
  const rpoly& a = *active[0];
  const rpoly& b = *active[1];
  const int la = Trunc(a.ldat[kX]), ra = Trunc(a.rdat[kX]);
  const int lb = Trunc(b.ldat[kX]), rb = Trunc(b.rdat[kX]);
  if (lb >= ra || la >= rb) return 0;
  const int x0 = std::max(la, lb);
  const int width = std::min(ra, rb) - x0;
  if (width <= 0) return 0;
  auto& span = draw_state.collision.span;
  if (static_cast<int>(span.size()) < width) span.resize(static_cast<size_t>(width));
  std::fill(span.begin(), span.begin() + width, 0);
  for (const rpoly* p : active) {
    if (MarkSpan(*p, x0, width, span) < 0) return -1;
  }
  return 0;
}

void Finish(rpoly& p, std::vector<rpoly*>& active) {
  std::erase(active, &p);
  p.state = 2;
}

}  // namespace

void MakeClockwise(float* data, int count, int channels) {
  auto x = [&](int i) { return data[i * channels + kX]; };
  auto y = [&](int i) { return data[i * channels + kY]; };
  int turns = 2;
  for (int i = 2; i < count; ++i) {
    const float c = (y(i - 1) - y(0)) * (x(i) - x(i - 1)) - (x(i - 1) - x(0)) * (y(i) - y(i - 1));
    if (Trunc(c) >= 0) ++turns;
  }
  if (turns < count) return;
  for (int k = 0; k < count / 2; ++k) {
    std::swap_ranges(data + k * channels, data + (k + 1) * channels,
                     data + (count - 1 - k) * channels);
  }
}

int RenderPolys(rpoly* polys, int count) {
  if (count <= 0) return 0;
  const std::span<rpoly> all(polys, static_cast<size_t>(count));
  int min_y = 0, max_y = 0;
  bool first = true;
  for (rpoly& p : all) {
    MakeClockwise(p.data.data(), rpoly::count, rpoly::channels);
    p.top = Trunc(p.data[kY]);
    p.Left = 0;
    for (int i = 0; i < rpoly::size; i += rpoly::channels) {
      const int vy = Trunc(p.data[i + kY]);
      if (vy < p.top) {
        p.top = vy;
        p.Left = i;
      }
      min_y = first ? vy : std::min(min_y, vy);
      max_y = first ? vy : std::max(max_y, vy);
      first = false;
    }
    p.Right = p.Left;
    p.state = 0;
  }

  auto& active = draw_state.collision.active;
  active.clear();
  for (int y = min_y; y < max_y; ++y) {
    for (rpoly& p : all) {
      if (p.state == 2 || (p.state == 0 && y < p.top)) continue;
      if (!AdvanceEdge(p, y, true) || !AdvanceEdge(p, y, false)) {
        Finish(p, active);
        continue;
      }
      if (p.state == 0) {
        p.state = 1;
        active.push_back(&p);
      }
    }
    if (!active.empty() && SpanTest(active) < 0) return -1;
    for (rpoly* p : active) {
      for (int k = 0; k < rpoly::channels; ++k) {
        p->ldat[k] += p->ladd[k];
        p->rdat[k] += p->radd[k];
      }
    }
  }
  return 0;
}
