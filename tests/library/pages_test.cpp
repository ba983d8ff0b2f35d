// The browser pages on a real window: page counts and the walk over failed thumbnails, the
// page buttons drawn or not, clicks on thumbnails and their marks, and starting a jigsaw.
#include <gtest/gtest.h>

#include "tests/library/library_fixture.h"

using namespace library_test;

namespace {

class Pages : public LibraryDisplayTest {
 protected:
  // A library folder holding only its thumbnail (enough to be listed and drawn).
  static void WriteThumbnailOnly(const std::string& name) {
    WritePng(std::filesystem::path("jigsaws") / name / "tn.png", 30, 20, MakeARGB(255, 10, 200, 10));
  }
  // Points at the middle of the drawn entry k of the library list.
  static void PointAtEntry(size_t k) {
    const tn3_type& entry = library.library_list.entries[k];
    PointAt(entry.x + 5, entry.y + 5);
  }
};

TEST_F(Pages, FiftySixFoldersMakeTwoPagesInTheSmallLayout) {
  for (int i = 0; i < 56; ++i) WriteThumbnailOnly("j" + std::to_string(100 + i));
  WriteThumbnailOnly("0000vorna");
  game.screen = "new1";
  DrawLibraryPage("new1");
  EXPECT_EQ(library.library_list.count, 57);
  EXPECT_EQ(library.library_list.page_count, 2);
  EXPECT_EQ(library.library_list.drawn.size(), 56u);
  const tn3_type& last = library.library_list.entries[55];
  EXPECT_EQ(std::tie(last.x, last.y), std::tuple(8 + 7 * 98, 66 + 6 * 74));
  NextPage();
  DrawLibraryPage("new1");
  ASSERT_EQ(library.library_list.drawn.size(), 1u);
  EXPECT_EQ(library.library_list.entries[library.library_list.drawn[0]].tk, "0000vorna");
  NextPage();
  EXPECT_EQ(library.library_list.page, 2);
  // The large layout holds 90 a page.
  game.display.display_large = true;
  ASSERT_NE(Graphics(1024, 768, 0, 60, 0), nullptr);
  library.library_list.page = 1;
  DrawLibraryPage("new1");
  EXPECT_EQ(library.library_list.page_count, 1);
  EXPECT_EQ(library.library_list.entries[10].x, 23);
  EXPECT_EQ(library.library_list.entries[10].y, 66 + 74);
}

TEST_F(Pages, AThumbnailThatFailsTakesNoCellAndIsRetried) {
  WriteThumbnailOnly("A");
  std::filesystem::create_directories("jigsaws/B");  // no tn.png
  WriteThumbnailOnly("C");
  game.screen = "new1";
  DrawLibraryPage("new1");
  EXPECT_EQ(library.library_list.entries[2].x, 8 + 98);  // C in B's cell
  WriteThumbnailOnly("B");
  DrawLibraryPage("new1");
  EXPECT_EQ(library.library_list.entries[1].x, 8 + 98);
  EXPECT_EQ(library.library_list.entries[2].x, 8 + 2 * 98);
}

TEST_F(Pages, UndrawnButtonsOnPageOneStillAnswer) {
  for (int i = 0; i < 60; ++i) WriteThumbnailOnly("j" + std::to_string(100 + i));
  game.screen = "new1";
  DrawLibraryPage("new1");
  for (int x : {9, 9 + 87}) {
    PointAt(x + 40, 30);
    EXPECT_TRUE(ClickPageArrows());
    EXPECT_EQ(library.library_list.page, 1);
  }
  PointAt(9 + 610 + 84, 52);  // next page, its bottom-right corner
  EXPECT_TRUE(ClickPageArrows());
  EXPECT_EQ(library.library_list.page, 2);
  PointAt(400, 30);
  EXPECT_FALSE(ClickPageArrows());
}

TEST_F(Pages, ClicksMarkOnTheDeletePageButNeverAStartUpName) {
  for (const char* name : {"0000old", "Sea"}) WriteThumbnailOnly(name);
  WriteThumbnailOnly("0000vorna");
  game.screen = "delete1";
  game.click_pending = true;
  DrawLibraryPage("delete1");
  PointAtEntry(1);
  EXPECT_EQ(HitLibraryPage(), "Sea");
  EXPECT_EQ(library.library_list.entries[1].marked, 1);
  for (size_t k : {size_t(0), size_t(2)}) {
    PointAtEntry(k);
    HitLibraryPage();
    EXPECT_EQ(library.library_list.entries[k].marked, 0);
  }
  // The cross is drawn over a marked thumbnail.
  library.cross = LoadImage("jigsaws/0000old/tn.png", -1);
  DeleteFrame();
  EXPECT_FALSE(game.click_pending);
  PointAt(700, 500);
  game.click_pending = true;
  DeleteFrame();
  EXPECT_TRUE(game.click_pending);  // nothing there: the click stays for the loop
}

TEST_F(Pages, AClickOnTheLibraryPageStartsThatJigsawScattered) {
  WriteJigsaw("Sea", 2, 2, 8);
  game.screen = "new1";
  DrawLibraryPage("new1");
  PointAtEntry(0);
  game.click_pending = true;
  NewFrame();
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(play.jigsaw_name, "Sea");
  EXPECT_FALSE(game.click_pending);
  EXPECT_EQ(play.pieces[1].gp, 0);
}

TEST_F(Pages, AnEmptySavedPageReturnsToTheTable) {
  game.screen = "load1";
  LoadFrame();
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(game.status_message, "I can't find any saved jigsaws to load");
}

TEST_F(Pages, TheKeysOfThePageScreens) {
  for (int i = 0; i < 60; ++i) WriteThumbnailOnly("j" + std::to_string(100 + i));
  WriteJigsaw("0000vorna", 1, 2, 8);
  ASSERT_TRUE(StartNewJigsaw("0000vorna"));
  game.screen = "jigsaw";
  HandleKey(KEY_LEFT);  // nothing on the table
  HandleKey('Q');
  HandleKey('N');  // answers No
  EXPECT_EQ(game.screen, "jigsaw");
  HandleKey('N');
  EXPECT_EQ(game.screen, "new1");
  HandleKey(KEY_ESCAPE);
  EXPECT_EQ(game.screen, "jigsaw");
  HandleKey('L');
  EXPECT_EQ(game.screen, "load1");
  HandleKey('S');  // in every screen
  EXPECT_TRUE(std::filesystem::exists("players/default/0000vorna.txt"));
  HandleKey('K');
  EXPECT_EQ(game.screen, "delete1");
  DrawLibraryPage("delete1");
  HandleKey(KEY_RIGHT);
  EXPECT_EQ(library.library_list.page, 2);
  HandleKey('A');
  EXPECT_EQ(CountMarked(), 4);
  HandleKey(KEY_LEFT);
  HandleKey('U');
  EXPECT_EQ(CountMarked(), 4);
  game.screen = "help";
  game.previous_screen = "delete1";
  HandleKey('U');  // over help, the delete context still holds
  HandleKey('A');
  EXPECT_EQ(CountMarked(), 60);
  game.screen = "delete1";
  HandleKey('K');  // kills the marked jigsaws
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_FALSE(std::filesystem::exists("jigsaws/j100"));
  EXPECT_TRUE(std::filesystem::exists("jigsaws/0000vorna"));
  EXPECT_EQ(play.jigsaw_name, "0000vorna");
}

}  // namespace
