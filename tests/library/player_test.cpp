// The player folder and the name checks: folders made through the umask, nothing chmod-ed that
// was not just made, and names that cannot name a player folder refused, saying why.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/library/library_fixture.h"

using namespace library_test;

namespace {

class PlayerFolderModes : public ::testing::Test {
 protected:
  void SetUp() override { ResetGame(); }
  void TearDown() override {
    umask(old_mask_);
    ResetGame();
  }
  static unsigned ModeOf(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }
  // OpenPlayerFolder for the name; returns what it printed.
  static std::string Open(const std::string& name) {
    ResetLibraryState();
    library.player_name = name;
    testing::internal::CaptureStderr();
    OpenPlayerFolder();
    return testing::internal::GetCapturedStderr();
  }
  mode_t old_mask_ = umask(027);
  temp_working_folder dir_;
};

TEST_F(PlayerFolderModes, FoldersAreMadeThroughTheUmask) {
  EXPECT_EQ(Open("default"), "");
  EXPECT_EQ(library.player_folder, "players/default/");
  EXPECT_EQ(ModeOf("players"), 0750u);
  EXPECT_EQ(ModeOf("players/default"), 0750u);
}

TEST_F(PlayerFolderModes, AFileWherePlayersShouldBeKeepsItsMode) {
  dir_.Write("players", "mine");
  chmod("players", 0600);
  EXPECT_NE(Open("default").find("Unable to access players"), std::string::npos);
  EXPECT_EQ(ModeOf("players"), 0600u);
  EXPECT_EQ(dir_.Read("players"), "mine");
  EXPECT_EQ(library.player_folder, "players/default/");
}

TEST_F(PlayerFolderModes, AFileWhereThePlayersFolderShouldBeKeepsItsMode) {
  dir_.Write("players/default", "mine");
  chmod("players/default", 0640);
  EXPECT_NE(Open("default").find("Unable to access players/default"), std::string::npos);
  EXPECT_EQ(ModeOf("players/default"), 0640u);
}

TEST_F(PlayerFolderModes, NamesThatCannotNameAPlayerFolderAreRefusedSayingWhy) {
  const std::string outside = "would reach outside the players folder";
  const struct {
    std::string name, why;
  } cases[] = {
      {"", "The player name is empty"},
      {".", "\".\" names the players folder itself"},
      {"..", outside},
      {"../x", outside},
      {"a/../../x", outside},
      {"..\\x", outside},
      {"a/..", outside},
      {std::string("a\0b", 3), "holds a NUL byte"},
      {std::string(256, 'n'), "is 256 bytes long; a player name has at most 255"},
      {"team/" + std::string(251, 'n'), "is 256 bytes long"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string said = Open(c.name);
    EXPECT_NE(said.find(c.why), std::string::npos) << said;
    EXPECT_NE(said.find("; playing as default"), std::string::npos) << said;
    EXPECT_EQ(library.player_name, "default");
    EXPECT_EQ(library.player_folder, "players/default/");
  }
  EXPECT_FALSE(std::filesystem::exists("x"));
  EXPECT_EQ(Open(std::string(255, 'n')), "") << "the longest name the file system takes";
  EXPECT_TRUE(std::filesystem::is_directory("players/" + std::string(255, 'n')));
}

TEST_F(PlayerFolderModes, ASlashNamesANestedFolderMadeWithoutParents) {
  EXPECT_NE(Open("team/ann").find("Unable to access players/team/ann"), std::string::npos);
  std::filesystem::create_directory("players/team");
  EXPECT_EQ(Open("team/ann"), "");
  EXPECT_TRUE(std::filesystem::is_directory("players/team/ann"));
  EXPECT_EQ(Open("..x"), "");  // only a whole ".." component leaves
}

// A second game for the same player finds the folder locked: it says so and touches nothing in
// it; the first game's lock goes with it. The game that holds the folder clears what killed
// saves left there.
TEST_F(PlayerFolderModes, ALockedPlayerFolderIsSaidAndLeftAlone) {
  std::filesystem::create_directories("players/default");
  const std::string left_over = "players/default/.ann.txt." + std::to_string(getpid()) + "-1.tmp";
  dir_.Write(left_over, "half");
  bool busy = false;
  auto first = LockFolder("players/default", busy);
  ASSERT_TRUE(first);
  EXPECT_NE(Open("default").find("Tesselka is already running for the player default"), std::string::npos);
  EXPECT_TRUE(library.player_folder_busy);
  EXPECT_FALSE(library.player_lock);
  EXPECT_TRUE(std::filesystem::exists(left_over));
  // Another player's folder is free.
  EXPECT_EQ(Open("bob"), "");
  EXPECT_TRUE(library.player_lock);
  first.reset();
  EXPECT_EQ(Open("default"), "");
  EXPECT_FALSE(library.player_folder_busy);
  EXPECT_TRUE(library.player_lock);
  EXPECT_FALSE(std::filesystem::exists(left_over));
  EXPECT_FALSE(LockFolder("players/default", busy));
  EXPECT_TRUE(busy);
}

TEST(JigsawNames, OnlyPlainFolderNamesPass) {
  for (const std::string name : {"Sea", "0000vorna", "a.b", "Zaż"}) EXPECT_TRUE(IsPlainJigsawName(name)) << name;
  for (const std::string& name : std::vector<std::string>{"", ".", "..", "../x", "..x", ".tesselka-cut-9", "a/b", "a\\b", std::string("a\0b", 3)})
    EXPECT_FALSE(IsPlainJigsawName(name)) << name;
}

}  // namespace
