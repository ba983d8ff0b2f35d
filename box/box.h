// Piece box and tidying: the five boxes, the box view ("box" screen) with its laid-out rows and
// pictures, the colour match and the tidy layouts of the table. Owns the box tables.
// Depends on play/ (the piece table, the tidy label), game/ (the turn's input, screen, display
// size, fonts) and the framework (draw/, platform/).
#pragma once

#include <array>
#include <memory>
#include <string>

#include "play/play.h"

class TImage;

// One box slot or one laid-out piece of the box view. n = 0 marks an empty slot (a hole).
struct pce_type {
  int n = 0;
  int x = 0;  // where the piece's centre was last drawn in the box view
  int y = 0;
};

// Box module state. Tables are indexed from 1; entry 0 (and row 0 of box_slot) stays empty.
struct box_state {
  std::array<std::array<pce_type, kMaxPieces + 1>, 6> box_slot{};  // box 1..5, slot 1..box_count[b]
  std::array<int, 6> box_count{};                       // pieces in box 1..5
  int current_box = 1;                                  // 1..5
  std::array<pce_type, kMaxPieces + 1> box_table{};               // loose pieces laid out in the box view
  int box_table_count = 0;  // entries 1..box_table_count are used; n = 0 inside is a hole
  int box_pile_count = 0;   // entries stacked on the bottom-right pile; drawn while > 0
  // The box view's pictures, loaded at start-up; nullptr when missing.
  std::shared_ptr<TImage> box_picture, box_picture_large;  // the label, at 800 and 1024 wide
  std::shared_ptr<TImage> table_button;                    // back to the table
};

extern box_state box;

// Puts every field of `box` back to its start values and connects the box's hooks.
void ResetBoxState();
// Registers the box's hooks with play (the cursor goes back to box 1 when a jigsaw is reset,
// the counts to 0 when play empties every box); StartUp and ResetBoxState call it.
void ConnectBoxHooks();

// Sets box_count[1..5] to 0 (starting or restarting a jigsaw).
void ClearBoxCounts();

// ---- Box model --------------------------------------------------------------------------------
// These keep three things in step: the pieces' `box` field, the slots of each box and the rows
// of the box view (box_table). A piece is in at most one of a box's slots or the rows.

// Removes slot s (1..box_count) of current_box, moving the later slots down one. The piece
// keeps its `box` value. Nothing for an s outside 1..box_count.
void RemoveBoxSlot(int s);
// Drops every grouped piece (gp > 0) from current_box's slots; the others keep their order.
void PurgeGroupedFromBox();
// current_box one up (1 after 5) or one down (5 before 1), then PurgeGroupedFromBox.
void NextBox();
void PreviousBox();
// current_box := b (1..5, others are ignored), then PurgeGroupedFromBox (keys 1..5 of the view).
void SelectBox(int b);
// Every single piece of current_box is shown on the table and the box's flag set.
void ShowCurrentBox();
// Every piece of current_box (grouped ones included) leaves it; the box is emptied and the rows
// are built afresh. Visibility is not changed.
void EmptyBox();
// Rebuilds the slots of boxes 1..5 and box_shown from the pieces' `box` fields in piece order
// (after saved progress is loaded; follow it with RelayoutBoxTable). Only single pieces enter a
// box. A `box` value outside 0..5 counts as no box and is set to 0; rows holding a piece that is
// no longer loose in this jigsaw become holes.
void RebuildBoxes();

// ---- The rows of the box view ------------------------------------------------------------------

// Lays every loose piece out in shuffled rows for a width x height display (the open display's
// size when none is given); what does not fit goes on the pile at (width - 29, height - 29),
// counted in box_pile_count.
void BuildBoxTable();
void BuildBoxTable(int width, int height);
// Lays the existing rows out again in their order; holes keep their place. Rows past the bottom
// lie outside the view (there is no pile here).
void RelayoutBoxTable();
void RelayoutBoxTable(int width, int height);
// Takes slot s (1..box_count) of current_box back into the rows: into the first hole at its
// place, else appended with the rows laid out again. The piece leaves its box and is hidden on
// the table. Returns false (and changes nothing) for an s outside 1..box_count.
bool TakeOutOfBox(int s);
// Puts the piece of row entry j into current_box as its last slot; it is shown on the table and
// the entry becomes a hole. Returns false (and changes nothing) for a hole or a j outside the rows.
bool PutIntoBox(int j);
// Puts every row piece whose colour is less than 30 from that of current_box's first piece on
// each channel into the box, then builds the rows afresh. Nothing when the box is empty.
void MatchBoxColour();

// ---- The box view ------------------------------------------------------------------------------

// Key B on the table: screen "box", the rows built, grouped pieces dropped from the box. A
// carried piece is let go where it lies.
void EnterBoxView();
// Frame handler of the "box" screen: draws the view, then handles a pending click (thumbnail,
// back button, box label, pieces) and a pending turn request.
void BoxFrame();
// Draws the whole box view for the open display; remembers where each piece was drawn.
void DrawBoxView();
// A pending click on a piece of the view: a strip piece goes back to the rows, a row piece into
// the box. Only what is seen can be hit: the strip inside its viewport, the rows inside the lower
// area; of overlapping pieces the one drawn on top. Returns 1 when a piece moved, else 0.
int BoxClick();
// A turn request in the view: the piece under the pointer (as BoxClick finds it), if any, turns
// a quarter turn clockwise.
void TurnInBoxView();
// Text in the current colour and font at (x, y), or centred on x and/or y, with a soft dark
// shadow 2 pixels down-right when shadow. Restores blend mode and colour.
void DrawShadowText(const std::string& text, int x, int y, bool centre_x, bool centre_y,
                    bool shadow);

// ---- Tidying -----------------------------------------------------------------------------------

// Lays every single shown piece out in random order in the screen region chosen by (px, py):
// the centre, the top, bottom, left or right half (tested in this order); the rest go on one
// pile whose count is shown by tidy_label. Turns, groups and hidden pieces are left alone.
// Nothing happens for a point off the width x height screen (the open display when not given).
void TidyPieces(int px, int py);
void TidyPieces(int px, int py, int width, int height);
