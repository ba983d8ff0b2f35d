// The play module's state instance, its reset, its hooks, the grid numbering and the loose test.
// Depends on play/play.h only.
#include <cassert>

#include "play/play.h"

play_state play;
play_hooks_type play_hooks;

void ResetPlayStateModule() {
  play = play_state{};
}

bool IsLoose(int p) {
  assert(p >= 1 && p <= kMaxPieces);
  const piece_type& piece = play.pieces[p];
  return piece.gp <= 0 && piece.box <= 0 && piece.edge == 0;
}

int CellPiece(int j, int k) {
  if (j < 1 || j > play.rows || k < 1 || k > play.cols) return 0;
  return (j - 1) * play.cols + k;
}
