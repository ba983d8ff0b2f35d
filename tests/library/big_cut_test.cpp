// A picture cut past 300 pieces, as the cutting screen does it, started as the game starts a new
// jigsaw: its table read back from the folder, every home on it, the pieces scattered over all of
// it; and a cut of 300 pieces left on the window's table.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/library/library_fixture.h"
#include "tools/jigsaw/jigsaw.h"

using namespace library_test;

namespace {

// Smooth colour with fine detail, as a photo has; never pure black.
std::shared_ptr<TPixmap> Photo(int width, int height) {
  auto picture = CreatePixmap(width, height, PF_RGB888);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = picture->PixelPtr(x, y);
      p[0] = uint8_t(20 + x * 200 / width), p[1] = uint8_t(20 + y * 200 / height), p[2] = uint8_t((x * 7 ^ y * 13) | 1);
    }
  return picture;
}

class BigCut : public LibraryTest {};

TEST_F(BigCut, TheTableComesWithTheJigsawAndHoldsEveryHomeAndEveryScatteredPiece) {
  const struct {
    int width, height, pieces;
    int table_width, table_height;  // 0: larger than the window, in the 4:3 shape
  } cases[] = {
      {2300, 1730, 2000, 0, 0},  // a picture carrying 2000 pieces of about 45 pixels, cut at its own size
      {2000, 1500, 300, 800, 600},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pieces);
    const std::string name = "cut" + std::to_string(c.pieces);
    cut_request request;
    request.pieces = c.pieces;
    std::string error;
    jigsaw_grid grid;
    ASSERT_TRUE(CutJigsawFolder(Photo(c.width, c.height), request, "jigsaws/" + name, error, &grid)) << error;
    const int count = grid.rows * grid.cols;
    EXPECT_NEAR(count, c.pieces, c.pieces / 50);
    EXPECT_EQ(std::filesystem::exists("jigsaws/" + name + "/table.txt"), c.table_width == 0);

    SeedRnd(7);
    ASSERT_TRUE(StartNewJigsaw(name));
    ASSERT_EQ(play.piece_count, count);
    if (c.table_width != 0) {
      EXPECT_EQ(play.table_width, c.table_width);
      EXPECT_EQ(play.table_height, c.table_height);
    } else {
      EXPECT_EQ(play.table_width * 3, play.table_height * 4);
      // About two and a half times the picture's area.
      EXPECT_NEAR(double(play.table_width) * play.table_height / (double(c.width) * c.height), 2.5, 0.05);
    }
    int left = play.table_width, right = 0, top = play.table_height, bottom = 0, beyond_window = 0;
    for (int i = 1; i <= count; ++i) {
      const piece_type& p = play.pieces[i];
      left = std::min(left, p.x0 - p.wd / 2), right = std::max(right, p.x0 + p.wd / 2);
      top = std::min(top, p.y0 - p.ht / 2), bottom = std::max(bottom, p.y0 + p.ht / 2);
      EXPECT_TRUE(p.x >= p.wd / 2 && p.x <= play.table_width - p.wd / 2 && p.y >= p.ht / 2 &&
                  p.y <= play.table_height - p.ht / 2)
          << "piece " << i << " scattered to (" << p.x << ", " << p.y << ")";
      beyond_window += p.x > 800 || p.y > 600;
    }
    // The finished picture lies whole on the table, in its middle.
    EXPECT_GE(left, 0);
    EXPECT_GE(top, 0);
    EXPECT_LE(right, play.table_width);
    EXPECT_LE(bottom, play.table_height);
    EXPECT_LE(std::abs(left + right - play.table_width), 2);
    EXPECT_LE(std::abs(top + bottom - play.table_height), 2);
    EXPECT_EQ(beyond_window > 0, c.table_width == 0);
  }
}

}  // namespace
