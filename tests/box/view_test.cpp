// Tests of the box view on a real window: where the strip and rows are drawn, what a click or a
// turn request hits, the back button and label, and the view driven through the real loop.
#include <gtest/gtest.h>

#include "tests/shell/display_fixture.h"
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

// The real program on a 4 x 5 jigsaw of 40-pixel pieces (6 of them inner ones), scattered, with a
// 40 x 20 back button.
class BoxView : public Game {
 protected:
  void WriteFiles() override {
    fs::remove_all("jigsaws/0000vorna");
    shell_test::WriteJigsaw("0000vorna", 4, 5);
    WritePng("images/jigsaw.png", 40, 20, MakeARGB(255, 250, 250, 250));
  }
  void SetUp() override {
    Game::SetUp();
    FinishOpeningFlight();
    ScatterPieces();
  }
  // The box view entered as key B enters it, with its first frame drawn.
  static void Enter() {
    EnterBoxView();
    DrawBoxView();
  }
  static void Fill(std::initializer_list<int> members) {
    for (int p : members) {
      box.box_slot[box.current_box][++box.box_count[box.current_box]].n = p;
      play.pieces[p].box = box.current_box;
    }
  }
  // Sampled pointer for the hit tests and the live one for MouseIn.
  static void Point(int x, int y) {
    Emit(EVENT_MOUSEMOVE, 0, x, y);
    game.pointer_x = x;
    game.pointer_y = y;
  }
  static std::vector<int> StripXs() {
    std::vector<int> xs;
    for (int s = 1; s <= box.box_count[box.current_box]; s++)
      xs.push_back(box.box_slot[box.current_box][s].x);
    return xs;
  }
  static std::vector<int> Colour(int p) {
    uint32_t c = ReadPixel(play.pieces[p].img->pixmaps[0], 20, 20);
    return {int(ARGBRed(c)), int(ARGBGreen(c)), int(ARGBBlue(c))};
  }
};

std::vector<int> PixelAt(int x, int y) {
  const uint32_t c = ReadPixel(GrabPixmap(x, y, 1, 1), 0, 0);
  return {int(ARGBRed(c)), int(ARGBGreen(c)), int(ARGBBlue(c))};
}

std::vector<int> Steps(int first, int step, int count) {
  std::vector<int> xs;
  for (int k = 0; k < count; k++) xs.push_back(first + step * k);
  return xs;
}

TEST_F(BoxView, TheStripAdvancesByWidthOrSqueezesEvenlyWhenWiderThanItself) {
  Fill({1, 2, 3});
  play.pieces[1].wd = 50, play.pieces[2].wd = 60, play.pieces[3].wd = 70;
  Enter();
  EXPECT_EQ(StripXs(), (std::vector<int>{105, 157, 219}));
  for (int s = 1; s <= 3; s++) EXPECT_EQ(box.box_slot[box.current_box][s].y, 40);
  EXPECT_TRUE(Near(PixelAt(105, 40), Colour(1)));

  play.pieces[1].wd = play.pieces[2].wd = play.pieces[3].wd = 40;
  box.box_count[1] = 0;
  for (int p = 1; p <= 20; p++) Fill({p});
  DrawBoxView();
  EXPECT_EQ(StripXs(), Steps(105, 34, 20));  // 20 x 42 > 712: (800 - 111) / 20 apart
  EXPECT_TRUE(Near(PixelAt(105 + 34 - 18, 40), Colour(2)));  // later slots lie on top

  ToggleLargeDisplay();
  ASSERT_EQ(GraphicsWidth(), 1024);
  DrawBoxView();
  EXPECT_EQ(StripXs(), Steps(105, 42, 20));  // 840 fits the 936-wide strip
}

TEST_F(BoxView, LabelPictureRowsAndPileAreDrawnInTheirPlaces) {
  box.current_box = 3;
  Enter();
  EXPECT_TRUE(Near(PixelAt(3, 20), {0, 0, 0}));         // the label's black frame
  EXPECT_TRUE(Near(PixelAt(64, 33), {128, 0, 0}));      // box 3's colour
  EXPECT_TRUE(Near(PixelAt(10, 45), {250, 250, 250}));  // the back button
  ASSERT_EQ(box.box_table_count, 6);                    // the inner pieces of the 4 x 5 jigsaw
  for (int j = 1; j <= 6; j++) {
    const pce_type& entry = box.box_table[j];
    EXPECT_EQ(entry.y, 106);
    EXPECT_EQ(entry.x, 29 + 42 * (j - 1));
  }
  const pce_type& first = box.box_table[1];
  play.pieces[first.n].a = 0;
  DrawBoxView();
  EXPECT_TRUE(Near(PixelAt(first.x, first.y), Colour(first.n)));
  const auto table = play.table_colour;
  EXPECT_TRUE(Near(PixelAt(400, 400), {table.r, table.g, table.b}));
}

TEST_F(BoxView, AClickTakesOnlyWhatIsSeenAndThePieceOnTop) {
  Fill({1});
  Enter();
  box.box_table[6].n = 0;  // a hole, so that taking a piece out does not lay the rows out again
  pce_type& row = box.box_table[1];
  const int row_piece = row.n;
  row.x = 105;
  row.y = 70;  // reaches up to y 50, but the rows are seen only from y 77
  // Where strip and row pieces are both under the pointer, the strip is tested first.
  Point(105, 55);
  EXPECT_EQ(BoxClick(), 1);
  EXPECT_EQ(box.box_count[1], 0);
  EXPECT_EQ(play.pieces[1].box, 0);
  EXPECT_EQ(row.n, row_piece);
  // The row piece's hidden top in the gap above the rows is not hit; its seen part is.
  Point(105, 72);
  EXPECT_EQ(BoxClick(), 0);
  Point(105, 80);
  EXPECT_EQ(BoxClick(), 1);
  EXPECT_EQ(box.box_slot[1][1].n, row_piece);
  EXPECT_EQ(row.n, 0);

  // Squeezed pieces overlap: the click takes the one drawn on top.
  box.box_count[1] = 0;
  for (int p = 1; p <= 20; p++) Fill({p});
  DrawBoxView();
  const int second = box.box_slot[1][2].n;
  Point(105 + 34 - 18, 40);  // over slots 1 and 2
  EXPECT_EQ(BoxClick(), 1);
  EXPECT_EQ(play.pieces[second].box, 0);
  EXPECT_EQ(box.box_slot[1][1].n, 1);
}

TEST_F(BoxView, AClickOnAnEmptyViewIsLeftForTheLoop) {
  for (int i = 1; i <= play.piece_count; i++) play.pieces[i].gp = 1;  // nothing loose
  Enter();
  EXPECT_EQ(box.box_table_count, 0);
  EXPECT_EQ(box.box_pile_count, 0);
  for (auto [x, y] : {std::pair{105, 40}, {29, 106}, {771, 571}, {799, 599}}) {
    Point(x, y);
    game.click_pending = true;
    BoxFrame();
    EXPECT_TRUE(game.click_pending) << x << ", " << y;
  }
  game.turn_pending = true;
  BoxFrame();
  EXPECT_FALSE(game.turn_pending);  // a turn request is dropped whether or not it hits
}

TEST_F(BoxView, BackButtonReturnsShowingTheBoxAndTheLabelSwitchesBoxes) {
  Fill({7, 8});
  play.pieces[7].visible = play.pieces[8].visible = 0;
  Enter();
  Point(68, 36);
  game.click_pending = true;
  BoxFrame();
  EXPECT_EQ(box.current_box, 2);
  EXPECT_FALSE(game.click_pending);
  PreviousBox();
  Point(47, 61);  // the far corner of the 40 x 20 button at (7, 41)
  game.click_pending = true;
  BoxFrame();
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(play.pieces[7].visible, 1);
  EXPECT_EQ(play.pieces[8].visible, 1);
  EXPECT_EQ(play.box_shown[1], 1);
}

TEST_F(BoxView, TurnRequestsTurnTheStripOrRowPieceUnderThePointer) {
  Fill({1});
  Enter();
  play.pieces[1].a = 3;
  const int row_piece = box.box_table[1].n;
  play.pieces[row_piece].a = 1;
  const int x = play.pieces[row_piece].x, y = play.pieces[row_piece].y;
  Point(105, 40);
  game.turn_pending = true;
  BoxFrame();
  EXPECT_EQ(play.pieces[1].a, 0);
  Point(box.box_table[1].x, box.box_table[1].y);
  game.turn_pending = true;
  BoxFrame();
  EXPECT_EQ(play.pieces[row_piece].a, 2);
  EXPECT_EQ(play.pieces[row_piece].x, x);  // the table position is untouched
  EXPECT_EQ(play.pieces[row_piece].y, y);
}

TEST_F(BoxView, KeyBThenClicksMoveAPieceIntoTheBoxAndBackAndEscapeShowsTheBox) {
  Key('B');
  ASSERT_EQ(game.screen, "box");
  ASSERT_EQ(box.box_table_count, 6);
  const pce_type entry = box.box_table[4];
  MoveTo(entry.x, entry.y);
  Click();
  ASSERT_EQ(box.box_count[1], 1);
  EXPECT_EQ(box.box_slot[1][1].n, entry.n);
  EXPECT_EQ(box.box_table[4].n, 0);
  Turn();  // the strip is drawn
  EXPECT_TRUE(Near(PixelAt(105, 40), Colour(entry.n)));

  MoveTo(105, 40);
  Click();
  EXPECT_EQ(box.box_count[1], 0);
  EXPECT_EQ(box.box_table[4].n, entry.n);  // back into its hole
  EXPECT_EQ(play.pieces[entry.n].visible, 0);

  MoveTo(box.box_table[2].x, box.box_table[2].y);
  const int boxed = box.box_table[2].n;
  Click();
  play.pieces[boxed].visible = 0;
  Key(KEY_ESCAPE);
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(shell.pending_confirm, "X");
  EXPECT_EQ(play.pieces[boxed].visible, 1);
  EXPECT_EQ(play.pieces[boxed].box, 1);
  RaiseToTop(boxed);
  Turn();
  const piece_type& piece = play.pieces[boxed];
  EXPECT_TRUE(Near(PixelAt(piece.x, piece.y), Colour(boxed))) << "on the table";
}

TEST_F(BoxView, AClickThatClosesHelpOverTheViewReachesItsPieces) {
  Key('B');
  Key('H');
  ASSERT_EQ(game.screen, "help");
  const pce_type entry = box.box_table[3];
  MoveTo(entry.x, entry.y);
  Click();
  EXPECT_EQ(game.screen, "box");
  EXPECT_EQ(box.box_count[1], 1);
  EXPECT_EQ(box.box_slot[1][1].n, entry.n);
}

TEST_F(BoxView, KeyTTidiesAroundTheLivePointerKeepingTheDrawingOrder) {
  const auto order = play.draw_order;
  MoveTo(400, 300);
  Key('T');
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(shell.help_pointer_x, -1);
  for (int i = 1; i <= play.piece_count; i++) {
    const piece_type& piece = play.pieces[i];
    EXPECT_TRUE(piece.x >= 229 && piece.x <= 565 && (piece.x - 229) % 42 == 0) << i;
    EXPECT_TRUE(piece.y == 179 || piece.y == 237 || piece.y == 295) << i;
  }
  EXPECT_EQ(play.draw_order, order);
  EXPECT_EQ(play.tidy_label.k, 0);  // 20 pieces fit the centre
}


// A big jigsaw: 6 x 8 pieces of 112 pixels (24 inner ones) on a 3200 x 2400 table, the table's
// view zoomed in off its home. The box view draws them at half size, in pages.
class BigBoxView : public BoxView {
 protected:
  void WriteFiles() override {
    BoxView::WriteFiles();
    fs::remove_all("jigsaws/0000vorna");
    shell_test::WriteJigsaw("0000vorna", 6, 8, 112, 100, 50);
  }
  void SetUp() override {
    BoxView::SetUp();
    play.table_width = 3200;
    play.table_height = 2400;
    ViewHome();
    ZoomView(3, 700, 500);
  }
};

TEST_F(BigBoxView, PiecesAreDrawnAndHitAtTheirScaleOnThePageShownOnly) {
  Enter();
  ASSERT_EQ(box.box_table_count, 24);
  ASSERT_EQ(box.box_page_count, 1);
  const pce_type first = box.box_table[1], second = box.box_table[2];
  EXPECT_EQ(first.x, 29);
  EXPECT_EQ(second.x, 87);  // 56 + 2 on
  play.pieces[first.n].a = play.pieces[second.n].a = 0;
  DrawBoxView();
  EXPECT_TRUE(Near(PixelAt(29 + 24, 106), Colour(first.n)));
  const auto table = play.table_colour;
  // Where the 13th piece would reach at its own size, below the end of the second row.
  EXPECT_TRUE(Near(PixelAt(29 + 58 * 12, 106 + 40), {table.r, table.g, table.b}));
  MoveTo(29 + 40, 106);  // inside the first piece at its own size, inside the second as drawn
  Click();
  EXPECT_EQ(box.box_slot[1][1].n, second.n);
  EXPECT_EQ(box.box_table[1].n, first.n);

  // An entry on another page is neither drawn nor hit until that page is shown.
  box.box_table[1].page = 1;
  box.box_page_count = 2;
  MoveTo(29, 106);  // the loop draws the view, the pointer over the entry
  EXPECT_TRUE(Near(PixelAt(19, 116), {table.r, table.g, table.b}));
  EXPECT_EQ(BoxClick(), 0);
  Key(KEY_PAGEDOWN);
  EXPECT_EQ(box.box_page, 1);
  EXPECT_TRUE(Near(PixelAt(19, 116), Colour(first.n)));
  Click();
  EXPECT_EQ(box.box_table[1].n, 0);
  EXPECT_EQ(box.box_count[1], 2);
  Key(KEY_PAGEUP);
  EXPECT_EQ(box.box_page, 0);
}

TEST_F(BigBoxView, AFullStripShowsTheNewestSlotsAndOnlyThoseAreHit) {
  for (int p = 1; p <= 45; p++) Fill({p});
  for (int p = 1; p <= 45; p++) play.pieces[p].a = 0;
  Enter();
  // Squeezed no closer than 56 / 3 = 18: (800 - 111) / 18 = 38 slots, from slot 8 on.
  ASSERT_EQ(box.strip_first, 8);
  EXPECT_EQ(StripXs()[7], 105);
  EXPECT_EQ(StripXs()[44], 105 + 18 * 37);
  EXPECT_TRUE(Near(PixelAt(105 + 18 * 37 + 10, 40), Colour(45)));
  Point(80, 40);  // slot 8 alone; the earlier slots are not drawn
  EXPECT_EQ(BoxClick(), 1);
  EXPECT_EQ(play.pieces[8].box, 0);
  EXPECT_EQ(play.pieces[7].box, 1);
  EXPECT_EQ(box.box_count[1], 44);
}

}  // namespace
