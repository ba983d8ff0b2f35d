// Tests of the tidy layouts on an 800 x 600 screen: the region the pointer chooses, how far each
// layout reaches before the pile starts, the pile label, and the pieces a tidy leaves alone.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "tests/box/box_fixture.h"

namespace {

using Tidy = BoxTest;

// How many pieces lie at each place.
std::map<std::pair<int, int>, int> Places() {
  std::map<std::pair<int, int>, int> places;
  for (int i = 1; i <= play.piece_count; i++) places[{play.pieces[i].x, play.pieces[i].y}]++;
  return places;
}

TEST_F(Tidy, ThePointerChoosesTheRegionWithTheCentreTestedFirst) {
  // Two 40 x 30 pieces: the second shows whether rows or columns run, and which way.
  struct region_case {
    int px, py;
    std::pair<int, int> first, second;
  };
  const region_case cases[] = {
      {400, 300, {229, 179}, {271, 179}},  // centre
      {200, 150, {229, 179}, {271, 179}},  // the centre's corner, also in the top band
      {600, 450, {229, 179}, {271, 179}},  // the centre's far corner
      {199, 150, {29, 29}, {71, 29}},      // top half
      {800, 0, {29, 29}, {71, 29}},
      {400, 451, {29, 571}, {71, 571}},  // bottom half, rows upwards
      {800, 600, {29, 571}, {71, 571}},
      {10, 300, {29, 29}, {29, 61}},     // left half, columns rightwards
      {790, 300, {771, 29}, {771, 61}},  // right half, columns leftwards
  };
  for (const region_case& c : cases) {
    MakePieces(2);
    TidyPieces(c.px, c.py, 800, 600);
    std::map<std::pair<int, int>, int> want{{c.first, 1}, {c.second, 1}};
    EXPECT_EQ(Places(), want) << "pointer at " << c.px << ", " << c.py;
  }
}

TEST_F(Tidy, APointOffTheScreenMovesNothingAndKeepsTheLabel) {
  for (auto [px, py] : {std::pair{801, 300}, {-1, 0}, {400, 601}, {400, -1}}) {
    MakePieces(2);
    play.tidy_label = {3, 50, 50};
    TidyPieces(px, py, 800, 600);
    EXPECT_EQ(Places(), (std::map<std::pair<int, int>, int>{{{0, 0}, 2}})) << px << ", " << py;
    EXPECT_EQ(play.tidy_label.k, 3);
  }
}

TEST_F(Tidy, EachLayoutFillsItsRegionThenPilesTheRestUnderACount) {
  // 40 x 30 pieces, each region filled exactly and then seven more. The piece that fills the
  // region keeps its place; the seven lie on the pile.
  struct fill_case {
    const char* region;
    int px, py;
    int capacity;
    std::pair<int, int> last, pile;
    int label_x;
  };
  const fill_case cases[] = {
      // 9 to a row from 229 to 565 (the next would pass 590), rows 179..411 (y < 392 wraps).
      {"centre", 400, 300, 45, {565, 411}, {575, 421}, 575},
      // 19 to a row up to 785, rows 29..261; the pile lies right of the screen's last place.
      {"top", 400, 20, 95, {785, 261}, {795, 271}, 771},
      // 19 to a row; rows from 571 up to 281 while y > 329 before wrapping.
      {"bottom", 400, 580, 114, {785, 281}, {771, 571}, 771},
      // 18 to a column from 29 to 573; columns 29..377; the pile at 371 beside the last.
      {"left", 10, 300, 126, {377, 573}, {371, 573}, 371},
      // 18 to a column; columns 771 down to 423.
      {"right", 790, 300, 126, {423, 573}, {771, 571}, 771},
  };
  for (const fill_case& c : cases) {
    SCOPED_TRACE(c.region);
    MakePieces(c.capacity + 7);
    TidyPieces(c.px, c.py, 800, 600);
    std::map<std::pair<int, int>, int> places = Places();
    EXPECT_EQ(static_cast<int>(places.size()), c.capacity + 1);
    EXPECT_EQ(places[c.last], 1);
    EXPECT_EQ(places[c.pile], 7);
    EXPECT_EQ(play.tidy_label.k, 7);
    EXPECT_EQ(play.tidy_label.x, c.label_x);
    EXPECT_EQ(play.tidy_label.y, c.pile.second);

    MakePieces(c.capacity);  // exactly full: no pile, no label
    TidyPieces(c.px, c.py, 800, 600);
    EXPECT_EQ(play.tidy_label.k, 0);
    EXPECT_EQ(static_cast<int>(Places().size()), c.capacity);
  }
}

TEST_F(Tidy, HiddenAndGroupedPiecesStayAndTurnsAndDrawingOrderAreKept) {
  MakePieces(20);
  for (int i = 1; i <= 20; i++) {
    Place(i, 700 + i, 500, i % 4);
    play.draw_order[i] = 21 - i;
  }
  for (int p : {2, 4, 6, 8, 10}) play.pieces[p].visible = 0;
  play.pieces[11].gp = 1;
  play.pieces[12].edge = 1;  // border and boxed pieces are tidied when single and shown
  play.pieces[13].box = 2;
  play.tidy_label = {5, 1, 1};
  TidyPieces(400, 300, 800, 600);
  EXPECT_EQ(play.tidy_label.k, 0);
  int moved = 0;
  for (int i = 1; i <= 20; i++) {
    const bool stays = play.pieces[i].visible == 0 || i == 11;
    EXPECT_EQ(At(i, 700 + i, 500), stays) << i;
    EXPECT_EQ(play.pieces[i].a, i % 4);
    EXPECT_EQ(play.draw_order[i], 21 - i);
    if (!stays) moved++;
  }
  EXPECT_EQ(moved, 14);
}

TEST_F(Tidy, NoSingleShownPieceMeansNothingMovesAndNoLabel) {
  MakePieces(3);
  play.pieces[1].visible = 0;
  for (int p : {2, 3}) play.pieces[p].gp = 1;
  play.tidy_label = {4, 100, 100};
  TidyPieces(400, 300, 800, 600);
  EXPECT_EQ(play.tidy_label.k, 0);
  EXPECT_EQ(Places(), (std::map<std::pair<int, int>, int>{{{0, 0}, 3}}));
}

TEST_F(Tidy, WithoutADisplayNothingHappens) {
  MakePieces(2);
  play.tidy_label = {4, 100, 100};
  TidyPieces(0, 0);  // no display is open in these tests
  EXPECT_EQ(play.tidy_label.k, 4);
}

}  // namespace
