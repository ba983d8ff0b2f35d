// End-to-end: the real start-up and frame loop on a real window with posted input: the
// opening flight, picking up, carrying, joining, turning, auto-solve, completion, ending.
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

using Loop = Game;

bool AllHome() {
  for (int i = 1; i <= play.piece_count; ++i) {
    const piece_type& p = play.pieces[i];
    if (p.x != p.x0 || p.y != p.y0 || p.a != 0) return false;
  }
  return true;
}

// Pieces loose and upright at fixed places, as if the player had been sorting them.
void LayOut(std::initializer_list<std::pair<int, int>> places) {
  int i = 0;
  for (auto [x, y] : places) {
    piece_type& p = play.pieces[++i];
    p.x = x, p.y = y, p.a = 0, p.gp = 0, p.visible = 1;
  }
  play.last_group = 0;
}

TEST_F(Loop, OpeningFlightEndsOnTheTableWithEveryPieceHome) {
  EXPECT_EQ(game.screen, "title");
  EXPECT_EQ(GraphicsWidth(), 800);
  Turn();
  EXPECT_EQ(game.screen, "anim");
  EXPECT_EQ(play.jigsaw_name, "0000vorna");
  EXPECT_EQ(play.piece_count, 4);
  EXPECT_TRUE(game.hint_visible);
  EXPECT_FALSE(shell.pointer_visible);
  FinishOpeningFlight();
  EXPECT_TRUE(AllHome());
  EXPECT_TRUE(shell.pointer_visible);
  EXPECT_FALSE(shell.opening_flight);
  EXPECT_EQ(IsComplete(), 1);
}

TEST_F(Loop, ClickDuringTheOpeningFlightCutsItShort) {
  game.prefs.pref_show_help = 1;
  Turn();
  Click();
  ASSERT_TRUE(RunUntil(OnTable, 5));
  EXPECT_EQ(play.flight_skipped, 1);
  EXPECT_TRUE(AllHome());
}

TEST_F(Loop, ClickPicksUpCarriesAndJoinsBesideItsNeighbour) {
  FinishOpeningFlight();
  LayOut({{200, 200}, {500, 400}, {600, 100}, {100, 500}});
  MoveTo(505, 395);
  Click();
  ASSERT_EQ(play.dragged, 2);
  EXPECT_EQ(play.drag_dx, 5);
  EXPECT_EQ(play.drag_dy, -5);
  MoveTo(248, 198);  // piece 2 then lies 3 right and 3 up of its place beside piece 1
  Turn();
  EXPECT_EQ(play.pieces[2].x, 243);
  EXPECT_EQ(play.pieces[2].y, 203);
  Click();
  EXPECT_EQ(play.dragged, 0);
  EXPECT_GT(play.pieces[1].gp, 0);
  EXPECT_EQ(play.pieces[1].gp, play.pieces[2].gp);
  EXPECT_EQ(play.pieces[2].x - play.pieces[1].x, 40);
  EXPECT_EQ(play.pieces[2].y - play.pieces[1].y, 0);
  EXPECT_EQ(play.pieces[3].gp, 0);
}

// A fast hand sweeps the pointer over the table before it clicks or presses a key.
void PointerBurst(int x, int y) {
  for (int i = 0; i < 1000; ++i) Emit(EVENT_MOUSEMOVE, 0, (x + i) % 800, (y + 3 * i) % 600);
  Emit(EVENT_MOUSEMOVE, 0, x, y);
}

TEST_F(Loop, AClickAfterAPointerBurstIsTakenAtOnce) {
  FinishOpeningFlight();
  LayOut({{200, 200}, {500, 400}, {600, 100}, {100, 500}});
  // An empty queue first, so that a timer tick waiting from before cannot take a counted turn.
  while (PollEvent() != 0) {
  }
  PointerBurst(505, 395);
  Emit(EVENT_MOUSEDOWN, 1, 505, 395);
  Emit(EVENT_MOUSEUP, 1, 505, 395);
  Turn();  // the burst, as one move
  Turn();  // the click
  EXPECT_TRUE(game.click_pending);
  Turn();  // the table takes it
  EXPECT_EQ(play.dragged, 2);
}

TEST_F(Loop, EscapeTwiceAfterPointerBurstsEnds) {
  FinishOpeningFlight();
  PointerBurst(10, 10);
  Emit(EVENT_KEYDOWN, KEY_ESCAPE);
  Emit(EVENT_KEYUP, KEY_ESCAPE);
  PointerBurst(20, 20);
  Emit(EVENT_KEYDOWN, KEY_ESCAPE);
  EXPECT_THROW(RunUntil([] { return false; }, 8), ProgramEnded);
}

TEST_F(Loop, RightClickAndCtrlClickTurnAGroupAboutTheClickedPiece) {
  FinishOpeningFlight();
  LayOut({{200, 200}, {240, 200}, {600, 100}, {100, 500}});
  play.pieces[1].gp = play.pieces[2].gp = play.last_group = 1;
  MoveTo(200, 200);
  Click(2);
  ASSERT_TRUE(RunUntil([] { return !game.turn_pending; }, 5));
  EXPECT_EQ(play.pieces[1].a, 1);
  EXPECT_EQ(play.pieces[2].a, 1);
  EXPECT_EQ(play.pieces[1].x, 200);
  EXPECT_EQ(play.pieces[2].x, 200);  // (40, 0) turned clockwise is (0, 40)
  EXPECT_EQ(play.pieces[2].y, 240);

  Deliver(EVENT_KEYDOWN, KEY_LCONTROL);
  Click(1);
  ASSERT_TRUE(RunUntil([] { return !game.turn_pending; }, 5));
  EXPECT_EQ(play.pieces[1].a, 2);
  EXPECT_EQ(play.dragged, 0);
  Deliver(EVENT_KEYUP, KEY_LCONTROL);
  EXPECT_FALSE(game.ctrl_down);
}

TEST_F(Loop, ThreeSevensSolveWithoutACelebrationFlight) {
  FinishOpeningFlight();
  LayOut({{200, 200}, {500, 400}, {600, 100}, {100, 500}});
  for (int i = 0; i < 3; ++i) Key('7');
  EXPECT_EQ(game.screen, "anim");
  ASSERT_TRUE(RunUntil(OnTable));
  EXPECT_TRUE(AllHome());
  for (int i = 0; i < 20; ++i) Turn();
  EXPECT_EQ(game.screen, "jigsaw");
}

TEST_F(Loop, CompletionFliesOnceAndNotAgain) {
  FinishOpeningFlight();
  Key('R');
  EXPECT_EQ(shell.pending_confirm, "R");
  Key('Y');  // restart: scattered afresh, completion armed again
  EXPECT_EQ(play.completion_handled, 0);
  EXPECT_EQ(shell.pending_confirm, "");
  PlaceAllHome();
  int flights = 0;
  std::string last = game.screen;
  auto watch = [&] {
    if (game.screen == "anim" && last != "anim") ++flights;
    last = game.screen;
    return flights == 1 && game.screen == "jigsaw";
  };
  ASSERT_TRUE(RunUntil(watch));  // the flight, by the clock
  for (int i = 0; i < 100; ++i) {
    Turn();
    watch();
  }
  EXPECT_EQ(flights, 1);
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_TRUE(AllHome());
}

TEST_F(Loop, EscapeDuringTheOpeningFlightEnds) {
  Turn();
  EXPECT_THROW(Key(KEY_ESCAPE), ProgramEnded);
}

TEST_F(Loop, EscapeTwiceOnTheTableEndsAndAClickElsewhereCancels) {
  FinishOpeningFlight();
  Key(KEY_ESCAPE);
  EXPECT_EQ(shell.pending_confirm, "X");
  MoveTo(5, 5);
  Click();
  EXPECT_EQ(shell.pending_confirm, "");
  EXPECT_EQ(play.dragged, 0);  // the click answered No and picked nothing up
  Key(KEY_ESCAPE);
  EXPECT_THROW(Key(KEY_ESCAPE), ProgramEnded);
}

TEST_F(Loop, CloseRequestEnds) {
  Turn();
  EXPECT_THROW(Deliver(EVENT_APPTERMINATE), ProgramEnded);
}

TEST_F(Loop, StatusBannerGoesWithTheNextKey) {
  FinishOpeningFlight();
  Key(KEY_F1 + 1);  // F2
  EXPECT_EQ(game.status_message, "width:800 height:600 depth:0 freq:60");
  Click();
  EXPECT_EQ(game.status_message, "");
  EXPECT_FALSE(game.hint_visible);
}

class LargeFullScreenPreference : public Game {
  void WriteFiles() override {
    WriteWholeFile("players/default/prefer.txt", "0\r\n1\r\n0\r\n0\r\n");
  }
};

TEST_F(LargeFullScreenPreference, FillsTheDesktopModeAtTheLargeSizeWhenNoModeMatches) {
  EXPECT_EQ(GraphicsWidth(), 1024);
  EXPECT_EQ(GraphicsHeight(), 768);
  EXPECT_NE(GraphicsDepth(), 0);
  EXPECT_TRUE(game.display.display_large);
  EXPECT_FALSE(game.display.windowed);
  EXPECT_EQ(game.prefs.sound_on, 0);
}

class PlayerArgument : public Game {
  void SetUp() override {
    ResetGame();
    WriteMinimalAssets();
    ASSERT_TRUE(StartUp({"zoe", "ignored"}));
  }
};

TEST_F(PlayerArgument, FirstArgumentNamesThePlayerFolder) {
  EXPECT_EQ(library.player_name, "zoe");
  EXPECT_EQ(library.player_folder, "players/zoe/");
  EXPECT_TRUE(fs::is_directory("players/zoe"));
  EXPECT_FALSE(fs::exists("players/ignored"));
}

// A data folder where "players" is a file and the picture that probes pieces is missing: the
// notices wait for the window and then for a key each (sent by a timer, as if the player read
// them); their keys do not reach the opening flight.
class DamagedDataFolder : public Game {
 protected:
  void WriteFiles() override {
    WriteWholeFile("players", "not a folder");
    fs::remove("images/white.bmp");
    seen.clear();
    ASSERT_TRUE(StartPlatform());
    AddHook(EmitEventHook, NoteShownNotice, nullptr, 2);  // before the notice takes its key
    reader_ = CreateTimer(20, TEvent::Create(EVENT_KEYDOWN, nullptr, KEY_ESCAPE));
  }
  // The notice on screen whenever a key arrives.
  static std::shared_ptr<TObject> NoteShownNotice(int, std::shared_ptr<TObject> data, std::shared_ptr<TObject>) {
    auto event = std::dynamic_pointer_cast<TEvent>(data);
    if (event && event->id == EVENT_KEYDOWN && !game.startup_notices.empty() &&
        (seen.empty() || seen.back() != game.startup_notices.front()))
      seen.push_back(game.startup_notices.front());
    return data;
  }
  static inline std::vector<std::string> seen;
  std::shared_ptr<TTimer> reader_;
};

TEST_F(DamagedDataFolder, NoticesBeforeTheWindowAndMissingPicturesAreShownInIt) {
  reader_->Stop();
  EXPECT_EQ(seen, (std::vector<std::string>{"Unable to access players", "Unable to access players/default",
                                           "can't find images/white.bmp"}));
  EXPECT_TRUE(game.startup_notices.empty());
  Turn();
  Turn();
  EXPECT_EQ(game.screen, "anim") << "the Escape that dismissed a notice must not end the opening flight";
}

}  // namespace
