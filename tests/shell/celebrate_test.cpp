// The celebration on a real window under a fast clock: its pacing, the spaces, the dimmed
// picture with the text, that only "4975red_mixer" earns it, and a close request during it.
#include "tests/shell/game_fixture.h"

using namespace shell_test;

namespace {

class Celebration : public Game {
 protected:
  void SetUp() override {
    Game::SetUp();
    // Every look at the clock moves it on a little and a sleep moves it at once, so waits
    // pass without real time.
    SetClock([this] { return ++now_; }, [this](int ms) { now_ += ms; });
  }
  void TearDown() override {
    SetClock(nullptr, nullptr);
    Game::TearDown();
  }
  void WriteFiles() override {
    for (int i = 1; i <= 7; ++i)
      WritePng("images/flash/1/" + std::to_string(i) + ".png", 16, 16, MakeARGB(255, 40 * i, 40 * i, 40 * i));
  }
  // The jigsaw name in play, solved by three sevens; returns the clock time the solve took.
  int SolveWithSevens(const std::string& name) {
    FinishOpeningFlight();
    WriteJigsaw(name, 2, 2);
    EXPECT_TRUE(LoadJigsawFolder(name));
    ScatterPieces();
    int start = now_;
    for (int i = 0; i < 3; ++i) Key('7');
    EXPECT_TRUE(RunUntil(OnTable));
    return now_ - start;
  }
  static uint32_t PixelAt(int x, int y) { return ReadPixel(GrabPixmap(x, y, 1, 1), 0, 0) & 0xFFFFFF; }
  int now_ = 0;
};

TEST_F(Celebration, ALetterHoldsItsFramesAndASpaceTakesNoTime) {
  FinishOpeningFlight();
  int start = now_;
  EXPECT_EQ(FlashLetter(" ", 400, 300), TextWidth(" "));
  EXPECT_LT(now_ - start, 5);
  start = now_;
  EXPECT_EQ(FlashLetter("W", 400, 300), TextWidth("W"));
  EXPECT_GE(now_ - start, 9 * 51);  // seven flash frames and two fading frames wait
  EXPECT_LT(now_ - start, 12 * 51 + 100);
}

TEST_F(Celebration, DimsThePictureAndWritesTheTextInPaleYellow) {
  FinishOpeningFlight();
  play.table_colour = {255, 255, 255};
  DrawTable();
  Celebrate("OK");  // no "fonts/courbi.ttf" here: the default font speaks
  EXPECT_EQ(PixelAt(5, 5), 0x000096u);
  int yellow = 0;
  auto band = GrabPixmap(300, 270, 200, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x)
      if ((ReadPixel(band, x, y) & 0xFFFFFF) == 0xFFFF80u) ++yellow;
  EXPECT_GT(yellow, 20);
}

TEST_F(Celebration, OnlyTheRedMixerIsCelebratedAfterItsFlight) {
  int plain = SolveWithSevens("1000meadow");
  EXPECT_LT(plain, 5000);
  int celebrated = SolveWithSevens("4975red_mixer");
  EXPECT_GT(celebrated, 5000 + 20 * 9 * 51);  // the pause and at least twenty letters
  EXPECT_EQ(game.screen, "jigsaw");
}

TEST_F(Celebration, ACloseRequestEndsItAtOnce) {
  FinishOpeningFlight();
  Emit(EVENT_APPTERMINATE);
  EXPECT_THROW(Celebrate("You have just completed TK number 1000!"), ProgramEnded);
}

}  // namespace
