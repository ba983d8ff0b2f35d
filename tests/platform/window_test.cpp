// Real windows under Xvfb: size, caption and placement, failures, the mode list, the timer, the
// worker's wake-up.
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
  EXPECT_EQ(Graphics(0, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(GraphicsWidth(), 0);
  EXPECT_EQ(GraphicsHeight(), 0);
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

TEST_F(WindowTest, PictureFitsWithItsAspectKept) {
  const struct {
    int w, h, pw, ph;
    picture_fit fit;
  } cases[] = {
      {800, 600, 1280, 1024, {0, 32, 1280, 960}},   // bars above and below
      {800, 600, 1920, 1080, {240, 0, 1440, 1080}},  // bars left and right
      {1024, 768, 1280, 1024, {0, 32, 1280, 960}},
      {800, 600, 800, 600, {0, 0, 800, 600}},
      {800, 600, 1001, 600, {100, 0, 800, 600}},  // an odd spare pixel goes right
      {800, 600, 0, 600, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    const picture_fit fit = FitPicture(c.w, c.h, c.pw, c.ph);
    EXPECT_EQ(fit.x, c.fit.x) << c.pw << "x" << c.ph;
    EXPECT_EQ(fit.y, c.fit.y) << c.pw << "x" << c.ph;
    EXPECT_EQ(fit.w, c.fit.w) << c.pw << "x" << c.ph;
    EXPECT_EQ(fit.h, c.fit.h) << c.pw << "x" << c.ph;
  }
}

TEST_F(WindowTest, FullScreenWithoutAnExactModeFillsTheDesktopAtTheGamesSize) {
  // Xvfb offers no 800 x 600 mode: the desktop's 1280 x 1024 shows the picture 1280 x 960.
  ASSERT_TRUE(Graphics(800, 600, 32, 60, 0));
  EXPECT_EQ(GraphicsWidth(), 800);
  EXPECT_EQ(GraphicsHeight(), 600);
  EXPECT_EQ(GraphicsDepth(), 32);
  int pixel_width = 0, pixel_height = 0;
  GraphicsPixelSize(pixel_width, pixel_height);
  EXPECT_EQ(pixel_width, 1280);
  EXPECT_EQ(pixel_height, 1024);
  Flip(0);
  CollectUntil([](const TEvent&) { return false; }, 300);  // settle: map, focus, enter
  // Graphics put the pointer in the middle of the picture, which is the middle of the screen.
  EXPECT_EQ(CommandOutput("xdotool getmouselocation").substr(0, 12), "x:640 y:512 ");
  const struct {
    int sx, sy, x, y;
  } corners[] = {
      {0, 32, 0, 0},   {1279, 32, 799, 0},   {0, 991, 0, 599}, {1279, 991, 799, 599},
      {0, 31, 0, -1},  {1279, 992, 799, 600},  // the bars lie outside the picture
      {641, 513, 400, 300},
  };
  for (const auto& c : corners) {
    CommandOutput("xdotool mousemove " + std::to_string(c.sx) + " " + std::to_string(c.sy));
    auto moved = CollectUntil([&](const TEvent& e) { return e.id == EVENT_MOUSEMOVE && e.x == c.x && e.y == c.y; });
    ASSERT_FALSE(moved.empty()) << c.sx << "," << c.sy;
    EXPECT_EQ(moved.back()->x, c.x) << c.sx << "," << c.sy;
    EXPECT_EQ(moved.back()->y, c.y) << c.sx << "," << c.sy;
    EXPECT_EQ(MouseX(), c.x);
    EXPECT_EQ(MouseY(), c.y);
  }
  MoveMouse(799, 599);  // back through the same scale
  PollSystem();
  EXPECT_EQ(CommandOutput("xdotool getmouselocation").substr(0, 13), "x:1279 y:991 ");
}

TEST_F(WindowTest, EnlargedWindowKeepsTheGamesSizeAndMapsThePointer) {
  ASSERT_TRUE(Graphics(800, 600, 0, 60, 0));
  Flip(0);
  CollectUntil([](const TEvent&) { return false; }, 300);
  GraphicsExposed();
  const std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  // 1000 x 600: the picture keeps 800 x 600 in the middle, 100-pixel bars either side.
  CommandOutput("xdotool windowmove " + id + " 0 0 windowsize " + id + " 1000 600");
  auto told = CollectUntil([](const TEvent& e) { return e.id == EVENT_GADGETPAINT; });
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back()->id, EVENT_GADGETPAINT) << "a loop waiting for input alone must hear of it";
  CollectUntil([](const TEvent&) { return false; }, 300);
  int pixel_width = 0, pixel_height = 0;
  GraphicsPixelSize(pixel_width, pixel_height);
  EXPECT_EQ(pixel_width, 1000);
  EXPECT_EQ(GraphicsWidth(), 800);
  EXPECT_TRUE(GraphicsExposed()) << "a resized window must be drawn again";
  EXPECT_FALSE(GraphicsExposed());
  for (auto [sx, x] : {std::pair{100, 0}, {899, 799}, {50, -50}}) {
    CommandOutput("xdotool mousemove " + std::to_string(sx) + " 300");
    auto moved = CollectUntil([&, x = x](const TEvent& e) { return e.id == EVENT_MOUSEMOVE && e.x == x; });
    ASSERT_FALSE(moved.empty()) << sx;
    EXPECT_EQ(moved.back()->y, 300);
  }
}

// A filled window's picture is its own pixels: the size follows a resize at the next Flip
// (never inside a frame), the pointer is in window pixels, and laying the picture out again
// maps the polled pointer back into the game's 800 x 600 at once.
TEST_F(WindowTest, FilledWindowTakesItsNewSizeAtTheNextFlip) {
  ASSERT_TRUE(Graphics(800, 600, 0, 60, 0));
  SetWindowFill(true);
  EXPECT_EQ(GraphicsWidth(), 800);
  Flip(0);
  CollectUntil([](const TEvent&) { return false; }, 300);
  const std::string id = WindowId();
  ASSERT_FALSE(id.empty());
  CommandOutput("xdotool windowmove " + id + " 0 0 windowsize " + id + " 1280 720");
  auto told = CollectUntil([](const TEvent& e) { return e.id == EVENT_WINDOWSIZE; });
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back()->x, 1280);
  EXPECT_EQ(told.back()->y, 720);
  EXPECT_EQ(GraphicsWidth(), 800) << "the frame under way keeps its size";
  Flip(0);
  EXPECT_EQ(GraphicsWidth(), 1280);
  EXPECT_EQ(GraphicsHeight(), 720);

  CommandOutput("xdotool mousemove 1000 700");
  auto moved = CollectUntil([](const TEvent& e) { return e.id == EVENT_MOUSEMOVE && e.x == 1000; });
  ASSERT_FALSE(moved.empty());
  EXPECT_EQ(moved.back()->y, 700);
  // Laid out, 800 x 600 fills 960 x 720 from x 160: window pixel 1000 is picture pixel 700.
  SetWindowFill(false);
  EXPECT_EQ(GraphicsWidth(), 800);
  EXPECT_EQ(GraphicsHeight(), 600);
  EXPECT_EQ(MouseX(), 700);
  EXPECT_EQ(MouseY(), 583);
  SetWindowFill(true);
  EXPECT_EQ(MouseX(), 1000);
  EXPECT_EQ(MouseY(), 700);
  SetWindowFill(false);
}

// The window opens at the size asked for (clamped between the game's size and the desktop),
// refuses to shrink below the game's size through its size hints, and reports its size.
TEST_F(WindowTest, WindowOpensAtItsPlacementAndHintsItsMinimum) {
  const struct {
    int w, h, want_w, want_h;
  } cases[] = {
      {1000, 700, 1000, 700},
      {300, 200, 800, 600},      // never below the game's size
      {5000, 5000, 1280, 1024},  // never beyond the screen
      {0, 0, 800, 600},          // the game's size times the desktop's scale (1 here)
  };
  for (const auto& c : cases) {
    SetWindowPlacement(c.w, c.h, false);
    ASSERT_TRUE(Graphics(800, 600, 0, 60, 0));
    int w = 0, h = 0;
    bool maximised = true;
    ASSERT_TRUE(GetWindowPlacement(w, h, maximised));
    EXPECT_EQ(w, c.want_w) << c.w;
    EXPECT_EQ(h, c.want_h) << c.w;
    EXPECT_FALSE(maximised);
    EXPECT_EQ(GraphicsWidth(), 800) << "laid out, the picture keeps the game's size";
  }
  const std::string hints = CommandOutput("xprop -id " + WindowId() + " WM_NORMAL_HINTS");
  EXPECT_NE(hints.find("minimum size: 800 by 600"), std::string::npos) << hints;
  ASSERT_TRUE(Graphics(1280, 1024, 32, 0, GRAPHICS_DESKTOPMODE));
  int w = 0, h = 0;
  bool maximised = false;
  EXPECT_FALSE(GetWindowPlacement(w, h, maximised)) << "full screen is no window";
}

TEST_F(WindowTest, DisplayScaleFollowsGdkScale) {
  const char* before = std::getenv("GDK_SCALE");
  const std::string kept = before ? before : "";
  for (auto [value, scale] : {std::pair{"2", 2}, {"9", 4}, {"1", 1}}) {
    setenv("GDK_SCALE", value, 1);
    EXPECT_EQ(DisplayScale(), scale) << value;
  }
  setenv("GDK_SCALE", "2", 1);
  SetWindowPlacement(0, 0, false);
  ASSERT_TRUE(Graphics(400, 300, 0, 60, 0));
  int w = 0, h = 0;
  bool maximised = false;
  ASSERT_TRUE(GetWindowPlacement(w, h, maximised));
  EXPECT_EQ(w, 800) << "twice the size asked for";
  EXPECT_EQ(h, 600);
  if (before) {
    setenv("GDK_SCALE", kept.c_str(), 1);
  } else {
    unsetenv("GDK_SCALE");
  }
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
  // Paused, it ticks no more (a tick already sent is ignored); resumed, it ticks again.
  timer->Pause();
  const int paused_at = timer->Ticks();
  Delay(60);
  PollSystem();
  EXPECT_EQ(timer->Ticks(), paused_at);
  EXPECT_EQ(timer->Wait(), 0);
  timer->Resume();
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

// Finished background work ends the main thread's wait with a "WorkDone" event, so a program
// asleep in WaitEvent takes the result back at its next turn.
TEST_F(WindowTest, FinishedWorkEndsTheWait) {
  RunInBackground([](const std::atomic<bool>&) -> TWorkDone {
    Delay(50);
    return nullptr;
  });
  EXPECT_EQ(WaitEvent(), EVENT_WORKDONE);
  EXPECT_EQ(TakeFinishedWork(), 1);
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
