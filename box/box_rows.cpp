// The rows of the box view (box_table): building and re-laying them for the display size, and
// moving pieces between the rows and the current box, one by one or by colour.
// Depends on play/play.h (pieces, ShuffleList) and platform/platform.h (display size).
#include <cstdlib>
#include <vector>

#include "box/box.h"
#include "platform/platform.h"
#include "play/play.h"

namespace {

constexpr int kRowStartX = 29, kRowStartY = 106, kRowPitch = 58;
constexpr int kMatchDistance = 30;  // each channel must differ by less than this

// Moves (x, y) past a piece wd wide, to the start of the next row when this one is full.
void AdvanceInRow(int& x, int& y, int wd, int width) {
  x += wd + 2;
  if (x > width - 10) {
    x = kRowStartX;
    y += kRowPitch;
  }
}

// Appends piece p as the last slot of current_box.
void AppendToBox(int p) {
  const int b = box.current_box;
  box.box_slot[b][++box.box_count[b]].n = p;
  play.pieces[p].box = b;
  play.pieces[p].visible = 1;
}

bool ColoursMatch(const piece_type& a, const piece_type& b) {
  return std::abs(a.r - b.r) < kMatchDistance && std::abs(a.g - b.g) < kMatchDistance &&
         std::abs(a.b - b.b) < kMatchDistance;
}

}  // namespace

void BuildBoxTable() {
  BuildBoxTable(GraphicsWidth(), GraphicsHeight());
}

void BuildBoxTable(int width, int height) {
  std::vector<int> list{0};
  for (int i = 1; i <= play.piece_count; i++)
    if (IsLoose(i)) list.push_back(i);
  const int c = static_cast<int>(list.size()) - 1;
  ShuffleList(list, c);
  box.box_table_count = c;
  box.box_pile_count = 0;
  int x = kRowStartX, y = kRowStartY;
  bool piling = false;
  for (int j = 1; j <= c; j++) {
    const int p = list[j];
    box.box_table[j] = {p, x, y};
    if (piling) {
      box.box_pile_count++;
      continue;
    }
    // The entry that ends the last row keeps its row place; later ones lie on the pile.
    AdvanceInRow(x, y, play.pieces[p].wd, width);
    if (y > height - 29) {
      piling = true;
      x = width - 29;
      y = height - 29;
    }
  }
}

void RelayoutBoxTable() {
  RelayoutBoxTable(GraphicsWidth(), GraphicsHeight());
}

void RelayoutBoxTable(int width, int height) {
  int x = kRowStartX, y = kRowStartY;
  for (int j = 1; j <= box.box_table_count; j++) {
    pce_type& entry = box.box_table[j];
    if (entry.n <= 0) continue;  // a hole keeps its place
    entry.x = x;
    entry.y = y;
    AdvanceInRow(x, y, play.pieces[entry.n].wd, width);
    if (y > height - 29) y += kRowPitch;
  }
}

bool TakeOutOfBox(int s) {
  const int b = box.current_box;
  if (s < 1 || s > box.box_count[b]) return false;
  const int p = box.box_slot[b][s].n;
  int hole = 0;
  for (int j = 1; j <= box.box_table_count && hole == 0; j++)
    if (box.box_table[j].n == 0) hole = j;
  if (hole != 0) {
    box.box_table[hole].n = p;  // drawn where the hole is, without re-laying the rows
  } else {
    // Every piece is in at most one of the rows and the boxes, so the rows always have room.
    if (box.box_table_count >= kMaxPieces) return false;
    box.box_table[++box.box_table_count].n = p;
    RelayoutBoxTable();
  }
  play.pieces[p].box = 0;
  play.pieces[p].visible = 0;
  RemoveBoxSlot(s);
  return true;
}

bool PutIntoBox(int j) {
  if (j < 1 || j > box.box_table_count) return false;
  pce_type& entry = box.box_table[j];
  if (entry.n <= 0 || box.box_count[box.current_box] >= kMaxPieces) return false;
  AppendToBox(entry.n);
  entry.n = 0;
  return true;
}

void MatchBoxColour() {
  const int b = box.current_box;
  if (box.box_count[b] == 0 || box.box_slot[b][1].n == 0) return;
  const piece_type& first = play.pieces[box.box_slot[b][1].n];
  for (int j = 1; j <= box.box_table_count; j++) {
    const int p = box.box_table[j].n;
    if (p > 0 && ColoursMatch(play.pieces[p], first)) PutIntoBox(j);
  }
  // The next frame draws the view with the new rows.
  BuildBoxTable();
}
