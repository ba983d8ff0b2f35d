// The overview: while part of the table is out of view, a small map of the whole table in the
// picture's bottom-right corner, its pieces as rectangles of their own colours and the view as an
// outline; a click on it moves the view there. Depends on draw/ (pixmaps, images, rectangles).
#include <algorithm>
#include <cmath>

#include "draw/draw.h"
#include "draw/pixmap.h"
#include "play/play.h"

namespace {

constexpr int kMaxWidth = 200, kMaxHeight = 150;  // the map's largest size in screen pixels
constexpr int kMargin = 10;                       // from the picture's right and bottom edges
// A piece's picture holds its tabs too: its body, about three fifths of it, stands for it.
constexpr double kBody = 0.6;

// The map: the table colour darkened, then each shown piece in draw order. The key holds the
// map's size, its colour and every rectangle, so an unchanged key means an unchanged picture.
std::vector<int> MapKey(const overview_place& place) {
  const colour_type c = play.table_colour;
  std::vector<int> key{place.width, place.height, c.r * 3 / 4, c.g * 3 / 4, c.b * 3 / 4};
  key.reserve(key.size() + 5 * static_cast<size_t>(play.piece_count));
  for (int k = 1; k <= play.piece_count; k++) {
    const piece_type& piece = play.pieces[play.draw_order[k]];
    if (!piece.visible) continue;
    const bool across = piece.a % 2 == 1;
    const double half_w = (across ? piece.ht : piece.wd) * kBody * place.scale / 2;
    const double half_h = (across ? piece.wd : piece.ht) * kBody * place.scale / 2;
    const double x = piece.x * place.scale, y = piece.y * place.scale;
    // At least one pixel, however small the piece is on the map; a piece wholly off the table
    // shows at its nearest edge, so none is lost from the map.
    const int x0 = std::clamp(static_cast<int>(std::lround(x - half_w)), 0, place.width - 1);
    const int y0 = std::clamp(static_cast<int>(std::lround(y - half_h)), 0, place.height - 1);
    const int x1 = std::clamp(static_cast<int>(std::lround(x + half_w)), x0 + 1, place.width);
    const int y1 = std::clamp(static_cast<int>(std::lround(y + half_h)), y0 + 1, place.height);
    const uint32_t colour = MakeARGB(255, piece.r & 255, piece.g & 255, piece.b & 255);
    key.insert(key.end(), {x0, y0, x1, y1, static_cast<int>(colour)});
  }
  return key;
}

std::shared_ptr<TImage> MakeMap(const std::vector<int>& key) {
  const int width = key[0], height = key[1];
  const std::shared_ptr<TPixmap> pixmap = CreatePixmap(width, height, PF_RGBA8888);
  const auto fill = [&](int x0, int y0, int x1, int y1, uint32_t argb) {
    for (int y = y0; y < y1; y++)
      for (int x = x0; x < x1; x++) pixmap->WritePixel(x, y, argb);
  };
  fill(0, 0, width, height, MakeARGB(255, key[2], key[3], key[4]));
  for (size_t i = 5; i + 5 <= key.size(); i += 5)
    fill(key[i], key[i + 1], key[i + 2], key[i + 3], static_cast<uint32_t>(key[i + 4]));
  std::shared_ptr<TImage> image = TImage::Load(pixmap, 0, 0, 0, 0);
  SetImageHandle(image, 0, 0);
  return image;
}

// A one-pixel outline just inside the rectangle from (x0, y0) to (x1, y1).
void DrawOutline(float x0, float y0, float x1, float y1) {
  DrawRect(x0, y0, x1 - x0, 1);
  DrawRect(x0, y1 - 1, x1 - x0, 1);
  DrawRect(x0, y0, 1, y1 - y0);
  DrawRect(x1 - 1, y0, 1, y1 - y0);
}

}  // namespace

overview_place OverviewPlace() {
  overview_place place;
  place.scale = std::min(double(kMaxWidth) / TableWidth(), double(kMaxHeight) / TableHeight());
  place.width = std::max(1, static_cast<int>(std::lround(TableWidth() * place.scale)));
  place.height = std::max(1, static_cast<int>(std::lround(TableHeight() * place.scale)));
  place.x = play.view.screen_width - kMargin - place.width;
  place.y = play.view.screen_height - kMargin - place.height;
  return place;
}

bool OverviewShown() {
  if (!play.overview_shown) return false;
  // Half a screen pixel of slack: the view's place is rounded to whole screen pixels.
  const table_rect shown = VisibleTable();
  const double slack = 0.5 / play.view.zoom;
  return shown.left > slack || shown.top > slack || shown.left + shown.width < TableWidth() - slack ||
         shown.top + shown.height < TableHeight() - slack;
}

void DrawOverview() {
  if (!OverviewShown()) return;
  const overview_place place = OverviewPlace();
  std::vector<int> key = MapKey(place);
  if (!play.overview_map || key != play.overview_key) {
    play.overview_map = MakeMap(key);
    play.overview_key = std::move(key);
  }
  const float x = static_cast<float>(place.x), y = static_cast<float>(place.y);
  const float w = static_cast<float>(place.width), h = static_cast<float>(place.height);
  SetColor(200, 200, 200);
  DrawRect(x - 1, y - 1, w + 2, h + 2);
  SetColor(255, 255, 255);
  DrawImage(play.overview_map, x, y);
  // The view, within the map: white on a black line outside it, seen on any table colour.
  const table_rect shown = VisibleTable();
  const float x0 = x + static_cast<float>(std::max(0.0, shown.left) * place.scale);
  const float y0 = y + static_cast<float>(std::max(0.0, shown.top) * place.scale);
  const float x1 = x + static_cast<float>(std::min<double>(TableWidth(), shown.left + shown.width) * place.scale);
  const float y1 = y + static_cast<float>(std::min<double>(TableHeight(), shown.top + shown.height) * place.scale);
  const float rx0 = std::round(x0), ry0 = std::round(y0);
  const float rx1 = std::max(std::round(x1), rx0 + 3), ry1 = std::max(std::round(y1), ry0 + 3);
  SetColor(0, 0, 0);
  DrawOutline(rx0 - 1, ry0 - 1, rx1 + 1, ry1 + 1);
  SetColor(255, 255, 255);
  DrawOutline(rx0, ry0, rx1, ry1);
}

void OverviewClick() {
  FollowScreenSize();
  if (!OverviewShown()) return;
  const overview_place place = OverviewPlace();
  const int px = game.pointer_x - place.x, py = game.pointer_y - place.y;
  if (px < 0 || py < 0 || px >= place.width || py >= place.height) return;
  game.click_pending = false;
  CentreViewOn((px + 0.5) / place.scale, (py + 0.5) / place.scale);
}
