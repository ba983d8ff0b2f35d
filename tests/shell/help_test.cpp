// The help screen in the real frame loop: opening and closing it, the pages over their screens,
// clicks on letters and beside them, the opening zoom and the click that no screen took.
#include "shell/internal.h"
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

constexpr int kPageWidth = 644, kPageHeight = 510;  // page 0
constexpr int kPageHeights[5] = {kPageHeight, 338, 166, 166, 224};

// Plain pages of the real pages' sizes: only their geometry matters here.
void WriteHelpPages() {
  for (int k = 0; k < 5; ++k)
    WritePng("images/help" + std::to_string(k) + ".png", kPageWidth, kPageHeights[k], MakeARGB(255, 30, 40, 90));
}

// Centre of the row of a letter on a page of the 800 x 600 display.
std::pair<int, int> RowOf(int page, const std::string& letters, int first_column, int offset, char letter) {
  int i = static_cast<int>(letters.find(letter));
  int left = (800 - kPageWidth) / 2, top = (600 - kPageHeights[page]) / 2;
  bool first = i < first_column;
  return {left + (first ? 15 : 327) + 150, top + offset + 29 * (first ? i : i - first_column) + 14};
}
std::pair<int, int> RowOfTableLetter(char letter) { return RowOf(0, "ABCDEFGHIJKLMNO=PQRSTUVWZ12345-", 16, 12, letter); }
std::pair<int, int> RowOfBoxLetter(char letter) { return RowOf(1, "BDFHIKLMNPQSZ012345-", 10, 14, letter); }
std::pair<int, int> RowOfLoadLetter(char letter) { return RowOf(2, "DFHKNQS-", 4, 16, letter); }
std::pair<int, int> RowOfNewLetter(char letter) { return RowOf(3, "DFHKLQS-", 4, 16, letter); }
std::pair<int, int> RowOfDeleteLetter(char letter) { return RowOf(4, "ADFHKLNQSU-", 6, 16, letter); }

class Help : public Game {
 protected:
  void WriteFiles() override { WriteHelpPages(); }
  // Help opened with H over the table.
  void OpenOverTable() {
    FinishOpeningFlight();
    Key('H');
    ASSERT_EQ(game.screen, "help");
    ASSERT_EQ(game.previous_screen, "jigsaw");
  }
  // The 4 x 4 jigsaw "inner" scattered, its four inner pieces laid out in the box view, and
  // help opened over the view.
  void OpenOverBoxView() {
    WriteJigsaw("inner", 4, 4);
    ASSERT_TRUE(LoadJigsawFolder("inner"));
    ScatterPieces();
    Key('B');
    Key('H');
    ASSERT_EQ(game.previous_screen, "box");
    Turn();
    ASSERT_EQ(box.box_table_count, 4);
  }
  static void ClickLetter(char letter) { ClickAt(RowOfTableLetter(letter)); }
  static void ClickAt(std::pair<int, int> at) {
    MoveTo(at.first, at.second);
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
    EXPECT_EQ(game.screen, "help");
    EXPECT_EQ(game.previous_screen, "jigsaw");
    Turn();
    EXPECT_NE(shell.images.help_pages[0], nullptr);  // loaded on first use
    Key(key);
    EXPECT_EQ(game.screen, "jigsaw");
  }
  EXPECT_EQ(shell.help_pointer_x, 123);
  EXPECT_EQ(shell.help_pointer_y, 45);
}

TEST_F(Help, HOnThePreferencesDoesNothingButF1OpensAnEmptyHelp) {
  FinishOpeningFlight();
  Key('I');
  ASSERT_EQ(game.screen, "prefer");
  Key('H');
  EXPECT_EQ(game.screen, "prefer");
  Key(KEY_F1);
  EXPECT_EQ(game.screen, "help");
  EXPECT_EQ(game.previous_screen, "prefer");
  MoveTo(RowOfTableLetter('A').first, RowOfTableLetter('A').second);
  Click();  // no letter works there; the click only closes help
  EXPECT_EQ(game.screen, "prefer");
  EXPECT_EQ(play.pieces[1].visible, 1);
}

TEST_F(Help, LettersRunTheirCommandsAndOnlyScreenLettersLeaveHelp) {
  OpenOverTable();
  play.dragged = 3;
  ClickLetter('C');  // the swatch toggles, and help stays open over it
  EXPECT_EQ(play.swatch_shown, 1);
  EXPECT_EQ(game.screen, "help");
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
  EXPECT_EQ(game.screen, "help");

  const struct {
    char letter;
    const char* screen;
  } kScreens[] = {{'H', "jigsaw"}, {'I', "prefer"}, {'U', "unrotate"}, {'J', "jigsaw"}};
  for (const auto& c : kScreens) {
    SCOPED_TRACE(c.letter);
    game.screen = "help";
    game.previous_screen = "jigsaw";
    ClickLetter(c.letter);
    EXPECT_EQ(game.screen, c.screen);
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
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(play.dragged, 0);
  Key('H');
  // The opening jigsaw lies inside the page: one piece moves out of it.
  play.pieces[1].x = 30, play.pieces[1].y = 30, play.pieces[1].gp = 0;
  MoveTo(30, 30);
  Click();
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(play.dragged, 1);
}

TEST_F(Help, AClickNoScreenTookOpensHelpWhenThePreferenceSaysSo) {
  FinishOpeningFlight();
  game.prefs.pref_show_help = 1;
  MoveTo(790, 10);  // no piece there
  Click();
  EXPECT_EQ(game.screen, "help");
  EXPECT_EQ(game.previous_screen, "jigsaw");
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

TEST_F(Help, OverTheBoxViewBeforeTheTableAClickBesideTheLettersReachesTheView) {
  FinishOpeningFlight();
  OpenOverBoxView();
  EXPECT_NE(shell.images.help_pages[1], nullptr);
  EXPECT_EQ(shell.images.help_pages[0], nullptr);
  // The last row piece lies inside where page 0 would be, above page 1's rows: with page 0 never
  // shown it counts as 0 x 0, so the click closes help and reaches the piece.
  const pce_type last = box.box_table[4];
  MoveTo(last.x, last.y);
  Click();
  EXPECT_EQ(game.screen, "box");
  EXPECT_EQ(box.box_count[box.current_box], 1);
  EXPECT_EQ(box.box_slot[box.current_box][1].n, last.n);
}

TEST_F(Help, BoxPageLetters) {
  FinishOpeningFlight();
  OpenOverBoxView();
  ClickAt(RowOfBoxLetter('3'));
  EXPECT_EQ(box.current_box, 3);
  EXPECT_EQ(game.screen, "box");
  Key('H');
  ClickAt(RowOfBoxLetter('Z'));
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(play.pieces[1].visible, 0);
  Key('B');
  Key('H');
  play.box_shown[3] = 0;
  ClickAt(RowOfBoxLetter('-'));  // back to the table with the current box shown
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(play.box_shown[3], 1);
}

TEST_F(Help, SOnTheTablePageSavesAndClosesHelp) {
  OpenOverTable();
  ClickLetter('S');
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_TRUE(fs::exists("players/default/0000vorna.txt"));
  EXPECT_EQ(game.status_message, "jigsaw saved");
}

TEST_F(Help, BrowserPageLettersMoveBetweenThePagesAndMark) {
  WriteJigsaw("1000spare", 2, 2);
  FinishOpeningFlight();
  Key('S');  // something to show on the saved page
  Key('N');
  Key('H');
  ASSERT_EQ(game.previous_screen, "new1");
  ClickAt(RowOfNewLetter('L'));
  EXPECT_EQ(game.screen, "load1");
  Key('H');
  ClickAt(RowOfLoadLetter('K'));
  EXPECT_EQ(game.screen, "delete1");
  Key('H');
  ClickAt(RowOfDeleteLetter('A'));  // marks the page and leaves help open over it
  EXPECT_EQ(game.screen, "help");
  EXPECT_EQ(CountMarked(), 1);
  ClickAt(RowOfDeleteLetter('U'));
  EXPECT_EQ(CountMarked(), 0);
  ClickAt(RowOfDeleteLetter('A'));
  ClickAt(RowOfDeleteLetter('K'));  // kills what is marked
  EXPECT_FALSE(fs::exists("jigsaws/1000spare"));
  game.screen = "help";
  game.previous_screen = "load1";
  ClickAt(RowOfLoadLetter('-'));
  EXPECT_EQ(game.screen, "jigsaw");
}

TEST_F(Help, KeyKDoesWhatTheKRowDoesOnEveryBrowserPage) {
  WriteJigsaw("1000spare", 2, 2);
  FinishOpeningFlight();
  Key('L');
  Key('H');
  Key('K');  // over the saved page's help: opens the killing page
  EXPECT_EQ(game.screen, "delete1");
  Key('A');
  ASSERT_EQ(CountMarked(), 1);
  Key('H');
  Key('K');  // over the killing page's help: kills what is marked
  EXPECT_FALSE(fs::exists("jigsaws/1000spare"));
  EXPECT_TRUE(fs::exists("jigsaws/0000vorna"));
  EXPECT_EQ(game.screen, "jigsaw");
}

class HelpAtStart : public Help {
  void WriteFiles() override {
    WriteHelpPages();
    WriteWholeFile("players/default/prefer.txt", "1\r\n0\r\n0\r\n");
  }
};

TEST_F(HelpAtStart, OpeningFlightEndsInHelpOverTheTable) {
  ASSERT_TRUE(RunUntil([] { return !shell.opening_flight; }));
  EXPECT_EQ(game.screen, "help");
  EXPECT_EQ(game.previous_screen, "jigsaw");
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
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(play.dragged, 1);  // a 0 x 0 page: the click reached the table
}

}  // namespace
