// The "jigsaw" screen: its frame handler, drawing the table and the carried group, the draw order,
// pixel-exact picking against the probe, the outlined numbers, the thumbnail and the colour swatch.
// Depends on draw/draw.h and game/game.h (the turn's input, fonts, the help hint).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "draw/draw.h"
#include "game/game.h"
#include "play/play.h"
#include "play/play_internal.h"

void JigsawFrame() {
  // A click while carrying always puts the piece down, wherever it is.
  if (game.click_pending && play.dragged != 0) {
    game.click_pending = false;
    DropAndJoin();
    play.dragged = 0;
  }
  if (game.click_pending) ThumbClick();
  if (game.click_pending) SwatchClick();
  if (game.click_pending) OverviewClick();
  if (game.click_pending) PickUp();
  if (game.turn_pending) {
    // Without a target the request waits for the first piece that comes under the pointer.
    const int target = play.dragged != 0 ? play.dragged : PieceUnderPointer();
    if (target != 0) {
      game.turn_pending = false;
      TurnPiece(target);
    }
  }
  DrawTable();
  DrawOverview();  // beneath the thumbnail, which may be carried over it and takes clicks first
  if (play.swatch_shown) DrawImage(play.swatch, 10, 463);
  DrawThumbnailIfShown();
  if (play.dragged != 0) DrawCarried();
}

void DrawThumbnailIfShown() {
  if (play.thumb_shown && play.thumb)
    DrawImage(play.thumb, static_cast<float>(play.thumb_x), static_cast<float>(play.thumb_y));
}

namespace {

// Whether a piece centred at table (x, y) can show in the picture.
bool InView(const piece_type& piece, int x, int y) {
  const table_rect shown = VisibleTable();
  const int reach = PieceReach(piece);
  return x + reach >= shown.left && x - reach <= shown.left + shown.width &&
         y + reach >= shown.top && y - reach <= shown.top + shown.height;
}

constexpr uint32_t kPickLayer = 1u << 30;

}  // namespace

void DrawPieceOnScreen(const piece_type& piece, double x, double y, double scale) {
  const float s = static_cast<float>(scale);
  if (s != 1) SetScale(s, s);
  SetRotation(static_cast<float>(piece.a * 90));
  DrawImage(piece.img, static_cast<float>(x), static_cast<float>(y), 0);
  SetRotation(0);
  if (s != 1) SetScale(1, 1);
}

void DrawPieceAt(const piece_type& piece, int x, int y) {
  if (!InView(piece, x, y)) return;
  double sx, sy;
  TableToScreen(x, y, sx, sy);
  DrawPieceOnScreen(piece, sx, sy, play.view.zoom);
}

void DrawPiece(const piece_type& piece) {
  DrawPieceAt(piece, piece.x, piece.y);
}

namespace {

void DrawTableThroughView() {
  SetClsColor(play.table_colour.r, play.table_colour.g, play.table_colour.b);
  Cls();
  for (int k = 1; k <= play.piece_count; k++) {
    const piece_type& piece = play.pieces[play.draw_order[k]];
    if (piece.visible) DrawPiece(piece);
  }
  if (play.tidy_label.k > 0) {
    double sx, sy;
    TableToScreen(play.tidy_label.x, play.tidy_label.y, sx, sy);
    DrawOutlinedNumber(play.tidy_label.k, static_cast<int>(std::lround(sx)), static_cast<int>(std::lround(sy)));
  }
  DrawHelpHint();
}

}  // namespace

void DrawTable() {
  FollowScreenSize();
  DrawTableThroughView();
}

void DrawTableInView(const view_type& view) {
  const view_type own = play.view;
  play.view = view;
  DrawTableThroughView();
  play.view = own;
}

void DrawCarried() {
  const int c = play.dragged;
  const int gp = play.pieces[c].gp;
  if (gp <= 0) {
    play.pieces[c].visible = 1;
    DrawPiece(play.pieces[c]);
    return;
  }
  for (int i = 1; i <= play.piece_count; i++) {
    if (play.pieces[i].gp != gp) continue;
    play.pieces[i].visible = 1;
    DrawPiece(play.pieces[i]);
  }
}

int PieceUnderPointer() {
  FollowScreenSize();
  // Only pieces whose square reaches the probe are tested pixel by pixel; the probe, drawn at its
  // own size on the screen whatever its handle, reaches further on the table when zoomed out.
  const int probe_side = play.probe ? std::max(ImageWidth(play.probe), ImageHeight(play.probe)) : 0;
  const int probe_reach = static_cast<int>(std::ceil(probe_side / play.view.zoom)) + 1;
  for (int p : PiecesNear(TablePointerX(), TablePointerY(), probe_reach))
    if (play.pieces[p].visible && PieceHitAt(p) == 1) return p;
  return 0;
}

int PieceHitOnScreen(int p, double x, double y, int turn, double scale) {
  const piece_type& piece = play.pieces[p];
  if (!piece.img || !play.probe) return 0;
  // As drawn: the piece at its scale, the probe at its own size, the rotation applying to both.
  const float s = static_cast<float>(scale);
  SetRotation(static_cast<float>(turn * 90));
  ResetCollisions(kPickLayer);
  SetScale(s, s);
  CollideImage(piece.img, static_cast<float>(x), static_cast<float>(y), 0, 0, kPickLayer);
  SetScale(1, 1);
  const bool hit = !CollideImage(play.probe, static_cast<float>(game.pointer_x),
                                 static_cast<float>(game.pointer_y), 0, kPickLayer, 0)
                        .empty();
  SetRotation(0);
  return hit ? 1 : 0;
}

int PieceHitAt(int p, int x, int y, int turn) {
  double sx, sy;
  TableToScreen(x, y, sx, sy);
  return PieceHitOnScreen(p, sx, sy, turn, play.view.zoom);
}

int PieceHitAt(int p) {
  const piece_type& piece = play.pieces[p];
  return PieceHitAt(p, piece.x, piece.y, piece.a);
}

void RaiseToTop(int p) {
  const auto first = play.draw_order.begin() + 1;
  const auto last = play.draw_order.begin() + play.piece_count + 1;
  const auto at = std::find(first, last, p);
  if (at == last) return;
  std::rotate(at, at + 1, last);
  NoteTableMoved();
}

void RaisePieceOrGroup(int p) {
  const int gp = play.pieces[p].gp;
  if (gp == 0) {
    RaiseToTop(p);
    return;
  }
  for (int i = 1; i <= play.piece_count; i++)
    if (play.pieces[i].gp == gp) RaiseToTop(i);
}

void DrawOutlinedNumber(int n, int x, int y) {
  const std::string text = std::to_string(n);
  SetImageFont(game.fonts.large);  // the built-in font stands in when Tahoma is missing
  SetColor(0, 0, 0);
  for (const auto& [dx, dy] : {std::pair{-2, -2}, {2, 2}, {-2, 2}, {2, -2}})
    DrawTextCentred(text, x + dx, y + dy, true, true);
  SetColor(255, 255, 255);
  DrawTextCentred(text, x, y, true, true);
}

void ThumbClick() {
  if (!play.thumb_shown || !play.thumb) return;
  if (!MouseIn(play.thumb_x, play.thumb_y, play.thumb_x + play.thumb_width,
               play.thumb_y + play.thumb_height))
    return;
  game.click_pending = false;
  if (play.thumb_dragging) {
    play.thumb_dragging = 0;
  } else {
    play.thumb_grab_dx = game.pointer_x - play.thumb_x;
    play.thumb_grab_dy = game.pointer_y - play.thumb_y;
    play.thumb_dragging = 1;
  }
}

void SwatchClick() {
  if (!play.swatch_shown || !play.swatch || !play.swatch_pixmap) return;
  const TPixmap& pixmap = *play.swatch_pixmap;
  // Only the swatch's own pixels count: the far edges of an inclusive rectangle and a sampled
  // pointer that has moved off the swatch would read outside the pixmap.
  const int px = game.pointer_x - 10;
  const int py = game.pointer_y - 463;
  if (!MouseIn(10, 463, 10 + pixmap.width - 1, 463 + pixmap.height - 1)) return;
  if (px < 0 || py < 0 || px >= pixmap.width || py >= pixmap.height) return;
  game.click_pending = false;
  const uint32_t p = pixmap.ReadPixel(px, py);
  play.table_colour = {static_cast<int>((p >> 16) & 255), static_cast<int>((p >> 8) & 255),
                       static_cast<int>(p & 255)};
}
