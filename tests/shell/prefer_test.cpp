// The "prefer" screen in the real frame loop: key I, the yes/no rows on working copies, OK
// writing "prefer.txt", Cancel and Escape dropping the copies.
#include "shell/internal.h"
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

constexpr int kPageWidth = 560, kPageHeight = 500;
constexpr int kLeft = (800 - kPageWidth) / 2, kTop = (600 - kPageHeight) / 2;

class Prefer : public Game {
 protected:
  void WriteFiles() override {
    WritePng("images/prefer.png", kPageWidth, kPageHeight, MakeARGB(255, 220, 220, 200));
    for (const char* name : {"yes", "no", "yes_grey", "no_grey"})
      WritePng(std::string("images/") + name + ".png", 58, 40, MakeARGB(255, 0, 160, 0));
  }
  void Open() {
    FinishOpeningFlight();
    Key('I');
    ASSERT_EQ(game.screen, "prefer");
    Turn();
  }
  static void ClickAt(int x, int y) {
    MoveTo(x, y);
    Click();
  }
  // Row r's Yes (or No) button.
  static void Answer(int r, bool yes) { ClickAt(kLeft + (yes ? 400 : 462) + 20, kTop + 44 + 56 * r + 20); }
  static void Ok() { ClickAt(kLeft + 230, kTop + 460); }
  static void Cancel() { ClickAt(kLeft + 300, kTop + 460); }
};

TEST_F(Prefer, RowsChangeWorkingCopiesThatOkSavesAndTheFileHoldsThem) {
  Open();
  EXPECT_EQ(game.prefs.prefer_working[1], 0);
  Answer(0, true);   // help at start
  Answer(2, false);  // sound
  Answer(4, false);  // hint
  EXPECT_EQ(game.prefs.pref_show_help, 0);  // copies only, until OK
  EXPECT_EQ(game.prefs.prefer_working[1], 1);
  EXPECT_EQ(game.prefs.prefer_working[3], 0);
  Ok();
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(game.prefs.pref_show_help, 1);
  EXPECT_EQ(game.prefs.sound_on, 0);
  EXPECT_EQ(game.prefs.pref_hint, 0);
  EXPECT_EQ(ReadWholeFile("players/default/prefer.txt"), "1\r\n0\r\n0\r\n1\r\n0\r\n1\r\n0\r\n");
}

TEST_F(Prefer, CancelAndEscapeDropTheCopiesButRowsSixAndSevenActAtOnce) {
  Open();
  Answer(0, true);
  Answer(5, false);  // save message, live
  Cancel();
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(game.prefs.prefer_working[1], -1);
  EXPECT_EQ(game.prefs.pref_show_help, 0);
  EXPECT_EQ(game.prefs.pref_save_message, 0);
  EXPECT_FALSE(fs::exists("players/default/prefer.txt"));

  Key('I');
  Turn();
  Answer(1, true);
  Key(KEY_ESCAPE);
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(shell.pending_confirm, "");
  EXPECT_EQ(game.prefs.pref_large, 0);
  EXPECT_EQ(game.prefs.prefer_working[1], -1);
}

TEST_F(Prefer, KeptColourOnSavesTheTableColour) {
  Open();
  play.table_colour = {12, 34, 56};
  Answer(6, true);
  Ok();
  EXPECT_EQ(ReadWholeFile("players/default/prefer.txt"), "0\r\n0\r\n1\r\n1\r\n1\r\n1\r\n1\r\n12\r\n34\r\n56\r\n");
  EXPECT_EQ(game.prefs.kept_colour.b, 56);
}

TEST_F(Prefer, TheLitPictureShowsTheChoice) {
  // yes and no_grey look alike here; yes_grey and no differ from both.
  WritePng("images/yes_grey.png", 58, 40, MakeARGB(255, 90, 90, 90));
  WritePng("images/no.png", 58, 40, MakeARGB(255, 200, 0, 0));
  Open();
  RunScreenHandler();  // draw without flipping, to read the back buffer
  auto pixel = [](int x, int y) { return ReadPixel(GrabPixmap(x, y, 1, 1), 0, 0) & 0xFFFFFF; };
  // Row 0 (help at start, 0): grey yes, red no. Row 2 (sound, 1): green yes, green no_grey.
  EXPECT_EQ(pixel(kLeft + 410, kTop + 54), 0x5A5A5Au);
  EXPECT_EQ(pixel(kLeft + 472, kTop + 54), 0xC80000u);
  EXPECT_EQ(pixel(kLeft + 410, kTop + 54 + 112), 0x00A000u);
}

}  // namespace
