// Tests of picking and the floating tools of the table: the topmost visible piece under the
// probe, transparent surrounds, pick-up, the thumbnail and the colour swatch.
#include <gtest/gtest.h>

#include "box/box.h"
#include "draw/draw.h"
#include "play/play.h"
#include "shell/shell.h"
#include "tests/play/play_fixture.h"

namespace {

class TableTest : public PlayTest {
 protected:
  void SetUp() override {
    // Pieces 40 x 30 with a black surround of 5: opaque from 15 left of the centre to 14 right.
    LoadGrid(Grid(2, 2, 40, 30));
    play.probe = MakeProbe();
    for (int i = 1; i <= 4; i++) Place(i, 100 * i, 300, 0);
  }
};

TEST_F(TableTest, TheLaterPieceInDrawOrderIsPicked) {
  Place(2, 100, 300);
  PointAt(100, 300);
  EXPECT_EQ(PieceUnderPointer(), 2);
  RaiseToTop(1);
  EXPECT_EQ(PieceUnderPointer(), 1);
  play.pieces[1].visible = 0;  // a hidden piece on top is passed over
  EXPECT_EQ(PieceUnderPointer(), 2);
  PointAt(500, 500);
  EXPECT_EQ(PieceUnderPointer(), 0);
}

TEST_F(TableTest, TheTransparentSurroundReachesThePieceBelow) {
  Place(2, 130, 300);  // its surround covers x 110..114, its opaque part starts at 115
  RaiseToTop(2);
  struct probe_case {
    int x, want;
  };
  const probe_case cases[] = {{84, 0}, {85, 1}, {112, 1}, {114, 1}, {115, 2}, {144, 2}, {145, 0}};
  for (const probe_case& c : cases) {
    PointAt(c.x, 300);
    EXPECT_EQ(PieceUnderPointer(), c.want) << c.x;
  }
}

TEST_F(TableTest, PickUpRaisesTheGroupAndRemembersTheGrip) {
  MakeGroup({1, 2}, 1);
  play.tidy_label.k = 7;
  game.click_pending = true;
  PointAt(103, 295);
  PickUp();
  EXPECT_FALSE(game.click_pending);
  EXPECT_EQ(play.dragged, 1);
  EXPECT_EQ(play.drag_dx, 3);
  EXPECT_EQ(play.drag_dy, -5);
  EXPECT_EQ(play.draw_order[4], 2);
  EXPECT_EQ(play.draw_order[3], 1);
  EXPECT_EQ(play.tidy_label.k, 0);
}

TEST_F(TableTest, NothingIsPickedUpFromEmptyTableOrAFinishedPicture) {
  game.click_pending = true;
  PointAt(700, 50);
  PickUp();
  EXPECT_TRUE(game.click_pending);
  PlaceAllHome();
  PointAt(play.pieces[3].x0, play.pieces[3].y0);
  PickUp();
  EXPECT_TRUE(game.click_pending);
  EXPECT_EQ(play.dragged, 0);
}

TEST_F(TableTest, AClickWhileCarryingPutsDownAndLeavesTheThumbnail) {
  play.thumb_shown = 1;
  play.dragged = 4;
  PointAt(15, 15);  // over the thumbnail
  game.click_pending = true;
  JigsawFrame();
  EXPECT_EQ(play.dragged, 0);
  EXPECT_FALSE(game.click_pending);
  EXPECT_EQ(play.thumb_dragging, 0);
}

TEST_F(TableTest, TheThumbnailIsPickedUpAndPutDownByClicks) {
  play.thumb_shown = 1;
  PointAt(20, 22);
  game.click_pending = true;
  JigsawFrame();
  EXPECT_FALSE(game.click_pending);
  EXPECT_EQ(play.thumb_dragging, 1);
  EXPECT_EQ(play.thumb_grab_dx, 10);
  EXPECT_EQ(play.thumb_grab_dy, 12);
  game.click_pending = true;
  ThumbClick();
  EXPECT_EQ(play.thumb_dragging, 0);
  PointAt(10 + 24 + 1, 10);  // right of the inclusive rectangle
  game.click_pending = true;
  ThumbClick();
  EXPECT_TRUE(game.click_pending);
  play.thumb = nullptr;  // without a thumbnail the click is never taken
  PointAt(20, 22);
  ThumbClick();
  EXPECT_TRUE(game.click_pending);
}

TEST_F(TableTest, TheSwatchSetsTheTableColourAndNotThePiece) {
  auto pixmap = CreatePixmap(4, 3, PF_RGB888);
  pixmap->WritePixel(3, 2, MakeARGB(255, 12, 34, 56));
  play.swatch_pixmap = pixmap;
  play.swatch = TImage::Load(pixmap, 0, 0, 0, 0);
  play.swatch_shown = 1;
  Place(1, 12, 464);  // a piece lies under the swatch
  PointAt(13, 465);
  game.click_pending = true;
  JigsawFrame();
  EXPECT_FALSE(game.click_pending);
  EXPECT_EQ(play.dragged, 0);
  EXPECT_EQ(play.table_colour.r, 12);
  EXPECT_EQ(play.table_colour.g, 34);
  EXPECT_EQ(play.table_colour.b, 56);
  EXPECT_EQ(play.swatch_shown, 1);
  // Just past the swatch's pixels the click goes on to the piece.
  PointAt(14, 465);
  game.click_pending = true;
  JigsawFrame();
  EXPECT_EQ(play.dragged, 1);
}

TEST_F(TableTest, ATurnRequestWaitsForAPieceUnderThePointer) {
  game.turn_pending = true;
  PointAt(700, 50);
  JigsawFrame();
  EXPECT_TRUE(game.turn_pending);
  PointAt(300, 300);
  JigsawFrame();
  EXPECT_FALSE(game.turn_pending);
  EXPECT_EQ(play.pieces[3].a, 1);
}

}  // namespace
