// The display module over a recording graphics driver and a fake clock: opening and closing,
// settings, the mode cache, Flip's sync modes and software pacing, GraphicsSeq.
#include <gtest/gtest.h>

#include <numeric>

#include "platform/platform.h"
#include "platform/state.h"
#include "tests/platform/fakes.h"

namespace {

class DisplayModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPlatform();
    SetSystemDriver(system);
    SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER);
    SetClock([this] { return now; },
             [this](int millis) {
               sleeps.push_back(millis);
               now += millis;
             });
  }
  void TearDown() override {
    ResetPlatform();
    SetSystemDriver(nullptr);
  }

  std::shared_ptr<RecordingGraphicsDriver> driver = std::make_shared<RecordingGraphicsDriver>();
  std::shared_ptr<ScriptedSystemDriver> system = std::make_shared<ScriptedSystemDriver>();
  int now = 1000;
  std::vector<int> sleeps;
};

TEST_F(DisplayModuleTest, SixtyHertzWindowPacesSixteenSeventeenSeventeen) {
  ASSERT_TRUE(Graphics(800, 600, 0, 60, 0));
  for (int frame = 0; frame < 60; ++frame) Flip(-1);
  ASSERT_EQ(sleeps.size(), 60u);
  EXPECT_EQ(std::vector<int>(sleeps.begin(), sleeps.begin() + 6), (std::vector<int>{16, 17, 17, 16, 17, 17}));
  EXPECT_EQ(std::accumulate(sleeps.begin(), sleeps.end(), 0), 1000);
  EXPECT_EQ(driver->flips, std::vector<int>(60, 0));  // paced frames do not wait for the blank
}

TEST_F(DisplayModuleTest, ALateFrameIsNotFollowedByShortenedOnes) {
  ASSERT_TRUE(Graphics(800, 600, 0, 60, 0));
  Flip(-1);
  Flip(-1);
  Flip(-1);
  now += 40;  // drawing overran its slot
  Flip(-1);
  Flip(-1);
  Flip(-1);
  EXPECT_EQ(sleeps, (std::vector<int>{16, 17, 17, 17, 17}));
}

TEST_F(DisplayModuleTest, PacingSurvivesTheClockWrap) {
  now = 0x7FFFFFF0;  // Millisecs wraps to negative values 16 ms later
  ASSERT_TRUE(Graphics(640, 480, 0, 50, 0));
  for (int frame = 0; frame < 5; ++frame) Flip(-1);
  EXPECT_EQ(sleeps, std::vector<int>(5, 20));
}

TEST_F(DisplayModuleTest, SyncModesOfFlip) {
  const struct {
    int depth, hertz, sync, expected_flip;
  } cases[] = {
      {0, 60, 1, 1},  {0, 60, 0, 0},  // explicit syncs go straight to the driver
      {0, 0, -1, 0},                  // a window without hertz does not pace
      {32, 75, -1, 1},                // full screen waits for the vertical blank
      {32, 0, -1, 0},                 // ... unless it has no hertz
  };
  for (const auto& c : cases) {
    driver->flips.clear();
    sleeps.clear();
    ASSERT_TRUE(Graphics(800, 600, c.depth, c.hertz, 0));
    Flip(c.sync);
    EXPECT_EQ(driver->flips, std::vector<int>{c.expected_flip}) << c.depth << " " << c.hertz << " " << c.sync;
    EXPECT_TRUE(sleeps.empty());
  }
}

TEST_F(DisplayModuleTest, FlipOfAContextThatIsNotTheOwnWaitsForTheBlank) {
  auto own = Graphics(800, 600, 0, 60, 0);
  auto other = driver->CreateGraphics(320, 200, 0, 60, 0);
  SetGraphics(other);
  EXPECT_EQ(GraphicsWidth(), 320);
  Flip(-1);
  EXPECT_EQ(driver->flips, std::vector<int>{1});
  EXPECT_TRUE(sleeps.empty());
}

TEST_F(DisplayModuleTest, GraphicsOpensWithTheRequestedSettings) {
  const int seq = GraphicsSeq();
  auto window = Graphics(800, 600, 0, 60, 0);
  ASSERT_TRUE(window);
  EXPECT_EQ(GraphicsWidth(), 800);
  EXPECT_EQ(GraphicsHeight(), 600);
  EXPECT_EQ(GraphicsDepth(), 0);
  EXPECT_EQ(GraphicsHertz(), 60);
  EXPECT_EQ(driver->created_flags, GRAPHICS_BACKBUFFER);  // default flags are ORed in
  EXPECT_EQ(driver->made_current.back(), window.get());
  EXPECT_EQ(GraphicsSeq(), seq + 1);
  EXPECT_TRUE(system->moves.empty());

  auto screen = Graphics(1024, 768, 32, 75, GRAPHICS_DEPTHBUFFER);
  EXPECT_TRUE(std::static_pointer_cast<FakeGraphics>(window)->closed);  // the old one goes first
  EXPECT_EQ(GraphicsSeq(), seq + 3);                                    // closed, then opened
  EXPECT_EQ(GraphicsDepth(), 32);
  EXPECT_EQ(driver->created_flags, GRAPHICS_BACKBUFFER | GRAPHICS_DEPTHBUFFER);
  EXPECT_EQ(system->moves, (std::vector<std::pair<int, int>>{{512, 384}}));  // full screen centres the pointer
}

TEST_F(DisplayModuleTest, AFailedGraphicsLeavesNoDisplay) {
  for (auto outcome : {RecordingGraphicsDriver::Outcome::ReturnNone, RecordingGraphicsDriver::Outcome::Throw}) {
    driver->outcome = RecordingGraphicsDriver::Outcome::Succeed;
    auto first = Graphics(800, 600, 0, 60, 0);
    driver->outcome = outcome;
    EXPECT_EQ(Graphics(800, 600, 32, 85, 0), nullptr);
    EXPECT_TRUE(std::static_pointer_cast<FakeGraphics>(first)->closed);
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_EQ(GraphicsHeight(), 0);
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsHertz(), 0);
  }
}

TEST_F(DisplayModuleTest, ReopeningForgetsHeldKeys) {
  Graphics(800, 600, 0, 60, 0);
  TEvent::Create(EVENT_KEYDOWN, nullptr, KEY_LCONTROL)->Emit();
  EXPECT_EQ(KeyIsDown(KEY_LCONTROL), 1);
  Graphics(1024, 768, 0, 60, 0);
  EXPECT_EQ(KeyIsDown(KEY_LCONTROL), 0);
  TEvent::Create(EVENT_KEYDOWN, nullptr, 'A')->Emit();
  EXPECT_EQ(KeyHit('A'), 1);  // and the hook is back
}

TEST_F(DisplayModuleTest, CloseGraphicsOfTheCurrentContext) {
  auto window = Graphics(800, 600, 0, 60, 0);
  CloseGraphics(window);
  EXPECT_TRUE(std::static_pointer_cast<FakeGraphics>(window)->closed);
  EXPECT_EQ(driver->made_current.back(), nullptr);
  EXPECT_EQ(GraphicsWidth(), 0);
}

TEST_F(DisplayModuleTest, ModeListIsFetchedOnceAndCopied) {
  auto modes = GraphicsModes();
  ASSERT_EQ(modes.size(), 2u);
  modes.clear();
  EXPECT_EQ(GraphicsModes().size(), 2u);
  EXPECT_EQ(driver->mode_requests, 1);

  auto other = std::make_shared<RecordingGraphicsDriver>();
  other->modes = {{640, 480, 16, 60}};
  SetGraphicsDriver(other, GRAPHICS_BACKBUFFER);
  EXPECT_EQ(GraphicsModes().size(), 1u);
}

TEST_F(DisplayModuleTest, ModeText) {
  EXPECT_EQ((TGraphicsMode{1024, 768, 16, 75}.ToString()), "1024,768,16 75Hz");
  EXPECT_EQ((TGraphicsMode{800, 600, 32, 60}.ToString()), "800,600,32 60Hz");
}

TEST_F(DisplayModuleTest, GraphicsSeqSkipsZero) {
  platform.display.seq = -2;
  SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER);
  EXPECT_EQ(GraphicsSeq(), -1);
  SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER);
  EXPECT_EQ(GraphicsSeq(), 1);
  platform.display.seq = 0x7FFFFFFF;  // the largest value wraps instead of overflowing
  SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER);
  EXPECT_EQ(GraphicsSeq(), static_cast<int>(0x80000000u));
}

TEST_F(DisplayModuleTest, PointerOperationsGoToTheSystemDriver) {
  HideMouse();
  ShowMouse();
  MoveMouse(379, 279);
  EXPECT_EQ(system->visibility, (std::vector<bool>{false, true}));
  EXPECT_EQ(system->moves, (std::vector<std::pair<int, int>>{{379, 279}}));
}

struct Ended {};

TEST_F(DisplayModuleTest, EndClosesTheOwnDisplay) {
  AddExitHandler([] { throw Ended{}; });  // registered first, so it runs last
  auto window = Graphics(800, 600, 0, 60, 0);
  Graphics(640, 480, 0, 60, 0);  // a second Graphics registers no second handler
  auto second = GraphicsWidth();
  EXPECT_EQ(second, 640);
  EXPECT_THROW(End(), Ended);
  EXPECT_EQ(GraphicsWidth(), 0);
}

}  // namespace
