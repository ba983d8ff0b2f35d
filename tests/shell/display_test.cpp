// The display choice on a real X server (Xvfb offers only its own 1280 x 1024 mode): windows
// at 60 Hz, full screen in the desktop's own mode where no mode matches, and keys F and W.
#include "tests/shell/display_fixture.h"

using namespace shell_test;

namespace {

using DisplayChoice = OnDisplay;

TEST_F(DisplayChoice, WindowedOpensAt60HzWhateverTheRefreshRate) {
  game.display.refresh_rate = 75;
  EXPECT_TRUE(ChooseMode(800, 600));
  EXPECT_EQ(GraphicsWidth(), 800);
  EXPECT_EQ(GraphicsDepth(), 0);
  EXPECT_EQ(GraphicsHertz(), 60);
}

TEST_F(DisplayChoice, FullScreenWithoutAMatchingModeFillsTheDesktopAtTheGamesSize) {
  game.display.windowed = false;
  for (int rate : {75, 0}) {
    game.display.refresh_rate = rate;
    EXPECT_TRUE(ChooseMode(800, 600)) << rate;
    EXPECT_EQ(GraphicsWidth(), 800);
    EXPECT_EQ(GraphicsHeight(), 600);
    EXPECT_NE(GraphicsDepth(), 0);
    int pixel_width = 0, pixel_height = 0;
    GraphicsPixelSize(pixel_width, pixel_height);
    EXPECT_EQ(pixel_width, 1280);
    EXPECT_EQ(pixel_height, 1024);
  }
}

TEST_F(DisplayChoice, KeyFSwitchesTheWindowSizeBothWays) {
  ToggleLargeDisplay();
  EXPECT_TRUE(game.display.display_large);
  EXPECT_EQ(GraphicsWidth(), 1024);
  EXPECT_EQ(GraphicsHeight(), 768);
  ToggleLargeDisplay();
  EXPECT_FALSE(game.display.display_large);
  EXPECT_EQ(GraphicsWidth(), 800);
}

// Switching the display size is no leaving: a jigsaw changed by it is not written.
TEST_F(DisplayChoice, KeyFSavesNothing) {
  temp_working_folder dir;
  std::filesystem::create_directories("players/default");
  library.player_folder = "players/default/";
  play.jigsaw_name = "j";
  NoteJigsawStarted();
  ToggleLargeDisplay();
  ASSERT_TRUE(JigsawChanged());
  ToggleLargeDisplay();
  WaitForWork();
  TakeFinishedWork();
  EXPECT_TRUE(std::filesystem::is_empty("players/default"));
}

TEST_F(DisplayChoice, KeysWAndFKeepTheGamesSizeInFullScreen) {
  ToggleWindowed();
  EXPECT_FALSE(game.display.windowed);
  EXPECT_EQ(GraphicsWidth(), 800);
  EXPECT_NE(GraphicsDepth(), 0);
  ToggleLargeDisplay();
  EXPECT_TRUE(game.display.display_large);
  EXPECT_EQ(GraphicsWidth(), 1024);
  EXPECT_EQ(GraphicsHeight(), 768);
  ToggleWindowed();
  EXPECT_TRUE(game.display.windowed);
  EXPECT_EQ(GraphicsWidth(), 1024);
  EXPECT_EQ(GraphicsDepth(), 0);
}

TEST_F(DisplayChoice, YesToRestartScattersAfreshWithEmptyBoxes) {
  play.piece_count = 1;
  play.pieces[1] = piece_type{};
  play.pieces[1].wd = play.pieces[1].ht = 40;
  play.pieces[1].gp = 1;
  box.box_count[3] = 2;
  game.screen = "jigsaw";
  HandleKey('R');
  HandleKey('Y');
  EXPECT_EQ(shell.pending_confirm, "");
  EXPECT_EQ(play.pieces[1].gp, 0);
  EXPECT_EQ(box.box_count[3], 0);
  EXPECT_GE(play.pieces[1].x, 20);
  EXPECT_LE(play.pieces[1].x, 780);
}

}  // namespace
