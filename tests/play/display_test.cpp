// Play tests on a real window: failed folder loads answered through their blocking notice, the
// table as drawn (order, turns, hidden pieces, colour), hit tests of turned pieces, and setting ten
// pieces aside on the large display.
#include <gtest/gtest.h>

#include <set>

#include "draw/draw.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"
#include "tests/play/play_fixture.h"

namespace {

class PlayDisplayTest : public PlayWindowTest {
 protected:
  // Runs a load whose blocking notice a timer answers with a key; returns the load's result
  // and whether a notice waited for the key.
  bool LoadAnsweringNotice(const std::string& name, bool& waited) {
    auto timer = CreateTimer(50, TEvent::Create(EVENT_KEYDOWN, nullptr, KEY_SPACE));
    const bool loaded = LoadJigsawFolder(name);
    waited = timer->Ticks() > 0;
    timer->Stop();
    FlushKeys();
    while (PollEvent() != 0) {
    }
    return loaded;
  }
  static uint32_t PixelAt(int x, int y) {
    return ReadPixel(GrabPixmap(x, y, 1, 1), 0, 0) & 0xffffff;
  }
  static uint32_t PieceColour(int i) { return MakeARGB(0, (10 * i) % 256, 100, 200); }
};

TEST_F(PlayDisplayTest, FailedLoadsLeaveThePreviousJigsawIntact) {
  struct failure_case {
    std::string name;
    jigsaw_spec spec;
    bool written;
  };
  const failure_case cases[] = {
      {"absent", Grid(3, 3), false},
      {"holed", Grid(3, 3).Missing(5), true},
      {"empty", Grid(1, 1).Lines("0", "1"), true},
      {"huge", Grid(1, 1).Lines("7", "286"), true},  // 2002 pieces
      {"negative", Grid(1, 1).Lines("-3", "-4"), true},
  };
  LoadGrid(Grid(2, 3).Colour({1, 2, 3}), "good");
  const auto first_image = play.pieces[1].img;
  const auto thumb = play.thumb;
  for (const failure_case& c : cases) {
    if (c.written) WriteJigsaw(c.name, c.spec);
    bool waited = false;
    EXPECT_FALSE(LoadAnsweringNotice(c.name, waited)) << c.name;
    EXPECT_TRUE(waited) << c.name;
    EXPECT_EQ(play.jigsaw_name, "good");
    EXPECT_EQ(play.jigsaw_folder, "jigsaws/good");
    EXPECT_EQ(play.piece_count, 6);
    EXPECT_EQ(play.cols, 3);
    EXPECT_EQ(play.pieces[1].img, first_image) << c.name;
    EXPECT_EQ(play.pieces[5].x0, 130);
    EXPECT_EQ(play.pieces[3].e, 0);
    EXPECT_EQ(play.table_colour.r, 1);
    EXPECT_EQ(play.thumb, thumb);
  }
}

TEST_F(PlayDisplayTest, AMissingThumbnailIsReportedAndTheJigsawPlays) {
  WriteJigsaw("bare", Grid(3, 3).NoThumbnail());
  bool waited = false;
  EXPECT_TRUE(LoadAnsweringNotice("bare", waited));
  EXPECT_TRUE(waited);
  EXPECT_EQ(play.jigsaw_name, "bare");
  EXPECT_EQ(play.thumb, nullptr);
  play.thumb_shown = 1;  // even if something showed it, it is neither drawn nor clicked
  PointAt(12, 12);
  game.click_pending = true;
  JigsawFrame();
  EXPECT_TRUE(game.click_pending);
}

TEST_F(PlayDisplayTest, TheTableIsDrawnInDrawOrderWithTurns) {
  LoadGrid(Grid(1, 3, 40, 30));
  play.table_colour = {0, 90, 0};
  Place(1, 200, 200);
  Place(2, 210, 200);
  Place(3, 400, 300, 1);
  DrawTable();
  EXPECT_EQ(PixelAt(205, 200), PieceColour(2));
  EXPECT_EQ(PixelAt(190, 200), PieceColour(1));
  EXPECT_EQ(PixelAt(700, 500), 0x005a00u);
  // Turned a quarter: the opaque middle stands 20 wide and 30 high.
  EXPECT_EQ(PixelAt(400, 312), PieceColour(3));
  EXPECT_EQ(PixelAt(413, 300), 0x005a00u);
  RaiseToTop(1);
  DrawTable();
  EXPECT_EQ(PixelAt(205, 200), PieceColour(1));
  play.pieces[1].visible = 0;
  DrawTable();
  EXPECT_EQ(PixelAt(205, 200), PieceColour(2));
  EXPECT_EQ(PixelAt(190, 200), 0x005a00u);
}

TEST_F(PlayDisplayTest, TheOverviewMapsTheTableAndAClickOnItMovesTheView) {
  LoadGrid(Grid(1, 2, 40, 40));
  play.probe = MakeProbe();
  play.table_width = 1600;
  play.table_height = 1200;
  play.table_colour = {0, 80, 0};
  Place(1, 800, 600);
  Place(2, 552, 412);  // under the map's middle once zoomed in on the top-left
  JigsawFrame();
  EXPECT_FALSE(OverviewShown());  // the whole table in view
  EXPECT_EQ(PixelAt(690, 515), 0x005000u);
  ZoomView(4, 0, 0);
  ASSERT_NEAR(play.view.zoom, 1.25, 1e-9);
  JigsawFrame();
  ASSERT_TRUE(OverviewShown());
  const overview_place place = OverviewPlace();
  EXPECT_EQ(std::vector<int>({place.x, place.y, place.width, place.height}), std::vector<int>({590, 440, 200, 150}));
  // Each piece in its own colour at its place, on the darkened table, in a frame; the view outlined.
  EXPECT_EQ(PixelAt(690, 515), PieceColour(1));
  EXPECT_EQ(PixelAt(659, 491), PieceColour(2));
  EXPECT_EQ(PixelAt(740, 460), 0x003c00u);
  EXPECT_EQ(PixelAt(589, 560), 0xc8c8c8u);
  EXPECT_EQ(PixelAt(590, 470), 0xffffffu);
  EXPECT_EQ(PixelAt(669, 470), 0xffffffu);
  // A still table draws the same map; a piece that moves remakes it.
  const std::shared_ptr<TImage> map = play.overview_map;
  JigsawFrame();
  EXPECT_EQ(play.overview_map, map);
  // A click on the map centres the view on that point of the table and picks up nothing there.
  PointAt(690, 515);
  game.click_pending = true;
  JigsawFrame();
  EXPECT_FALSE(game.click_pending);
  EXPECT_EQ(play.dragged, 0);
  const table_rect shown = VisibleTable();
  EXPECT_NEAR(shown.left + shown.width / 2, 804, 1);
  EXPECT_NEAR(shown.top + shown.height / 2, 604, 1);
  EXPECT_EQ(play.overview_map, map);
  Place(2, 1500, 1100);
  JigsawFrame();
  EXPECT_NE(play.overview_map, map);
  // Hidden (Tab), the table shows beneath and a click there is a pick again.
  play.overview_shown = 0;
  JigsawFrame();
  EXPECT_EQ(PixelAt(690, 515), 0x005000u);
  Place(1, 1036, 776);
  game.click_pending = true;
  JigsawFrame();
  EXPECT_EQ(play.dragged, 1);
}

TEST_F(PlayDisplayTest, OutlinedNumbersAreWhiteOnABlackOutline) {
  SetClsColor(0, 90, 0);
  Cls();
  DrawOutlinedNumber(47, 400, 300);
  int r, g, b;
  GetColor(r, g, b);
  EXPECT_EQ(r + g + b, 3 * 255);
  const auto area = GrabPixmap(370, 270, 60, 60);
  int white = 0, black = 0, left = 60, right = 0;
  for (int y = 0; y < 60; y++) {
    for (int x = 0; x < 60; x++) {
      const uint32_t p = ReadPixel(area, x, y) & 0xffffff;
      white += p == 0xffffff;
      black += p == 0;
      if (p != 0x005a00) left = std::min(left, x), right = std::max(right, x);
    }
  }
  EXPECT_GT(white, 10);
  EXPECT_GT(black, white);      // four shadows around one white text
  EXPECT_EQ(left + right, 59);  // centred on x 400 (pixel columns 370 + 29 and 30)
}

TEST_F(PlayDisplayTest, HitTestsUseTheTurnForBothImages) {
  LoadGrid(Grid(1, 1, 40, 30));
  play.probe = MakeProbe();
  // The opaque 30 x 20 middle of the 40 x 30 piece stands 20 wide and 30 high after a turn.
  PointAt(100, 312);
  EXPECT_EQ(PieceHitAt(1, 100, 300, 0), 0);
  EXPECT_EQ(PieceHitAt(1, 100, 300, 1), 1);
  PointAt(113, 300);
  EXPECT_EQ(PieceHitAt(1, 100, 300, 0), 1);
  EXPECT_EQ(PieceHitAt(1, 100, 300, 1), 0);
  EXPECT_EQ(GetRotation(), 0);  // drawing after a hit test is unturned
  play.probe = nullptr;         // a missing probe image picks nothing
  EXPECT_EQ(PieceHitAt(1, 100, 300, 0), 0);
}

TEST_F(PlayDisplayTest, SetAsideTenOnTenPiecesPlacesNothing) {
  LoadGrid(Grid(2, 5));
  SetAsideTen();
  EXPECT_TRUE(game.display.display_large);
  EXPECT_EQ(GraphicsWidth(), 1024);
  EXPECT_EQ(play.pieces[1].y, 30);  // piece 1 always heads the column
  std::vector<int> ys;
  for (int i = 1; i <= 10; i++) {
    EXPECT_EQ(play.pieces[i].x, 850);
    EXPECT_EQ(play.pieces[i].a, 0);
    EXPECT_EQ(play.pieces[i].gp, 0);
    ys.push_back(play.pieces[i].y);
  }
  std::sort(ys.begin(), ys.end());
  EXPECT_EQ(ys, (std::vector<int>{30, 105, 180, 255, 330, 405, 480, 555, 630, 705}));
  EXPECT_EQ(play.last_group, 1);
}

TEST_F(PlayDisplayTest, SetAsideTenKeepsEveryPieceWhollyOnTheLargeDisplay) {
  // Pieces 200 pixels tall: the tenth slot of the column, y 705, would reach 805.
  LoadGrid(Grid(2, 5, 150, 200));
  SetAsideTen();
  std::set<int> columns;
  for (int i = 1; i <= 10; i++) {
    const piece_type& piece = play.pieces[i];
    EXPECT_GE(piece.x - 75, 0) << i;
    EXPECT_LE(piece.x + 75, 1024) << i;
    EXPECT_GE(piece.y - 100, 0) << i;
    EXPECT_LE(piece.y + 100, 768) << i;
    columns.insert(piece.x);
  }
  EXPECT_EQ(columns.size(), 2u);  // the tenth piece starts a second column
}

TEST_F(PlayDisplayTest, SetAsideTenPlacesTheRestHomeInGroupOne) {
  LoadGrid(Grid(3, 4));
  play.completion_handled = 1;
  SetAsideTen();
  int aside = 0, home = 0;
  for (int i = 1; i <= 12; i++) {
    const piece_type& piece = play.pieces[i];
    if (piece.x == 850) {
      aside++;
      EXPECT_EQ(piece.gp, 0);
    } else {
      home++;
      EXPECT_EQ(piece.x, piece.x0);
      EXPECT_EQ(piece.y, piece.y0);
      EXPECT_EQ(piece.gp, 1);
    }
  }
  EXPECT_EQ(aside, 10);
  EXPECT_EQ(home, 2);
  EXPECT_EQ(play.completion_handled, 0);  // the jigsaw was restarted
}

}  // namespace
