// Saving by itself, without a window: which actions change a jigsaw, the save two minutes after
// the last one under a test clock, a full disk while playing, and a save that cannot finish
// before the program ends.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "box/box.h"
#include "tests/library/library_fixture.h"

using namespace library_test;
using namespace std::chrono_literals;

namespace {

class Autosave : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    SetClock([this] { return now_; }, nullptr);
    WriteJigsaw("j", 3, 4, 8);
    ASSERT_TRUE(StartNewJigsaw("j"));
  }
  void TearDown() override {
    WaitForWork();
    TakeFinishedWork();
    SetClock(nullptr, nullptr);
    LibraryTest::TearDown();
  }
  // SaveWhenDue at `at` ms after the start, then the worker's result taken back.
  void SaveWhenDueAt(int at) {
    now_ = at;
    SaveWhenDue();
    WaitForWork();
    TakeFinishedWork();
  }
  int now_ = 0;
};

struct action_case {
  const char* name;
  std::function<void()> act;
  bool changes;
};

TEST_F(Autosave, OnlyWhatTheProgressFileHoldsCountsAsAChange) {
  const action_case cases[] = {
      {"nothing", [] {}, false},
      {"a move", [] { play.pieces[2].x += 5; }, true},
      {"a move and back", [] { play.pieces[2].x += 5; play.pieces[2].x -= 5; }, false},
      {"a turn", [] { TurnPiece(3); }, true},
      {"a join", [] { play.pieces[1].gp = play.pieces[2].gp = ++play.last_group; }, true},
      {"a box", [] { play.pieces[5].box = 2; RebuildBoxes(); }, true},
      {"a tidy", [] { TidyPieces(400, 300, 800, 600); }, true},
      {"hiding all", [] { HideAllPieces(); }, true},
      {"showing all, all shown", [] { ShowAllPieces(); }, false},
      {"a filter that hides", [] { play.loose_shown = 0; ApplyLooseShown(); }, true},
      {"J", [] { SpreadEdgePieces(); }, true},
      {"M", [] { PlaceFirstPieceHome(); }, true},
      {"7 7 7 flown home", [] { PlaceAllHome(); }, true},
      {"7 7 only", [] { CountSevenKey(); CountSevenKey(); }, false},
      {"the table colour", [] { play.table_colour.g ^= 1; }, true},
      {"the display size", [] { game.display.display_large = !game.display.display_large; }, true},
      {"the swatch, the thumbnail, the pointer", [] {
         play.swatch_shown = 1;
         play.thumb_shown = 1;
         game.pointer_x = 77;
       }, false},
  };
  for (const action_case& c : cases) {
    ScatterPieces();
    NoteJigsawStarted();
    ASSERT_FALSE(JigsawChanged()) << c.name;
    c.act();
    EXPECT_EQ(JigsawChanged(), c.changes) << c.name;
    game.display.display_large = false;
  }
  // Saving and starting make it unchanged again (loading: the saved-page tests).
  TurnPiece(1);
  SaveProgress();
  EXPECT_FALSE(JigsawChanged());
  TurnPiece(1);
  ASSERT_TRUE(StartNewJigsaw("j"));
  EXPECT_FALSE(JigsawChanged());
}

TEST_F(Autosave, AChangedJigsawIsSavedTwoMinutesAfterItStartedAndAnUntouchedOneNever) {
  SaveWhenDueAt(kSaveInterval + 1);
  EXPECT_FALSE(std::filesystem::exists("players/default/j.txt")) << "an untouched jigsaw was written";
  TurnPiece(1);
  NoteJigsawStarted();
  TurnPiece(2);
  now_ += kSaveInterval - 1;
  const int started = now_ - (kSaveInterval - 1);
  SaveWhenDueAt(started + kSaveInterval - 1);
  EXPECT_FALSE(std::filesystem::exists("players/default/j.txt")) << "saved before two minutes";
  SaveWhenDueAt(started + kSaveInterval);
  ASSERT_EQ(static_cast<int>(Lines("players/default/j.txt").size()), 7 * 12 + 5);
  EXPECT_EQ(Lines("players/default/j.txt")[2], std::to_string(play.pieces[1].a));
  EXPECT_EQ(Lines("players/default/working_on.txt"), std::vector<std::string>{"j"});
  EXPECT_FALSE(JigsawChanged());
  EXPECT_TRUE(game.status_message.empty()) << "saving while playing is quiet";
  // The next one falls due two minutes after this save, and only when changed again.
  const auto written = std::filesystem::last_write_time("players/default/j.txt");
  SaveWhenDueAt(started + 3 * kSaveInterval);
  EXPECT_EQ(std::filesystem::last_write_time("players/default/j.txt"), written);
  TurnPiece(1);
  SaveWhenDueAt(started + 3 * kSaveInterval);
  EXPECT_EQ(Lines("players/default/j.txt")[2], std::to_string(play.pieces[1].a));
}

// A child that may write only a few bytes to any file (a nearly full disk) saves while playing:
// it says so once, keeps the old files, and saves again at the next occasion once there is room.
TEST_F(Autosave, AFullDiskWhilePlayingSaysSoOnceKeepsTheOldFilesAndTriesAgain) {
  TurnPiece(1);
  SaveProgress();
  const std::string old_progress = ReadWholeFile("players/default/j.txt");
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit room = {};
    getrlimit(RLIMIT_FSIZE, &room);
    struct rlimit full = {100, room.rlim_max};
    setrlimit(RLIMIT_FSIZE, &full);
    TurnPiece(2);
    SaveWhenDueAt(kSaveInterval);
    bool ok = game.status_message == "Unable to save to players/default/j.txt (File too large)" && JigsawChanged() &&
              ReadWholeFile("players/default/j.txt") == old_progress;
    game.status_message = "";
    SaveWhenDueAt(2 * kSaveInterval);
    ok = ok && game.status_message.empty() && JigsawChanged();  // the notice is shown once
    setrlimit(RLIMIT_FSIZE, &room);
    SaveWhenDueAt(3 * kSaveInterval);
    ok = ok && !JigsawChanged() && ReadWholeFile("players/default/j.txt") != old_progress;
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// The worker is still busy (a hung folder) when the program ends: leaving waits 2 seconds, then
// goes; the save, when it finally runs, writes nothing, so the old files stay whole.
TEST_F(Autosave, ASaveThatCannotFinishInTwoSecondsIsAbandonedAndTheOldFilesStay) {
  TurnPiece(1);
  SaveProgress();
  const std::string old_progress = ReadWholeFile("players/default/j.txt");
  RunInBackground([](const std::atomic<bool>&) -> TWorkDone {
    std::this_thread::sleep_for(3500ms);
    return nullptr;
  });
  TurnPiece(2);
  const auto started = std::chrono::steady_clock::now();
  testing::internal::CaptureStderr();
  SaveOnExit();
  const std::string said = testing::internal::GetCapturedStderr();
  const auto waited = std::chrono::steady_clock::now() - started;
  EXPECT_GE(waited, 1900ms);
  EXPECT_LT(waited, 3000ms);
  EXPECT_NE(said.find("abandoned"), std::string::npos) << said;
  WaitForWork();
  EXPECT_TRUE(StopWorker());
  EXPECT_EQ(ReadWholeFile("players/default/j.txt"), old_progress);
  for (const auto& entry : std::filesystem::directory_iterator("players/default"))
    EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

TEST_F(Autosave, TheGoOnMessageNamesASavedJigsawOnly) {
  EXPECT_EQ(GoOnMessage(), "");
  WriteWholeFile("players/default/working_on.txt", "j\r\n");
  EXPECT_EQ(GoOnMessage(), "") << "no progress file";
  TurnPiece(1);
  SaveProgress();
  EXPECT_EQ(GoOnMessage(), "Press = then Y to go on with j");
  WriteWholeFile("players/default/working_on.txt", "../j\r\n");
  EXPECT_EQ(GoOnMessage(), "");
}

}  // namespace
