// Tests of the table's view on a real 800 x 600 window: screen and table space both ways, zooming
// about a point and its limits, the home view, and picking, carrying, joining and turning with the
// snap tolerance at zoom 0.5 and 2 on a 3200 x 2400 table.
#include <gtest/gtest.h>

#include <cmath>

#include "draw/draw.h"
#include "platform/platform.h"
#include "play/play.h"
#include "tests/play/play_fixture.h"

namespace {

class ViewTest : public PlayWindowTest {
 protected:
  void SetUp() override {
    PlayWindowTest::SetUp();
    play.table_width = 3200;
    play.table_height = 2400;
    ViewHome();
  }
  static void SetView(double zoom, double left, double top) { play.view = {zoom, left, top, 800, 600}; }
  // The table point under a screen point.
  static std::pair<double, double> Under(int sx, int sy) {
    double tx, ty;
    ScreenToTable(sx, sy, tx, ty);
    return {tx, ty};
  }
};

TEST_F(ViewTest, ScreenAndTableSpaceMapBothWays) {
  struct transform_case {
    double zoom, left, top;
    int sx, sy;
    double tx, ty;
  };
  const transform_case cases[] = {
      {1, 0, 0, 100, 50, 100, 50},          {0.5, 400, 300, 100, 50, 600, 400},
      {2, 1000, 800, 101, 51, 1050.5, 825.5}, {0.25, 0, 0, 799, 599, 3196, 2396},
      {1.25, 2560, 1920, 0, 0, 2560, 1920},
  };
  for (const transform_case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "zoom " << c.zoom << " at " << c.left << ", " << c.top);
    SetView(c.zoom, c.left, c.top);
    const auto [tx, ty] = Under(c.sx, c.sy);
    EXPECT_DOUBLE_EQ(tx, c.tx);
    EXPECT_DOUBLE_EQ(ty, c.ty);
    double sx, sy;
    TableToScreen(tx, ty, sx, sy);
    EXPECT_DOUBLE_EQ(sx, c.sx);
    EXPECT_DOUBLE_EQ(sy, c.sy);
    PointAt(c.sx, c.sy);
    EXPECT_EQ(TablePointerX(), static_cast<int>(std::floor(c.tx)));
    EXPECT_EQ(TablePointerY(), static_cast<int>(std::floor(c.ty)));
  }
}

TEST_F(ViewTest, ZoomingKeepsTheTablePointUnderThePointer) {
  struct zoom_case {
    int steps, sx, sy;
    double want_zoom;
  };
  const zoom_case cases[] = {
      {1, 400, 300, 1.25}, {2, 10, 590, 1.5625}, {-1, 700, 100, 0.8}, {-2, 123, 456, 0.64}, {3, 799, 0, 1.953125},
  };
  for (const zoom_case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.steps << " steps at " << c.sx << ", " << c.sy);
    SetView(1, 1200, 900);
    const auto before = Under(c.sx, c.sy);
    ZoomView(c.steps, c.sx, c.sy);
    EXPECT_NEAR(play.view.zoom, c.want_zoom, 1e-9);
    const auto after = Under(c.sx, c.sy);
    // The picture's offset is rounded to whole screen pixels.
    EXPECT_NEAR(after.first, before.first, 0.5 / play.view.zoom);
    EXPECT_NEAR(after.second, before.second, 0.5 / play.view.zoom);
  }
}

TEST_F(ViewTest, TheZoomStaysWithinItsLimitsAndAFittingTableIsTheIdentityAtHome) {
  ZoomView(40, 400, 300);
  EXPECT_DOUBLE_EQ(play.view.zoom, 2);
  ZoomView(-40, 400, 300);
  EXPECT_DOUBLE_EQ(play.view.zoom, MinZoom());
  EXPECT_DOUBLE_EQ(MinZoom(), 0.25);
  const table_rect whole = VisibleTable();
  EXPECT_DOUBLE_EQ(whole.left, 0);
  EXPECT_DOUBLE_EQ(whole.width, 3200);
  EXPECT_DOUBLE_EQ(whole.height, 2400);
  EXPECT_TRUE(ViewAtHome());
  PanView(-50, 0);  // the whole table in view has nowhere to move
  EXPECT_TRUE(ViewAtHome());

  struct table_case {
    int width, height;
    double min_zoom;
  };
  for (const table_case& c : {table_case{800, 600, 1}, {400, 300, 1}, {1600, 600, 0.5}, {1000, 1200, 0.5}}) {
    play.table_width = c.width;
    play.table_height = c.height;
    EXPECT_DOUBLE_EQ(MinZoom(), c.min_zoom) << c.width << " x " << c.height;
  }
  play.table_width = 800;
  play.table_height = 600;
  SetView(2, 100, 100);
  EXPECT_FALSE(ViewAtHome());
  ViewHome();
  EXPECT_TRUE(ViewAtHome());
  EXPECT_EQ(Under(0, 0), (std::pair<double, double>{0, 0}));
  EXPECT_EQ(Under(799, 599), (std::pair<double, double>{799, 599}));
  ZoomView(-1, 400, 300);  // never below the table's own size when it fits
  EXPECT_DOUBLE_EQ(play.view.zoom, 1);
}

// The snap tolerance is 10 screen pixels at every zoom: 20 table pixels at half size, but never
// more than a quarter of the pieces' spacing nor less than 10; 5 table pixels at zoom 2.
TEST_F(ViewTest, TheSnapToleranceFollowsTheZoom) {
  struct tolerance_case {
    double zoom;
    int spacing;
    int last_joining;  // table pixels off on each axis; one more does not join
  };
  const tolerance_case cases[] = {
      {0.5, 100, 19}, {0.5, 60, 14}, {0.5, 30, 9}, {1, 100, 9}, {2, 100, 4}, {2, 30, 4},
  };
  for (const tolerance_case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "zoom " << c.zoom << ", spacing " << c.spacing);
    jigsaw_spec spec = Grid(1, 2);
    spec.spacing = c.spacing;
    LoadGrid(spec);
    SetView(c.zoom, 0, 0);
    Place(1, 1000, 1000);
    for (int off : {c.last_joining, c.last_joining + 1}) {
      for (auto [dx, dy] : {std::pair{off, 0}, {0, -off}, {-off, off}}) {
        Place(2, 1000 + c.spacing + dx, 1000 + dy);
        EXPECT_EQ(NeighboursFit(1, 2), off == c.last_joining ? 1 : 0) << dx << ", " << dy;
      }
    }
  }
}

// Picks a piece where it is drawn, carries it by screen pointer moves and drops it beside its
// neighbour 8 screen pixels off (joins) or 12 (does not), then turns it under the pointer.
TEST_F(ViewTest, PickCarryJoinAndTurnThroughTheView) {
  struct carry_case {
    double zoom;
    int off;  // screen pixels
    bool joins;
  };
  for (const carry_case& c : {carry_case{0.5, 8, true}, {0.5, 12, false}, {2, 8, true}, {2, 12, false}}) {
    SCOPED_TRACE(::testing::Message() << "zoom " << c.zoom << ", " << c.off << " off");
    jigsaw_spec spec = Grid(1, 2);
    spec.spacing = 100;
    LoadGrid(spec);
    play.probe = MakeProbe();
    SetView(c.zoom, 1000, 1000);
    const int x1 = 1000 + static_cast<int>(200 / c.zoom), y1 = 1000 + static_cast<int>(200 / c.zoom);
    Place(1, x1, y1);
    Place(2, x1, y1 + static_cast<int>(150 / c.zoom));  // 150 screen pixels below piece 1
    play.dragged = 0;

    // The opaque 30 x 30 middle shows 15 * zoom screen pixels either side of the centre.
    const int reach = static_cast<int>(15 * c.zoom);
    PointAt(200 + reach + 2, 350);
    EXPECT_EQ(PieceUnderPointer(), 0);
    PointAt(200 + reach - 1, 350);
    EXPECT_EQ(PieceUnderPointer(), 2);
    game.click_pending = true;
    PickUp();
    ASSERT_EQ(play.dragged, 2);

    // Piece 2 fits 100 table pixels right of piece 1: that many screen pixels times the zoom.
    const int fitted_sx = 200 + static_cast<int>(100 * c.zoom);
    PointAt(fitted_sx + reach - 1 + c.off, 200 + c.off);
    FollowPointer();
    EXPECT_NEAR(play.pieces[2].x, x1 + 100 + c.off / c.zoom, 1 / c.zoom);
    EXPECT_NEAR(play.pieces[2].y, y1 + c.off / c.zoom, 1 / c.zoom);
    DropAndJoin();
    play.dragged = 0;
    EXPECT_EQ(play.pieces[2].gp != 0 && play.pieces[2].gp == play.pieces[1].gp, c.joins);

    // A turn request turns the piece drawn under the pointer.
    double sx, sy;
    TableToScreen(play.pieces[2].x, play.pieces[2].y, sx, sy);
    PointAt(static_cast<int>(sx), static_cast<int>(sy));
    game.turn_pending = true;
    JigsawFrame();
    EXPECT_FALSE(game.turn_pending);
    EXPECT_EQ(play.pieces[2].a, 1);
  }
}

}  // namespace
