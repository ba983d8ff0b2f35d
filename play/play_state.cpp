// The play module's state instance, its reset and the grid numbering.
// Depends on play/play.h only.
#include "play/play.h"

play_state play;

void ResetPlayStateModule() {
  play = play_state{};
}

int CellPiece(int j, int k) {
  if (j < 1 || j > play.rows || k < 1 || k > play.cols) return 0;
  return (j - 1) * play.cols + k;
}
