// Killing the marked jigsaws, the quick pick and the next unsaved jigsaw on a real window.
#include <gtest/gtest.h>

#include <set>

#include "tests/library/library_fixture.h"

using namespace library_test;

namespace {

class Picks : public LibraryDisplayTest {
 protected:
  void SetUp() override {
    LibraryDisplayTest::SetUp();
    for (const char* name : {"A", "B", "C", "0000vorna"}) WriteJigsaw(name, 1, 2, 8);
  }
  static void Saved(std::initializer_list<const char*> names) {
    for (const char* name : names) WriteWholeFile(std::string("players/default/") + name + ".png", "x");
  }
};

TEST_F(Picks, KillingWithNothingMarkedShowsTheStartUpJigsaw) {
  ASSERT_TRUE(StartNewJigsaw("B"));
  BuildLibraryList();
  game.screen = "delete1";
  KillMarked();
  EXPECT_EQ(play.jigsaw_name, "0000vorna");
  EXPECT_EQ(game.screen, "jigsaw");
  EXPECT_EQ(library.library_list.page, 0);
  for (const char* name : {"A", "B", "C"}) EXPECT_TRUE(std::filesystem::exists(std::string("jigsaws/") + name));
}

// Killed, the jigsaw in play keeps nothing, even changed since its last save.
TEST_F(Picks, KillingTheJigsawInPlayBringsTheStartUpJigsaw) {
  ASSERT_TRUE(StartNewJigsaw("B"));
  SaveJigsaw();
  TurnPiece(1);
  ASSERT_TRUE(JigsawChanged());
  BuildLibraryList();
  library.library_list.entries[1].marked = 1;
  box.box_count[2] = 4;
  KillMarked();
  EXPECT_FALSE(std::filesystem::exists("jigsaws/B"));
  EXPECT_FALSE(std::filesystem::exists("players/default/B.txt"));
  EXPECT_FALSE(std::filesystem::exists("players/default/B.png"));
  EXPECT_TRUE(std::filesystem::exists("players/default/working_on.txt"));
  EXPECT_EQ(play.jigsaw_name, "0000vorna");
  EXPECT_EQ(box.box_count[2], 0);
}

TEST_F(Picks, NextUnsavedStartsTheFirstJigsawWithoutProgress) {
  struct next_case {
    std::initializer_list<const char*> saved;
    const char* want;
  };
  const next_case cases[] = {{{}, "A"}, {{"A", "C"}, "B"}, {{"A", "B"}, "C"}, {{"A", "Z"}, "B"}};
  for (const next_case& c : cases) {
    SCOPED_TRACE(c.want);
    std::filesystem::remove_all("players/default");
    std::filesystem::create_directories("players/default");
    Saved(c.saved);
    ResetLibraryState();
    library.player_folder = "players/default/";
    ASSERT_TRUE(StartNewJigsaw("0000vorna"));
    PickNextUnsaved();
    EXPECT_EQ(play.jigsaw_name, c.want);
    EXPECT_EQ(game.screen, "jigsaw");
  }
}

TEST_F(Picks, NextUnsavedWithEverythingSavedPicksAnotherAtRandom) {
  Saved({"A", "B", "C", "0000vorna"});
  ASSERT_TRUE(StartNewJigsaw("C"));
  PickNextUnsaved();
  EXPECT_NE(play.jigsaw_name, "C");
}

TEST_F(Picks, QuickPickNeverStartsTheCurrentJigsaw) {
  ASSERT_TRUE(StartNewJigsaw("B"));
  std::set<std::string> seen;
  for (int i = 0; i < 40; ++i) {
    const std::string before = play.jigsaw_name;
    PickRandomJigsaw();
    EXPECT_NE(play.jigsaw_name, before);
    seen.insert(play.jigsaw_name);
  }
  EXPECT_EQ(seen.size(), 4u);  // the start-up jigsaw can be picked too
}

TEST_F(Picks, QuickPickInALibraryOfOneKeepsTheJigsawAndEnds) {
  for (const char* name : {"A", "B", "C"}) std::filesystem::remove_all(std::string("jigsaws/") + name);
  ASSERT_TRUE(StartNewJigsaw("0000vorna"));
  PickRandomJigsaw();
  EXPECT_EQ(play.jigsaw_name, "0000vorna");
  EXPECT_EQ(game.screen, "jigsaw");
}

TEST_F(Picks, APickedFolderThatFailsKeepsTheJigsawInPlay) {
  ASSERT_TRUE(StartNewJigsaw("B"));
  for (const char* name : {"A", "C", "0000vorna"}) std::filesystem::remove(std::string("jigsaws/") + name + "/1.png");
  const table_snapshot before = table_snapshot::Take();
  AnsweringNotices([] { PickRandomJigsaw(); });
  EXPECT_EQ(table_snapshot::Take(), before);
}

}  // namespace
