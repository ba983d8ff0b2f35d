// Tidying the table: single shown pieces laid out in rows or columns in the screen region the
// pointer chooses, the rest on one counted pile. Depends on play/play.h (pieces, ShuffleList, the tidy label)
// and platform/platform.h (display size).
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "box/box.h"
#include "platform/platform.h"
#include "play/play.h"

namespace {

constexpr int kMargin = 29, kPitch = 58, kGap = 2;

enum class tidy_layout { rows_down, rows_up, columns_right, columns_left };

struct tidy_region {
  tidy_layout layout;
  int left, top, right, bottom;
};

bool Inside(int px, int py, int x1, int y1, int x2, int y2) {
  return px >= x1 && px <= x2 && py >= y1 && py <= y2;
}

// The centre is tested first, so its corners belong to it rather than to the bands around it.
std::optional<tidy_region> ChooseRegion(int px, int py, int width, int height) {
  const int qw = width / 4, hw = width / 2, tw = (3 * width) / 4;
  const int qh = height / 4, hh = height / 2, th = (3 * height) / 4;
  if (Inside(px, py, qw, qh, tw, th)) return tidy_region{tidy_layout::rows_down, qw, qh, tw, th};
  if (Inside(px, py, 0, 0, width, qh)) return tidy_region{tidy_layout::rows_down, 0, 0, width, hh};
  if (Inside(px, py, 0, th, width, height))
    return tidy_region{tidy_layout::rows_up, 0, hh, width, height};
  if (Inside(px, py, 0, qh, qw, th))
    return tidy_region{tidy_layout::columns_right, 0, 0, hw, height};
  if (Inside(px, py, tw, qh, width, th))
    return tidy_region{tidy_layout::columns_left, hw, 0, width, height};
  return std::nullopt;
}

// Where the next piece goes; once `piling`, every further piece lands on (x, y) and is counted.
struct tidy_cursor {
  int x = 0, y = 0;
  bool piling = false;
  int piled = 0;

  void StartPile(int pile_x, int pile_y) {
    piling = true;
    x = pile_x;
    y = pile_y;
  }
};

tidy_cursor FirstPlace(const tidy_region& region) {
  switch (region.layout) {
    case tidy_layout::rows_down:
      return {region.left + kMargin, region.top + kMargin};
    case tidy_layout::rows_up:
      return {kMargin, region.bottom - kMargin};
    case tidy_layout::columns_right:
      return {kMargin, kMargin};
    case tidy_layout::columns_left:
      return {region.right - kMargin, kMargin};
  }
  return {};
}

// Moves the cursor past piece p, to the next row or column, or onto the pile.
void Advance(tidy_cursor& c, const tidy_region& r, const piece_type& p) {
  switch (r.layout) {
    case tidy_layout::rows_down: {
      const int nx = c.x + p.wd + kGap;
      if (nx <= r.right - 10) {
        c.x = nx;
      } else if (c.y < r.bottom - kPitch) {
        c.x = r.left + kMargin;
        c.y += kPitch;
      } else {
        c.StartPile(c.x + 10, c.y + 10);
      }
      break;
    }
    case tidy_layout::rows_up:
      c.x += p.wd + kGap;
      if (c.x <= r.right - 10) break;
      if (c.y > r.top + kMargin) {  // r.top is half the height
        c.x = kMargin;
        c.y -= kPitch;
      } else {
        c.StartPile(r.right - kMargin, r.bottom - kMargin);
      }
      break;
    case tidy_layout::columns_right: {
      const int ny = c.y + p.ht + kGap;
      if (ny <= r.bottom - 10) {
        c.y = ny;
      } else if (c.x < r.right - kPitch) {
        c.x += kPitch;
        c.y = kMargin;
      } else {
        c.StartPile(r.right - kMargin, c.y);
      }
      break;
    }
    case tidy_layout::columns_left:
      c.y += p.ht + kGap;
      if (c.y <= r.bottom - 10) break;
      if (c.x > r.left + kMargin) {
        c.x -= kPitch;
        c.y = kMargin;
      } else {
        c.StartPile(r.right - kMargin, r.bottom - kMargin);
      }
      break;
  }
}

// TidyPieces in a width x height region whose top-left corner lies at (left, top) on the table.
void TidyPiecesIn(int px, int py, int left, int top, int width, int height);

}  // namespace

void TidyPieces(int px, int py) {
  if (GraphicsWidth() <= 0 || GraphicsHeight() <= 0) return;  // no display: nothing is in view
  FollowScreenSize();
  // The part of the table in view, in whole table pixels; at the view's home on a table that
  // fills the display this is the display itself.
  const table_rect shown = VisibleTable();
  const int left = static_cast<int>(std::ceil(shown.left)), top = static_cast<int>(std::ceil(shown.top));
  const int right = static_cast<int>(std::floor(shown.left + shown.width));
  const int bottom = static_cast<int>(std::floor(shown.top + shown.height));
  double tx, ty;
  ScreenToTable(px, py, tx, ty);
  TidyPiecesIn(static_cast<int>(std::floor(tx)) - left, static_cast<int>(std::floor(ty)) - top, left, top,
               right - left, bottom - top);
}

void TidyPieces(int px, int py, int width, int height) {
  TidyPiecesIn(px, py, 0, 0, width, height);
}

namespace {

void TidyPiecesIn(int px, int py, int left, int top, int width, int height) {
  if (width <= 0 || height <= 0) return;  // no display: every point is off the screen
  const std::optional<tidy_region> region = ChooseRegion(px, py, width, height);
  if (!region) return;
  play.tidy_label.k = 0;
  NoteTableMoved();
  std::vector<int> list{0};
  for (int i = 1; i <= play.piece_count; i++)
    if (play.pieces[i].gp == 0 && play.pieces[i].visible == 1) list.push_back(i);
  const int c = static_cast<int>(list.size()) - 1;
  ShuffleList(list, c);
  // Spacing uses the unturned size; turns and the drawing order stay as they are.
  tidy_cursor cursor = FirstPlace(*region);
  for (int j = 1; j <= c; j++) {
    piece_type& piece = play.pieces[list[j]];
    piece.x = left + cursor.x;
    piece.y = top + cursor.y;
    if (cursor.piling)
      cursor.piled++;
    else
      Advance(cursor, *region, piece);
  }
  if (cursor.piled > 0)
    play.tidy_label = {cursor.piled, left + std::min(cursor.x, width - kMargin), top + cursor.y};
}

}  // namespace
