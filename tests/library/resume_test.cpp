// Saving and resuming on a real window: thumbnails of the table in both display sizes and of the
// whole table whatever the view, the table and the view restored exactly, the display switched to
// the size it was saved in, saves without a view file or with a damaged one at the view's home,
// and every failed route leaving the jigsaw in play, its name and the files as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "tests/library/library_fixture.h"

using namespace library_test;

namespace {

class Resume : public LibraryDisplayTest {
 protected:
  static void Start(const std::string& name, int rows = 2, int cols = 3) {
    WriteJigsaw(name, rows, cols, 8);
    ASSERT_TRUE(StartNewJigsaw(name));
  }
};

TEST_F(Resume, AnIncompleteJigsawIsPicturedAt264By198InBothSizes) {
  Start("j");
  for (bool large : {false, true}) {
    SCOPED_TRACE(large);
    game.display.display_large = large;
    ASSERT_NE(Graphics(large ? 1024 : 800, large ? 768 : 600, 0, 60, 0), nullptr);
    SaveJigsaw();
    auto thumbnail = LoadPixmap("players/default/j.png");
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->width, 264);
    EXPECT_EQ(thumbnail->height, 198);
    // The table colour fills the corner where no piece lies.
    const uint32_t corner = ReadPixel(thumbnail, 263, 197);
    EXPECT_NEAR(int(ARGBRed(corner)), play.table_colour.r, 2);
    EXPECT_EQ(Lines("players/default/j.txt")[7 * 6 + 3], large ? "1" : "0");
  }
}

TEST_F(Resume, TheTableComesBackExactly) {
  Start("j");
  play.pieces[2].x = -20;
  play.pieces[3].visible = 0;
  play.pieces[4].gp = play.pieces[5].gp = 3;
  play.last_group = 3;
  const int order[] = {4, 6, 1, 5, 3, 2};
  std::copy(std::begin(order), std::end(order), play.draw_order.begin() + 1);  // the table keeps its size
  play.pieces[6].box = 2;
  SaveJigsaw();
  const table_snapshot saved = table_snapshot::Take();
  Start("other", 1, 2);
  game.screen = "load1";
  game.click_pending = true;
  ASSERT_TRUE(ResumeJigsaw("j"));
  EXPECT_EQ(table_snapshot::Take(), saved);
  EXPECT_EQ(play.pieces[3].visible, 0);
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_FALSE(game.click_pending);
  // What the file does not hold is rebuilt: the boxes and the border flag of groups.
  EXPECT_EQ(box.box_count[2], 1);
  EXPECT_EQ(box.box_slot[2][1].n, 6);
  EXPECT_EQ(play.pieces[5].edge, 1);
}

TEST_F(Resume, SavedLargeResumedSmallSwitchesTheDisplay) {
  WriteJigsaw("j", 1, 2, 8);
  std::vector<int> values = PlainProgress(2);
  values[7 * 2 + 3] = 1;
  WriteProgress("players/default/j.txt", values);
  library.library_list.page = 3;
  ASSERT_TRUE(ResumeJigsaw("j"));
  EXPECT_TRUE(game.display.display_large);
  EXPECT_EQ(GraphicsWidth(), 1024);
  EXPECT_EQ(library.library_list.page, 1);
  EXPECT_EQ(play.pieces[2].x, 120);
}

TEST_F(Resume, FetchResumesTheJigsawSavedLast) {
  Start("j");
  SaveJigsaw();
  const table_snapshot saved = table_snapshot::Take();
  Start("other", 1, 2);
  FetchWorkingOn();
  EXPECT_EQ(table_snapshot::Take(), saved);
}

TEST_F(Resume, FetchBringsTheZoomedMovedViewBack) {
  Start("j");
  ZoomView(3, 600, 450);
  PanView(40, -30);
  const std::array<int, 3> view = ViewValues();
  const table_rect shown = VisibleTable();
  ASSERT_GT(view[0], 1900);
  SaveJigsaw();
  EXPECT_FALSE(JigsawChanged());
  EXPECT_EQ(Lines("players/default/j.view"),
            (std::vector<std::string>{IntToText(view[0]), IntToText(view[1]), IntToText(view[2])}));
  const std::vector<std::string> progress = Lines("players/default/j.txt");
  EXPECT_EQ(progress.size(), 7u * 6 + 5);  // the progress file keeps its form
  Start("other", 1, 2);
  FetchWorkingOn();
  ASSERT_EQ(play.jigsaw_name, "j");
  EXPECT_EQ(ViewValues(), view);
  EXPECT_NEAR(VisibleTable().left, shown.left, 1);
  EXPECT_NEAR(VisibleTable().top, shown.top, 1);
  EXPECT_NEAR(play.view.zoom, 1.25 * 1.25 * 1.25, 0.001);
  EXPECT_FALSE(JigsawChanged());
  // The view alone is a change worth a save; the home view is saved as home.
  PanView(0, 20);
  EXPECT_TRUE(JigsawChanged());
  ViewHome();
  SaveJigsaw();
  EXPECT_EQ(Lines("players/default/j.view"), (std::vector<std::string>{"0", "0", "0"}));
  EXPECT_EQ(Lines("players/default/j.txt"), progress);
}

TEST_F(Resume, TodaysSavesAndDamagedViewFilesResumeAtTheViewsHome) {
  WriteJigsaw("j", 2, 3, 8);
  WriteProgress("players/default/j.txt", PlainProgress(6));
  struct view_case {
    const char* what;
    std::optional<std::string> text;  // none: no view file
    bool home;
  };
  const view_case cases[] = {
      {"no view file", std::nullopt, true},
      {"empty", "", true},
      {"short", "1500\r\n400\r\n", true},
      {"an endless line", std::string(1 << 20, '7'), true},
      {"not numbers", "zoom\r\nx\r\ny\r\n", true},
      {"a negative zoom", "-5\r\n400\r\n300\r\n", true},
      {"a tiny zoom", "1\r\n-99999\r\n99999\r\n", true},
      {"the largest numbers", "2147483647\r\n2147483647\r\n2147483647\r\n", false},
      {"the smallest place", "1500\r\n-2147483648\r\n-2147483648\r\n", false},
  };
  for (const view_case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove("players/default/j.view");
    if (c.text) WriteWholeFile("players/default/j.view", *c.text);
    Start("other", 1, 2);
    ZoomView(2, 0, 0);  // the view of the jigsaw left behind never carries over
    ASSERT_TRUE(ResumeJigsaw("j"));
    EXPECT_EQ(ViewAtHome(), c.home);
    EXPECT_FALSE(JigsawChanged());
    // However wild the numbers, the view stays on the table and within its zooms.
    const table_rect shown = VisibleTable();
    EXPECT_GE(play.view.zoom, 1);
    EXPECT_LE(play.view.zoom, 2);
    EXPECT_GE(shown.left, -0.5);
    EXPECT_GE(shown.top, -0.5);
    EXPECT_LE(shown.left + shown.width, 800.5);
    EXPECT_LE(shown.top + shown.height, 600.5);
  }
}

TEST_F(Resume, TheThumbnailShowsTheWholeTableWhateverTheView) {
  Start("j");
  SaveJigsaw();
  const std::string at_home = ReadWholeFile("players/default/j.png");
  ZoomView(3, 700, 500);
  const std::array<int, 3> zoomed = ViewValues();
  SaveJigsaw();
  EXPECT_EQ(ReadWholeFile("players/default/j.png"), at_home);
  EXPECT_EQ(ViewValues(), zoomed);
  // A table twice the window's, zoomed in on its top-left: the whole of it, halved, in 264 x 198.
  WriteJigsaw("big", 1, 1, 60);
  ASSERT_TRUE(StartNewJigsaw("big"));
  play.table_width = 1600;
  play.table_height = 1200;
  play.table_colour = {0, 0, 90};
  play.pieces[1].x = 1500;
  play.pieces[1].y = 1100;
  ViewHome();
  ZoomView(4, 0, 0);
  SaveJigsaw();
  const auto thumbnail = LoadPixmap("players/default/big.png");
  ASSERT_TRUE(thumbnail);
  EXPECT_EQ(thumbnail->width, 264);
  const uint32_t piece = ReadPixel(thumbnail, 247, 181);
  EXPECT_NEAR(int(ARGBRed(piece)), 60, 3);
  EXPECT_NEAR(int(ARGBGreen(piece)), 185, 3);
  EXPECT_NEAR(int(ARGBBlue(ReadPixel(thumbnail, 10, 10))), 90, 3);
}

TEST_F(Resume, FetchWithNothingSavedSaysSo) {
  Start("j");
  const table_snapshot before = table_snapshot::Take();
  FetchWorkingOn();
  EXPECT_EQ(game.status_message, "I can't find any saved jigsaws to fetch");
  EXPECT_EQ(table_snapshot::Take(), before);
}

TEST_F(Resume, EveryFailedRouteKeepsTheJigsawInPlayAndItsFiles) {
  WriteJigsaw("damaged", 1, 2, 8);
  std::vector<int> values = PlainProgress(2);
  values[2] = 9;  // a turn of 9
  WriteProgress("players/default/damaged.txt", values);
  WriteJigsaw("unsaved", 1, 2, 8);
  WriteProgress("players/default/gone.txt", PlainProgress(2));  // its folder is missing
  WriteJigsaw("short", 1, 2, 8);
  values = PlainProgress(3);  // saved when the folder had three pieces
  WriteProgress("players/default/short.txt", values);
  WriteWholeFile("jigsaws/broken/pieces.txt", "1\r\n2\r\n0\r\n0\r\n");  // no piece pictures
  WriteProgress("players/default/broken.txt", PlainProgress(2));
  Start("j");
  play.pieces[1].x = 33;
  SaveJigsaw();
  const table_snapshot before = table_snapshot::Take();
  const std::string progress = ReadWholeFile("players/default/j.txt");

  struct route {
    const char* what;
    std::function<void()> run;
  };
  auto fetch = [](const std::string& line) {
    return [line] {
      WriteWholeFile("players/default/working_on.txt", line + "\r\n");
      FetchWorkingOn();
    };
  };
  const route routes[] = {
      {"resume, damaged progress", [] { ResumeJigsaw("damaged"); }},
      {"resume, no progress", [] { ResumeJigsaw("unsaved"); }},
      {"resume, folder gone", [] { ResumeJigsaw("gone"); }},
      {"resume, progress of another piece count", [] { ResumeJigsaw("short"); }},
      {"resume, folder broken", [] { ResumeJigsaw("broken"); }},
      {"fetch, a name above the library", fetch("../players/default/j")},
      {"fetch, ..", fetch("..")},
      {"fetch, an empty line", fetch("")},
      {"fetch, a name with a slash", fetch("a/b")},
      {"fetch, an endless line", fetch(std::string(100000, 'j'))},
      {"new, folder broken", [] { StartNewJigsaw("broken"); }},
  };
  for (const route& r : routes) {
    SCOPED_TRACE(r.what);
    AnsweringNotices(r.run);
    EXPECT_EQ(table_snapshot::Take(), before);
  }
  // A save afterwards writes the jigsaw in play under its own name and nothing else.
  SaveProgress();
  EXPECT_EQ(ReadWholeFile("players/default/j.txt"), progress);
  EXPECT_EQ(Lines("players/default/damaged.txt")[2], "9");
  EXPECT_FALSE(std::filesystem::exists("players/default/unsaved.txt"));
  EXPECT_FALSE(std::filesystem::exists("players/default/broken.png"));
}

}  // namespace
