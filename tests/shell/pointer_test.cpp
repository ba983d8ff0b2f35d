// The pointer picture as the window system's pointer on a real window: it is the picture the
// game loads, shown on the screens and frames that drew it into the frame before, none
// elsewhere (the opening flight, a carried piece on the table, a busy notice); a pointer moving
// over a still table presents nothing, while a carried piece still follows it; and where the
// window system cannot show the picture it is drawn into the frame as before. The X server is
// asked through XFixes what it shows.
#include "tests/platform/shown_pointer.h"
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

constexpr uint32_t kYellow = 0xFFFFFF00;  // the fixture's 8 x 8 pointer picture

class Pointer : public Game {
 protected:
  // The pointer the X server shows over the window: "yellow" for the game's pointer picture
  // (its size, hot spot and every pixel), "none" for an invisible one, else "other".
  static std::string Shown() {
    const shown_pointer shown = ShownPointer();
    if (shown.argb.empty()) return "other";
    if (shown.Invisible()) return "none";
    const bool yellow = shown.width == 8 && shown.height == 8 && shown.hot_x == 0 &&
                        shown.hot_y == 0 && shown.argb == std::vector<uint32_t>(64, kYellow);
    return yellow ? "yellow" : "other";
  }

  // The table with its pieces loose, the real pointer over the window and the loop settled.
  void OnALooseTable() {
    FinishOpeningFlight();
    if (game.screen == "help") Key('H');
    ASSERT_TRUE(OnTable());
    int i = 0;
    for (auto [x, y] : {std::pair{200, 200}, {500, 400}, {600, 100}, {100, 500}}) {
      piece_type& p = play.pieces[++i];
      p.x = x, p.y = y, p.a = 0, p.gp = 0, p.visible = 1;
    }
    play.last_group = 0;
    MoveMouse(300, 300);
    MoveTo(300, 300);
    for (int t = 0; t < 5; ++t) Turn();
  }

  // Frames presented while the pointer moves over the table in `moves` steps, a turn each.
  static int PresentedWhileMoving(int moves) {
    const int before = FrameCounts().presented;
    for (int i = 1; i <= moves; ++i) MoveTo(300 + 7 * i, 300 - 3 * i);
    return FrameCounts().presented - before;
  }
};

TEST_F(Pointer, ThePointerPictureShowsWhereTheFrameHadItAndNowhereElse) {
  Turn();
  ASSERT_EQ(game.screen, "anim");
  EXPECT_EQ(Shown(), "none") << "the opening flight";
  OnALooseTable();
  EXPECT_EQ(Shown(), "yellow") << "the table";
  MoveTo(505, 395);
  Click();
  ASSERT_EQ(play.dragged, 2);
  EXPECT_EQ(Shown(), "none") << "the carried piece marks the pointer";
  Click();
  ASSERT_EQ(play.dragged, 0);
  EXPECT_EQ(Shown(), "yellow") << "put down";
  Key('B');
  ASSERT_EQ(game.screen, "box");
  EXPECT_EQ(Shown(), "yellow") << "the box view";
  Key(KEY_ESCAPE);
  ASSERT_TRUE(OnTable());
  game.prefs.pref_show_help = 1;
  Key('H');
  ASSERT_EQ(game.screen, "help");
  EXPECT_EQ(Shown(), "yellow") << "help";
  Key('H');
  ShowBusy("a moment");
  EXPECT_EQ(Shown(), "none") << "a notice within a turn";
  Turn();
  EXPECT_EQ(Shown(), "yellow");
}

TEST_F(Pointer, MovingOverAStillTablePresentsNothingAndACarriedPieceFollows) {
  OnALooseTable();
  EXPECT_EQ(PresentedWhileMoving(40), 0);
  EXPECT_EQ(Shown(), "yellow");
  MoveTo(505, 395);
  Click();
  ASSERT_EQ(play.dragged, 2);
  // The piece follows the pointer sampled in the turn before: a turn late.
  EXPECT_GE(PresentedWhileMoving(20), 19) << "carrying redraws at each move";
  Turn();
  EXPECT_EQ(play.pieces[2].x, MouseX() - play.drag_dx);
  EXPECT_EQ(play.pieces[2].y, MouseY() - play.drag_dy);
}

// A hot spot outside the picture is one the window system refuses: the pointer is drawn into
// the frame at the pointer, and every move presents a frame, as where no window system
// pointer can be had.
TEST_F(Pointer, APictureTheWindowSystemRefusesIsDrawnIntoTheFrame) {
  OnALooseTable();
  SetImageHandle(shell.images.pointer, 8, 0);
  EXPECT_EQ(PresentedWhileMoving(10), 10);
  EXPECT_EQ(Shown(), "none");
  Turn();
  auto shot = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
  const int left = MouseX() - 8, top = MouseY();
  for (auto [x, y] : {std::pair{0, 0}, {7, 0}, {0, 7}, {7, 7}})
    EXPECT_EQ(shot->ReadPixel(left + x, top + y), kYellow) << x << ", " << y;
  EXPECT_NE(shot->ReadPixel(left + 8, top), kYellow);
  EXPECT_NE(shot->ReadPixel(left - 1, top), kYellow);
}

}  // namespace
