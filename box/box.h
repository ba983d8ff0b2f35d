// Piece box and tidy state: the five boxes, the laid-out rows of the box view and the tidy pile
// label. Depends on play/play.h for the piece table (IsLoose reads it).
#pragma once

#include <array>

// One box slot or one laid-out piece of the box view. n = 0 marks an empty slot (a hole).
struct pce_type {
  int n = 0;
  int x = 0;  // where the piece's centre was last drawn in the box view
  int y = 0;
};

// The tidy pile label; k = 0 means no label is drawn.
struct tidy_type {
  int k = 0;
  int x = 0;  // centre of the drawn number
  int y = 0;
};

// Box module state. Tables are indexed from 1; entry 0 (and row 0 of box_slot) stays empty.
struct box_state {
  std::array<std::array<pce_type, 301>, 6> box_slot{};  // box 1..5, slot 1..box_count[b]
  std::array<int, 6> box_count{};                       // pieces in box 1..5
  int current_box = 1;                                  // 1..5
  std::array<pce_type, 301> box_table{};                // loose pieces laid out in the box view
  int box_table_count = 0;
  int box_pile_count = 0;
  tidy_type tidy_label;
};

extern box_state box;

// Puts every field of `box` back to its start values.
void ResetBoxState();

// Sets box_count[1..5] to 0 (starting or restarting a jigsaw).
void ClearBoxCounts();

// True when piece p is in no group, no box and not on the border (gp <= 0, box <= 0, edge = 0).
// p must be 1..300.
bool IsLoose(int p);
