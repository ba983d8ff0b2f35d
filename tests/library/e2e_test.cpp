// The whole road through the real frame loop: N shows the library page, a click starts a jigsaw,
// S saves it, the program ends, and a new run fetches it with = and Y onto the same table.
#include <gtest/gtest.h>

#include <cstring>

#include "library/library.h"
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

class SaveAndFetch : public Game {
 protected:
  void WriteFiles() override { WriteJigsaw("Sea", 2, 3); }
  // The table as the loop draws it, without the pointer.
  static std::shared_ptr<TPixmap> TablePicture() {
    DrawTable();
    return GrabPixmap(0, 0, 800, 600);
  }
};

TEST_F(SaveAndFetch, ATableSavedInOneRunIsFetchedInTheNext) {
  FinishOpeningFlight();
  Key('N');
  Turn();
  EXPECT_EQ(game.screen, "new1");
  ASSERT_EQ(library.library_list.entries[0].tk, "Sea");
  MoveTo(library.library_list.entries[0].x + 10, library.library_list.entries[0].y + 10);
  Click();
  ASSERT_TRUE(RunUntil(OnTable, 5));
  EXPECT_EQ(play.jigsaw_name, "Sea");
  Key('S');
  EXPECT_EQ(game.status_message, "jigsaw saved");
  const auto saved = TablePicture();
  ASSERT_TRUE(saved);
  EXPECT_TRUE(std::filesystem::exists("players/default/Sea.txt"));
  EXPECT_TRUE(LoadPixmap("players/default/Sea.png"));

  // The program ends; a new run of the same player starts with the opening jigsaw.
  ResetGame();
  ASSERT_TRUE(StartUp({}));
  InterceptEnd();
  FinishOpeningFlight();
  EXPECT_EQ(play.jigsaw_name, "0000vorna");
  Key(KEY_EQUALS);
  EXPECT_EQ(shell.pending_confirm, "=");
  Key('Y');
  EXPECT_EQ(play.jigsaw_name, "Sea");
  EXPECT_EQ(game.screen, "jigsaw");
  const auto fetched = TablePicture();
  ASSERT_TRUE(fetched);
  const size_t bytes = static_cast<size_t>(saved->pitch) * saved->height;
  EXPECT_EQ(std::memcmp(saved->pixels, fetched->pixels, bytes), 0) << "the fetched table differs";
}

}  // namespace
