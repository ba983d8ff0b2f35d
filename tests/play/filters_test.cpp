// Tests of the show/hide filters and the border helpers: the edge toggle decided by piece 1,
// groups and boxes, the carried piece, spreading border pieces and putting piece 1 home.
#include <gtest/gtest.h>

#include <set>

#include "box/box.h"
#include "play/play.h"
#include "tests/play/play_fixture.h"

namespace {

class FiltersTest : public PlayTest {
 protected:
  void SetUp() override {
    LoadGrid(Grid(4, 5));
    ResetPlayState();
    for (int i = 1; i <= 20; i++) Place(i, 300 + 10 * i, 300, 0);
  }
  std::vector<int> Visible() {
    std::vector<int> shown;
    for (int i = 1; i <= play.piece_count; i++)
      if (play.pieces[i].visible) shown.push_back(i);
    return shown;
  }
};

TEST_F(FiltersTest, SecondEdgeToggleRestoresFromPieceOnesOldVisibility) {
  play.pieces[2].visible = 0;  // an edge piece that differs from piece 1
  ToggleEdgePieces();
  for (int p : {1, 2, 3, 6, 20}) EXPECT_EQ(play.pieces[p].visible, 0) << p;
  EXPECT_EQ(play.pieces[7].visible, 1);
  ToggleEdgePieces();
  for (int p : {1, 2, 3, 6, 20}) EXPECT_EQ(play.pieces[p].visible, 1) << p;
}

TEST_F(FiltersTest, AGroupWithABorderPieceFollowsTheEdgeNotTheGroupFilter) {
  for (int p : {2, 7, 8}) play.pieces[p].gp = 4;  // 2 is a border piece
  for (int p : {12, 13}) play.pieces[p].gp = 5;
  SpreadEdgeFlag();
  ToggleEdgePieces();
  for (int p : {2, 7, 8}) EXPECT_EQ(play.pieces[p].visible, 0) << p;
  EXPECT_EQ(play.pieces[12].visible, 1);
  ShowAllPieces();
  play.grouped_shown = 0;
  ApplyGroupedShown();
  EXPECT_EQ(Visible().size(), 18u);
  for (int p : {12, 13}) EXPECT_EQ(play.pieces[p].visible, 0) << p;
}

TEST_F(FiltersTest, BoxKeysApplyAllFiveFlagsAndSpareTheCarriedPiece) {
  play.pieces[7].box = 1;
  play.pieces[8].box = 2;
  play.pieces[9].box = 3;
  play.pieces[12].box = 3;
  play.pieces[12].gp = 9;  // grouped pieces are outside every box class
  play.box_shown = {0, 0, 0, 0, 0, 0};
  play.box_shown[1] = 1;  // key 1 with every flag 0
  ApplyBoxShown();
  EXPECT_EQ(play.pieces[7].visible, 1);
  EXPECT_EQ(play.pieces[8].visible, 0);
  EXPECT_EQ(play.pieces[9].visible, 0);
  EXPECT_EQ(play.pieces[12].visible, 1);

  play.dragged = 9;
  play.pieces[9].visible = 1;
  for (int press = 0; press < 2; press++) {
    play.box_shown[3] = !play.box_shown[3];
    ApplyBoxShown();
    EXPECT_EQ(play.pieces[9].visible, 1);
  }
}

TEST_F(FiltersTest, LooseFilterTouchesOnlyLoosePieces) {
  play.pieces[7].box = 2;
  play.pieces[8].gp = 3;
  play.loose_shown = 0;
  ApplyLooseShown();
  EXPECT_EQ(Visible(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 15, 16, 17, 18, 19, 20}));
  HideAllPieces();
  EXPECT_TRUE(Visible().empty());
  EXPECT_EQ(play.grouped_shown, 0);
  EXPECT_EQ(play.box_shown[5], 0);
}

TEST_F(FiltersTest, SpreadEdgePiecesThrowsTheCornerOut) {
  const std::set<int> distances = {58, 87, 116, 145};
  std::set<int> seen_x;
  for (int round = 0; round < 40; round++) {
    SpreadEdgePieces();
    EXPECT_TRUE(distances.count(play.pieces[1].x)) << play.pieces[1].x;
    EXPECT_TRUE(distances.count(play.pieces[1].y)) << play.pieces[1].y;
    EXPECT_TRUE(distances.count(play.pieces[11].x));
    EXPECT_EQ(play.pieces[7].x, 370);  // inner pieces stay
    EXPECT_EQ(play.pieces[7].y, 300);
    seen_x.insert(play.pieces[1].x);
  }
  EXPECT_EQ(seen_x, distances);
}

TEST_F(FiltersTest, SpreadEdgePiecesDoesNothingOnceOneAndTwoFit) {
  Place(1, 200, 200, 0);
  PlaceBeside(2, 1);
  SpreadEdgePieces();
  EXPECT_EQ(play.pieces[1].x, 200);
  EXPECT_EQ(play.pieces[5].x, 350);
}

TEST_F(FiltersTest, ASinglePieceJigsawIsNotHeldBackByAStaleSecondRecord) {
  Place(1, 300, 300, 0);
  PlaceBeside(2, 1);  // record 2 fits piece 1, but is no piece of the next jigsaw
  LoadGrid(Grid(1, 1), "single");
  Place(1, 300, 300, 0);
  SpreadEdgePieces();
  EXPECT_NE(play.pieces[1].x, 300);
}

TEST_F(FiltersTest, PlaceFirstPieceHomeBringsItsGroupAlongUnturned) {
  Place(1, 500, 400, 3);
  MakeGroup({1, 2, 6}, 2);
  PlaceFirstPieceHome();
  EXPECT_TRUE(At(1, 100, 100));
  EXPECT_TRUE(At(2, 130, 100));
  EXPECT_TRUE(At(6, 100, 130));
  for (int p : {1, 2, 6}) EXPECT_EQ(play.pieces[p].a, 0);
}

}  // namespace
