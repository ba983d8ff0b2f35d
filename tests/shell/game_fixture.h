// The real program started in a temporary working directory holding a tiny asset set and a
// 2 x 2 opening jigsaw, with helpers that step the real frame loop. Depends on fixture.h.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "tests/shell/fixture.h"

namespace shell_test {

class Game : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGame();
    WriteMinimalAssets();
    WriteJigsaw("0000vorna", 2, 2);
    WriteFiles();
    ASSERT_TRUE(StartUp({})) << "these tests need an X display (run them under xvfb-run)";
    InterceptEnd();
  }
  void TearDown() override { ResetGame(); }
  // Extra files a test wants before start-up.
  virtual void WriteFiles() {}

  // One turn of the real loop; an idle event is queued first when nothing waits, so the turn
  // does not sit out a timer period.
  static void Turn() {
    if (!PeekEvent()) Emit(EVENT_APPIDLE);
    LoopTurn();
  }
  // Turns until pred holds; false when it never did within max_turns, or, for max_turns 0,
  // within 10 s (animations step by the clock, and a turn that repeats its frame is quick).
  static bool RunUntil(const std::function<bool()>& pred, int max_turns = 0) {
    const int start = Millisecs();
    for (int i = 0; max_turns > 0 ? i < max_turns : Millisecs() - start < 10000; ++i) {
      if (pred()) return true;
      Turn();
    }
    return pred();
  }
  // Emits the event and turns until the loop has taken it.
  static void Deliver(int id, int data = 0, int x = 0, int y = 0) {
    auto event = Emit(id, data, x, y);
    ASSERT_TRUE(RunUntil([&] { return CurrentEvent() == event; }, 500));
  }
  static void Key(int k) {
    Deliver(EVENT_KEYDOWN, k);
    Deliver(EVENT_KEYUP, k);
  }
  static void MoveTo(int x, int y) { Deliver(EVENT_MOUSEMOVE, 0, x, y); }
  static void Click(int button = 1) {
    Deliver(EVENT_MOUSEDOWN, button, MouseX(), MouseY());
    Deliver(EVENT_MOUSEUP, button, MouseX(), MouseY());
  }
  static bool OnTable() { return game.screen == "jigsaw"; }
  // The title frame and the whole opening flight.
  static void FinishOpeningFlight() { ASSERT_TRUE(RunUntil(OnTable)); }

  temp_working_folder dir_;
};

}  // namespace shell_test
