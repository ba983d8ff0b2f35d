// Tests of the keys of the box context (the box view, and help shown over it) and of the table's
// keys that reach the boxes: B, the digits and T.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "shell/shell.h"
#include "tests/box/box_fixture.h"

namespace {

class BoxKeys : public BoxTest {
 protected:
  void SetUp() override {
    MakePieces(6);
    game.screen = "box";
  }
};

TEST_F(BoxKeys, CursorKeysAndDigitsChooseTheBoxInTheViewAndUnderItsHelp) {
  struct key_case {
    int from, key, want;
  };
  const key_case cases[] = {{1, KEY_LEFT, 5},  {1, KEY_DOWN, 5}, {5, KEY_UP, 1}, {5, KEY_RIGHT, 1},
                            {2, KEY_RIGHT, 3}, {2, '4', 4},      {4, '1', 1}};
  for (const char* over : {"", "help"}) {
    for (const key_case& c : cases) {
      game.screen = *over ? over : "box";
      game.previous_screen = "box";
      box.current_box = c.from;
      HandleKey(c.key);
      EXPECT_EQ(box.current_box, c.want) << c.from << " key " << c.key << " " << over;
    }
  }
  box.current_box = 2;
  game.screen = "jigsaw";
  HandleKey(KEY_LEFT);  // does nothing on the table
  HandleKey('3');       // toggles box 3's pieces there
  EXPECT_EQ(box.current_box, 2);
  EXPECT_EQ(play.box_shown[3], 1);
}

TEST_F(BoxKeys, DigitsDropGroupedPiecesFromTheBoxChosen) {
  FillBox(3, {1, 2});
  play.pieces[1].gp = 1;
  HandleKey('3');
  EXPECT_EQ(Slots(3), (std::vector<int>{2}));
}

TEST_F(BoxKeys, ZeroEmptiesTheBoxAndMMatchesItsColour) {
  FillBox(1, {1, 2});
  HandleKey('0');
  EXPECT_EQ(box.box_count[1], 0);
  EXPECT_EQ(play.pieces[2].box, 0);
  EXPECT_EQ(box.box_table_count, 6);

  FillBox(1, {1});
  play.pieces[4].r = 30;  // the others match piece 1's black
  BuildBoxTable(800, 600);
  HandleKey('M');
  EXPECT_EQ(Slots(1).size(), 5u);
  EXPECT_EQ(Rows(), (std::vector<int>{4}));
  EXPECT_EQ(game.screen, "box");
}

TEST_F(BoxKeys, JEscapeAndZReturnToTheTableAndIOpensThePreferences) {
  struct leave_case {
    int key;
    int want_visible;
    const char* want_confirm;
  };
  const leave_case cases[] = {{'J', 1, ""}, {KEY_ESCAPE, 1, "X"}, {'Z', 0, ""}};
  for (const leave_case& c : cases) {
    game.screen = "box";
    shell.pending_confirm = "";
    FillBox(2, {3});
    box.current_box = 2;
    play.pieces[3].visible = 0;
    play.pieces[5].visible = 1;
    HandleKey(c.key);
    EXPECT_EQ(game.screen, "jigsaw") << c.key;
    EXPECT_EQ(play.pieces[3].visible, c.want_visible) << c.key;
    EXPECT_EQ(play.box_shown[2], c.want_visible) << c.key;
    EXPECT_EQ(shell.pending_confirm, c.want_confirm) << c.key;
  }
  EXPECT_EQ(play.pieces[5].visible, 0);  // Z hid every piece
  game.screen = "box";
  HandleKey('I');
  EXPECT_EQ(game.screen, "prefer");
}

TEST_F(BoxKeys, BOnTheTableEntersTheViewLettingTheCarriedPieceGo) {
  game.screen = "jigsaw";
  FillBox(1, {1, 2});
  play.pieces[2].gp = 1;
  play.dragged = 4;
  play.tidy_label.k = 7;
  HandleKey('B');
  EXPECT_EQ(game.screen, "box");
  EXPECT_EQ(play.dragged, 0);
  EXPECT_EQ(Slots(1), (std::vector<int>{1}));
  EXPECT_EQ(box.box_table_count, 4);  // 3..6
  EXPECT_EQ(play.tidy_label.k, 0);
  box.box_table_count = 0;
  HandleKey('B');  // in the view: the rows are built afresh
  EXPECT_EQ(box.box_table_count, 4);
}

}  // namespace
