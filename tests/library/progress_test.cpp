// Saved progress without a window: the lines a save writes, a round trip of every saved value,
// damaged files refused, a full disk and saves killed at random moments.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <random>

#include "tests/library/library_fixture.h"
#include "tests/support/memory_cap.h"

using namespace library_test;

namespace {

void Place(int p, int x, int y, int a) {
  play.pieces[p].x = x;
  play.pieces[p].y = y;
  play.pieces[p].a = a;
}

class Progress : public LibraryTest {
 protected:
  // Writes and loads jigsaw name, scattered.
  static void Start(const std::string& name, int rows, int cols) {
    WriteJigsaw(name, rows, cols, 8);
    ASSERT_TRUE(LoadJigsawFolder(name));
    ScatterPieces();
  }
};

TEST_F(Progress, SevenLinesPerPieceAndFiveMore) {
  for (auto [rows, cols, lines] : {std::tuple{2, 2, 33}, std::tuple{10, 30, 2105}}) {
    Start("j", rows, cols);
    SaveProgress();
    const std::vector<std::string> saved = Lines("players/default/j.txt");
    ASSERT_EQ(static_cast<int>(saved.size()), lines);
    EXPECT_EQ(saved[0], std::to_string(play.pieces[1].x));
    EXPECT_EQ(saved[5], std::to_string(play.draw_order[1]));
    EXPECT_EQ(saved[lines - 5], std::to_string(play.table_colour.r));
    EXPECT_EQ(saved[lines - 2], "0");  // the small display
  }
  // Every line ends with CR LF.
  const std::string bytes = ReadWholeFile("players/default/j.txt");
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST_F(Progress, EverySavedValueComesBack) {
  Start("j", 2, 3);
  Place(1, -37, 12, 3);
  play.pieces[2].visible = 0;
  play.pieces[3].gp = play.pieces[4].gp = 7;
  play.pieces[5].box = 5;
  std::reverse(play.draw_order.begin() + 1, play.draw_order.begin() + 7);  // the table keeps its size
  play.table_colour = {1, 2, 3};
  play.last_group = 9;
  SaveProgress();
  EXPECT_EQ(Lines("players/default/j.txt")[0], "-37");
  const play_state saved = play;

  ASSERT_TRUE(LoadJigsawFolder("j"));
  ScatterPieces();
  const std::optional<progress_type> progress = ReadProgress("players/default/j.txt", 6);
  ASSERT_TRUE(progress);
  LoadProgress(*progress);
  for (int i = 1; i <= 6; ++i) {
    SCOPED_TRACE(i);
    const piece_type &was = saved.pieces[i], &now = play.pieces[i];
    EXPECT_EQ(std::tie(now.x, now.y, now.a, now.visible, now.gp, now.box),
              std::tie(was.x, was.y, was.a, was.visible, was.gp, was.box));
  }
  EXPECT_TRUE(std::equal(saved.draw_order.begin(), saved.draw_order.begin() + 7, play.draw_order.begin()));
  EXPECT_EQ(std::tie(play.table_colour.r, play.table_colour.g, play.table_colour.b), std::tie(saved.table_colour.r, saved.table_colour.g, saved.table_colour.b));
  EXPECT_EQ(play.last_group, 9);
}

TEST_F(Progress, LastGroupIsRaisedToTheHighestGroupSoJoinsNeverReuseOne) {
  Start("j", 1, 2);
  std::vector<int> values = PlainProgress(2);
  values[4] = values[11] = 5;  // both pieces in group 5, last_group 0
  WriteProgress("players/default/j.txt", values);
  const auto progress = ReadProgress("players/default/j.txt", 2);
  ASSERT_TRUE(progress);
  LoadProgress(*progress);
  EXPECT_EQ(play.last_group, 5);
}

TEST_F(Progress, DamagedFilesAreRefusedWithANoticeNamingThem) {
  struct damage {
    const char* what;
    size_t line;  // the line changed (from 0), or the count of lines kept when value is absent
    std::optional<int> value;
  };
  const int n = 4;
  const damage cases[] = {
      {"a line missing", 7 * n + 4, std::nullopt},
      {"empty", 0, std::nullopt},
      {"a line too many", 7 * n + 6, std::nullopt},
      {"drawing order repeats", 5, 2},
      {"drawing order 0", 5, 0},
      {"drawing order beyond n", 5, n + 1},
      {"turn 4", 2, 4},
      {"turn -1", 2, -1},
      {"visible 2", 3, 2},
      {"negative group", 4, -1},
      {"box 6", 6, 6},
      {"box -1", 6, -1},
      {"x far off the table", 0, 2000000000},
      {"y far off the table", 1, -2000000000},
      {"red 256", 7 * n, 256},
      {"display flag 2", 7 * n + 3, 2},
      {"negative last group", 7 * n + 4, -3},
  };
  for (const damage& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<int> values = PlainProgress(n);
    if (c.value) {
      values[c.line] = *c.value;
    } else {
      values.resize(c.line, 0);
    }
    WriteProgress("players/default/j.txt", values);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ReadProgress("players/default/j.txt", n));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("players/default/j.txt"), std::string::npos);
  }
  // The undamaged file is taken; a missing one is named too.
  WriteProgress("players/default/j.txt", PlainProgress(n));
  EXPECT_TRUE(ReadProgress("players/default/j.txt", n));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(ReadProgress("players/default/absent.txt", n));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Unable to access players/default/absent.txt"),
            std::string::npos);
}

// One endless line: refused by its size under a memory cap smaller than the file, so a reader
// that took the line whole would fail here instead of swapping.
TEST_F(Progress, AHugeFileIsRefusedWithoutReadingItWhole) {
  const size_t bytes = 96u << 20;
  {
    std::ofstream file("players/default/j.txt", std::ios::binary);
    const std::string block(1 << 20, '1');
    for (size_t written = 0; written < bytes; written += block.size()) file << block;
  }
  const capped_run run =
      RunWithMemoryCap(32 * kMiB, [] { return ReadProgress("players/default/j.txt", 4) ? 1 : 0; });
  ASSERT_TRUE(run.finished) << "the reader died";
  EXPECT_EQ(run.value, 0);
}

TEST_F(Progress, FetchSaysWhatIsWrongWithAWorkingOnItCannotUse) {
  // Without a window a notice waits in startup_notices.
  WriteWholeFile("elsewhere.txt", "first\r\n");
  const std::string path = "players/default/working_on.txt";
  const struct {
    std::function<void()> make;
    std::string notice;  // "" for the status message of a missing file
  } cases[] = {
      {[] {}, ""},
      {[&] { std::filesystem::create_symlink("../../elsewhere.txt", path); }, path + " is a link, not a file"},
      {[&] { ASSERT_EQ(mkfifo(path.c_str(), 0666), 0); }, path + " is a named pipe, not a file"},
      {[&] { std::filesystem::create_directory(path); }, path + " is a folder, not a file"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.notice);
    std::filesystem::remove(path);
    c.make();
    ResetGameState();
    testing::internal::CaptureStderr();
    FetchWorkingOn();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(game.startup_notices, c.notice.empty() ? std::vector<std::string>{}
                                                     : std::vector<std::string>{c.notice});
    EXPECT_EQ(game.status_message, c.notice.empty() ? "I can't find any saved jigsaws to fetch" : "");
    EXPECT_TRUE(play.jigsaw_name.empty()) << "nothing was resumed";
  }
}

TEST_F(Progress, SavingTwiceReplacesBothFilesAndWorkingOnNamesTheLast) {
  Start("first", 2, 2);
  PlaceAllHome();  // complete: the thumbnail is the folder's tn.png, no window needed
  SaveJigsaw();
  EXPECT_EQ(Lines("players/default/working_on.txt"), std::vector<std::string>{"first"});
  EXPECT_EQ(game.status_message, "jigsaw saved");
  Place(1, 5, 6, 0);
  SaveJigsaw();
  EXPECT_EQ(Lines("players/default/first.txt")[0], "5");
  Start("second", 1, 2);
  SaveJigsaw();
  EXPECT_EQ(Lines("players/default/working_on.txt"), std::vector<std::string>{"second"});
  // No temporary is left behind.
  for (const auto& entry : std::filesystem::directory_iterator("players/default"))
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST_F(Progress, ACompleteJigsawSavesTheFolderThumbnailAtItsOwnSize) {
  Start("j", 2, 2);
  PlaceAllHome();
  ASSERT_TRUE(IsComplete());
  SaveProgress();
  auto thumbnail = LoadPixmap("players/default/j.png");
  ASSERT_TRUE(thumbnail);
  EXPECT_EQ(thumbnail->width, 30);
  EXPECT_EQ(thumbnail->height, 20);
}

TEST_F(Progress, NamesAreStoredByteForByte) {
  const std::string name = "Zaż\xc3\xb3\xc5\x82\xc4\x87 g\xc4\x99\xc5\x9bl\xc4\x85";
  play.jigsaw_name = name;
  SaveProgress();
  EXPECT_EQ(ReadWholeFile("players/default/working_on.txt"), name + "\r\n");
}

// Runs f in a child that may write only `limit` bytes to any file, as on a nearly full disk;
// returns what the child printed on its standard error.
std::string WithFileSizeLimit(rlim_t limit, const std::function<void()>& f) {
  testing::internal::CaptureStderr();
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit rl = {limit, limit};
    setrlimit(RLIMIT_FSIZE, &rl);
    f();
    fflush(stderr);
    _exit(0);
  }
  waitpid(child, nullptr, 0);
  return testing::internal::GetCapturedStderr();
}

TEST_F(Progress, AFullDiskReportsAndKeepsTheOldFiles) {
  Start("big", 10, 30);
  PlaceAllHome();
  SaveJigsaw();
  const std::string old_progress = ReadWholeFile("players/default/big.txt");
  const std::string old_thumbnail = ReadWholeFile("players/default/big.png");
  ScatterPieces();
  const std::string said = WithFileSizeLimit(1000, [] { SaveJigsaw(); });
  EXPECT_NE(said.find("Unable to save to players/default/big.txt (File too large)"), std::string::npos) << said;
  EXPECT_EQ(ReadWholeFile("players/default/big.txt"), old_progress);
  EXPECT_EQ(ReadWholeFile("players/default/big.png"), old_thumbnail);
  EXPECT_EQ(Lines("players/default/working_on.txt"), std::vector<std::string>{"big"});
}

// A child saves two states in turn until it is killed at a random moment: each file is always
// one complete save, and the thumbnail always decodes.
TEST_F(Progress, ASaveKilledAtRandomMomentsLeavesCompleteFiles) {
  Start("j", 10, 30);
  PlaceAllHome();
  SaveProgress();
  const std::string home = ReadWholeFile("players/default/j.txt");
  Place(1, 1, 1, 0);
  SaveProgress();
  const std::string moved = ReadWholeFile("players/default/j.txt");
  ASSERT_NE(home, moved);
  std::mt19937 random(7);
  for (int run = 0; run < 60; ++run) {
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      for (int i = 0;; ++i) {
        Place(1, i % 2 ? play.pieces[1].x0 : 1, i % 2 ? play.pieces[1].y0 : 1, 0);
        SaveProgress();
      }
    }
    usleep(std::uniform_int_distribution<int>(0, 30000)(random));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    const std::string now = ReadWholeFile("players/default/j.txt");
    ASSERT_TRUE(now == home || now == moved) << "run " << run << ": " << now.size() << " bytes";
    ASSERT_TRUE(LoadPixmap("players/default/j.png")) << "run " << run;
  }
}

}  // namespace
