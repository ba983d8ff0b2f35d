// Tests of the box model: switching boxes, dropping grouped pieces, showing and emptying a box,
// and rebuilding the boxes from loaded pieces.
#include <gtest/gtest.h>

#include "tests/box/box_fixture.h"

namespace {

using BoxModel = BoxTest;

TEST_F(BoxModel, SwitchingWrapsAroundTheFiveBoxes) {
  struct switch_case {
    int from;
    void (*op)();
    int want;
  };
  const switch_case cases[] = {{5, NextBox, 1},     {1, PreviousBox, 5}, {3, NextBox, 4},
                               {3, PreviousBox, 2}, {1, NextBox, 2},     {5, PreviousBox, 4}};
  for (const switch_case& c : cases) {
    box.current_box = c.from;
    c.op();
    EXPECT_EQ(box.current_box, c.want) << "from " << c.from;
  }
  SelectBox(4);
  EXPECT_EQ(box.current_box, 4);
  for (int outside : {0, 6, -1}) {
    SelectBox(outside);
    EXPECT_EQ(box.current_box, 4);
  }
}

TEST_F(BoxModel, GroupedPiecesLeaveTheSlotsOfTheBoxSwitchedToAndTheRestKeepTheirOrder) {
  MakePieces(12);
  FillBox(2, {3, 5, 7, 9, 11});
  FillBox(3, {4, 6});
  for (int p : {5, 9, 11, 6}) play.pieces[p].gp = 1;
  NextBox();  // from box 1 to box 2
  EXPECT_EQ(Slots(2), (std::vector<int>{3, 7}));
  EXPECT_EQ(box.box_slot[2][3].n, 0);
  EXPECT_EQ(play.pieces[5].box, 2);               // removed pieces keep their box
  EXPECT_EQ(Slots(3), (std::vector<int>{4, 6}));  // other boxes wait until shown
  SelectBox(3);
  EXPECT_EQ(Slots(3), (std::vector<int>{4}));
}

TEST_F(BoxModel, RemovingASlotMovesTheLaterSlotsDownWithTheirPlaces) {
  MakePieces(5);
  FillBox(1, {1, 2, 3});
  for (int s = 1; s <= 3; s++) box.box_slot[1][s].x = 100 * s;
  RemoveBoxSlot(1);
  EXPECT_EQ(Slots(1), (std::vector<int>{2, 3}));
  EXPECT_EQ(box.box_slot[1][1].x, 200);
  for (int outside : {0, 3, -4}) RemoveBoxSlot(outside);
  EXPECT_EQ(Slots(1), (std::vector<int>{2, 3}));
}

TEST_F(BoxModel, ShowingTheCurrentBoxShowsItsSinglePiecesAndSetsItsFlag) {
  MakePieces(6);
  FillBox(4, {1, 2, 3});
  play.pieces[3].gp = 2;
  play.pieces[5].box = 4;  // boxed but not in a slot: still shown with its box
  for (int i = 1; i <= 6; i++) play.pieces[i].visible = 0;
  box.current_box = 4;
  ShowCurrentBox();
  for (int p : {1, 2, 5}) EXPECT_EQ(play.pieces[p].visible, 1) << p;
  for (int p : {3, 4, 6}) EXPECT_EQ(play.pieces[p].visible, 0) << p;
  EXPECT_EQ(play.box_shown[4], 1);
  EXPECT_EQ(play.box_shown[1], 0);
}

TEST_F(BoxModel, EmptyingABoxFreesEveryPieceOfItAndPutsThemInTheRows) {
  MakePieces(6);
  FillBox(2, {1, 2});
  FillBox(3, {4});
  play.pieces[3].box = 2;  // a grouped piece purged earlier
  play.pieces[3].gp = 1;
  play.pieces[2].visible = 0;
  box.current_box = 2;
  EmptyBox();
  for (int p : {1, 2, 3}) EXPECT_EQ(play.pieces[p].box, 0) << p;
  EXPECT_EQ(play.pieces[4].box, 3);
  EXPECT_EQ(box.box_count[2], 0);
  EXPECT_EQ(box.box_slot[2][1].n, 0);
  EXPECT_EQ(play.pieces[2].visible, 0);  // visibility is not changed
  std::vector<int> rows = Rows();
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ(rows, (std::vector<int>{1, 2, 5, 6}));
}

TEST_F(BoxModel, RebuildingFillsTheBoxesInPieceOrderFromSinglePieces) {
  MakePieces(10);
  const int boxes[] = {0, 2, 0, 5, 2, 2, 9, -3, 5, 2, 0};  // pieces 1..10
  for (int i = 1; i <= 10; i++) play.pieces[i].box = boxes[i];
  play.pieces[5].gp = 3;       // grouped: outside every box
  play.pieces[3].visible = 0;  // box 5 shown through piece 8
  play.pieces[4].visible = 0;
  play.pieces[9].visible = 0;
  play.box_shown = {0, 1, 0, 1, 1, 0};
  box.box_count[1] = 4;
  RebuildBoxes();
  EXPECT_EQ(Slots(1), std::vector<int>{});
  EXPECT_EQ(Slots(2), (std::vector<int>{1, 4, 9}));
  EXPECT_EQ(Slots(5), (std::vector<int>{3, 8}));
  EXPECT_EQ(play.box_shown, (std::array<int, 6>{0, 0, 1, 0, 0, 1}));
  // Box numbers no box has count as none, so those pieces are loose again.
  EXPECT_EQ(play.pieces[6].box, 0);
  EXPECT_EQ(play.pieces[7].box, 0);
  EXPECT_TRUE(IsLoose(6));
}

TEST_F(BoxModel, RebuildingTurnsRowsOfPiecesNoLongerLooseIntoHoles) {
  MakePieces(4);
  SetRows({{1, 29, 106}, {2, 71, 106}, {3, 113, 106}, {250, 155, 106}});
  play.pieces[2].box = 1;
  play.pieces[3].gp = 1;
  RebuildBoxes();
  EXPECT_EQ(Rows(), (std::vector<int>{1, 0, 0, 0}));
  EXPECT_EQ(box.box_table[2].x, 71);  // holes keep their places
}

}  // namespace
