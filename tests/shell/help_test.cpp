// The help screen in the real frame loop: opening and closing it, the pages over their screens,
// clicks on letters and beside them, the opening zoom and the click that no screen took.
#include "shell/internal.h"
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

constexpr int kPageWidth = 644, kPageHeight = 510;

// Plain pages of the real pages' size: only their geometry matters here.
void WriteHelpPages() {
  for (int k = 0; k < 5; ++k)
    WritePng("images/help" + std::to_string(k) + ".png", kPageWidth, kPageHeight, MakeARGB(255, 30, 40, 90));
}

// Centre of the row of page 0's letter on the 800 x 600 display.
std::pair<int, int> RowOfTableLetter(char letter) {
  const std::string letters = "ABCDEFGHIJKLMNO=PQRSTUVWZ12345-";
  int i = static_cast<int>(letters.find(letter));
  int left = (800 - kPageWidth) / 2, top = (600 - kPageHeight) / 2;
  bool first = i < 16;
  return {left + (first ? 15 : 327) + 150, top + 12 + 29 * (first ? i : i - 16) + 14};
}

class Help : public Game {
 protected:
  void WriteFiles() override { WriteHelpPages(); }
  // Help opened with H over the table.
  void OpenOverTable() {
    FinishOpeningFlight();
    Key('H');
    ASSERT_EQ(shell.screen, "help");
    ASSERT_EQ(shell.previous_screen, "jigsaw");
  }
  static void ClickLetter(char letter) {
    auto [x, y] = RowOfTableLetter(letter);
    MoveTo(x, y);
    Click();
    Turn();  // the help frame takes the click in the turn after the press
  }
};

TEST_F(Help, HAndF1OpenAndCloseHelpOverTheTable) {
  FinishOpeningFlight();
  MoveTo(123, 45);
  Turn();
  for (int key : {int('H'), KEY_F1}) {
    SCOPED_TRACE(key);
    Key(key);
    EXPECT_EQ(shell.screen, "help");
    EXPECT_EQ(shell.previous_screen, "jigsaw");
    Turn();
    EXPECT_NE(shell.images.help_pages[0], nullptr);  // loaded on first use
    Key(key);
    EXPECT_EQ(shell.screen, "jigsaw");
  }
  EXPECT_EQ(shell.help_pointer_x, 123);
  EXPECT_EQ(shell.help_pointer_y, 45);
}

TEST_F(Help, HOnThePreferencesDoesNothingButF1OpensAnEmptyHelp) {
  FinishOpeningFlight();
  Key('I');
  ASSERT_EQ(shell.screen, "prefer");
  Key('H');
  EXPECT_EQ(shell.screen, "prefer");
  Key(KEY_F1);
  EXPECT_EQ(shell.screen, "help");
  EXPECT_EQ(shell.previous_screen, "prefer");
  MoveTo(RowOfTableLetter('A').first, RowOfTableLetter('A').second);
  Click();  // no letter works there; the click only closes help
  EXPECT_EQ(shell.screen, "prefer");
  EXPECT_EQ(play.pieces[1].visible, 1);
}

TEST_F(Help, LettersRunTheirCommandsAndOnlyScreenLettersLeaveHelp) {
  OpenOverTable();
  play.dragged = 3;
  ClickLetter('C');  // the swatch toggles, and help stays open over it
  EXPECT_EQ(play.swatch_shown, 1);
  EXPECT_EQ(shell.screen, "help");
  ClickLetter('-');  // the exit question; the carried piece stays
  EXPECT_EQ(shell.pending_confirm, "X");
  EXPECT_EQ(play.dragged, 3);
  MoveTo(5, 5);
  Click();  // answers No
  EXPECT_EQ(shell.pending_confirm, "");
  ClickLetter('D');
  EXPECT_EQ(shell.pending_confirm, "D");
  EXPECT_EQ(play.dragged, 0);
  Key('N');
  int box_one = play.box_shown[1];
  ClickLetter('1');
  EXPECT_EQ(play.box_shown[1], !box_one);
  ClickLetter('Z');
  EXPECT_EQ(play.pieces[1].visible, 0);
  ClickLetter('A');
  EXPECT_EQ(play.pieces[1].visible, 1);
  EXPECT_EQ(shell.screen, "help");

  const struct {
    char letter;
    const char* screen;
  } kScreens[] = {{'H', "jigsaw"}, {'I', "prefer"}, {'U', "unrotate"}, {'J', "jigsaw"}};
  for (const auto& c : kScreens) {
    SCOPED_TRACE(c.letter);
    shell.screen = "help";
    shell.previous_screen = "jigsaw";
    ClickLetter(c.letter);
    EXPECT_EQ(shell.screen, c.screen);
  }
}

TEST_F(Help, TheRowUnderThePointerIsFramedInGreen) {
  OpenOverTable();
  auto [x, y] = RowOfTableLetter('B');
  MoveTo(x, y);
  Turn();
  RunScreenHandler();  // draw without flipping, to read the back buffer
  int row_x = (800 - kPageWidth) / 2 + 15, row_y = (600 - kPageHeight) / 2 + 12 + 29;
  uint32_t frame = ReadPixel(GrabPixmap(row_x - 4, row_y - 4, 1, 1), 0, 0);
  EXPECT_EQ(frame & 0xFFFFFF, 0x00FF00u);
  uint32_t page = ReadPixel(GrabPixmap(row_x + 20, row_y + 20, 1, 1), 0, 0);
  EXPECT_EQ(page & 0xFFFFFF, 0x1E285Au);
}

TEST_F(Help, AClickBesideTheLettersClosesHelpAndOutsideThePageReachesTheTable) {
  OpenOverTable();
  MoveTo(400, 540);  // inside the page, below every row
  Click();
  EXPECT_EQ(shell.screen, "jigsaw");
  EXPECT_EQ(play.dragged, 0);
  Key('H');
  // The opening jigsaw lies inside the page: one piece moves out of it.
  play.pieces[1].x = 30, play.pieces[1].y = 30, play.pieces[1].gp = 0;
  MoveTo(30, 30);
  Click();
  EXPECT_EQ(shell.screen, "jigsaw");
  EXPECT_EQ(play.dragged, 1);
}

TEST_F(Help, AClickNoScreenTookOpensHelpWhenThePreferenceSaysSo) {
  FinishOpeningFlight();
  shell.prefs.pref_show_help = 1;
  MoveTo(790, 10);  // no piece there
  Click();
  EXPECT_EQ(shell.screen, "help");
  EXPECT_EQ(shell.previous_screen, "jigsaw");
  EXPECT_EQ(shell.help_pointer_x, 790);
}

TEST_F(Help, ZoomEndsOnEscapeAndStopsAtAClickThatStaysQueued) {
  FinishOpeningFlight();
  auto click = Emit(EVENT_MOUSEDOWN, 1, 400, 300);
  HelpZoom();
  bool queued = false;
  while (PollEvent() != 0) queued = queued || CurrentEvent() == click;
  EXPECT_TRUE(queued);
  float sx = 0, sy = 0;
  GetScale(sx, sy);
  EXPECT_EQ(sx, 1);
  Emit(EVENT_KEYDOWN, KEY_ESCAPE);
  EXPECT_THROW(HelpZoom(), ProgramEnded);
}

class HelpAtStart : public Help {
  void WriteFiles() override {
    WriteHelpPages();
    WriteWholeFile("players/default/prefer.txt", "1\r\n0\r\n0\r\n");
  }
};

TEST_F(HelpAtStart, OpeningFlightEndsInHelpOverTheTable) {
  ASSERT_TRUE(RunUntil([] { return !shell.opening_flight; }));
  EXPECT_EQ(shell.screen, "help");
  EXPECT_EQ(shell.previous_screen, "jigsaw");
  EXPECT_TRUE(shell.pointer_visible);
  // The zoom loaded its own picture; the help slot fills on the first help frame.
  Turn();
  EXPECT_NE(shell.images.help_pages[0], nullptr);
}

class HelpWithoutPages : public Game {};

TEST_F(HelpWithoutPages, MissingPagesShowTheTableAndEveryClickClosesHelp) {
  FinishOpeningFlight();
  Key('H');
  Turn();
  EXPECT_EQ(shell.images.help_pages[0], nullptr);
  play.pieces[1].x = 30, play.pieces[1].y = 30, play.pieces[1].gp = 0;
  MoveTo(30, 30);
  Click();
  EXPECT_EQ(shell.screen, "jigsaw");
  EXPECT_EQ(play.dragged, 1);  // a 0 x 0 page: the click reached the table
}

}  // namespace
