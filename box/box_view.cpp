// The "box" screen: its frame handler, drawing the box picture, label, strip, rows and pile, and
// finding, moving and turning the piece under the pointer.
// Depends on draw/draw.h, platform/platform.h, play/play.h and game/game.h.
#include <algorithm>
#include <string>

#include "box/box.h"
#include "draw/draw.h"
#include "game/game.h"
#include "platform/platform.h"
#include "play/play.h"

namespace {

// Label background of boxes 1..5.
constexpr std::array<std::array<int, 3>, 6> kBoxColours = {
    {{0, 0, 0}, {0, 0, 128}, {0, 128, 0}, {128, 0, 0}, {0, 128, 128}, {128, 128, 0}}};

constexpr int kStripX = 76, kStripY = 11, kStripHeight = 58, kStripFirstX = 105, kStripPieceY = 40;
constexpr int kLowerAreaTop = 77;
constexpr int kBackButtonX = 7, kBackButtonY = 41;

// 712 on the 800-wide display, 936 on the 1024-wide one.
int StripWidth(int width) {
  return width - 88;
}

bool PointerIn(int x, int y, int w, int h) {
  return game.pointer_x >= x && game.pointer_x < x + w && game.pointer_y >= y &&
         game.pointer_y < y + h;
}

// A row entry drawn on the page shown.
bool Shown(const pce_type& entry) {
  return entry.n > 0 && entry.page == box.box_page;
}

// Where the pointer lands in the view: a strip slot or a row entry (0 when not) and its piece.
struct view_hit {
  int slot = 0;
  int entry = 0;
  int piece = 0;
};

// The piece under the pointer, strip first. Only the visible part of each area counts (the
// pieces are clipped to it), and of overlapping pieces the one drawn last, on top, is found.
view_hit PieceInView() {
  const int width = GraphicsWidth(), height = GraphicsHeight();
  const double scale = BoxPieceScale(width, height);
  const auto& slots = box.box_slot[box.current_box];
  if (PointerIn(kStripX, kStripY, StripWidth(width), kStripHeight)) {
    for (int s = box.box_count[box.current_box]; s >= box.strip_first; s--) {
      const pce_type& slot = slots[s];
      if (PieceHitOnScreen(slot.n, slot.x, slot.y, play.pieces[slot.n].a, scale) == 1)
        return {s, 0, slot.n};
    }
  }
  if (PointerIn(0, kLowerAreaTop, width, height - kLowerAreaTop)) {
    for (int j = box.box_table_count; j >= 1; j--) {
      const pce_type& entry = box.box_table[j];
      if (Shown(entry) &&
          PieceHitOnScreen(entry.n, entry.x, entry.y, play.pieces[entry.n].a, scale) == 1)
        return {0, j, entry.n};
    }
  }
  return {};
}

void DrawBoxLabel() {
  const auto& colour = kBoxColours[box.current_box];
  SetColor(0, 0, 0);
  DrawRect(3, 5, 65, 31);
  SetColor(colour[0], colour[1], colour[2]);
  DrawRect(4, 6, 63, 29);
  SetColor(255, 255, 255);
  SetImageFont(game.fonts.large);
  DrawShadowText("Box " + std::to_string(box.current_box), 8, 5, false, false, true);
}

// The current box's pieces along the top, squeezed evenly when they are wider than the strip.
// A big jigsaw's pieces are scaled, and squeezed no closer than a third of the largest one: the
// strip then shows the box's last slots, the ones put in most recently.
void DrawStrip(int width, int height) {
  const int m = box.box_count[box.current_box];
  box.strip_first = 1;
  if (m <= 0) return;
  auto& slots = box.box_slot[box.current_box];
  const double scale = BoxPieceScale(width, height);
  if (BoxViewPages(width, height)) {
    int largest = 0;
    for (int s = 1; s <= m; s++) largest = std::max(largest, BoxShownWidth(slots[s].n, scale));
    const int closest = std::max(1, largest / 3);
    box.strip_first = std::max(1, m - (width - 111) / closest + 1);
  }
  const int shown = m - box.strip_first + 1;
  int total = 0;
  for (int s = box.strip_first; s <= m; s++) total += BoxShownWidth(slots[s].n, scale) + 2;
  const int strip_width = StripWidth(width);
  SetViewport(kStripX, kStripY, strip_width, kStripHeight);
  SetColor(255, 255, 255);
  const int step = (width - 111) / shown;
  int x = kStripFirstX;
  for (int s = box.strip_first; s <= m; s++) {
    pce_type& slot = slots[s];
    DrawPieceOnScreen(play.pieces[slot.n], x, kStripPieceY, scale);
    slot.x = x;
    slot.y = kStripPieceY;
    x += total > strip_width ? step : BoxShownWidth(slot.n, scale) + 2;
  }
}

// "Page 2 of 13" with the keys that turn it, in the band below a big jigsaw's rows.
void DrawPageNumber(int width, int height) {
  if (box.box_page_count <= 1) return;
  SetColor(255, 255, 255);
  SetImageFont(game.fonts.small);
  const std::string text = "Page " + std::to_string(box.box_page + 1) + " of " +
                           std::to_string(box.box_page_count) + "  (PageUp, PageDown)";
  DrawShadowText(text, width / 2, height - 22, true, true, true);
}

}  // namespace

void EnterBoxView() {
  game.screen = "box";
  play.dragged = 0;  // the view never moves pieces on the table
  BuildBoxTable();
  PurgeGroupedFromBox();
}

void BoxFrame() {
  DrawBoxView();
  DrawThumbnailIfShown();
  if (game.click_pending) ThumbClick();
  const auto& back = box.table_button;
  if (game.click_pending && back &&
      MouseIn(kBackButtonX, kBackButtonY, kBackButtonX + ImageWidth(back),
              kBackButtonY + ImageHeight(back))) {
    ShowCurrentBox();
    game.click_pending = false;
    game.screen = "jigsaw";
  }
  if (game.click_pending && MouseIn(3, 5, 68, 36)) {
    game.click_pending = false;
    NextBox();
  }
  if (game.click_pending && BoxClick() == 1) {
    game.click_pending = false;
    box.box_pile_count = 0;  // the number goes; the pile stays
  }
  if (game.turn_pending) {
    game.turn_pending = false;
    TurnInBoxView();
  }
}

void DrawBoxView() {
  const int width = GraphicsWidth(), height = GraphicsHeight();
  SetClsColor(play.table_colour.r, play.table_colour.g, play.table_colour.b);
  Cls();
  SetColor(255, 255, 255);
  DrawImage(game.display.display_large ? box.box_picture_large : box.box_picture, 70, 5);
  DrawImage(box.table_button, kBackButtonX, kBackButtonY);
  DrawBoxLabel();
  DrawStrip(width, height);
  SetColor(255, 255, 255);
  SetViewport(0, kLowerAreaTop, width, height - kLowerAreaTop);
  const double scale = BoxPieceScale(width, height);
  for (int j = 1; j <= box.box_table_count; j++) {
    const pce_type& entry = box.box_table[j];
    if (Shown(entry)) DrawPieceOnScreen(play.pieces[entry.n], entry.x, entry.y, scale);
  }
  if (box.box_pile_count > 0) DrawOutlinedNumber(box.box_pile_count, width - 29, height - 29);
  DrawPageNumber(width, height);
  SetViewport(0, 0, width, height);
}

int BoxClick() {
  const view_hit hit = PieceInView();
  if (hit.slot != 0) return TakeOutOfBox(hit.slot) ? 1 : 0;
  if (hit.entry != 0) return PutIntoBox(hit.entry) ? 1 : 0;
  return 0;
}

void TurnInBoxView() {
  // Pieces in the view are never grouped, so nothing is laid out around the turned one.
  const int p = PieceInView().piece;
  if (p != 0) play.pieces[p].a = play.pieces[p].a >= 3 ? 0 : play.pieces[p].a + 1;
}

void DrawShadowText(const std::string& text, int x, int y, bool centre_x, bool centre_y,
                    bool shadow) {
  const int blend = GetBlend();
  SetBlend(AlphaBlend);
  const int dx = centre_x ? TextWidth(text) / 2 : 0;
  const int dy = centre_y ? TextHeight(text) / 2 : 0;
  if (shadow) {
    int r = 0, g = 0, b = 0;
    GetColor(r, g, b);
    SetColor(8, 8, 8);
    SetAlpha(0.5);
    DrawText(text, static_cast<float>(x - dx + 2), static_cast<float>(y - dy + 2));
    SetColor(r, g, b);
  }
  SetAlpha(1);
  DrawText(text, static_cast<float>(x - dx), static_cast<float>(y - dy));
  SetBlend(blend);
}
