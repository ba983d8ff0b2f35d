// Real windows under Xvfb: size, caption and placement, failures, the mode list, the timer.
#include "tests/platform/display_fixture.h"

namespace {

using WindowTest = RealDisplayTest;

TEST_F(WindowTest, WindowHasTheRequestedClientSizeAndCaption) {
  auto window = Graphics(800, 600, 0, 60, 0);
  ASSERT_TRUE(window);
  EXPECT_EQ(GraphicsWidth(), 800);
  EXPECT_EQ(GraphicsHeight(), 600);
  EXPECT_EQ(GraphicsDepth(), 0);
  EXPECT_EQ(GraphicsHertz(), 60);
  Flip(1);
  Flip(-1);
  PollSystem();

  const std::string id = WindowId();
  ASSERT_FALSE(id.empty()) << "no window captioned " << title;
  const std::string geometry = CommandOutput("xdotool getwindowgeometry " + id);
  EXPECT_NE(geometry.find("Geometry: 800x600"), std::string::npos) << geometry;
  // Centred on the 1280 x 1024 screen: 640 - 400, 512 - 300.
  EXPECT_NE(geometry.find("Position: 240,212"), std::string::npos) << geometry;

  SetAppTitle(title + " renamed");
  PollSystem();
  EXPECT_FALSE(CommandOutput("xdotool search --name '^" + title + " renamed$'").empty());
}

TEST_F(WindowTest, ImpossibleDisplaysReturnNone) {
  Graphics(640, 480, 0, 60, 0);
  // Xvfb offers only its own 1280 x 1024 mode, so no 800 x 600 full-screen mode exists.
  EXPECT_EQ(Graphics(800, 600, 32, 60, 0), nullptr);
  EXPECT_EQ(GraphicsWidth(), 0);
  EXPECT_EQ(GraphicsHeight(), 0);
  EXPECT_EQ(Graphics(0, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(GLGraphicsDriver()->AttachGraphics(nullptr, GRAPHICS_BACKBUFFER), nullptr);
  // A working display can be opened afterwards.
  EXPECT_TRUE(Graphics(640, 480, 0, 60, 0));
}

TEST_F(WindowTest, FullScreenInTheScreensOwnMode) {
  auto screen = Graphics(1280, 1024, 32, 0, 0);  // Xvfb's only mode: 24-bit colour in 32 bits
  ASSERT_TRUE(screen);
  EXPECT_EQ(GraphicsWidth(), 1280);
  EXPECT_EQ(GraphicsDepth(), 32);
  Flip(-1);
  auto centred = CollectUntil([](const TEvent& e) { return e.id == EVENT_MOUSEMOVE && e.x == 640 && e.y == 512; });
  ASSERT_FALSE(centred.empty());
  EXPECT_EQ(centred.back()->x, 640);  // the pointer starts in the middle of the screen
  EXPECT_TRUE(Graphics(800, 600, 0, 60, 0));  // and back to a window
}

TEST_F(WindowTest, ModesOfTheVirtualScreen) {
  const auto modes = GraphicsModes();
  ASSERT_FALSE(modes.empty());
  for (const auto& mode : modes) EXPECT_GE(mode.depth, 16) << mode.ToString();
  EXPECT_EQ(modes[0].width, 1280);
  EXPECT_EQ(modes[0].height, 1024);
  EXPECT_EQ(modes[0].depth, 32);  // true colour in four bytes reads as 32, as desktops report it
  EXPECT_EQ(DesktopHertz(), modes[0].hertz);
}

TEST_F(WindowTest, ContextsCanBeSwitchedAndClosed) {
  auto first = GLGraphicsDriver()->CreateGraphics(320, 200, 0, 0, GRAPHICS_BACKBUFFER);
  auto second = GLGraphicsDriver()->CreateGraphics(200, 100, 0, 0, GRAPHICS_BACKBUFFER);
  ASSERT_TRUE(first && second);
  SetGraphics(first);
  EXPECT_EQ(GraphicsWidth(), 320);
  SetGraphics(first);  // making the current context current again is harmless
  Flip(0);
  SetGraphics(second);
  EXPECT_EQ(GraphicsWidth(), 200);
  CloseGraphics(second);
  EXPECT_EQ(GraphicsWidth(), 0);
  int w = -1, h = -1, d = -1, hz = -1, f = -1;
  second->GetSettings(w, h, d, hz, f);
  EXPECT_EQ(w, 0);  // a closed context has no settings
  second->Close();  // closing twice does nothing
  CloseGraphics(first);
}

TEST_F(WindowTest, FiftyHertzTimerLeavesOneTickQueued) {
  auto timer = CreateTimer(50);
  ASSERT_TRUE(timer);
  const int start = Millisecs();
  while (Millisecs() - start < 1000) WaitSystem();  // nobody takes events meanwhile
  // About 50; a loaded machine delays SDL's timer thread, so only a wrong period fails.
  EXPECT_GE(timer->Ticks(), 35);
  EXPECT_LE(timer->Ticks(), 55);

  int ticks_queued = 0;
  while (PollEvent()) {
    if (EventID() != EVENT_TIMERTICK) continue;
    ++ticks_queued;
    EXPECT_EQ(EventSource(), timer);
    EXPECT_GE(EventData(), timer->Ticks() - 1);  // the merged event carries the latest count
  }
  EXPECT_EQ(ticks_queued, 1);

  EXPECT_GE(timer->Wait(), 1);
  timer->Stop();
  const int ticks = timer->Ticks();
  Delay(60);
  PollSystem();
  EXPECT_EQ(timer->Ticks(), ticks);  // messages of a stopped timer are ignored
  EXPECT_EQ(timer->Wait(), 0);
}

TEST_F(WindowTest, AtMostSixteenTimersRun) {
  std::vector<std::shared_ptr<TTimer>> timers;
  for (int i = 0; i < 16; ++i) {
    timers.push_back(CreateTimer(10));
    ASSERT_TRUE(timers.back()) << i;
  }
  EXPECT_EQ(CreateTimer(10), nullptr);
  timers[3]->Stop();
  EXPECT_TRUE(CreateTimer(2000));  // above 1000 Hz the fastest period is used
  EXPECT_EQ(CreateTimer(0), nullptr);
}

// Stops the timer given as context when any other timer ticks.
std::shared_ptr<TObject> StopOnOtherTick(int, std::shared_ptr<TObject> data, std::shared_ptr<TObject> context) {
  auto event = std::dynamic_pointer_cast<TEvent>(data);
  if (event && event->id == EVENT_TIMERTICK && event->source != context) std::static_pointer_cast<TTimer>(context)->Stop();
  return data;
}

TEST_F(WindowTest, WaitOnATimerStoppedMeanwhileReturns) {
  auto slow = CreateTimer(1);
  auto fast = CreateTimer(100);
  AddHook(EmitEventHook, StopOnOtherTick, slow, 1);
  EXPECT_EQ(slow->Wait(), 0);
  EXPECT_EQ(slow->_handle, 0);
  RemoveHook(EmitEventHook, StopOnOtherTick, slow);
}

// Many turns of a loop, for the leak check under ASan or valgrind.
TEST_F(WindowTest, ManyFrameTurns) {
  ASSERT_TRUE(Graphics(800, 600, 0, 0, 0));
  auto timer = CreateTimer(50);
  for (int turn = 0; turn < 3000; ++turn) {
    while (PollEvent()) {
    }
    Flip(0);
  }
  EXPECT_GT(timer->Ticks(), 0);
}

}  // namespace
