// "prefer.txt" and "refresh.txt" as start-up reads them, and the player folder, on real files
// in a temporary directory.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/shell/fixture.h"

using namespace shell_test;

namespace {

class PlayerFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGame();
    fs::create_directories("players/default");
    library.player_folder = "players/default/";
  }
  void TearDown() override { ResetGame(); }
  temp_working_folder dir_;
};

struct prefs_case {
  const char* what;
  const char* file;  // nullptr: no prefer.txt
  int show_help, large, sound, windowed, hint, save_message, keep_colour;
  game_colour_type kept;
  colour_type table;
};

const colour_type kDefaultTable{115, 8, 33};

const prefs_case kPrefsCases[] = {
    {"no file keeps the defaults", nullptr, 0, 0, 1, 1, 1, 1, 0, {0, 0, 0}, kDefaultTable},
    {"three lines", "1\r\n1\r\n0\r\n", 1, 1, 0, 1, 1, 1, 0, {0, 0, 0}, kDefaultTable},
    {"empty file turns the first three off", "", 0, 0, 0, 1, 1, 1, 0, {0, 0, 0}, kDefaultTable},
    {"line 7 is 1 and the file ends there", "0\r\n0\r\n1\r\n1\r\n1\r\n1\r\n1\r\n", 0, 0, 1, 1, 1, 1, 1, {0, 0, 0},
     {0, 0, 0}},
    {"kept colour", "0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n1\r\n10\r\n20\r\n$1e\r\n", 0, 0, 1, 0, 0, 0, 1, {10, 20, 30},
     {10, 20, 30}},
    // Out of range values are brought into range, so a save never holds what a read refuses;
    // a -1 in line 1 would also stand for "no working copies" on the prefer screen.
    {"colours clamped, flags made 0 or 1", "-1\n5\n-7\n0\n2\n0\n9\n999\n-5\n70000\n", 1, 1, 1, 0, 1, 0, 1,
     {255, 0, 255}, {255, 0, 255}},
    {"colour lines ignored when line 7 is 0", "1\n0\n1\n1\n0\n1\n0\n10\n20\n30\n", 1, 0, 1, 1, 0, 1, 0, {0, 0, 0},
     kDefaultTable},
};

TEST_F(PlayerFiles, LoadPreferencesCases) {
  for (const prefs_case& c : kPrefsCases) {
    SCOPED_TRACE(c.what);
    ResetGameState();
    ResetShellState();
    ResetPlayStateModule();
    fs::remove("players/default/prefer.txt");
    if (c.file) WriteWholeFile("players/default/prefer.txt", c.file);
    LoadPreferences();
    const auto& p = game.prefs;
    EXPECT_EQ(p.pref_show_help, c.show_help);
    EXPECT_EQ(p.pref_large, c.large);
    EXPECT_EQ(p.sound_on, c.sound);
    EXPECT_EQ(p.pref_windowed, c.windowed);
    EXPECT_EQ(p.pref_hint, c.hint);
    EXPECT_EQ(p.pref_save_message, c.save_message);
    EXPECT_EQ(p.pref_keep_colour, c.keep_colour);
    EXPECT_EQ((std::vector<int>{p.kept_colour.r, p.kept_colour.g, p.kept_colour.b}),
              (std::vector<int>{c.kept.r, c.kept.g, c.kept.b}));
    EXPECT_EQ((std::vector<int>{play.table_colour.r, play.table_colour.g, play.table_colour.b}),
              (std::vector<int>{c.table.r, c.table.g, c.table.b}));
  }
}

TEST_F(PlayerFiles, RefreshFileReplacesTheDesktopRate) {
  const struct {
    const char* file;
    int want;
  } kCases[] = {{nullptr, 60}, {"75\r\n", 75}, {"", 0}, {"85\r\n100\r\n", 85}, {"-75\r\n", 0}, {"70000\r\n", 1000}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.file ? c.file : "(none)");
    fs::remove("players/default/refresh.txt");
    if (c.file) WriteWholeFile("players/default/refresh.txt", c.file);
    game.display.refresh_rate = 60;
    LoadPreferences();
    EXPECT_EQ(game.display.refresh_rate, c.want);
  }
}

TEST_F(PlayerFiles, SavedPreferencesLoadBackAsTheyWere) {
  auto& p = game.prefs;
  p = {};
  p.pref_show_help = 1, p.sound_on = 0, p.pref_hint = 0, p.pref_keep_colour = 1;
  play.table_colour = {200, 0, 255};
  SavePreferences();
  EXPECT_EQ(p.kept_colour.r, 200);
  EXPECT_EQ(ReadWholeFile("players/default/prefer.txt"), "1\r\n0\r\n0\r\n1\r\n0\r\n1\r\n1\r\n200\r\n0\r\n255\r\n");
  game_prefs_type saved = p;
  ResetGameState();
  ResetShellState();
  ResetPlayStateModule();
  library.player_folder = "players/default/";
  LoadPreferences();
  EXPECT_EQ(p.pref_show_help, saved.pref_show_help);
  EXPECT_EQ(p.sound_on, saved.sound_on);
  EXPECT_EQ(p.pref_hint, saved.pref_hint);
  EXPECT_EQ(p.pref_keep_colour, 1);
  EXPECT_EQ(play.table_colour.b, 255);
}

TEST_F(PlayerFiles, PreferencesThatCannotBeWrittenAreReportedAndKeptInMemory) {
  library.player_folder = "players/missing/";
  game.prefs.pref_hint = 0;
  testing::internal::CaptureStderr();
  SavePreferences();  // without a display the notice goes to stderr
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "tesselka: Unable to save to players/missing/prefer.txt (No such file or directory)\n");
  EXPECT_EQ(game.prefs.pref_hint, 0);
  EXPECT_FALSE(fs::exists("players/missing"));
}

int Mode(const char* path) {
  struct stat st {};
  if (stat(path, &st) != 0) return -1;
  return st.st_mode & 07777;
}

class PlayerFolder : public ::testing::Test {
 protected:
  void SetUp() override { ResetGame(); }
  void TearDown() override { ResetGame(); }
  // Runs OpenPlayerFolder for the player and returns what it told the player.
  static std::string Open(const std::string& player) {
    library.player_name = player;
    testing::internal::CaptureStderr();
    OpenPlayerFolder();
    return testing::internal::GetCapturedStderr();
  }
  temp_working_folder dir_;
};

// New folders get 0777 masked by the umask.
int MaskedMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0777 & ~mask;
}

TEST_F(PlayerFolder, CreatesBothFoldersThroughTheUmask) {
  EXPECT_EQ(Open("default"), "");
  EXPECT_EQ(library.player_folder, "players/default/");
  EXPECT_EQ(Mode("players"), MaskedMode());
  EXPECT_EQ(Mode("players/default"), MaskedMode());
}

TEST_F(PlayerFolder, ExistingFoldersAreLeftAlone) {
  fs::create_directories("players/ann");
  chmod("players", 0755);
  chmod("players/ann", 0700);
  EXPECT_EQ(Open("ann"), "");
  EXPECT_EQ(Mode("players"), 0755);
  EXPECT_EQ(Mode("players/ann"), 0700);
}

TEST_F(PlayerFolder, OnlyTheMissingSubFolderIsCreated) {
  fs::create_directories("players");
  chmod("players", 0755);
  EXPECT_EQ(Open("bob"), "");
  EXPECT_EQ(Mode("players"), 0755);
  EXPECT_EQ(Mode("players/bob"), MaskedMode());
}

TEST_F(PlayerFolder, FolderThatCannotBeMadeGivesOneNoticeAndTheStringIsSetAnyway) {
  std::string told = Open("nested/name");
  EXPECT_EQ(told, "tesselka: Unable to access players/nested/name\n");
  EXPECT_EQ(library.player_folder, "players/nested/name/");
  EXPECT_FALSE(fs::exists("players/nested"));
}

TEST_F(PlayerFolder, RunsOnlyOnce) {
  Open("first");
  Open("second");
  EXPECT_EQ(library.player_folder, "players/first/");
  EXPECT_FALSE(fs::exists("players/second"));
}

}  // namespace
