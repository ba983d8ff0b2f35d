// The browser pages on a real window: page counts and the walk over failed thumbnails, the
// page buttons drawn or not, clicks on thumbnails and their marks, and starting a jigsaw.
#include <gtest/gtest.h>

#include <cstdlib>

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

TEST_F(Pages, AThumbnailFarOverItsSlotIsRefusedFromItsHeader) {
  WriteThumbnailOnly("A");
  // A PNG header declaring 8192 x 8192 with nothing after it: refused before any decoding.
  std::string header("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x20\0\0\0\x20\0\x08\x00\0\0\0\0\0\0\0", 33);
  WriteWholeFile("jigsaws/B/tn.png", header);
  WritePng("jigsaws/C/tn.png", 1025, 20, MakeARGB(255, 1, 2, 3));  // just over the slot
  WritePng("jigsaws/D/tn.png", 1024, 768, MakeARGB(255, 1, 2, 3));  // the largest taken
  game.screen = "new1";
  DrawLibraryPage("new1");
  const auto& entries = library.library_list.entries;
  EXPECT_NE(entries[0].img, nullptr);
  EXPECT_TRUE(entries[1].failed && !entries[1].img);
  EXPECT_TRUE(entries[2].failed && !entries[2].img);
  EXPECT_NE(entries[3].img, nullptr);
  EXPECT_EQ(entries[3].x, 8 + 98);  // the refused ones take no cell
}

TEST_F(Pages, AFailedThumbnailIsRetriedOnlyWhenItsFileChanges) {
  WriteWholeFile("jigsaws/A/tn.png", std::string(200, 'x'));
  game.screen = "new1";
  DrawLibraryPage("new1");
  ASSERT_TRUE(library.library_list.entries[0].failed);
  // A good thumbnail of the same size and time is not looked at: the failure is remembered.
  const auto when = std::filesystem::last_write_time("jigsaws/A/tn.png");
  WritePng("jigsaws/B/tn.png", 30, 20, MakeARGB(255, 10, 200, 10));
  std::string good = ReadWholeFile("jigsaws/B/tn.png");
  good.resize(200, '\0');
  WriteWholeFile("jigsaws/A/tn.png", good);
  std::filesystem::last_write_time("jigsaws/A/tn.png", when);
  DrawLibraryPage("new1");
  EXPECT_EQ(library.library_list.entries[0].img, nullptr);
  std::filesystem::last_write_time("jigsaws/A/tn.png", when + std::chrono::seconds(1));
  DrawLibraryPage("new1");
  EXPECT_NE(library.library_list.entries[0].img, nullptr);
  EXPECT_FALSE(library.library_list.entries[0].failed);
}

TEST_F(Pages, PagingKeepsOnlyThePageShownAndItsNeighboursLoaded) {
  for (int i = 0; i < 56 * 4; ++i) WriteThumbnailOnly("j" + std::to_string(1000 + i));
  game.screen = "new1";
  auto loaded = [] {
    std::vector<int> pages;  // the page of every entry holding a thumbnail
    for (const tn3_type& entry : library.library_list.entries)
      if (entry.img && (pages.empty() || pages.back() != (entry.n - 1) / 56 + 1)) pages.push_back((entry.n - 1) / 56 + 1);
    return pages;
  };
  DrawLibraryPage("new1");
  for (int page = 2; page <= 4; ++page) {
    NextPage();
    DrawLibraryPage("new1");
  }
  EXPECT_EQ(loaded(), (std::vector<int>{3, 4}));  // page 5: the start-up jigsaw has no thumbnail here
  PreviousPage();
  PreviousPage();
  DrawLibraryPage("new1");
  EXPECT_EQ(loaded(), (std::vector<int>{2, 3}));  // page 1 was freed and is loaded only when shown
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

// The pictures page offers only what the cutting screen would take: a picture too small or too
// narrow for any jigsaw is left out. An empty page is page 1 of 1, as the library's are.
TEST_F(Pages, ThePicturesPageLeavesOutWhatCannotBeCutAndCountsOneEmptyPage) {
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", dir_.path().c_str(), 1);  // no Pictures there: only the data folder's pictures/
  game.screen = "pictures";
  DrawPicturesPage();
  EXPECT_EQ(PageTitle("pictures"), "My Pictures    Page 1 of 1");
  EXPECT_TRUE(library.pictures_list.drawn.empty());
  const uint32_t green = MakeARGB(255, 10, 200, 10);
  WritePng("pictures/tiny.png", 10, 10, green);
  WritePng("pictures/strip.png", 600, 6, green);
  WritePng("pictures/small.png", 40, 30, green);  // twelve pieces of 10 x 10 pixels
  library.pictures_list.page = 0;
  DrawPicturesPage();
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(library.pictures_list.count, 3);
  ASSERT_EQ(library.pictures_list.drawn.size(), 1u);
  EXPECT_EQ(library.pictures_list.entries[library.pictures_list.drawn[0]].tk, "pictures/small.png");
  EXPECT_EQ(PageTitle("pictures"), "My Pictures    Page 1 of 1");
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
