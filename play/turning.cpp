// Quarter turns of pieces and groups, and the "unrotate" screen that turns everything upright.
// Depends on game/game.h for the pending click.
#include <algorithm>
#include <vector>

#include "game/game.h"
#include "play/play.h"
#include "play/play_internal.h"

void TurnPiece(int p) {
  piece_type& piece = play.pieces[p];
  piece.a = piece.a + 1 > 3 ? 0 : piece.a + 1;
  LayOutGroup(p);
}

void UnrotateFrame() {
  if (game.click_pending) {
    game.click_pending = false;
    play.unrotate_state = 3;
  }
  const int count = play.piece_count;
  switch (play.unrotate_state) {
    case 1:
      ShowAllPieces();
      UnrotateGroups();
      play.unrotate_next = 1;
      play.unrotate_state = 2;
      break;
    case 2: {
      int f = count + 1;
      for (int i = play.unrotate_next; i <= count; i++) {
        if (play.pieces[i].a > 0) {
          play.pieces[i].a = 0;
          f = i;
          break;
        }
      }
      play.unrotate_next = f < count ? f : count;
      if (play.unrotate_next == count)
        play.unrotate_state = 3;
      else
        play.unrotate_next++;
      break;
    }
    case 3:
      for (int i = std::max(play.unrotate_next, 1); i <= count; i++) play.pieces[i].a = 0;
      play.unrotate_state = 4;
      break;
    default:
      break;
  }
}

void UnrotateGroups() {
  std::vector<int> met;
  met.reserve(kMaxPieces);
  for (int i = 1; i <= play.piece_count; i++) {
    const int gp = play.pieces[i].gp;
    if (gp <= 0 || std::find(met.begin(), met.end(), gp) != met.end()) continue;
    met.push_back(gp);
    UnrotateGroup(gp);
  }
}

void UnrotateGroup(int g) {
  int rmin = play.rows + 1, rmax = 0, cmin = play.cols + 1, cmax = 0, d = 0;
  for (int j = 1; j <= play.rows; j++) {
    for (int k = 1; k <= play.cols; k++) {
      const int i = CellPiece(j, k);
      if (play.pieces[i].gp != g) continue;
      rmin = std::min(rmin, j);
      rmax = std::max(rmax, j);
      cmin = std::min(cmin, k);
      cmax = std::max(cmax, k);
      d = i;
    }
  }
  if (d == 0) return;  // no such group
  const int c = CellPiece((rmin + rmax) / 2, (cmin + cmax) / 2);
  piece_type& middle = play.pieces[c];
  const bool outside = middle.gp != g;
  const piece_type saved = middle;
  if (outside) {
    // Borrow the middle cell's piece to find where that cell lies in the group's formation.
    middle.gp = g;
    LayOutGroup(d);
  }
  for (int i = 1; i <= play.piece_count; i++)
    if (play.pieces[i].gp == g) play.pieces[i].a = 0;
  // Keep the turning point on the jigsaw's own table (the classic 800 x 600 one in every display
  // size for a jigsaw that fits it).
  if (middle.x < 0) middle.x = 20;
  if (middle.x > play.table_width) middle.x = play.table_width - 20;
  if (middle.y < 0) middle.y = 20;
  if (middle.y > play.table_height) middle.y = play.table_height - 20;
  LayOutGroup(c);
  if (outside) {
    middle.x = saved.x;
    middle.y = saved.y;
    middle.a = saved.a;
    middle.gp = saved.gp;
  }
}
