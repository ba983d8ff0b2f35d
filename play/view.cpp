// The view: which part of the table the picture shows and at what zoom. Table space holds the
// pieces' integer positions in pixels of the pieces at their own size; screen space is the picture
// the table is drawn into (GraphicsWidth() x GraphicsHeight()). Everything that draws, picks,
// snaps or lays pieces out on the table goes through here. Depends on platform/ (display size).
#include <algorithm>
#include <cmath>

#include "platform/platform.h"
#include "play/play.h"

namespace {

constexpr double kZoomStep = 1.25;
constexpr double kMaxZoom = 2;

// The picture's size, or the table's layout size before a display is open (tests without one
// then see today's identity view).
void ScreenSize(double& width, double& height) {
  width = GraphicsWidth();
  height = GraphicsHeight();
  if (width <= 0 || height <= 0) {
    width = TableWidth();
    height = TableHeight();
  }
}

// One axis: a table narrower than the screen sits in the middle, a wider one keeps the screen
// covered. The screen offset is rounded to whole pixels, so pieces at zoom 1 stay pixel-exact.
double ClampAxis(double first, double zoom, double table, double screen) {
  const double shown = screen / zoom;
  first = table <= shown ? (table - shown) / 2 : std::clamp(first, 0.0, table - shown);
  return std::round(first * zoom) / zoom;
}

void ClampView() {
  double width, height;
  ScreenSize(width, height);
  view_type& v = play.view;
  v.zoom = std::clamp(v.zoom, MinZoom(), kMaxZoom);
  v.left = ClampAxis(v.left, v.zoom, TableWidth(), width);
  v.top = ClampAxis(v.top, v.zoom, TableHeight(), height);
  v.screen_width = static_cast<int>(width);
  v.screen_height = static_cast<int>(height);
}

// The zoom one step beyond `zoom` on the ladder of powers of kZoomStep; a step always changes the
// zoom by at least a tenth, so the limits (which need not be on the ladder) never leave a sliver.
double NextZoom(double zoom, bool in) {
  const double at = std::log(zoom) / std::log(kZoomStep);
  if (in) {
    double k = std::floor(at) + 1;
    while (std::pow(kZoomStep, k) < zoom * 1.1) k++;
    return std::pow(kZoomStep, k);
  }
  double k = std::ceil(at) - 1;
  while (std::pow(kZoomStep, k) > zoom / 1.1) k--;
  return std::pow(kZoomStep, k);
}

int LayoutWidth() { return game.display.display_large ? 1024 : 800; }

int LayoutHeight() { return game.display.display_large ? 768 : 600; }

}  // namespace

int TableWidth() {
  return std::max(play.table_width, LayoutWidth());
}

int TableHeight() {
  return std::max(play.table_height, LayoutHeight());
}

double MinZoom() {
  double width, height;
  ScreenSize(width, height);
  return std::min({1.0, width / TableWidth(), height / TableHeight()});
}

void ViewHome() {
  play.view.zoom = MinZoom();
  play.view.left = 0;
  play.view.top = 0;
  ClampView();
}

bool ViewAtHome() {
  const view_type before = play.view;
  view_type& v = play.view;
  ViewHome();
  const bool home = before.zoom == v.zoom && before.left == v.left && before.top == v.top;
  v = before;
  return home;
}

void FollowScreenSize() {
  double width, height;
  ScreenSize(width, height);
  view_type& v = play.view;
  if (v.screen_width == static_cast<int>(width) && v.screen_height == static_cast<int>(height)) return;
  if (v.screen_width <= 0 || v.screen_height <= 0) {
    ViewHome();
    return;
  }
  // The table point in the middle of the picture stays there.
  const double cx = v.left + v.screen_width / (2 * v.zoom), cy = v.top + v.screen_height / (2 * v.zoom);
  v.left = cx - width / (2 * v.zoom);
  v.top = cy - height / (2 * v.zoom);
  ClampView();
}

void ZoomView(int steps, int screen_x, int screen_y) {
  view_type& v = play.view;
  double table_x, table_y;
  ScreenToTable(screen_x, screen_y, table_x, table_y);
  double zoom = v.zoom;
  for (int i = 0; i < std::abs(steps); i++) zoom = NextZoom(zoom, steps > 0);
  v.zoom = std::clamp(zoom, MinZoom(), kMaxZoom);
  v.left = table_x - screen_x / v.zoom;
  v.top = table_y - screen_y / v.zoom;
  ClampView();
}

void PanView(double dx, double dy) {
  view_type& v = play.view;
  v.left -= dx / v.zoom;
  v.top -= dy / v.zoom;
  ClampView();
}

void CentreViewOn(double table_x, double table_y) {
  view_type& v = play.view;
  v.left = table_x - v.screen_width / (2 * v.zoom);
  v.top = table_y - v.screen_height / (2 * v.zoom);
  ClampView();
}

std::array<int, 3> ViewValues() {
  FollowScreenSize();
  if (ViewAtHome()) return {0, 0, 0};
  const view_type& v = play.view;
  // Rounded down, so a zoom just above the smallest is never read back above the one saved.
  const int thousandths = static_cast<int>(std::floor(v.zoom * 1000 + 1e-6));
  return {thousandths, static_cast<int>(std::lround(v.left + v.screen_width / (2 * v.zoom))),
          static_cast<int>(std::lround(v.top + v.screen_height / (2 * v.zoom)))};
}

void SetViewValues(const std::array<int, 3>& values) {
  ViewHome();
  if (values[0] <= 0) return;
  play.view.zoom = std::clamp(values[0] / 1000.0, MinZoom(), kMaxZoom);
  CentreViewOn(values[1], values[2]);
}

view_type TopLeftView(int width, int height) {
  view_type v;
  if (TableWidth() > LayoutWidth() || TableHeight() > LayoutHeight())
    v.zoom = std::min({1.0, double(width) / TableWidth(), double(height) / TableHeight()});
  v.screen_width = width;
  v.screen_height = height;
  return v;
}

void ScreenToTable(double screen_x, double screen_y, double& table_x, double& table_y) {
  table_x = play.view.left + screen_x / play.view.zoom;
  table_y = play.view.top + screen_y / play.view.zoom;
}

void TableToScreen(double table_x, double table_y, double& screen_x, double& screen_y) {
  screen_x = (table_x - play.view.left) * play.view.zoom;
  screen_y = (table_y - play.view.top) * play.view.zoom;
}

int TablePointerX() {
  return static_cast<int>(std::floor(play.view.left + game.pointer_x / play.view.zoom));
}

int TablePointerY() {
  return static_cast<int>(std::floor(play.view.top + game.pointer_y / play.view.zoom));
}

table_rect VisibleTable() {
  const view_type& v = play.view;
  return {v.left, v.top, v.screen_width / v.zoom, v.screen_height / v.zoom};
}

double SnapTolerance(int a, int b) {
  const double tolerance = snap_tolerance / play.view.zoom;
  if (play.view.zoom >= 1) return tolerance;
  // Zoomed out, never more than a quarter of the pieces' spacing (nor less than at zoom 1).
  const piece_type& pa = play.pieces[a];
  const piece_type& pb = play.pieces[b];
  const double spacing = std::max(std::abs(pa.x0 - pb.x0), std::abs(pa.y0 - pb.y0));
  return std::clamp(spacing / 4, double(snap_tolerance), tolerance);
}
