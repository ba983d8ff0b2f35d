// Carrying, snapping and joining: pick-up, following the pointer, group layout, the drop that joins
// fitting neighbours, edge spreading and the completion test. Depends on game/game.h (the turn's
// input, sounds).
#include <cstdlib>

#include "game/game.h"
#include "play/play.h"
#include "play/play_internal.h"

void RotateOffset(int a, int dx, int dy, int& rx, int& ry) {
  switch (a) {
    case 1:
      rx = -dy;
      ry = dx;
      break;
    case 2:
      rx = -dx;
      ry = -dy;
      break;
    case 3:
      rx = dy;
      ry = -dx;
      break;
    default:
      rx = dx;
      ry = dy;
      break;
  }
}

void RenumberGroup(int from, int to) {
  for (int i = 1; i <= play.piece_count; i++)
    if (play.pieces[i].gp == from) play.pieces[i].gp = to;
}

void PickUp() {
  const int p = PieceUnderPointer();
  if (p == 0 || IsComplete() == 1) return;
  game.click_pending = false;
  play.dragged = p;
  RaisePieceOrGroup(p);
  play.drag_dx = TablePointerX() - play.pieces[p].x;
  play.drag_dy = TablePointerY() - play.pieces[p].y;
  play.tidy_label.k = 0;
}

void FollowPointer() {
  const int p = play.dragged;
  if (p == 0) return;
  play.pieces[p].x = TablePointerX() - play.drag_dx;
  play.pieces[p].y = TablePointerY() - play.drag_dy;
  NoteTableMoved();
  LayOutGroup(p);
}

void LayOutGroup(int p) {
  const piece_type& anchor = play.pieces[p];
  if (anchor.gp <= 0) return;
  NoteTableMoved();
  for (int i = 1; i <= play.piece_count; i++) {
    piece_type& member = play.pieces[i];
    if (member.gp != anchor.gp) continue;
    int rx, ry;
    RotateOffset(anchor.a, member.x0 - anchor.x0, member.y0 - anchor.y0, rx, ry);
    member.a = anchor.a;
    member.x = anchor.x + rx;
    member.y = anchor.y + ry;
  }
}

int NeighboursFit(int a, int b) {
  const piece_type& pa = play.pieces[a];
  const piece_type& pb = play.pieces[b];
  if (pa.a != pb.a) return 0;
  int ex, ey;
  RotateOffset(pa.a, pa.x0 - pb.x0, pa.y0 - pb.y0, ex, ey);
  // Each axis is tested on its own: 9 pixels off on both still joins at zoom 1.
  const double tolerance = SnapTolerance(a, b);
  const bool fits = std::abs((pa.x - pb.x) - ex) < tolerance && std::abs((pa.y - pb.y) - ey) < tolerance;
  return fits ? 1 : 0;
}

namespace {

// Joins neighbour q into group `into`: q alone, or q's whole group.
void JoinNeighbour(int q, int into) {
  if (play.pieces[q].gp == 0)
    play.pieces[q].gp = into;
  else
    RenumberGroup(play.pieces[q].gp, into);
}

}  // namespace

void DropAndJoin() {
  const int c = play.dragged;
  const int g = play.pieces[c].gp;
  const int joined = play.last_group + 1;
  bool any = false;
  if (g == 0) {
    const piece_type& carried = play.pieces[c];
    for (int q : {carried.n, carried.e, carried.w, carried.s}) {
      if (q <= 0 || !play.pieces[q].visible || NeighboursFit(c, q) == 0) continue;
      PlayClick();
      if (!any) play.pieces[c].gp = joined;
      any = true;
      JoinNeighbour(q, joined);
    }
  } else {
    for (int j = 1; j <= play.piece_count; j++) {
      if (play.pieces[j].gp != g) continue;
      const piece_type& member = play.pieces[j];
      for (int q : {member.n, member.e, member.w, member.s}) {
        // The group lies in formation, so testing against the carried piece equals testing
        // against member j.
        if (q <= 0 || play.pieces[q].gp == g || !play.pieces[q].visible || NeighboursFit(c, q) == 0)
          continue;
        any = true;
        PlayClick();
        JoinNeighbour(q, joined);
      }
    }
  }
  if (any) {
    if (g > 0) RenumberGroup(g, joined);
    LayOutGroup(c);
    play.last_group++;
  }
  SpreadEdgeFlag();
}

void SpreadEdgeFlag() {
  for (int i = 1; i <= play.piece_count; i++) {
    const piece_type& piece = play.pieces[i];
    if (piece.edge != 1 || piece.gp <= 0) continue;
    for (int k = 1; k <= play.piece_count; k++)
      if (play.pieces[k].gp == piece.gp) play.pieces[k].edge = 1;
  }
}

int IsComplete() {
  const int g = play.pieces[1].gp;
  if (g == 0 || play.pieces[1].a != 0) return 0;
  for (int i = 1; i <= play.piece_count; i++)
    if (play.pieces[i].gp != g) return 0;
  return 1;
}

void CompletionStep() {
  if (IsComplete() != 1 || play.completion_handled != 0) return;
  PlayMusic();
  ScatterPieces();
  StartFlight();
  play.completion_handled = 1;
}
