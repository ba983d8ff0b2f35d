// Tab-and-blank piece outlines: the random tab of every inner edge, its sampled path, the
// outline of a piece, and the check that keeps every outline simple. Depends on jigsaw.h.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "tools/jigsaw/jigsaw.h"

namespace {

constexpr double pi = 3.14159265358979323846;
// Angle between the neck's end on the head circle and the line from the head centre back to
// the edge: the larger, the more the head overhangs the neck.
constexpr double head_angle = 35 * pi / 180;

tab_shape RandomTab(seeded_random& random) {
  tab_shape tab;
  tab.side = random.Unit() < 0.5 ? -1 : 1;
  tab.centre = random.Range(0.40, 0.60);
  tab.radius = random.Range(0.130, 0.165);
  tab.neck = random.Range(0.45, 0.60);
  tab.reach = random.Range(0.03, 0.08);
  tab.bow = random.Range(-0.035, 0.035);
  return tab;
}

vec2 Quadratic(vec2 a, vec2 b, vec2 c, double t) {
  double u = 1 - t;
  return {u * u * a.x + 2 * u * t * b.x + t * t * c.x, u * u * a.y + 2 * u * t * b.y + t * t * c.y};
}

vec2 Cubic(vec2 a, vec2 b, vec2 c, vec2 d, double t) {
  double u = 1 - t;
  double wa = u * u * u, wb = 3 * u * u * t, wc = 3 * u * t * t, wd = t * t * t;
  return {wa * a.x + wb * b.x + wc * c.x + wd * d.x, wa * a.y + wb * b.y + wc * c.y + wd * d.y};
}

// The path of one edge from `from` to `to` in the edge's own frame (u along the edge, v to its
// left), mapped back to picture coordinates. m is the smaller cell side in pixels.
std::vector<vec2> EdgePath(vec2 from, vec2 to, const tab_shape& tab, double m) {
  double dx = to.x - from.x, dy = to.y - from.y;
  double length = std::hypot(dx, dy);
  vec2 along{dx / length, dy / length};
  vec2 left{along.y, -along.x};
  double side = tab.side;
  auto bow = [&](double u) { return tab.bow * m * std::sin(pi * u / length); };

  std::vector<vec2> local;  // (u, v) before mapping
  double c = tab.centre * length;
  double r = tab.radius * m;
  double n = tab.neck * r;
  double h = tab.reach * m;
  double f = 0.25 * r;
  double base = bow(c);
  double head = base + f + h + r * std::cos(head_angle);  // v of the head centre

  constexpr int baseline_steps = 8, fillet_steps = 6, neck_steps = 10, arc_steps = 48;
  double shoulder = c - n - f;
  for (int i = 0; i < baseline_steps; ++i) {
    double u = shoulder * i / baseline_steps;
    local.push_back({u, bow(u)});
  }
  vec2 s1{shoulder, bow(shoulder)}, n1{c - n, base + f};
  for (int i = 0; i < fillet_steps; ++i)
    local.push_back(Quadratic(s1, {c - n, base}, n1, double(i) / fillet_steps));
  vec2 t1{c - r * std::sin(head_angle), head - r * std::cos(head_angle)};
  vec2 into_head{-std::cos(head_angle), std::sin(head_angle)};  // travel direction at t1
  double k = 0.5 * r;
  vec2 n1c{n1.x, n1.y + 0.6 * h + 0.2 * r}, t1c{t1.x - k * into_head.x, t1.y - k * into_head.y};
  for (int i = 0; i < neck_steps; ++i) local.push_back(Cubic(n1, n1c, t1c, t1, double(i) / neck_steps));
  // Around the head from the left neck to the right one, through the far side.
  for (int i = 0; i < arc_steps; ++i) {
    double t = -head_angle - (2 * pi - 2 * head_angle) * i / arc_steps;
    local.push_back({c + r * std::sin(t), head - r * std::cos(t)});
  }
  // The right half mirrors the left one about u = c.
  auto mirror = [&](vec2 p) { return vec2{2 * c - p.x, p.y}; };
  vec2 t2 = mirror(t1), n2 = mirror(n1);
  for (int i = 0; i < neck_steps; ++i)
    local.push_back(Cubic(t2, mirror(t1c), mirror(n1c), n2, double(i) / neck_steps));
  double shoulder2 = c + n + f;
  vec2 s2{shoulder2, bow(shoulder2)};
  for (int i = 0; i < fillet_steps; ++i)
    local.push_back(Quadratic(n2, {c + n, base}, s2, double(i) / fillet_steps));
  for (int i = 0; i < baseline_steps; ++i) {
    double u = shoulder2 + (length - shoulder2) * i / baseline_steps;
    local.push_back({u, bow(u)});
  }

  std::vector<vec2> path;
  path.reserve(local.size() + 1);
  for (const vec2& p : local) {
    double v = p.y * side;
    path.push_back({from.x + p.x * along.x + v * left.x, from.y + p.x * along.y + v * left.y});
  }
  path.push_back(to);  // exactly the corner, so that neighbouring outlines meet
  path.front() = from;
  return path;
}

// Paths of one cell must keep this many pixels apart: a thinner channel between two tabs
// would cut a piece in two once it is turned into pixels.
constexpr double clearance = 2.5;

double Cross(vec2 o, vec2 a, vec2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

double PointToSegment(vec2 p, vec2 a, vec2 b) {
  double dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

double SegmentDistance(vec2 a, vec2 b, vec2 c, vec2 d) {
  double d1 = Cross(c, d, a), d2 = Cross(c, d, b), d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  if ((d1 > 0) != (d2 > 0) && (d3 > 0) != (d4 > 0)) return 0;  // they cross
  return std::min({PointToSegment(a, c, d), PointToSegment(b, c, d), PointToSegment(c, a, b),
                   PointToSegment(d, a, b)});
}

bool SamePoint(vec2 a, vec2 b) { return a.x == b.x && a.y == b.y; }

// True when the two paths cross or come closer than the clearance anywhere but near a corner
// they share (where two straight stretches of edge meet by design).
bool PathsTooClose(const std::vector<vec2>& p, const std::vector<vec2>& q) {
  std::vector<vec2> corners;
  for (vec2 a : {p.front(), p.back()})
    for (vec2 b : {q.front(), q.back()})
      if (SamePoint(a, b)) corners.push_back(a);
  auto near_corner = [&](vec2 a, vec2 b) {
    for (vec2 c : corners)
      if (PointToSegment(c, a, b) < 4 * clearance) return true;
    return false;
  };
  // Segments of p away from all of q's box need no look at its segments.
  double qminx = 1e30, qmaxx = -1e30, qminy = 1e30, qmaxy = -1e30;
  for (vec2 b : q) qminx = std::min(qminx, b.x), qmaxx = std::max(qmaxx, b.x), qminy = std::min(qminy, b.y), qmaxy = std::max(qmaxy, b.y);
  for (size_t i = 0; i + 1 < p.size(); ++i) {
    double pminx = std::min(p[i].x, p[i + 1].x) - clearance, pmaxx = std::max(p[i].x, p[i + 1].x) + clearance;
    double pminy = std::min(p[i].y, p[i + 1].y) - clearance, pmaxy = std::max(p[i].y, p[i + 1].y) + clearance;
    if (qmaxx < pminx || qminx > pmaxx || qmaxy < pminy || qminy > pmaxy) continue;
    for (size_t j = 0; j + 1 < q.size(); ++j) {
      if (std::max(q[j].x, q[j + 1].x) < pminx || std::min(q[j].x, q[j + 1].x) > pmaxx ||
          std::max(q[j].y, q[j + 1].y) < pminy || std::min(q[j].y, q[j + 1].y) > pmaxy)
        continue;
      if (SegmentDistance(p[i], p[i + 1], q[j], q[j + 1]) >= clearance) continue;
      if (near_corner(p[i], p[i + 1]) && near_corner(q[j], q[j + 1])) continue;
      return true;
    }
  }
  return false;
}

struct cell_edge {
  bool across;  // an edge between two rows, else between two columns
  int index;
};

double SmallerSide(const jigsaw_cut& cut, int row, int col) {
  return std::min(cut.xs[col + 1] - cut.xs[col], cut.ys[row + 1] - cut.ys[row]);
}

}  // namespace

namespace {

// The smaller side of the smallest cell, which sizes every tab.
double SmallestSide(const jigsaw_cut& cut) {
  double m = 1e30;
  for (int j = 0; j < cut.rows; ++j)
    for (int k = 0; k < cut.cols; ++k) m = std::min(m, SmallerSide(cut, j, k));
  return m;
}

void SamplePath(jigsaw_cut& cut, cell_edge edge, double m) {
  if (edge.across) {
    const int j = edge.index / cut.cols, k = edge.index % cut.cols;
    cut.across_paths[edge.index] = EdgePath({double(cut.xs[k]), double(cut.ys[j + 1])},
                                            {double(cut.xs[k + 1]), double(cut.ys[j + 1])}, cut.across[edge.index], m);
  } else {
    const int j = edge.index / (cut.cols - 1), k = edge.index % (cut.cols - 1);
    cut.down_paths[edge.index] = EdgePath({double(cut.xs[k + 1]), double(cut.ys[j])},
                                          {double(cut.xs[k + 1]), double(cut.ys[j + 1])}, cut.down[edge.index], m);
  }
}

// The inner edges around a cell (up to four).
std::vector<cell_edge> CellEdges(const jigsaw_cut& cut, int j, int k) {
  std::vector<cell_edge> edges;
  if (j > 0) edges.push_back({true, (j - 1) * cut.cols + k});
  if (j + 1 < cut.rows) edges.push_back({true, j * cut.cols + k});
  if (k > 0) edges.push_back({false, j * (cut.cols - 1) + k - 1});
  if (k + 1 < cut.cols) edges.push_back({false, j * (cut.cols - 1) + k});
  return edges;
}

// One flag per inner edge, across edges first.
struct edge_flags {
  std::vector<char> across, down;
  char& operator[](cell_edge edge) { return edge.across ? across[edge.index] : down[edge.index]; }
};

}  // namespace

jigsaw_cut MakeCut(int width, int height, jigsaw_grid grid, uint64_t seed) {
  jigsaw_cut cut;
  cut.width = width;
  cut.height = height;
  cut.rows = grid.rows;
  cut.cols = grid.cols;
  for (int k = 0; k <= grid.cols; ++k) cut.xs.push_back(int(std::lround(double(k) * width / grid.cols)));
  for (int j = 0; j <= grid.rows; ++j) cut.ys.push_back(int(std::lround(double(j) * height / grid.rows)));

  seeded_random random(seed);
  cut.across.resize(size_t(std::max(grid.rows - 1, 0)) * grid.cols);
  cut.down.resize(size_t(grid.rows) * std::max(grid.cols - 1, 0));
  for (tab_shape& tab : cut.across) tab = RandomTab(random);
  for (tab_shape& tab : cut.down) tab = RandomTab(random);
  cut.across_paths.resize(cut.across.size());
  cut.down_paths.resize(cut.down.size());
  const double m = SmallestSide(cut);
  for (int i = 0; i < int(cut.across.size()); ++i) SamplePath(cut, {true, i}, m);
  for (int i = 0; i < int(cut.down.size()); ++i) SamplePath(cut, {false, i}, m);

  // Two tabs reaching into one cell from neighbouring sides can meet; shrink both until no
  // outline crosses or pinches itself. Shrinking changes other cells too, so repeat until a clean
  // pass. A pass looks only at cells with an edge the pass before changed: the others come out
  // clean again, so the result is that of looking at every cell.
  const auto path = [&](cell_edge e) -> const std::vector<vec2>& {
    return e.across ? cut.across_paths[e.index] : cut.down_paths[e.index];
  };
  edge_flags changed{std::vector<char>(cut.across.size(), 1), std::vector<char>(cut.down.size(), 1)};
  for (bool any = true; any;) {
    any = false;
    edge_flags shrunk{std::vector<char>(cut.across.size(), 0), std::vector<char>(cut.down.size(), 0)};
    for (int j = 0; j < cut.rows; ++j)
      for (int k = 0; k < cut.cols; ++k) {
        const std::vector<cell_edge> edges = CellEdges(cut, j, k);
        if (std::none_of(edges.begin(), edges.end(), [&](cell_edge e) { return changed[e] != 0; })) continue;
        for (size_t a = 0; a < edges.size(); ++a)
          for (size_t b = a + 1; b < edges.size(); ++b) {
            if (!PathsTooClose(path(edges[a]), path(edges[b]))) continue;
            for (cell_edge e : {edges[a], edges[b]}) {
              tab_shape& tab = e.across ? cut.across[e.index] : cut.down[e.index];
              tab.radius *= 0.9;
              tab.reach *= 0.9;
              tab.bow *= 0.9;
              shrunk[e] = 1;
            }
            any = true;
          }
      }
    for (int i = 0; i < int(cut.across.size()); ++i)
      if (shrunk.across[i]) SamplePath(cut, {true, i}, m);
    for (int i = 0; i < int(cut.down.size()); ++i)
      if (shrunk.down[i]) SamplePath(cut, {false, i}, m);
    changed = std::move(shrunk);
  }
  return cut;
}

std::vector<vec2> PiecePolygon(const jigsaw_cut& cut, int row, int col) {
  std::vector<vec2> outline;
  auto add = [&](const std::vector<vec2>& path, bool reversed) {
    // Each side ends where the next begins: leave its last point to the next side.
    size_t n = path.size();
    for (size_t i = 0; i + 1 < n; ++i) outline.push_back(reversed ? path[n - 1 - i] : path[i]);
  };
  double x0 = cut.xs[col], x1 = cut.xs[col + 1], y0 = cut.ys[row], y1 = cut.ys[row + 1];
  if (row == 0) add({{x0, y0}, {x1, y0}}, false);
  else add(cut.across_paths[(row - 1) * cut.cols + col], false);
  if (col + 1 == cut.cols) add({{x1, y0}, {x1, y1}}, false);
  else add(cut.down_paths[row * (cut.cols - 1) + col], false);
  if (row + 1 == cut.rows) add({{x0, y1}, {x1, y1}}, true);
  else add(cut.across_paths[row * cut.cols + col], true);
  if (col == 0) add({{x0, y0}, {x0, y1}}, true);
  else add(cut.down_paths[row * (cut.cols - 1) + col - 1], true);
  return outline;
}

std::vector<uint16_t> LabelPieces(const jigsaw_cut& cut) {
  std::vector<uint16_t> labels(size_t(cut.width) * cut.height, 0);
  std::vector<double> crossings;
  // The outline's segments, each ordered by y so that the two pieces sharing it compute the very
  // same crossing, bit for bit: their fills then meet without gap or overlap. Sorted by their
  // top, they enter the active list as the scan line reaches them and leave past their bottom.
  std::vector<std::pair<vec2, vec2>> segments, active;
  for (int j = 0; j < cut.rows; ++j)
    for (int k = 0; k < cut.cols; ++k) {
      uint16_t piece = uint16_t(j * cut.cols + k + 1);
      std::vector<vec2> outline = PiecePolygon(cut, j, k);
      double top = 1e30, bottom = -1e30;
      for (const vec2& p : outline) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
      int first = std::max(0, int(std::floor(top)));
      int last = std::min(cut.height - 1, int(std::ceil(bottom)));
      segments.clear();
      for (size_t i = 0; i < outline.size(); ++i) {
        vec2 a = outline[i], b = outline[(i + 1) % outline.size()];
        if (b.y < a.y) std::swap(a, b);
        if (a.y < b.y) segments.emplace_back(a, b);  // a level segment is never crossed
      }
      std::sort(segments.begin(), segments.end(), [](const auto& s, const auto& t) { return s.first.y < t.first.y; });
      active.clear();
      size_t next = 0;
      for (int y = first; y <= last; ++y) {
        double yc = y + 0.5;
        while (next < segments.size() && segments[next].first.y <= yc) active.push_back(segments[next++]);
        std::erase_if(active, [yc](const auto& s) { return !(yc < s.second.y); });
        crossings.clear();
        for (const auto& [a, b] : active) crossings.push_back(a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y));
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
          int from = std::max(0, int(std::ceil(crossings[i] - 0.5)));
          int to = std::min(cut.width, int(std::ceil(crossings[i + 1] - 0.5)));
          uint16_t* row = &labels[size_t(y) * cut.width];
          for (int x = from; x < to; ++x) row[x] = piece;
        }
      }
    }
  return labels;
}
