// The five boxes: module state, its hooks and the box slots kept in step with the pieces' `box`
// field. Depends on play/play.h for the piece table, the box flags and play's hooks.
#include "box/box.h"
#include "play/play.h"

box_state box;

void ResetBoxState() {
  box = box_state{};
  ConnectBoxHooks();
}

void ConnectBoxHooks() {
  play_hooks.jigsaw_reset.Add([] { box.current_box = 1; });
  play_hooks.boxes_emptied.Add(ClearBoxCounts);
}

void ClearBoxCounts() {
  box.box_count.fill(0);
}

void RemoveBoxSlot(int s) {
  auto& slots = box.box_slot[box.current_box];
  const int m = box.box_count[box.current_box];
  if (s < 1 || s > m) return;
  for (int i = s; i < m; i++) slots[i] = slots[i + 1];
  slots[m].n = 0;
  box.box_count[box.current_box] = m - 1;
}

void PurgeGroupedFromBox() {
  // One pass from the end removes the same slots as rescanning from the start after each removal.
  const auto& slots = box.box_slot[box.current_box];
  for (int s = box.box_count[box.current_box]; s >= 1; s--)
    if (play.pieces[slots[s].n].gp > 0) RemoveBoxSlot(s);
}

void NextBox() {
  box.current_box = box.current_box >= 5 ? 1 : box.current_box + 1;
  PurgeGroupedFromBox();
}

void PreviousBox() {
  box.current_box = box.current_box <= 1 ? 5 : box.current_box - 1;
  PurgeGroupedFromBox();
}

void SelectBox(int b) {
  if (b < 1 || b > 5) return;
  box.current_box = b;
  PurgeGroupedFromBox();
}

void ShowCurrentBox() {
  for (int i = 1; i <= play.piece_count; i++) {
    piece_type& piece = play.pieces[i];
    if (piece.gp == 0 && piece.box == box.current_box) piece.visible = 1;
  }
  play.box_shown[box.current_box] = 1;
}

void EmptyBox() {
  const int b = box.current_box;
  for (int i = 1; i <= play.piece_count; i++)
    if (play.pieces[i].box == b) play.pieces[i].box = 0;
  for (int s = 1; s <= box.box_count[b]; s++) box.box_slot[b][s].n = 0;
  box.box_count[b] = 0;
  BuildBoxTable();
}

void RebuildBoxes() {
  for (int b = 1; b <= 5; b++) {
    box.box_count[b] = 0;
    play.box_shown[b] = 0;
  }
  // One walk in piece order fills every box in that order.
  for (int i = 1; i <= play.piece_count; i++) {
    piece_type& piece = play.pieces[i];
    if (piece.box < 0 || piece.box > 5) piece.box = 0;
    if (piece.gp != 0 || piece.box == 0) continue;
    const int b = piece.box;
    box.box_slot[b][++box.box_count[b]].n = i;
    if (piece.visible) play.box_shown[b] = 1;
  }
  // The rows may still hold pieces of the jigsaw played before, or pieces now boxed or grouped.
  for (int j = 1; j <= box.box_table_count; j++) {
    pce_type& entry = box.box_table[j];
    if (entry.n > play.piece_count || (entry.n > 0 && !IsLoose(entry.n))) entry.n = 0;
  }
}
