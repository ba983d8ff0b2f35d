// Tests of loading a jigsaw folder into the piece tables: grid neighbours and border flags,
// home positions and images, the table colour lines, the median colour, and ResetPlayState.
#include <gtest/gtest.h>

#include <vector>

#include "box/box.h"
#include "draw/draw.h"
#include "files/files.h"
#include "play/play.h"
#include "shell/shell.h"
#include "tests/play/play_fixture.h"

namespace {

using FolderTest = PlayTest;

TEST_F(FolderTest, ThreeByThreeGridHasOneInnerPiece) {
  LoadGrid(Grid(3, 3).Colour({1, 2, 3}));
  EXPECT_EQ(play.piece_count, 9);
  EXPECT_EQ(play.jigsaw_folder, "jigsaws/grid");
  EXPECT_EQ(play.jigsaw_name, "grid");
  const piece_type& five = play.pieces[5];
  EXPECT_EQ(five.n, 2);
  EXPECT_EQ(five.e, 6);
  EXPECT_EQ(five.w, 4);
  EXPECT_EQ(five.s, 8);
  for (int i = 1; i <= 9; i++) {
    EXPECT_EQ(play.pieces[i].edge, i == 5 ? 0 : 1) << i;
    EXPECT_EQ(play.pieces[i].visible, 1);
    EXPECT_EQ(play.draw_order[i], i);
  }
  EXPECT_EQ(play.pieces[1].n, 0);
  EXPECT_EQ(play.pieces[1].w, 0);
  EXPECT_EQ(play.pieces[9].e, 0);
  EXPECT_EQ(play.pieces[9].s, 0);
  EXPECT_EQ(play.pieces[6].x0, 160);
  EXPECT_EQ(play.pieces[6].y0, 130);
  ASSERT_TRUE(play.pieces[6].img);
  EXPECT_EQ(play.pieces[6].wd, 40);
  EXPECT_FLOAT_EQ(play.pieces[6].img->handle_x, 20);
  EXPECT_EQ(play.pieces[6].r, 60);
  EXPECT_EQ(play.pieces[6].g, 100);
  EXPECT_EQ(play.pieces[6].b, 200);
  EXPECT_EQ(play.table_colour.r, 1);
  EXPECT_EQ(play.table_colour.b, 3);
  EXPECT_TRUE(play.thumb);
  EXPECT_EQ(play.thumb_width, 24);
  EXPECT_EQ(play.thumb_height, 18);
  EXPECT_EQ(play.completion_handled, 1);  // loading alone does not start a jigsaw
}

TEST_F(FolderTest, OneRowIsAllBorder) {
  LoadGrid(Grid(1, 6));
  for (int i = 1; i <= 6; i++) {
    EXPECT_EQ(play.pieces[i].edge, 1);
    EXPECT_EQ(play.pieces[i].n, 0);
    EXPECT_EQ(play.pieces[i].s, 0);
  }
  EXPECT_EQ(play.pieces[3].w, 2);
  EXPECT_EQ(play.pieces[3].e, 4);
}

TEST_F(FolderTest, TableColourWithoutColourLines) {
  play.table_colour = {9, 9, 9};
  LoadGrid(Grid(3, 3));
  EXPECT_EQ(play.table_colour.r, 115);
  EXPECT_EQ(play.table_colour.g, 8);
  EXPECT_EQ(play.table_colour.b, 33);

  game.prefs.pref_keep_colour = 1;
  play.table_colour = {9, 8, 7};
  LoadGrid(Grid(3, 3), "kept");
  EXPECT_EQ(play.table_colour.r, 9);
  EXPECT_EQ(play.table_colour.b, 7);
  LoadGrid(Grid(3, 3).Colour({40, 50, 60}), "own");  // the jigsaw's own lines still win
  EXPECT_EQ(play.table_colour.g, 50);
}

TEST_F(FolderTest, ALoadKeepsPositionsAndDropsTheCarriedPiece) {
  LoadGrid(Grid(3, 3));
  Place(4, 321, 123, 2);
  play.pieces[4].box = 3;
  play.pieces[4].gp = 7;
  play.last_group = 7;
  play.dragged = 4;
  play.thumb_x = 300;
  LoadGrid(Grid(2, 2), "small");
  EXPECT_EQ(play.pieces[4].x, 321);
  EXPECT_EQ(play.pieces[4].a, 2);
  EXPECT_EQ(play.pieces[4].box, 3);
  EXPECT_EQ(play.pieces[4].gp, 0);
  EXPECT_EQ(play.last_group, 0);
  EXPECT_EQ(play.dragged, 0);
  EXPECT_EQ(play.thumb_x, 10);
  EXPECT_EQ(play.piece_count, 4);
}

std::shared_ptr<TPixmap> PixmapOf(const std::vector<uint32_t>& pixels) {
  auto pixmap = CreatePixmap(static_cast<int>(pixels.size()), 2, PF_RGBA8888);
  for (size_t x = 0; x < pixels.size(); x++) pixmap->WritePixel(static_cast<int>(x), 1, pixels[x]);
  return pixmap;  // row 0 stays black
}

TEST(MedianColour, TakesTheLowerMiddleOfTheNonBlackPixels) {
  struct median_case {
    std::vector<uint32_t> pixels;
    colour_type want;
  };
  const median_case cases[] = {
      {{0xff0a0101, 0xffc80202, 0xff1e0303, 0xff280404}, {30, 2, 2}},  // red 10, 200, 30, 40
      {{0xff0a0101, 0xffc80202, 0xff1e0303, 0xff280404, 0xff050505},
       {10, 2, 2}},                                       // m = 5: 2nd smallest
      {{0xff000000, 0xff000000, 0x00000000}, {0, 0, 0}},  // all black
      {{0xff7f7f7f}, {0, 0, 0}},                          // m = 1
      {{0x00102030, 0x00405060}, {16, 32, 48}},           // alpha not looked at
      {{0xff000001, 0xff000002}, {0, 0, 1}},              // black in red, green only
  };
  for (const median_case& c : cases) {
    // Each channel lands in its own place in every colour format.
    for (int format : {PF_RGBA8888, PF_BGRA8888, PF_RGB888, PF_BGR888}) {
      const colour_type got = PieceMedianColour(*PixmapOf(c.pixels)->Convert(format));
      EXPECT_EQ(got.r, c.want.r) << format;
      EXPECT_EQ(got.g, c.want.g) << format;
      EXPECT_EQ(got.b, c.want.b) << format;
    }
  }
  // Grey pixmaps go through the general pixel reader: 90 and 30 count, black does not.
  auto grey = CreatePixmap(3, 1, PF_I8);
  grey->WritePixel(0, 0, 0xff5a5a5a);
  grey->WritePixel(1, 0, 0xff1e1e1e);
  EXPECT_EQ(PieceMedianColour(*grey).g, 30);
}

TEST_F(FolderTest, ResetPlayStateClearsTheFlagsOfPlay) {
  LoadGrid(Grid(3, 3));
  play.pieces[5].edge = 1;
  play.thumb_shown = play.swatch_shown = 1;
  play.dragged = 3;
  play.completion_handled = 1;
  box.current_box = 4;
  shell.pending_confirm = "R";
  ResetPlayState();
  EXPECT_EQ(play.pieces[5].edge, 0);
  EXPECT_EQ(play.pieces[4].edge, 1);
  EXPECT_EQ(play.thumb_shown + play.swatch_shown + play.dragged + play.completion_handled, 0);
  EXPECT_EQ(box.current_box, 1);
  EXPECT_EQ(shell.pending_confirm, "");
  EXPECT_EQ(play.grouped_shown, 1);
  EXPECT_EQ(play.loose_shown, 1);
}

}  // namespace
