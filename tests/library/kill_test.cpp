// Killing one jigsaw without a window: its folder and every player's saved files of it go;
// nothing else, and no link is followed.
#include <gtest/gtest.h>

#include "tests/library/library_fixture.h"

using namespace library_test;

namespace {

namespace fs = std::filesystem;

class Kill : public LibraryTest {};

TEST_F(Kill, TheFolderAndEveryPlayersFilesGo) {
  WriteJigsaw("Sea", 1, 2, 8);
  WriteJigsaw("Sky", 1, 2, 8);
  for (const char* player : {"default", "ann"})
    for (const char* file : {"Sea.txt", "Sea.png", "Sea.view", "Sky.txt", "Sky.view", "Seaside.png"})
      WriteWholeFile(fs::path("players") / player / file, "x");
  WriteWholeFile("players/default/working_on.txt", "Sea\r\n");
  WriteWholeFile("players/.hidden/Sea.txt", "x");
  WriteWholeFile("players/Sea.txt", "a file, not a player");
  KillJigsaw("Sea");
  EXPECT_FALSE(fs::exists("jigsaws/Sea"));
  EXPECT_TRUE(fs::exists("jigsaws/Sky/pieces.txt"));
  for (const char* player : {"default", "ann"}) {
    EXPECT_FALSE(fs::exists(fs::path("players") / player / "Sea.txt"));
    EXPECT_FALSE(fs::exists(fs::path("players") / player / "Sea.png"));
    EXPECT_FALSE(fs::exists(fs::path("players") / player / "Sea.view"));
    EXPECT_TRUE(fs::exists(fs::path("players") / player / "Sky.view"));
    EXPECT_TRUE(fs::exists(fs::path("players") / player / "Sky.txt"));
    EXPECT_TRUE(fs::exists(fs::path("players") / player / "Seaside.png"));
  }
  EXPECT_EQ(ReadWholeFile("players/default/working_on.txt"), "Sea\r\n");
  EXPECT_TRUE(fs::exists("players/.hidden/Sea.txt"));
  EXPECT_TRUE(fs::exists("players/Sea.txt"));
}

TEST_F(Kill, LinksAreRemovedAsLinksNeverFollowed) {
  temp_folder outside;
  WriteWholeFile(outside / "pic/pieces.txt", "1\r\n1\r\n");
  WriteWholeFile(outside / "player/Link.txt", "someone else's");
  WriteWholeFile(outside / "kept.txt", "kept");
  fs::create_directories("jigsaws");
  fs::create_directory_symlink(outside / "pic", "jigsaws/Link");
  fs::create_directory_symlink(outside / "player", "players/elsewhere");
  fs::create_symlink(outside / "kept.txt", "players/default/Link.png");
  WriteWholeFile("players/default/Link.txt", "x");
  KillJigsaw("Link");
  EXPECT_FALSE(fs::exists(fs::symlink_status("jigsaws/Link")));
  EXPECT_TRUE(fs::exists(outside / "pic/pieces.txt"));
  EXPECT_TRUE(fs::exists(outside / "player/Link.txt"));
  EXPECT_FALSE(fs::exists(fs::symlink_status("players/default/Link.png")));
  EXPECT_EQ(ReadWholeFile(outside / "kept.txt"), "kept");
  EXPECT_FALSE(fs::exists("players/default/Link.txt"));
}

TEST_F(Kill, NamesThatAreNotLibraryFoldersDeleteNothing) {
  WriteWholeFile("keep/a.txt", "x");
  fs::create_directories("jigsaws");
  for (const std::string name : {"", "..", "../keep", "."}) KillJigsaw(name);
  EXPECT_TRUE(fs::exists("keep/a.txt"));
  EXPECT_TRUE(fs::exists("jigsaws"));
  EXPECT_TRUE(fs::exists("players/default"));
}

TEST_F(Kill, AFolderThatCannotBeDeletedKeepsThePlayersFiles) {
  WriteJigsaw("Sea", 1, 1, 8);
  WriteWholeFile("players/default/Sea.txt", "x");
  fs::permissions("jigsaws", fs::perms::owner_read | fs::perms::owner_exec);
  testing::internal::CaptureStderr();
  KillJigsaw("Sea");
  const std::string said = testing::internal::GetCapturedStderr();
  fs::permissions("jigsaws", fs::perms::owner_all);
  if (getuid() == 0) GTEST_SKIP() << "root deletes anything";
  EXPECT_NE(said.find("Unable to delete jigsaws/Sea"), std::string::npos);
  EXPECT_TRUE(fs::exists("players/default/Sea.txt"));
}

}  // namespace
