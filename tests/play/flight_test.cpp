// Tests of scatter, the flight to the home positions (timing on a fake clock, clicks), the
// auto-solve of three 7s and the list shuffle.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"
#include "tests/play/play_fixture.h"

namespace {

class FlightTest : public PlayTest {
 protected:
  void SetUp() override {
    SetClock([this] { return now_; }, [](int) {});
    LoadGrid(Grid(3, 3));
  }
  void TearDown() override { SetClock(nullptr, nullptr); }
  int now_ = 1000;
};

TEST_F(FlightTest, ScatterStaysOnTheClassicTable) {
  LoadGrid(Grid(2, 3, 100, 61).Margin(10), "wide");
  play.last_group = 5;
  int min_x = 800, max_x = 0, min_y = 600, max_y = 0;
  for (int round = 0; round < 300; round++) {
    ScatterPieces();
    for (int i = 1; i <= play.piece_count; i++) {
      const piece_type& piece = play.pieces[i];
      min_x = std::min(min_x, piece.x);
      max_x = std::max(max_x, piece.x);
      min_y = std::min(min_y, piece.y);
      max_y = std::max(max_y, piece.y);
      ASSERT_GE(piece.a, 0);
      ASSERT_LE(piece.a, 3);
      ASSERT_EQ(piece.gp, 0);
      ASSERT_EQ(piece.visible, 1);
    }
  }
  EXPECT_EQ(min_x, 50);
  EXPECT_EQ(max_x, 750);
  EXPECT_EQ(min_y, 30);  // 61 / 2 = 30
  EXPECT_EQ(max_y, 570);
  EXPECT_EQ(play.last_group, 0);
}

TEST_F(FlightTest, StateThreeComesOneStepAfterTheLastArrival) {
  Place(1, play.pieces[1].x0, play.pieces[1].y0, 2);  // already home
  for (int i = 2; i <= 9; i++) Place(i, 700 - 7 * i, 33 * i, i % 4);
  play.pieces[4].visible = 0;
  StartFlight();
  EXPECT_EQ(game.screen, "anim");
  EXPECT_EQ(play.pieces[4].visible, 1);
  FlightFrame();  // set-up
  ASSERT_EQ(play.flight_state, 2);
  FlightFrame();  // the first step
  EXPECT_EQ(play.flight[1].anim, 0);
  EXPECT_EQ(play.pieces[1].a, 0);
  int steps = 1;
  auto under_way = [] {
    for (int i = 1; i <= play.piece_count; i++)
      if (play.flight[i].anim) return true;
    return false;
  };
  while (under_way() && steps < 1000) {
    FlightFrame();
    steps++;
  }
  EXPECT_GE(steps, flight_steps - 2);
  EXPECT_LE(steps, flight_steps + 1);
  EXPECT_EQ(play.flight_state, 2);
  FlightFrame();
  EXPECT_EQ(play.flight_state, 3);
  FlightFrame();
  EXPECT_EQ(play.flight_state, 4);
  EXPECT_EQ(play.flight_skipped, 0);
  EXPECT_EQ(IsComplete(), 1);
  for (int i = 1; i <= 9; i++) {
    EXPECT_TRUE(At(i, play.pieces[i].x0, play.pieces[i].y0));
  }
}

TEST_F(FlightTest, FarOffPiecesStillLandWithinTheFlight) {
  // Positions a damaged progress file might hold: too far for float steps to reach home exactly.
  Place(2, 2000000000, -2147483647, 1);
  Place(3, 2147483600, 300, 0);  // a step of half a pixel vanishes at this size
  play.pieces[3].x0 = 2147483500;
  StartFlight();
  int frames = 0;
  while (play.flight_state != 4 && frames < 1000) {
    FlightFrame();
    frames++;
  }
  EXPECT_LE(frames, flight_steps + 3);
  EXPECT_TRUE(At(2, play.pieces[2].x0, play.pieces[2].y0));
  EXPECT_TRUE(At(3, 2147483500, play.pieces[3].y0));
}

TEST_F(FlightTest, StepsPauseOnlyFrom20To40MsAfterTheSetUp) {
  struct timing_case {
    int after_setup;
    bool steps;
  };
  const timing_case cases[] = {{0, true},   {19, true}, {20, false}, {30, false},
                               {40, false}, {41, true}, {5000, true}};
  for (const timing_case& c : cases) {
    Place(2, 700, 500, 0);
    now_ = 1000;
    play.flight_state = 1;
    FlightFrame();
    now_ = 1000 + c.after_setup;
    FlightFrame();
    EXPECT_EQ(play.pieces[2].x != 700, c.steps) << c.after_setup;
  }
}

TEST_F(FlightTest, StepsContinueAcrossTheClockWrap) {
  Place(2, 700, 500, 0);
  now_ = -10;  // the 32-bit clock is about to wrap
  play.flight_state = 1;
  FlightFrame();
  now_ = 31;  // 41 ms later
  FlightFrame();
  EXPECT_NE(play.pieces[2].x, 700);
}

TEST_F(FlightTest, AClickEndsTheFlightWithEverythingHome) {
  for (int i = 1; i <= 9; i++) Place(i, 10 * i, 500, 3);
  StartFlight();
  FlightFrame();
  FlightFrame();
  game.click_pending = true;
  FlightFrame();
  EXPECT_FALSE(game.click_pending);
  EXPECT_EQ(play.flight_state, 4);
  EXPECT_EQ(play.flight_skipped, 1);
  EXPECT_EQ(IsComplete(), 1);
  EXPECT_EQ(play.pieces[9].x, play.pieces[9].x0);
  EXPECT_EQ(play.pieces[9].a, 0);
}

TEST_F(FlightTest, ThreeSevensInARowAutoSolveWithoutCelebration) {
  game.screen = "jigsaw";
  play.completion_handled = 0;
  CountSevenKey();
  play.seven_count = 0;  // another key in between
  CountSevenKey();
  CountSevenKey();
  EXPECT_EQ(game.screen, "jigsaw");
  CountSevenKey();
  EXPECT_EQ(game.screen, "anim");
  EXPECT_EQ(play.seven_count, 0);
  EXPECT_EQ(play.completion_handled, 1);
  EXPECT_EQ(play.flight_state, 1);
}

TEST_F(FlightTest, SetAsideTenLeavesTheJigsawWhenTheLargeDisplayCannotOpen) {
  // No display can open here, so the column at x 850 would lie beyond the 800-wide table.
  ScatterPieces();
  const auto before = play.pieces;
  play.completion_handled = 1;
  SetAsideTen();
  EXPECT_FALSE(game.display.display_large);
  for (int i = 1; i <= 9; i++) EXPECT_TRUE(At(i, before[i].x, before[i].y));
  EXPECT_EQ(play.completion_handled, 1);
}

TEST_F(FlightTest, ShuffleNeverMovesEntryZero) {
  std::vector<int> list(12);
  std::iota(list.begin(), list.end(), 0);
  ShuffleList(list, 0);
  EXPECT_EQ(list[0], 0);
  std::vector<int> sorted = list;
  std::sort(sorted.begin(), sorted.end());
  for (int k = 0; k < 12; k++) EXPECT_EQ(sorted[k], k);
  EXPECT_NE(list, sorted);

  std::vector<int> partly = {7, 1, 2, 3, 4, 5};
  ShuffleList(partly, 3);  // only entries 1..3 take part
  EXPECT_EQ(partly[0], 7);
  EXPECT_EQ(partly[4], 4);
  EXPECT_EQ(partly[5], 5);
}

}  // namespace
