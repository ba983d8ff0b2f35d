// Own pictures through the real frame loop: picture files of every kind dropped on the window,
// the cutting screen's keys and Escape, the cut that starts the new jigsaw, and the pictures page
// reached from the library page's button.
#include <algorithm>
#include <cstdlib>

#include "tests/files/fixtures.h"
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

class OwnPictures : public Game {
 protected:
  void WriteFiles() override {
    if (const char* home = std::getenv("HOME")) home_ = home;
    setenv("HOME", dir_.path().c_str(), 1);  // its Pictures folder is the test's
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    fs::create_directories("Pictures");
    WriteWholeFile("Pictures/Harbour.jpg", PhotoJpegFile(1600, 1200, false));
    WriteWholeFile("Pictures/Tower.jpg", WithExifOrientation(PhotoJpegFile(1200, 900, false), 6));
    WriteWholeFile("Pictures/notes.jpg", "not a picture\n");
    ASSERT_TRUE(SavePNGPixmap(CreatePixmap(30, 20, PF_RGB888), "Pictures/tiny.png", 1));
    WriteWholeFile("Pictures/huge.png", PngHeaderOnly(200000, 100000));
    WriteWholeFile("Pictures/cut.jpg", PhotoJpegFile(800, 600, false).substr(0, 3000));
  }

  void TearDown() override {
    Game::TearDown();
    setenv("HOME", home_.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
  }

  // A drop on the window, as the platform reports it: files and other things.
  static void Drop(std::vector<std::string> files, int others = 0) {
    auto event = TEvent::Create(EVENT_WINDOWACCEPT, nullptr, 0, 0, 400, 300,
                                std::make_shared<TDropObject>(std::move(files), others));
    event->Emit();
    ASSERT_TRUE(RunUntil([&] { return CurrentEvent() == event; }, 500));
  }
  static void Drop(const std::string& path) { Drop(std::vector<std::string>{path}); }

  // Jigsaw folders in the library, hidden ones included.
  static int LibraryEntries() {
    return static_cast<int>(std::distance(fs::directory_iterator("jigsaws"), fs::directory_iterator()));
  }

  std::string home_;
};

TEST_F(OwnPictures, BadFilesGiveANoticeAndLeaveEverythingAsItWas) {
  FinishOpeningFlight();
  const int before = LibraryEntries();
  // The notice waits for a key: a timer gives one, as if the player read it.
  auto reader = CreateTimer(5, TEvent::Create(EVENT_KEYDOWN, nullptr, KEY_SPACE));
  for (const char* name : {"notes.jpg", "tiny.png", "huge.png", "cut.jpg", "missing.jpg", ""}) {
    Drop(dir_ / (std::string("Pictures/") + name));
    EXPECT_EQ(game.screen, "jigsaw") << name;
    EXPECT_EQ(play.jigsaw_name, "0000vorna") << name;
  }
  reader->Stop();
  EXPECT_EQ(LibraryEntries(), before);
}

// A drop that brings no file on this computer (a web address) says so in a notice; answered with
// Escape, the notice takes the key whole: its repeat and release after it do not ask to leave.
TEST_F(OwnPictures, ADropWithoutAFileSaysSoAndTheEscapeThatAnswersIsUsedUp) {
  FinishOpeningFlight();
  EXPECT_TRUE(AnsweringANotice(KEY_ESCAPE, [] { Drop({}, 1); })) << "no notice waited for a key";
  for (int id : {EVENT_KEYREPEAT, EVENT_KEYREPEAT, EVENT_KEYUP}) Emit(id, KEY_ESCAPE);
  for (int i = 0; i < 5; ++i) Turn();
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(shell.pending_confirm, "") << "the Escape that answered the notice asked to leave";
  Key(KEY_ESCAPE);  // the next press is the player's own again
  EXPECT_EQ(shell.pending_confirm, "X");
}

// Of several things dropped the first file is taken, and the banner says the others were left.
TEST_F(OwnPictures, OfSeveralDroppedFilesTheFirstIsTakenAndTheOthersAreSaidToBeLeft) {
  FinishOpeningFlight();
  Drop({dir_ / "Pictures/Harbour.jpg", dir_ / "Pictures/Tower.jpg", dir_ / "Pictures/notes.jpg"},
       1);
  ASSERT_EQ(game.screen, "cut");
  EXPECT_EQ(game.status_message, "One picture at a time: the other 3 things dropped were left");
  Key(KEY_RETURN);
  ASSERT_TRUE(RunUntil(OnTable));
  EXPECT_EQ(play.jigsaw_name, "Harbour");
  Drop({dir_ / "Pictures/Tower.jpg", dir_ / "Pictures/Harbour.jpg"});
  ASSERT_EQ(game.screen, "cut");
  EXPECT_EQ(game.status_message, "One picture at a time: the other thing dropped was left");
}

TEST_F(OwnPictures, CuttingScreenChoosesCountsAndGoesBackOrCuts) {
  FinishOpeningFlight();
  Key('N');
  ASSERT_EQ(game.screen, "new1");
  Drop(dir_ / "Pictures/Tower.jpg");
  ASSERT_EQ(game.screen, "cut");
  Key(KEY_ESCAPE);
  EXPECT_EQ(game.screen, "new1") << "Escape goes back where the player came from";
  EXPECT_EQ(shell.pending_confirm, "");

  Drop(dir_ / "Pictures/Harbour.jpg");
  ASSERT_EQ(game.screen, "cut");
  // The keys of the cutting screen: fewer, more, and a letter that means nothing here.
  Key(KEY_LEFT);
  Key(KEY_LEFT);
  Key(KEY_RIGHT);
  Key('T');
  EXPECT_EQ(game.screen, "cut");
  Key(KEY_RETURN);
  ASSERT_TRUE(RunUntil(OnTable));
  EXPECT_EQ(play.jigsaw_name, "Harbour");
  EXPECT_GE(play.piece_count, 40);  // the choice two below about 100 pieces
  EXPECT_LE(play.piece_count, 80);
  BuildLibraryList();
  bool listed = false;
  for (const tn3_type& entry : library.library_list.entries) listed = listed || entry.tk == "Harbour";
  EXPECT_TRUE(listed);
}

TEST_F(OwnPictures, CuttingScreenCutsPast300PiecesFromThePictureReadAgainOntoABiggerTable) {
  FinishOpeningFlight();
  Drop(dir_ / "Pictures/Harbour.jpg");  // 1600 x 1200, shown from its half size
  ASSERT_EQ(game.screen, "cut");
  for (int k = 0; k < 3; ++k) Key(KEY_RIGHT);  // from about 100 to 204, 300 and 500
  Key(KEY_RETURN);
  ASSERT_TRUE(RunUntil(OnTable));
  EXPECT_EQ(play.jigsaw_name, "Harbour");
  ASSERT_EQ(play.piece_count, 500);
  // Cells of 64 x 60 pixels of the whole picture: cut at its own size, on a 4:3 table of two
  // and a half times its area.
  EXPECT_EQ(play.table_width * 3, play.table_height * 4);
  EXPECT_NEAR(double(play.table_width) * play.table_height / (1600.0 * 1200), 2.5, 0.02);
  int widest = 0;
  for (int i = 1; i <= play.piece_count; ++i) widest = std::max(widest, play.pieces[i].wd);
  EXPECT_GT(widest, 64);
}

TEST_F(OwnPictures, CuttingScreenShowsThePictureWholeBetweenItsNameAndTheCounts) {
  FinishOpeningFlight();
  const uint32_t background = MakeARGB(255, 40, 44, 52) & 0xffffff;
  const auto is_background = [&](const std::shared_ptr<TPixmap>& shot, int x, int y) {
    return (ReadPixel(shot, x, y) & 0xffffff) == background;
  };
  for (const std::string name : {"Harbour", "Tower"}) {  // landscape, and portrait once upright
    SCOPED_TRACE(name);
    Drop(dir_ / ("Pictures/" + name + ".jpg"));
    ASSERT_EQ(game.screen, "cut");
    CutFrame();  // the screen drawn into the back buffer
    const auto shot = GrabPixmap(0, 0, 800, 600);
    // The picture's left edge along the middle row, then its top and bottom a little inside it,
    // clear of the banner and the row of counts, which are centred.
    int left = 0;
    while (left < 400 && is_background(shot, left, 300)) ++left;
    ASSERT_LT(left, 300);
    const int x = left + 3;
    int top = 300, bottom = 300;
    while (top > 0 && !is_background(shot, x, top - 1)) --top;
    while (bottom < 599 && !is_background(shot, x, bottom + 1)) ++bottom;
    EXPECT_GE(top, BannerBottom(name + ": 99 pieces", 30));
    SetImageFont(game.fonts.small);
    const int row_top = 600 - 40 - 8, line_top = row_top - 4 - TextHeight("0");
    EXPECT_LT(bottom, line_top);  // this picture is too small for 2000 pieces: a line says so
    EXPECT_GT(bottom - top, 400) << "the picture fills the space it has";
    Key(KEY_ESCAPE);
  }
}

TEST_F(OwnPictures, PicturesPageFromTheLibraryPageListsNewestFirst) {
  FinishOpeningFlight();
  Key('N');
  MoveTo(200, 30);  // the My pictures button
  Click();
  Turn();
  ASSERT_EQ(game.screen, "pictures");
  ASSERT_EQ(library.pictures_list.count, 6);
  Key(KEY_ESCAPE);
  EXPECT_EQ(game.screen, "new1");
}

}  // namespace
