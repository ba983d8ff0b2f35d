// Show and hide filters over the piece classes (edge, grouped, boxed, loose) and the two border
// helpers: spreading border pieces to the screen edges and putting piece 1 home.
// Depends on platform/platform.h (Rand, display size) and play.h (IsLoose).
#include "platform/platform.h"
#include "play/play.h"

namespace {

void SetAllVisible(int v) {
  for (int i = 1; i <= play.piece_count; i++) play.pieces[i].visible = v;
  for (int b = 1; b <= 5; b++) play.box_shown[b] = v;
  play.grouped_shown = v;
  play.loose_shown = v;
}

}  // namespace

void ShowAllPieces() {
  SetAllVisible(1);
}

void HideAllPieces() {
  SetAllVisible(0);
}

void ToggleEdgePieces() {
  // Piece 1 is always a border piece: its visibility stands for the whole edge class.
  const int v = play.pieces[1].visible ? 0 : 1;
  for (int i = 1; i <= play.piece_count; i++) {
    piece_type& piece = play.pieces[i];
    if (piece.edge != 1) continue;
    piece.visible = v;
    if (piece.gp <= 0) continue;
    for (int k = 1; k <= play.piece_count; k++)
      if (play.pieces[k].gp == piece.gp) play.pieces[k].visible = v;
  }
}

void ApplyGroupedShown() {
  for (int i = 1; i <= play.piece_count; i++) {
    piece_type& piece = play.pieces[i];
    if (piece.gp >= 1 && piece.edge == 0) piece.visible = play.grouped_shown;
  }
}

void ApplyLooseShown() {
  for (int i = 1; i <= play.piece_count; i++)
    if (IsLoose(i)) play.pieces[i].visible = play.loose_shown;
}

void ApplyBoxShown() {
  for (int b = 1; b <= 5; b++) {
    for (int i = 1; i <= play.piece_count; i++) {
      piece_type& piece = play.pieces[i];
      if (piece.gp == 0 && piece.box == b) piece.visible = play.box_shown[b];
    }
  }
  if (play.dragged != 0) play.pieces[play.dragged].visible = 1;
}

void SpreadEdgePieces() {
  if (play.piece_count >= 2 && NeighboursFit(1, 2) == 1) return;
  NoteTableMoved();
  const int width = TableWidth();
  const int height = TableHeight();
  // Distances from the edge are 58, 87, 116 or 145 pixels; the draws happen in this order.
  for (int j = 1; j <= play.rows; j++) {
    for (int k = 1; k <= play.cols; k++) {
      piece_type& piece = play.pieces[CellPiece(j, k)];
      if (j == 1) piece.y = Rand(2, 5) * 29;
      if (k == 1) piece.x = Rand(2, 5) * 29;
      if (j == play.rows) piece.y = height - Rand(2, 5) * 29;
      if (k == play.cols) piece.x = width - Rand(2, 5) * 29;
    }
  }
}

void PlaceFirstPieceHome() {
  piece_type& first = play.pieces[1];
  NoteTableMoved();
  first.x = first.x0;
  first.y = first.y0;
  first.a = 0;
  LayOutGroup(1);
}
