// Tests of carrying, snapping and joining: the snap tolerance, turns and visibility, group
// numbering of a drop, layout around the carried piece, edge spreading and completion.
#include <gtest/gtest.h>

#include "box/box.h"
#include "play/play.h"
#include "shell/shell.h"
#include "tests/play/play_fixture.h"

namespace {

class JoiningTest : public PlayTest {
 protected:
  void SetUp() override {
    LoadGrid(Grid(3, 3));  // 3 x 3, homes 30 apart
    for (int i = 1; i <= 9; i++) Place(i, 100 + 60 * i, 400, 0);
  }
  // Carries piece c (as PickUp would have) and drops it.
  void Drop(int c) {
    play.dragged = c;
    DropAndJoin();
    play.dragged = 0;
  }
};

TEST_F(JoiningTest, SnapToleranceIsBelowTenOnEachAxis) {
  struct offset_case {
    int dx, dy;
    bool joins;
  };
  const offset_case cases[] = {{9, -9, true},  {-9, 9, true},   {0, 0, true},    {10, 0, false},
                               {0, 10, false}, {-10, 0, false}, {0, -10, false}, {9, 10, false}};
  for (const offset_case& c : cases) {
    play.pieces[5].gp = play.pieces[6].gp = 0;
    Place(5, 300, 300, 0);
    PlaceBeside(6, 5, c.dx, c.dy);
    Drop(6);
    EXPECT_EQ(play.pieces[6].gp != 0, c.joins) << c.dx << ", " << c.dy;
  }
}

TEST_F(JoiningTest, TurnedNeighboursFitAlongTheTurnedOffset) {
  Place(5, 300, 300, 1);
  PlaceBeside(6, 5);  // piece 6 lies right of 5 unturned, so below it after one turn
  EXPECT_TRUE(At(6, 300, 330));
  EXPECT_EQ(NeighboursFit(6, 5), 1);
  EXPECT_EQ(NeighboursFit(5, 6), 1);
}

TEST_F(JoiningTest, AnotherTurnOrAHiddenNeighbourNeverJoins) {
  Place(5, 300, 300, 0);
  PlaceBeside(6, 5);
  play.pieces[6].a = 2;
  Drop(6);
  EXPECT_EQ(play.pieces[6].gp, 0);

  play.pieces[6].a = 0;
  play.pieces[5].visible = 0;
  Drop(6);
  EXPECT_EQ(play.pieces[6].gp, 0);
  EXPECT_EQ(play.pieces[5].gp, 0);
  EXPECT_EQ(play.last_group, 0);
}

TEST_F(JoiningTest, NeighboursSnapIntoPlaceAndTheCarriedPieceStays) {
  Place(5, 300, 300, 0);
  PlaceBeside(4, 5, 7, -3);
  PlaceBeside(2, 5, -8, 8);
  Drop(5);
  EXPECT_TRUE(At(5, 300, 300));
  EXPECT_TRUE(At(4, 270, 300));
  EXPECT_TRUE(At(2, 300, 270));
  for (int p : {2, 4, 5}) EXPECT_EQ(play.pieces[p].gp, 1);
  EXPECT_EQ(play.last_group, 1);
}

TEST_F(JoiningTest, ADropBetweenTwoGroupsMakesOneNewGroup) {
  play.last_group = 7;
  Place(1, 200, 200, 3);
  MakeGroup({1, 2}, 3);
  // Piece 4 fits piece 1 above it and piece 7 below it; 5 fits 2 and 8 only through 4's group.
  PlaceBeside(4, 1, 2, 0);
  PlaceBeside(7, 4);
  MakeGroup({7, 8}, 7);
  Drop(4);
  for (int p : {1, 2, 4, 7, 8}) EXPECT_EQ(play.pieces[p].gp, 8) << p;
  EXPECT_EQ(play.last_group, 8);
  EXPECT_EQ(play.pieces[5].gp, 0);
}

TEST_F(JoiningTest, ACarriedGroupJoinsEveryFittingNeighbourIntoOneGroup) {
  play.last_group = 4;
  Place(5, 300, 300, 2);
  MakeGroup({5, 6}, 2);
  Place(2, 0, 0, 2);
  PlaceBeside(2, 5, 3, 3);
  PlaceBeside(9, 6, -4, 0);
  Place(3, 10, 10, 2);
  PlaceBeside(3, 2);
  MakeGroup({2, 3}, 4);  // 3 also touches 6, so group 4 is met twice
  Drop(6);
  for (int p : {2, 3, 5, 6, 9}) EXPECT_EQ(play.pieces[p].gp, 5) << p;
  EXPECT_EQ(play.last_group, 5);
  // Laid out exactly around the carried piece 6.
  EXPECT_EQ(play.pieces[6].x, 300 - 30);
  EXPECT_TRUE(At(9, 270, 300 - 30));
}

TEST_F(JoiningTest, GroupsHoldingABorderPieceBecomeEdge) {
  ASSERT_EQ(play.pieces[5].edge, 0);
  Place(5, 300, 300, 0);
  PlaceBeside(4, 5, 1, 1);
  Drop(5);
  EXPECT_EQ(play.pieces[5].edge, 1);
  ResetPlayState();
  EXPECT_EQ(play.pieces[5].edge, 0);
  EXPECT_EQ(play.pieces[4].edge, 1);
}

TEST_F(JoiningTest, CompleteNeedsOneUprightGroupAnywhere) {
  EXPECT_EQ(IsComplete(), 0);
  for (int i = 1; i <= 9; i++) play.pieces[i].gp = 4;
  LayOutGroup(9);
  EXPECT_EQ(IsComplete(), 1);
  TurnPiece(3);
  EXPECT_EQ(IsComplete(), 0);
  for (int t = 0; t < 3; t++) TurnPiece(3);
  EXPECT_EQ(IsComplete(), 1);
  play.pieces[9].gp = 5;
  EXPECT_EQ(IsComplete(), 0);
}

TEST_F(JoiningTest, OnePieceJigsawNeverCompletes) {
  LoadGrid(Grid(1, 1), "single");
  Place(1, 300, 300, 0);
  Drop(1);
  EXPECT_EQ(play.pieces[1].gp, 0);
  EXPECT_EQ(IsComplete(), 0);
}

TEST_F(JoiningTest, CompletionStepCelebratesOnce) {
  play.completion_handled = 0;
  PlaceAllHome();
  CompletionStep();
  EXPECT_EQ(game.screen, "anim");
  EXPECT_EQ(play.completion_handled, 1);
  EXPECT_EQ(play.flight_state, 1);
  EXPECT_EQ(play.last_group, 0);  // scattered
  game.screen = "jigsaw";
  PlaceAllHome();
  CompletionStep();
  EXPECT_EQ(game.screen, "jigsaw");
}

TEST_F(JoiningTest, TheCarriedGroupIsDrawnShown) {
  MakeGroup({5, 6}, 3);
  play.pieces[5].visible = play.pieces[6].visible = play.pieces[7].visible = 0;
  play.dragged = 6;
  DrawCarried();
  EXPECT_EQ(play.pieces[5].visible, 1);
  EXPECT_EQ(play.pieces[6].visible, 1);
  EXPECT_EQ(play.pieces[7].visible, 0);
}

TEST_F(JoiningTest, FollowPointerCarriesTheGroupInFormation) {
  Place(5, 300, 300, 1);
  MakeGroup({5, 6}, 1);
  play.dragged = 6;
  play.drag_dx = 4;
  play.drag_dy = -2;
  game.pointer_x = 504;
  game.pointer_y = 198;
  FollowPointer();
  EXPECT_TRUE(At(6, 500, 200));
  EXPECT_EQ(play.pieces[5].x, 500);  // 5 lies left of 6 unturned, so above it after one turn
  EXPECT_EQ(play.pieces[5].y, 170);
}

TEST_F(JoiningTest, RaisingAGroupPutsItsMembersOnTopInNumberOrder) {
  LoadGrid(Grid(4, 5), "big");
  for (int p : {12, 3, 7}) play.pieces[p].gp = 2;
  RaisePieceOrGroup(7);
  EXPECT_EQ(play.draw_order[18], 3);
  EXPECT_EQ(play.draw_order[19], 7);
  EXPECT_EQ(play.draw_order[20], 12);
  EXPECT_EQ(play.draw_order[1], 1);
  EXPECT_EQ(play.draw_order[3], 4);
  RaisePieceOrGroup(1);
  EXPECT_EQ(play.draw_order[20], 1);
  EXPECT_EQ(play.draw_order[17], 3);
}

}  // namespace
