// What is on screen when turns that repeat their frame skip drawing and presenting, frames
// that share their start with the frames before are drawn over a kept picture, and frames that
// differ from the one on show in a few rectangles are drawn and presented only there: exactly
// what drawing everything every turn shows, over a scripted session on a real window: the opening
// flight, carrying, joining, turning, filters, unrotating, help, the box view, preferences.
#include <cmath>

#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

constexpr int kPieceSize = 60, kCols = 10, kRows = 8;

class Frames : public Game {
 protected:
  // Enough pieces that the table beneath a carried piece is worth keeping.
  void WriteFiles() override { WriteJigsaw("0000vorna", kRows, kCols, kPieceSize, 100, 60); }

  // The picture left on screen: the back buffer holds the last frame presented, because a
  // skipped turn draws nothing and this machine's software GL copies the buffer at each swap.
  static uint64_t Screen() {
    auto shot = GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
    uint64_t hash = 1469598103934665603ull;
    for (int y = 0; y < shot->height; ++y) {
      const auto* row = shot->PixelPtr(0, y);
      for (int i = 0; i < shot->width * 4; ++i) hash = (hash ^ row[i]) * 1099511628211ull;
    }
    return hash;
  }

  struct session_frames {
    std::vector<uint64_t> flight;  // the opening flight's pictures, each once (its steps follow the clock)
    std::vector<uint64_t> turns;   // the picture after every later turn
    frame_counts counts;           // of the turns after the flight
  };

  // Runs the same turns with the same input whatever the clock does after the opening flight.
  static session_frames PlaySession() {
    session_frames frames;
    shell.frame_timer->Stop();  // ticks would arrive at different turns in each run
    while (PollEvent()) {
    }
    SeedRnd(5);
    const int start = Millisecs();
    while (!OnTable() && Millisecs() - start < 20000) {
      Turn();
      const uint64_t shown = Screen();
      if (frames.flight.empty() || frames.flight.back() != shown) frames.flight.push_back(shown);
    }
    auto turn = [&frames](int id = EVENT_APPIDLE, int data = 0, int x = 0, int y = 0) {
      Emit(id, data, x, y);
      LoopTurn();
      frames.turns.push_back(Screen());
    };
    // On the table (x, y) is a table point, wherever the window shows it.
    auto move = [&turn](int x, int y) {
      if (game.screen == "jigsaw") {
        double sx, sy;
        TableToScreen(x, y, sx, sy);
        x = static_cast<int>(std::lround(sx));
        y = static_cast<int>(std::lround(sy));
      }
      turn(EVENT_MOUSEMOVE, 0, x, y);
      turn();  // the carried piece follows the pointer sampled in the turn before
      turn();
    };
    auto click = [&turn](int button) {
      turn(EVENT_MOUSEDOWN, button, MouseX(), MouseY());
      turn(EVENT_MOUSEUP, button, MouseX(), MouseY());
      turn();
    };
    auto key = [&turn](int k) {
      turn(EVENT_KEYDOWN, k);
      turn(EVENT_KEYUP, k);
      turn();
    };
    // Every piece loose and upright in rows, 15 pixels apart.
    for (int i = 1; i <= play.piece_count; ++i) {
      piece_type& p = play.pieces[i];
      p.x = 40 + (i - 1) % kCols * 75, p.y = 40 + (i - 1) / kCols * 70, p.a = 0, p.gp = 0, p.visible = 1;
    }
    play.last_group = 0;
    play.completion_handled = 1;
    const frame_counts after_flight = FrameCounts();
    for (int i = 0; i < 10; ++i) turn();  // idle
    for (int x = 300; x < 400; x += 20) move(x, 500);
    move(115, 40);  // piece 2, the right-hand neighbour of piece 1
    click(1);
    for (int i = 1; i <= 20; ++i) move(115 + 17 * i, 40 + 11 * i);  // across the table
    move(103, 38);  // 3 right and 2 up of its place beside piece 1
    click(1);       // joins
    move(40, 40);
    click(2);  // turns the new group
    for (int k : {'E', 'E', 'Z', 'A', 'C', 'X', 'C', 'U'}) key(k);  // filters, banner, unrotate
    for (int i = 0; i < 10; ++i) turn();
    key('H');  // help over the table
    EXPECT_EQ(game.screen, "help");
    for (int i = 0; i < 5; ++i) turn();
    key('H');
    key('B');  // the box view
    EXPECT_EQ(game.screen, "box");
    move(300, 300);
    for (int i = 0; i < 5; ++i) turn();
    key('J');
    key('I');  // preferences
    EXPECT_EQ(game.screen, "prefer");
    move(400, 200);
    key(KEY_ESCAPE);
    for (int i = 0; i < 5; ++i) turn();
    frames.counts = FrameCounts();
    frames.counts.presented -= after_flight.presented;
    frames.counts.reused -= after_flight.reused;
    frames.counts.partial -= after_flight.partial;
    return frames;
  }

  // The same session drawn everything every turn, then reusing frames: the same pictures.
  static void ExpectTheSamePictures() {
    SetFrameReuse(false);
    const session_frames every = PlaySession();
    ResetGame();
    ASSERT_TRUE(StartUp({}));
    InterceptEnd();
    const session_frames reusing = PlaySession();  // reuse is on again after the reset

    EXPECT_EQ(every.flight, reusing.flight);
    ASSERT_EQ(every.turns.size(), reusing.turns.size());
    for (size_t i = 0; i < every.turns.size(); ++i) ASSERT_EQ(every.turns[i], reusing.turns[i]) << "turn " << i;
    EXPECT_GT(play.pieces[1].gp, 0) << "the session joined two pieces";
    EXPECT_EQ(play.pieces[1].a, 0) << "unrotated";
    // The reusing run drew far less: idle turns presented nothing, carrying drew a kept table
    // or only what changed.
    EXPECT_EQ(every.counts.presented, static_cast<int>(every.turns.size()));
    EXPECT_LT(reusing.counts.presented, every.counts.presented * 2 / 3);
    EXPECT_GT(reusing.counts.reused + reusing.counts.partial, 20);
    EXPECT_EQ(every.counts.reused, 0);
    // Carrying drew (and, in a window, presented) only the rectangles it left and entered; the
    // pointer over the still table, the window system's, changed no frame.
    EXPECT_GT(reusing.counts.partial, 20);
    EXPECT_EQ(every.counts.partial, 0);
  }
};

TEST_F(Frames, SkippingAndKeptPicturesShowWhatDrawingEveryTurnShows) { ExpectTheSamePictures(); }

// Full screen in the desktop's own mode: the picture is drawn off screen and scaled.
class FramesFullScreen : public Frames {
  void WriteFiles() override {
    Frames::WriteFiles();
    WriteWholeFile("players/default/prefer.txt", "0\r\n0\r\n0\r\n0\r\n");
  }
};

TEST_F(FramesFullScreen, ScaledPictureIsTheSameToo) {
  EXPECT_FALSE(game.display.windowed);
  int pixel_width = 0, pixel_height = 0;
  GraphicsPixelSize(pixel_width, pixel_height);
  EXPECT_EQ(pixel_width, 1280);
  ExpectTheSamePictures();
}

}  // namespace
