// The rows of the box view (box_table): building and re-laying them for the display size, and
// moving pieces between the rows and the current box, one by one or by colour.
// Depends on play/play.h (pieces, ShuffleList) and platform/platform.h (display size).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "box/box.h"
#include "platform/platform.h"
#include "play/play.h"

namespace {

constexpr int kRowStartX = 29, kRowStartY = 106, kRowPitch = 58;
constexpr int kMatchDistance = 30;  // each channel must differ by less than this
constexpr int kFittingPieces = 300;  // the most pieces a jigsaw cut for the display has
constexpr int kLargestFit = 56;      // a scaled piece leaves 2 pixels between rows

// Where the rows' next piece goes.
struct row_place {
  int x = kRowStartX, y = kRowStartY, page = 0;
};

// Moves past a piece wd wide, to the start of the next row when this one is full.
void AdvanceInRow(row_place& at, int wd, int width) {
  at.x += wd + 2;
  if (at.x > width - 10) {
    at.x = kRowStartX;
    at.y += kRowPitch;
  }
}

// A paged row that has moved into the band above the bottom starts the next page instead.
void NextPageWhenFull(row_place& at, int height) {
  if (at.y <= height - 29 - kRowPitch) return;
  at = {kRowStartX, kRowStartY, at.page + 1};
}

// The number of pages the rows' entries lie on; the page shown stays among them.
void CountPages() {
  int last = 0;
  for (int j = 1; j <= box.box_table_count; j++) last = std::max(last, box.box_table[j].page);
  box.box_page_count = last + 1;
  box.box_page = std::min(box.box_page, last);
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

bool BoxViewPages(int width, int height) {
  return play.piece_count > kFittingPieces || TableWidth() > width || TableHeight() > height;
}

double BoxPieceScale(int width, int height) {
  if (!BoxViewPages(width, height)) return 1;
  int largest = 0;
  for (int i = 1; i <= play.piece_count; i++)
    largest = std::max({largest, play.pieces[i].wd, play.pieces[i].ht});
  return largest > kLargestFit ? double(kLargestFit) / largest : 1;
}

void BuildBoxTable(int width, int height) {
  std::vector<int> list{0};
  for (int i = 1; i <= play.piece_count; i++)
    if (IsLoose(i)) list.push_back(i);
  const int c = static_cast<int>(list.size()) - 1;
  ShuffleList(list, c);
  box.box_table_count = c;
  box.box_pile_count = 0;
  box.box_page = 0;
  const bool paged = BoxViewPages(width, height);
  const double scale = BoxPieceScale(width, height);
  row_place at;
  bool piling = false;
  for (int j = 1; j <= c; j++) {
    const int p = list[j];
    box.box_table[j] = {p, at.x, at.y, at.page};
    if (piling) {
      box.box_pile_count++;
      continue;
    }
    AdvanceInRow(at, BoxShownWidth(p, scale), width);
    if (paged) {
      NextPageWhenFull(at, height);
    } else if (at.y > height - 29) {
      // The entry that ends the last row keeps its row place; later ones lie on the pile.
      piling = true;
      at.x = width - 29;
      at.y = height - 29;
    }
  }
  CountPages();
}

void RelayoutBoxTable() {
  RelayoutBoxTable(GraphicsWidth(), GraphicsHeight());
}

void RelayoutBoxTable(int width, int height) {
  const bool paged = BoxViewPages(width, height);
  const double scale = BoxPieceScale(width, height);
  row_place at;
  for (int j = 1; j <= box.box_table_count; j++) {
    pce_type& entry = box.box_table[j];
    if (entry.n <= 0) continue;  // a hole keeps its place
    entry = {entry.n, at.x, at.y, at.page};
    AdvanceInRow(at, BoxShownWidth(entry.n, scale), width);
    if (paged)
      NextPageWhenFull(at, height);
    else if (at.y > height - 29)
      at.y += kRowPitch;
  }
  CountPages();
}

int BoxShownWidth(int p, double scale) {
  return static_cast<int>(std::lround(play.pieces[p].wd * scale));
}

void TurnBoxPage(int pages) {
  box.box_page = std::clamp(box.box_page + pages, 0, box.box_page_count - 1);
}

bool TakeOutOfBox(int s) {
  const int b = box.current_box;
  if (s < 1 || s > box.box_count[b]) return false;
  const int p = box.box_slot[b][s].n;
  // A hole on the page shown first, so the piece appears where the player looks.
  int hole = 0;
  for (int j = 1; j <= box.box_table_count && hole == 0; j++)
    if (box.box_table[j].n == 0 && box.box_table[j].page == box.box_page) hole = j;
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
