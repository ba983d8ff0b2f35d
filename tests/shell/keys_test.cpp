// The key table, the Escape rules and ClearStalePending, driven key by key without a display.
#include <gtest/gtest.h>

#include "tests/shell/fixture.h"

using namespace shell_test;

namespace {

class Keys : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGame();
    InterceptEnd();
    game.screen = "jigsaw";
  }
  void TearDown() override { ResetGame(); }

  // Presses the keys in turn; true when one of them ended the program.
  static bool Press(const std::vector<int>& keys) {
    try {
      for (int k : keys) HandleKey(k);
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }
};

struct key_case {
  const char* what;
  const char* screen;
  const char* previous;
  bool opening_flight;
  std::vector<int> keys;
  const char* want_screen;
  const char* want_pending;
  bool want_end;
};

constexpr int D = 'D', Q = 'Q', R = 'R', N = 'N', Y = 'Y', H = 'H', A = 'A', Esc = KEY_ESCAPE;

const key_case kKeyCases[] = {
    {"D then D withdraws", "jigsaw", "", false, {D, D}, "jigsaw", "", false},
    {"D then Q replaces", "jigsaw", "", false, {D, Q}, "jigsaw", "Q", false},
    {"D then A cancels", "jigsaw", "", false, {D, A}, "jigsaw", "", false},
    {"Q then N answers No on the table", "jigsaw", "", false, {Q, N}, "jigsaw", "", false},
    {"R asks on the table", "jigsaw", "", false, {R}, "jigsaw", "R", false},
    {"R outside the table context", "box", "", false, {R}, "box", "", false},
    {"= only in the table context", "jigsaw", "", false, {KEY_EQUALS}, "jigsaw", "=", false},
    {"= over the delete pages", "delete1", "", false, {KEY_EQUALS}, "delete1", "", false},
    {"R over help over the table", "help", "jigsaw", false, {R}, "help", "R", false},
    {"Escape Escape ends", "jigsaw", "", false, {Esc, Esc}, "jigsaw", "X", true},
    {"Escape then Y cancels", "jigsaw", "", false, {Esc, Y}, "jigsaw", "", false},
    {"Escape then D swaps the question", "jigsaw", "", false, {Esc, D}, "jigsaw", "D", false},
    {"Escape in the opening flight ends", "anim", "", true, {Esc}, "anim", "", true},
    {"Escape in a later flight asks", "anim", "", false, {Esc}, "anim", "X", false},
    {"Escape in unrotate asks", "unrotate", "", false, {Esc}, "unrotate", "X", false},
    {"Escape on the title asks", "title", "", false, {Esc}, "title", "X", false},
    {"Escape from a page screen", "load1", "", false, {Esc}, "jigsaw", "X", false},
    {"Escape from the box view", "box", "", false, {Esc}, "jigsaw", "X", false},
    {"Escape from help over the table", "help", "jigsaw", false, {Esc}, "help", "X", false},
    {"Escape from help over the box view", "help", "box", false, {Esc}, "jigsaw", "", false},
    {"Escape from the preferences", "prefer", "", false, {Esc}, "jigsaw", "", false},
    {"D during the opening flight", "anim", "", true, {D}, "anim", "D", false},
    {"A during the opening flight", "anim", "", true, {A}, "anim", "", false},
    {"H on the preferences", "prefer", "", false, {H}, "prefer", "", false},
    {"H on unrotate", "unrotate", "", false, {H}, "unrotate", "", false},
    {"H during a flight", "anim", "", false, {H}, "anim", "", false},
    {"unlisted key cancels", "jigsaw", "", false, {Q, 200}, "jigsaw", "", false},
};

TEST_F(Keys, TableOfKeySequences) {
  for (const key_case& c : kKeyCases) {
    SCOPED_TRACE(c.what);
    ResetGameState();
    ResetShellState();
    game.screen = c.screen;
    game.previous_screen = c.previous;
    shell.opening_flight = c.opening_flight;
    EXPECT_EQ(Press(c.keys), c.want_end);
    EXPECT_EQ(game.screen, c.want_screen);
    EXPECT_EQ(shell.pending_confirm, c.want_pending);
  }
}

TEST_F(Keys, ConfirmationLetsTheCarriedPieceGoAndCancellingKeyStillActs) {
  play.piece_count = 1;
  play.pieces[1].visible = 0;
  play.dragged = 1;
  Press({D});
  EXPECT_EQ(play.dragged, 0);
  Press({A});
  EXPECT_EQ(shell.pending_confirm, "");
  EXPECT_EQ(play.pieces[1].visible, 1);
}

TEST_F(Keys, EscapeOnPreferencesDropsTheWorkingCopies) {
  game.screen = "prefer";
  game.prefs.prefer_working = {0, 1, 1, 0, 1, 1};
  Press({Esc});
  EXPECT_EQ(game.prefs.prefer_working[1], -1);
}

TEST_F(Keys, DigitsToggleBoxVisibilityOnTheTableOnly) {
  Press({'1'});
  EXPECT_EQ(play.box_shown[1], 1);
  Press({'1'});
  EXPECT_EQ(play.box_shown[1], 0);
  game.screen = "anim";
  Press({'1'});
  EXPECT_EQ(play.box_shown[1], 0);
}

TEST_F(Keys, TabHidesAndShowsTheOverviewOnTheTableOnly) {
  Press({KEY_TAB});
  EXPECT_EQ(play.overview_shown, 0);
  Press({KEY_TAB});
  EXPECT_EQ(play.overview_shown, 1);
  game.screen = "box";
  Press({KEY_TAB});
  EXPECT_EQ(play.overview_shown, 1);
}

// The view's keys on a table bigger than the picture: each zooms or moves the view, and = alone
// keeps asking to fetch the last save.
TEST_F(Keys, ViewKeysZoomAndPanTheTableAndEqualsAloneKeepsItsMeaning) {
  play.table_width = 3200;
  play.table_height = 2400;
  struct view_key_case {
    std::vector<int> keys;
    int zoom;  // -1 out, 0 unchanged, 1 in
    bool moved;
  };
  const view_key_case cases[] = {
      {{KEY_PAGEUP}, 1, false},
      {{KEY_NUMADD}, 1, false},
      {{KEY_LCONTROL, KEY_EQUALS}, 1, false},
      {{KEY_PAGEDOWN}, -1, false},
      {{KEY_NUMSUBTRACT}, -1, false},
      {{KEY_LCONTROL, KEY_MINUS}, -1, false},
      {{KEY_LEFT}, 0, true},
      {{KEY_DOWN}, 0, true},
      {{KEY_HOME}, -1, true},
  };
  for (const view_key_case& c : cases) {
    SCOPED_TRACE(c.keys.back());
    ViewHome();
    ZoomView(2, 400, 300);
    CentreViewOn(1600, 1200);
    const view_type before = play.view;
    game.ctrl_down = false;
    Press(c.keys);
    EXPECT_EQ(play.view.zoom > before.zoom, c.zoom > 0);
    EXPECT_EQ(play.view.zoom < before.zoom, c.zoom < 0);
    if (c.zoom == 0) {
      EXPECT_EQ(play.view.left != before.left || play.view.top != before.top, c.moved);
    }
    EXPECT_EQ(shell.pending_confirm, "");
  }
  game.ctrl_down = false;
  Press({KEY_EQUALS});
  EXPECT_EQ(shell.pending_confirm, "=");
}

TEST_F(Keys, SevenThreeTimesInARowSolves) {
  Press({'7', A, '7', '7'});
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(play.seven_count, 2);
  play.completion_handled = 0;
  Press({'7'});
  EXPECT_EQ(game.screen, "anim");
  EXPECT_EQ(play.seven_count, 0);
  EXPECT_EQ(play.completion_handled, 1);
}

TEST_F(Keys, TidyLabelSurvivesOnlyT) {
  play.tidy_label.k = 4;
  Press({'T'});
  EXPECT_EQ(play.tidy_label.k, 4);
  Press({'G'});
  EXPECT_EQ(play.tidy_label.k, 0);
}

TEST_F(Keys, ThumbnailToggleNeedsAThumbnail) {
  Press({'P'});
  EXPECT_EQ(play.thumb_shown, 0);
}

TEST_F(Keys, CtrlAndMessages) {
  Press({KEY_RCONTROL});
  EXPECT_TRUE(game.ctrl_down);
  Press({'X'});  // no made-up address: the title, and the progress folder once it is open
  EXPECT_EQ(game.status_message, "Tesselka v6.4");
  library.player_folder = "players/ann/";
  Press({'X'});
  EXPECT_EQ(game.status_message, "Tesselka v6.4 - progress is kept in " +
                                      (std::filesystem::current_path() / "players/ann/").string());
}

TEST_F(Keys, TheProgressFolderIsShownWithTheHomeFolderAsATilde) {
  const char* saved = std::getenv("HOME");
  const std::string home = saved ? saved : "";
  const fs::path here = fs::current_path();
  library.player_folder = "players/ann/";
  const std::string full = (here / "players/ann/").string();
  const struct {
    std::string home, shown;
  } kCases[] = {
      {here.parent_path().string(), "~/" + here.filename().string() + "/players/ann/"},
      {here.parent_path().string() + "/", "~/" + here.filename().string() + "/players/ann/"},
      {here.string().substr(0, here.string().size() - 1), full},  // a longer name, not a folder above
      {"/", full},
      {"", full},
  };
  for (const auto& c : kCases) {
    setenv("HOME", c.home.c_str(), 1);
    Press({'X'});
    EXPECT_EQ(game.status_message, "Tesselka v6.4 - progress is kept in " + c.shown) << c.home;
  }
  if (saved)
    setenv("HOME", home.c_str(), 1);
  else
    unsetenv("HOME");
}

TEST_F(Keys, UnrotateKeyStartsTheUnrotateScreen) {
  play.unrotate_state = 4;
  Press({'U'});
  EXPECT_EQ(game.screen, "unrotate");
  EXPECT_EQ(play.unrotate_state, 1);
}

TEST(ClearStalePendingTest, OnlyItsOwnKeyKeepsAConfirmation) {
  const struct {
    const char* letter;
    int own;
  } kOwn[] = {{"D", 'D'}, {"Q", 'Q'}, {"R", 'R'}, {"=", KEY_EQUALS}, {"X", KEY_ESCAPE}};
  for (const auto& c : kOwn) {
    SCOPED_TRACE(c.letter);
    for (int k : {c.own, int('D'), int('Q'), int('R'), KEY_EQUALS, KEY_ESCAPE, int('A'), int('Y')}) {
      shell.pending_confirm = c.letter;
      ClearStalePending(k);
      EXPECT_EQ(shell.pending_confirm, k == c.own ? c.letter : "") << "key " << k;
    }
  }
  shell.pending_confirm = "";
  ClearStalePending('D');
  EXPECT_EQ(shell.pending_confirm, "");
  ResetGameState();
  ResetShellState();
}

}  // namespace
