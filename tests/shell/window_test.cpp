// The game in a window of any size: real X clicks at real window pixels reach a laid-out
// page, a confirmation over the table and a piece on the filled table through the same scale
// the window shows them at; the window's size comes back at the next start.
#include <algorithm>
#include <cmath>

#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

class AnyWindow : public Game {
 protected:
  void WriteFiles() override { WritePng("images/reload.png", 300, 150, MakeARGB(255, 90, 90, 200)); }
  // Resizes the game's window with real X requests and turns until the table fills it.
  void ResizeTo(int width, int height) {
    id_ = CommandOutput("xdotool search --name '^" + shell.app_title + "$' | head -n1");
    id_.erase(std::remove(id_.begin(), id_.end(), '\n'), id_.end());
    ASSERT_FALSE(id_.empty());
    CommandOutput("xdotool windowmove " + id_ + " 0 0 windowsize " + id_ + " " + std::to_string(width) + " " +
                  std::to_string(height));
    ASSERT_TRUE(RunUntil([&] { return GraphicsWidth() == width && GraphicsHeight() == height; }));
    CommandOutput("xdotool mousemove --window " + id_ + " 5 5");
    RunUntil([] { return MouseX() == 5 && MouseY() == 5; }, 200);
  }
  // A real click at window pixel (x, y); turns until the loop has taken the release, and once
  // more for the frame that handles the click.
  void ClickWindow(int x, int y) {
    const auto before = CurrentEvent();
    CommandOutput("xdotool mousemove --window " + id_ + " " + std::to_string(x) + " " + std::to_string(y) +
                  " click 1");
    RunUntil([&] { return CurrentEvent() != before && EventID() == EVENT_MOUSEUP; });
    Turn();
  }
  // Clicks the window pixel that shows laid-out point (x, y): the middle of its scaled pixel.
  void ClickLaidOut(int x, int y) {
    int w = 0, h = 0;
    GraphicsPixelSize(w, h);
    const picture_fit fit = FitPicture(800, 600, w, h);
    ClickWindow(fit.x + (2 * x + 1) * fit.w / 1600, fit.y + (2 * y + 1) * fit.h / 1200);
  }
  std::string id_;
};

TEST_F(AnyWindow, ClicksReachWhatTheWindowShowsThere) {
  FinishOpeningFlight();
  for (auto [width, height] : {std::pair{1280, 720}, {1000, 900}, {800, 600}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    ResizeTo(width, height);
    EXPECT_TRUE(WindowFill());

    // A confirmation over the table is laid out: its Yes area, scaled, restarts the (complete)
    // jigsaw.
    Key('R');
    Turn();
    EXPECT_FALSE(WindowFill());
    EXPECT_EQ(GraphicsWidth(), 800);
    play.pieces[1].gp = 1;
    ClickLaidOut(250 + 154, 225 + 68);  // the corner of the Yes area, the 300 x 150 picture centred
    EXPECT_EQ(shell.pending_confirm, "");
    EXPECT_EQ(play.pieces[1].gp, 0) << "Yes restarted the jigsaw";

    // A piece at the window's right edge (on the table there, or beside it), found where it is drawn.
    double tx, ty;
    ScreenToTable(width - 25, height / 2, tx, ty);
    play.pieces[1].x = static_cast<int>(std::lround(tx));
    play.pieces[1].y = static_cast<int>(std::lround(ty));
    RaiseToTop(1);
    Turn();
    auto picture = GrabPixmap(0, 0, width, height);
    int left = width, right = -1, top = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const uint32_t p = ReadPixel(picture, x, y);
        if (ARGBRed(p) == 60 && ARGBGreen(p) == 185 && ARGBBlue(p) == 120) {
          if (right < 0) top = y;
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    ASSERT_GE(right, 0) << "piece 1 is not drawn";
    EXPECT_EQ(right, width - 6) << "a 40-pixel piece whose centre lies 25 pixels from the edge";
    ClickWindow((left + right) / 2, top + 5);
    EXPECT_EQ(play.dragged, 1);
    ClickWindow((left + right) / 2, top + 5);  // put it down
    EXPECT_EQ(play.dragged, 0);

    // The library page: its first thumbnail starts that jigsaw.
    Key('N');
    Turn();
    ASSERT_EQ(game.screen, "new1");
    ClickLaidOut(56, 102);
    EXPECT_NE(game.screen, "new1");
    FinishOpeningFlight();
  }
}

// The table keeps its point in the window's middle through a resize, and a carried piece stays
// where the pointer holds it.
TEST_F(AnyWindow, AResizeWhileCarryingKeepsThePieceUnderThePointer) {
  FinishOpeningFlight();
  ResizeTo(1000, 800);
  double tx, ty;
  ScreenToTable(500, 400, tx, ty);
  play.pieces[1].x = static_cast<int>(std::lround(tx));
  play.pieces[1].y = static_cast<int>(std::lround(ty));
  for (int i = 1; i <= play.piece_count; ++i) play.pieces[i].gp = 0;  // a finished jigsaw is not picked up
  RaiseToTop(1);
  ClickWindow(503, 402);
  ASSERT_EQ(play.dragged, 1);
  const int grab_x = MouseX() - 500, grab_y = MouseY() - 400;  // where the piece was taken
  CommandOutput("xdotool windowsize " + id_ + " 1280 720");
  ASSERT_TRUE(RunUntil([] { return GraphicsWidth() == 1280 && GraphicsHeight() == 720; }));
  for (int i = 0; i < 3; ++i) Turn();
  double sx, sy;
  TableToScreen(play.pieces[1].x, play.pieces[1].y, sx, sy);
  EXPECT_NEAR(sx, MouseX() - grab_x, 1);
  EXPECT_NEAR(sy, MouseY() - grab_y, 1);
  EXPECT_EQ(play.dragged, 1);
}

// A window of exactly the game's size shows the very same pixels whichever way the frame
// reaches it.
TEST_F(AnyWindow, AWindowOfTheGamesSizeDrawsTheSameFilledOrLaidOut) {
  FinishOpeningFlight();
  std::vector<std::vector<uint8_t>> pictures;
  for (bool fill : {false, true}) {
    SetWindowFill(fill);
    ASSERT_EQ(GraphicsWidth(), 800);
    DrawTable();
    DrawBanner("a banner", 0, 0.5);
    auto picture = GrabPixmap(0, 0, 800, 600);
    pictures.emplace_back(picture->pixels, picture->pixels + picture->pitch * picture->height);
    Flip(1);
  }
  EXPECT_TRUE(pictures[0] == pictures[1]);
}

}  // namespace
