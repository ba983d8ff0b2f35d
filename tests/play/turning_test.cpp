// Tests of quarter turns and of the "unrotate" screen: turning about the clicked piece, groups
// turned back about their middle cell (member or not), the 800 x 600 clamps, the frame states.
#include <gtest/gtest.h>

#include "play/play.h"
#include "shell/shell.h"
#include "tests/play/play_fixture.h"

namespace {

class TurningTest : public PlayTest {
 protected:
  void SetUp() override {
    LoadGrid(Grid(3, 3));  // 3 x 3, homes (100 + 30 (k - 1), 100 + 30 (j - 1))
    for (int i = 1; i <= 9; i++) Place(i, 100 + 60 * i, 450, 0);
  }
  void RunUnrotate(int max_frames = 20) {
    play.unrotate_state = 1;
    for (int f = 0; f < max_frames && play.unrotate_state != 4; f++) UnrotateFrame();
    ASSERT_EQ(play.unrotate_state, 4);
  }
};

TEST_F(TurningTest, AGroupTurnsAboutTheClickedPiece) {
  LoadGrid(Grid(2, 2), "two");
  for (int i = 1; i <= 4; i++) Place(i, play.pieces[i].x0, play.pieces[i].y0, 0);
  MakeGroup({1, 2, 3, 4}, 1);
  TurnPiece(4);
  EXPECT_TRUE(At(4, 130, 130));
  EXPECT_EQ(play.pieces[1].x, 160);  // (-30, -30) from 4 turns to (30, -30)
  EXPECT_EQ(play.pieces[1].y, 100);
  for (int i = 1; i <= 4; i++) EXPECT_EQ(play.pieces[i].a, 1);
}

TEST_F(TurningTest, FourTurnsBringASinglePieceBack) {
  for (int expected : {1, 2, 3, 0}) {
    TurnPiece(5);
    EXPECT_EQ(play.pieces[5].a, expected);
    EXPECT_EQ(play.pieces[5].x, 400);
  }
}

TEST_F(TurningTest, ATurnRequestTurnsTheCarriedGroupWhereverThePointerIs) {
  Place(5, 300, 300, 0);
  MakeGroup({5, 6}, 1);
  play.dragged = 5;
  game.turn_pending = true;
  game.pointer_x = 700;
  game.pointer_y = 20;
  JigsawFrame();
  EXPECT_FALSE(game.turn_pending);
  EXPECT_EQ(play.pieces[6].a, 1);
  EXPECT_TRUE(At(6, 300, 330));
}

TEST_F(TurningTest, UnrotateTurnsAnLShapedGroupAboutItsMissingMiddleCell) {
  // Group {1, 4, 7, 8, 9}: its grid box is the whole 3 x 3, whose middle piece 5 is no member.
  Place(9, 400, 300, 1);
  MakeGroup({9, 1, 4, 7, 8}, 6);
  Place(5, 50, 60, 3);
  play.pieces[5].gp = 2;
  UnrotateGroup(6);
  // Cell 5 lies at 9 + (30, -30) in the turned formation: (430, 270); the group unturns about it.
  EXPECT_TRUE(At(1, 400, 240));
  EXPECT_TRUE(At(9, 460, 300));
  for (int p : {1, 4, 7, 8, 9}) EXPECT_EQ(play.pieces[p].a, 0) << p;
  EXPECT_TRUE(At(5, 50, 60));
  EXPECT_EQ(play.pieces[5].a, 3);
  EXPECT_EQ(play.pieces[5].gp, 2);
}

TEST_F(TurningTest, UnrotateKeepsTheMiddlePieceOnTheClassicTable) {
  struct clamp_case {
    int x, y, want_x, want_y;
  };
  const clamp_case cases[] = {{-50, 300, 20, 300},  {900, 300, 780, 300}, {400, -1, 400, 20},
                              {400, 601, 400, 580}, {800, 600, 800, 600}, {0, 0, 0, 0}};
  for (const clamp_case& c : cases) {
    play.pieces[4].gp = play.pieces[5].gp = play.pieces[6].gp = 0;
    Place(5, c.x, c.y, 2);
    MakeGroup({5, 4, 6}, 3);
    UnrotateGroup(3);
    EXPECT_EQ(play.pieces[5].x, c.want_x) << c.x << ", " << c.y;
    EXPECT_EQ(play.pieces[5].y, c.want_y) << c.x << ", " << c.y;
    EXPECT_EQ(play.pieces[4].x, c.want_x - 30);
    EXPECT_EQ(play.pieces[6].a, 0);
  }
}

TEST_F(TurningTest, UnrotateScreenFramesWithNothingTurned) {
  play.unrotate_state = 1;
  UnrotateFrame();
  EXPECT_EQ(play.unrotate_state, 2);
  UnrotateFrame();
  EXPECT_EQ(play.unrotate_state, 3);
  UnrotateFrame();
  EXPECT_EQ(play.unrotate_state, 4);
}

TEST_F(TurningTest, UnrotateShowsEverythingAndUnturnsOnePiecePerFrame) {
  play.pieces[2].visible = 0;
  for (int p : {3, 6, 8}) play.pieces[p].a = p % 3 + 1;
  play.unrotate_state = 1;
  UnrotateFrame();
  EXPECT_EQ(play.pieces[2].visible, 1);
  UnrotateFrame();
  EXPECT_EQ(play.pieces[3].a, 0);
  EXPECT_EQ(play.pieces[6].a, 1);
  UnrotateFrame();
  EXPECT_EQ(play.pieces[6].a, 0);
  EXPECT_EQ(play.pieces[8].a, 3);
  // A click finishes at once with every remaining piece upright.
  game.click_pending = true;
  UnrotateFrame();
  EXPECT_FALSE(game.click_pending);
  EXPECT_EQ(play.unrotate_state, 4);
  EXPECT_EQ(play.pieces[8].a, 0);
}

TEST_F(TurningTest, UnrotateTurnsGroupsThenSinglePieces) {
  Place(5, 300, 300, 2);
  MakeGroup({5, 6}, 1);
  Place(1, 200, 200, 1);
  RunUnrotate();
  for (int i = 1; i <= 9; i++) EXPECT_EQ(play.pieces[i].a, 0) << i;
  EXPECT_EQ(play.pieces[6].x - play.pieces[5].x, 30);
  EXPECT_EQ(play.pieces[1].x, 200);
}

}  // namespace
