// Tests of the box view's rows: building them (shuffled rows and the counted pile), laying them
// out again around holes, moving pieces between the rows and the box, and the colour match.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/box/box_fixture.h"

namespace {

using BoxRows = BoxTest;

std::vector<int> Sorted(std::vector<int> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST_F(BoxRows, OnlyLoosePiecesAreLaidOutInShuffledOrder) {
  MakePieces(40);
  play.pieces[1].edge = 1;
  play.pieces[2].gp = 1;
  play.pieces[3].box = 4;
  BuildBoxTable(800, 600);
  std::vector<int> want;
  for (int i = 4; i <= 40; i++) want.push_back(i);
  const std::vector<int> rows = Rows();
  EXPECT_EQ(Sorted(rows), want);
  EXPECT_NE(rows, want);  // 37 pieces in ascending order after shuffling: practically never
}

TEST_F(BoxRows, RowsFillTheLowerAreaAndTheRestIsCountedOnThePile) {
  // 40-wide pieces advance 42: 19 to a row of the 800-wide view, 24 on the 1024-wide one.
  struct build_case {
    int pieces, width, height;
    int want_pile;
    pce_type last_in_rows;  // entry want_row_count
    int want_row_count;
  };
  const build_case cases[] = {
      {0, 800, 600, 0, {}, 0},
      {20, 800, 600, 0, {20, 29, 164}, 20},
      {171, 800, 600, 0, {171, 785, 570}, 171},
      {172, 800, 600, 1, {171, 785, 570}, 171},
      {300, 800, 600, 129, {171, 785, 570}, 171},
      {300, 1024, 768, 36, {264, 995, 686}, 264},
  };
  for (const build_case& c : cases) {
    MakePieces(c.pieces);
    box.box_pile_count = 5;
    BuildBoxTable(c.width, c.height);
    SCOPED_TRACE(::testing::Message() << c.pieces << " pieces at " << c.width);
    EXPECT_EQ(box.box_table_count, c.pieces);
    EXPECT_EQ(box.box_pile_count, c.want_pile);
    if (c.want_row_count == 0) continue;
    const pce_type& last = box.box_table[c.want_row_count];
    EXPECT_EQ(last.x, c.last_in_rows.x);
    EXPECT_EQ(last.y, c.last_in_rows.y);
    for (int j = c.want_row_count + 1; j <= c.pieces; j++) {
      EXPECT_EQ(box.box_table[j].x, c.width - 29) << j;
      EXPECT_EQ(box.box_table[j].y, c.height - 29) << j;
    }
  }
}

TEST_F(BoxRows, RelayingKeepsHolesInPlaceAndLetsRowsPastTheBottomLeaveTheView) {
  MakePieces(300);
  SetRows({{1, 0, 0}, {0, 500, 500}, {2, 0, 0}, {3, 0, 0}});
  play.pieces[2].wd = 60;
  RelayoutBoxTable(800, 600);
  EXPECT_EQ(box.box_table[1].x, 29);
  EXPECT_EQ(box.box_table[2].x, 500);
  EXPECT_EQ(box.box_table[2].y, 500);
  EXPECT_EQ(box.box_table[3].x, 71);
  EXPECT_EQ(box.box_table[4].x, 133);
  EXPECT_EQ(box.box_table[4].y, 106);

  MakePieces(300);
  BuildBoxTable(800, 600);
  RelayoutBoxTable(800, 600);
  EXPECT_EQ(box.box_table[171].y, 570);
  EXPECT_GT(box.box_table[172].y, 600);  // no pile here: the piece lies below the view
}

TEST_F(BoxRows, ABigJigsawsRowsAreScaledAndPagedWithoutAPile) {
  // 112-wide pieces at half size advance 58: 14 to a row, 8 rows to a page above the page band.
  struct page_case {
    int pieces, table_width;
    int wd;
    double want_scale;
    int want_pages;
  };
  const page_case cases[] = {
      {400, 800, 112, 0.5, 4},   // more pieces than a jigsaw cut for the display
      {100, 3200, 112, 0.5, 1},  // a table bigger than the display
      {400, 800, 40, 1, 3},      // small pieces keep their size: 19 to a row, 152 to a page
      {300, 800, 112, 1, 1},     // a jigsaw that fits: today's rows and pile
  };
  for (const page_case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.pieces << " pieces of " << c.wd << " on " << c.table_width);
    MakePieces(c.pieces, c.wd, c.wd == 112 ? 100 : 30);
    play.table_width = c.table_width;
    box.box_page = 2;
    BuildBoxTable(800, 600);
    EXPECT_DOUBLE_EQ(BoxPieceScale(800, 600), c.want_scale);
    EXPECT_EQ(box.box_page_count, c.want_pages);
    EXPECT_EQ(box.box_page, 0);
    if (c.table_width == 800 && c.pieces == 300) {
      EXPECT_GT(box.box_pile_count, 0);
      continue;
    }
    EXPECT_EQ(box.box_pile_count, 0);
    const int per_row = c.wd == 112 ? 14 : 19, per_page = per_row * 8;
    const int advance = c.wd == 112 ? 58 : 42;
    for (int j = 1; j <= c.pieces; j++) {
      const int k = (j - 1) % per_page;
      const pce_type& entry = box.box_table[j];
      ASSERT_EQ(entry.page, (j - 1) / per_page) << j;
      ASSERT_EQ(entry.x, 29 + advance * (k % per_row)) << j;
      ASSERT_EQ(entry.y, 106 + 58 * (k / per_row)) << j;
    }
  }
}

TEST_F(BoxRows, PagesTurnWithinThoseThereAreAndATakenPieceComesToThePageShown) {
  MakePieces(400, 112, 100);
  BuildBoxTable(800, 600);
  ASSERT_EQ(box.box_page_count, 4);
  for (auto [turn, want] : {std::pair{-1, 0}, {1, 1}, {5, 3}, {-2, 1}}) {
    TurnBoxPage(turn);
    EXPECT_EQ(box.box_page, want) << turn;
  }
  // Holes on pages 0 and 1: the one on the page shown takes the piece.
  const int early = box.box_table[5].n, shown = box.box_table[120].n;
  ASSERT_TRUE(PutIntoBox(5));
  ASSERT_TRUE(PutIntoBox(120));
  ASSERT_EQ(Slots(1), (std::vector<int>{early, shown}));
  ASSERT_TRUE(TakeOutOfBox(1));
  EXPECT_EQ(box.box_table[120].n, early);
  EXPECT_EQ(box.box_table[5].n, 0);

  // Relaid rows keep the page shown among the pages that remain.
  for (int j = 1; j <= 300; j++) box.box_table[j].n = 0;
  TurnBoxPage(2);
  RelayoutBoxTable(800, 600);
  EXPECT_EQ(box.box_page_count, 3);  // the holes keep their places on pages 0..2
  EXPECT_EQ(box.box_page, 2);
  SetRows({{1, 0, 0}, {2, 0, 0}});
  RelayoutBoxTable(800, 600);
  EXPECT_EQ(box.box_page_count, 1);
  EXPECT_EQ(box.box_page, 0);
}

TEST_F(BoxRows, APieceTakenOutFillsTheFirstHoleWhereItIs) {
  MakePieces(8);
  FillBox(1, {6, 7, 8});
  SetRows({{1, 29, 106}, {0, 71, 106}, {0, 113, 106}, {4, 155, 106}});
  play.pieces[7].visible = 1;
  ASSERT_TRUE(TakeOutOfBox(2));
  EXPECT_EQ(Rows(), (std::vector<int>{1, 7, 0, 4}));
  EXPECT_EQ(box.box_table[2].x, 71);  // the rows are not laid out again
  EXPECT_EQ(box.box_table[4].x, 155);
  EXPECT_EQ(Slots(1), (std::vector<int>{6, 8}));
  EXPECT_EQ(play.pieces[7].box, 0);
  EXPECT_EQ(play.pieces[7].visible, 0);  // hidden on the table until loose pieces are shown
  EXPECT_TRUE(IsLoose(7));
}

TEST_F(BoxRows, WithoutAHoleTheTakenPieceIsAppendedAndTheRowsLaidOutAgain) {
  MakePieces(8);
  FillBox(1, {6});
  SetRows({{1, 500, 500}, {2, 500, 500}});
  ASSERT_TRUE(TakeOutOfBox(1));
  EXPECT_EQ(Rows(), (std::vector<int>{1, 2, 6}));
  EXPECT_EQ(box.box_table[1].x, 29);  // laid out again (for whatever display is open)
  EXPECT_EQ(box.box_count[1], 0);
  EXPECT_FALSE(TakeOutOfBox(1));
}

TEST_F(BoxRows, APieceClickedInTheRowsBecomesTheLastSlotAndLeavesAHole) {
  MakePieces(8);
  FillBox(3, {5});
  box.current_box = 3;
  SetRows({{1, 29, 106}, {2, 71, 106}});
  play.pieces[2].visible = 0;
  ASSERT_TRUE(PutIntoBox(2));
  EXPECT_EQ(Slots(3), (std::vector<int>{5, 2}));
  EXPECT_EQ(Rows(), (std::vector<int>{1, 0}));
  EXPECT_EQ(play.pieces[2].box, 3);
  EXPECT_EQ(play.pieces[2].visible, 1);
  for (int j : {2, 0, 3}) EXPECT_FALSE(PutIntoBox(j)) << j;  // a hole, outside the rows
}

TEST_F(BoxRows, ColourMatchTakesPiecesCloserThan30OnEveryChannel) {
  struct colour_case {
    colour_type colour;
    bool matches;
  };
  const colour_case cases[] = {
      {{129, 71, 100}, true}, {{130, 100, 100}, false}, {{100, 100, 70}, false},
      {{71, 129, 100}, true}, {{100, 100, 100}, true},  {{100, 131, 100}, false},
  };
  const int n = static_cast<int>(std::size(cases));
  MakePieces(n + 1);
  play.pieces[n + 1].r = play.pieces[n + 1].g = play.pieces[n + 1].b = 100;
  FillBox(2, {n + 1});
  box.current_box = 2;
  for (int i = 1; i <= n; i++) {
    play.pieces[i].r = cases[i - 1].colour.r;
    play.pieces[i].g = cases[i - 1].colour.g;
    play.pieces[i].b = cases[i - 1].colour.b;
    play.pieces[i].visible = 0;
  }
  BuildBoxTable(800, 600);
  MatchBoxColour();
  std::vector<int> want_box{n + 1}, want_rows;
  for (int i = 1; i <= n; i++) (cases[i - 1].matches ? want_box : want_rows).push_back(i);
  EXPECT_EQ(Slots(2)[0], n + 1);
  EXPECT_EQ(Sorted(Slots(2)), Sorted(want_box));
  EXPECT_EQ(Sorted(Rows()), want_rows);  // rebuilt without holes
  for (int i = 1; i <= n; i++) EXPECT_EQ(play.pieces[i].visible, cases[i - 1].matches ? 1 : 0) << i;
}

TEST_F(BoxRows, ColourMatchOfAnEmptyBoxChangesNothing) {
  MakePieces(3);
  SetRows({{1, 29, 106}, {0, 71, 106}, {2, 113, 106}});
  MatchBoxColour();
  EXPECT_EQ(Rows(), (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(box.box_count[1], 0);
}

}  // namespace
