// The frame timer resting while nothing moves: it stops after a still turn, the first event of
// every kind wakes it before that event is handled (but a pointer move that nothing follows,
// which its next turn shows whole), what input set moving is finished before it rests again,
// and animations that show one frame twice (a flight's first frames, the pause
// after the celebration's text) keep it ticking to their end.
#include <thread>

#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

class FrameRest : public Game {
 protected:
  // One turn ended by a tick of the frame timer queued first; true when the turn let the timer
  // rest before its wait (the tick then woke it, which gives it a new system handle).
  static bool TickTurn() {
    TEvent::Create(EVENT_TIMERTICK, shell.frame_timer, shell.frame_timer->Ticks())->Emit();
    return InputTurn();
  }
  // One turn ended by the input queued first; true when the timer rested before it.
  static bool InputTurn() {
    const int handle = shell.frame_timer->_handle;
    LoopTurn();
    EXPECT_FALSE(shell.frame_timer->_paused) << "the event that ended the wait woke the timer";
    return shell.frame_timer->_handle != handle;
  }
  // Tick-ended turns until one rests; false when none did within max_turns, or when the
  // picture was not final then (a wait for input alone would have left it unfinished).
  static bool RestsWithin(int max_turns) {
    for (int i = 0; i < max_turns; ++i) {
      if (!TickTurn()) continue;
      const int shown = FrameCounts().presented;
      TickTurn();
      return FrameCounts().presented == shown;
    }
    return false;
  }
  // Tick-ended turns until pred holds; false when it never did or a turn rested meanwhile.
  static bool TicksUntil(const std::function<bool()>& pred, int max_turns = 5000) {
    for (int i = 0; i < max_turns && !pred(); ++i)
      if (TickTurn()) return false;
    return pred();
  }
  static void OnTheTable() {
    FinishOpeningFlight();
    if (game.screen == "help") Key('H');
    ASSERT_TRUE(OnTable());
  }
};

TEST_F(FrameRest, StopsAfterAStillFrameAndEveryEventWakesIt) {
  OnTheTable();
  struct input_case {
    const char* what;
    int id, data;
  } cases[] = {
      {"key press", EVENT_KEYDOWN, KEY_LSHIFT},    {"key release", EVENT_KEYUP, KEY_LSHIFT},
      {"typed character", EVENT_KEYCHAR, 'a'},
      {"button press", EVENT_MOUSEDOWN, 3},        {"button release", EVENT_MOUSEUP, 3},
      {"wheel", EVENT_MOUSEWHEEL, 1},              {"pointer leaving", EVENT_MOUSELEAVE, 0},
      {"exposure", EVENT_GADGETPAINT, 0},          {"focus", EVENT_APPRESUME, 0},
  };
  for (const input_case& c : cases) {
    ASSERT_TRUE(RestsWithin(5)) << "before " << c.what;
    // Still again: the next turn rests before its wait, and the event ends that wait. It is
    // queued already, so it must not move the pointer the turn draws.
    Emit(c.id, c.data, MouseX(), MouseY());
    EXPECT_TRUE(InputTurn()) << c.what;
    EXPECT_EQ(CurrentEvent()->id, c.id) << c.what;
    EXPECT_FALSE(TickTurn()) << "the turn after " << c.what << " shows what it changed first";
  }
}

// A pointer move that nothing follows is shown whole by the turn after it, which starts at once:
// the timer rests on, whether the window system shows the pointer or the frame has it drawn in
// (where the window system refuses the picture: here its hot spot lies outside it).
TEST_F(FrameRest, APointerMoveThatNothingFollowsLeavesItResting) {
  OnTheTable();
  for (const bool drawn : {false, true}) {
    if (drawn) SetImageHandle(shell.images.pointer, 8, 0);
    ASSERT_TRUE(RestsWithin(5)) << drawn;
    // The move arrives while the resting loop waits, as a player's does.
    std::thread nudge([] { CommandOutput("xdotool sleep 0.2 mousemove_relative 5 3"); });
    LoopTurn();
    nudge.join();
    ASSERT_EQ(CurrentEvent()->id, EVENT_MOUSEMOVE);
    EXPECT_TRUE(shell.frame_timer->_paused) << drawn;
    const int shown = FrameCounts().presented;
    Emit(EVENT_MOUSEMOVE, 0, MouseX(), MouseY());  // no move: only ends the next wait
    LoopTurn();
    EXPECT_TRUE(shell.frame_timer->_paused) << drawn;
    EXPECT_EQ(FrameCounts().presented - shown, drawn ? 1 : 0) << "the pointer drawn at its new place";
  }
}

// A resting loop waits for input alone: no tick ends its wait, real pointer input does.
TEST_F(FrameRest, ARestingLoopWaitsForRealInput) {
  OnTheTable();
  ASSERT_TRUE(RestsWithin(5));
  ASSERT_TRUE(TickTurn());
  const int ticks = shell.frame_timer->Ticks();
  std::thread nudge([] { CommandOutput("xdotool sleep 0.4 mousemove_relative 3 0"); });
  const int start = Millisecs();
  LoopTurn();
  const int waited = Millisecs() - start;
  nudge.join();
  EXPECT_EQ(CurrentEvent()->id, EVENT_MOUSEMOVE);
  EXPECT_GE(waited, 350);
  EXPECT_EQ(shell.frame_timer->Ticks(), ticks);
}

// Real input whose effect shows a turn late (the carried piece follows the pointer sampled in
// the turn before) is shown before the timer rests again.
TEST_F(FrameRest, CarryingCatchesUpWithThePointerBeforeResting) {
  OnTheTable();
  ScatterPieces();
  const piece_type& top = play.pieces[play.draw_order[play.piece_count]];
  MoveTo(top.x, top.y);
  Click();
  ASSERT_NE(play.dragged, 0);
  for (const char* step : {"20 10", "-- -35 5", "3 -40"}) {
    ASSERT_TRUE(RestsWithin(5));
    // The move arrives while the resting loop waits, as a player's does.
    std::thread nudge([step] { CommandOutput(std::string("xdotool sleep 0.2 mousemove_relative ") + step); });
    LoopTurn();
    nudge.join();
    ASSERT_EQ(CurrentEvent()->id, EVENT_MOUSEMOVE);
    ASSERT_TRUE(RestsWithin(5)) << step;
    const piece_type& carried = play.pieces[play.dragged];
    EXPECT_EQ(carried.x, MouseX() - play.drag_dx) << step;
    EXPECT_EQ(carried.y, MouseY() - play.drag_dy) << step;
  }
}

// The opening flight's first frames repeat while its first step waits for the clock.
TEST_F(FrameRest, TheOpeningFlightRunsOnTicksAlone) {
  ASSERT_TRUE(TicksUntil([] { return game.screen != "title" && game.screen != "anim"; }));
  for (int i = 1; i <= play.piece_count; ++i) EXPECT_EQ(play.pieces[i].x, play.pieces[i].x0) << i;
}

// The completion flight and the celebration's pause (one picture for five seconds), under a
// fast clock; the timer ticks until the table is back.
TEST_F(FrameRest, TheCelebratedCompletionRunsOnTicksAlone) {
  OnTheTable();
  int now = 0;
  SetClock([&now] { return now += 5; }, [&now](int ms) { now += ms; });
  WriteJigsaw("4975red_mixer", 2, 2);
  ASSERT_TRUE(LoadJigsawFolder("4975red_mixer"));
  ScatterPieces();
  for (int i = 0; i < 3; ++i) Key('7');
  const int start = now;
  EXPECT_TRUE(TicksUntil(OnTable));
  EXPECT_GT(now - start, 5000) << "celebrated, pause included";
  SetClock(nullptr, nullptr);
}

}  // namespace
