// Box module state and the loose-piece test shared by the filters and the box view.
// Depends on play/play.h for the piece table.
#include "box/box.h"

#include <cassert>

#include "play/play.h"

box_state box;

void ResetBoxState() {
  box = box_state{};
}

void ClearBoxCounts() {
  box.box_count.fill(0);
}

bool IsLoose(int p) {
  assert(p >= 1 && p <= kMaxPieces);
  const piece_type& piece = play.pieces[p];
  return piece.gp <= 0 && piece.box <= 0 && piece.edge == 0;
}
