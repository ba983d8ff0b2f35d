// Presenting frames on a real window: a repeated frame is not presented again unless the
// window lost its pixels, and where the window's pixels differ from the game's size the
// picture reaches the screen scaled with black bars while reads still see the game's pixels.
#include <unistd.h>

#include "platform/platform.h"
#include "tests/draw/display_fixture.h"
#include "tests/draw/screen_pixel.h"
#include "tests/support/support.h"

namespace {

using PresentTest = DisplayTest;

// A blue picture with a red square at its top-left corner and a white one at its bottom-right.
void DrawMarkedPicture(int width, int height) {
  SetClsColor(0, 0, 255);
  Cls();
  SetColor(255, 0, 0);
  DrawRect(0, 0, 100, 100);
  SetColor(255, 255, 255);
  DrawRect(static_cast<float>(width - 100), static_cast<float>(height - 100), 100, 100);
}

TEST_F(PresentTest, RepeatedFrameIsPresentedOnlyAfterTheWindowLostItsPixels) {
  auto present = [] {
    PollSystem();  // window events arrive here, as in the loop's wait
    DrawMarkedPicture(800, 600);
    const int before = FrameCounts().presented;
    Flip(0);
    return FrameCounts().presented - before;
  };
  PollSystem();
  GraphicsExposed();
  EXPECT_EQ(present(), 1);
  EXPECT_EQ(present(), 0) << "the same frame again";
  SetColor(255, 0, 0);
  Plot(400, 300);
  EXPECT_EQ(present(), 1) << "one more point";
  EXPECT_EQ(present(), 1) << "the point gone again";
  EXPECT_EQ(present(), 0);
  // Unmapped and mapped again, the window shows nothing of its own until drawn.
  std::string id = CommandOutput("xdotool search --pid " + std::to_string(getpid()));
  id = id.substr(0, id.find('\n'));
  CommandOutput("xdotool windowunmap --sync " + id + " windowmap --sync " + id);
  Delay(100);
  EXPECT_EQ(present(), 1);
  EXPECT_EQ(present(), 0);
  SetFrameReuse(false);
  EXPECT_EQ(present(), 1) << "every frame when reuse is off";
}

TEST_F(PresentTest, FrameThatDoesNotClearEverythingIsAlwaysPresented) {
  DrawMarkedPicture(800, 600);
  Flip(0);
  for (int i = 0; i < 2; ++i) {
    SetViewport(0, 0, 400, 300);
    Cls();  // a clear of part of the picture leaves the rest to what the buffer held
    SetViewport(0, 0, 800, 600);
    const int before = FrameCounts().presented;
    Flip(0);
    EXPECT_EQ(FrameCounts().presented, before + 1);
  }
}

TEST_F(PresentTest, DesktopFullScreenShowsThePictureScaledWithBlackBars) {
  // Xvfb has only its own 1280 x 1024 mode: the 800 x 600 picture shows as 1280 x 960 between
  // bars 32 pixels high.
  graphics = Graphics(800, 600, 32, 0, 0);
  ASSERT_NE(graphics, nullptr);
  DrawMarkedPicture(800, 600);
  Flip(0);
  PollSystem();
  const struct {
    int x, y;
    uint32_t rgb;
  } seen[] = {
      {640, 10, 0x000000},   {640, 1013, 0x000000},  // bars
      {5, 40, 0xFF0000},     {150, 180, 0xFF0000},   // the red square, 160 pixels wide now
      {1275, 985, 0xFFFFFF}, {1125, 840, 0xFFFFFF},  // the white one at the other corner
      {640, 512, 0x0000FF},  {200, 180, 0x0000FF},
  };
  for (const auto& s : seen) EXPECT_EQ(ScreenPixel(s.x, s.y), s.rgb) << s.x << "," << s.y;
  // Reads see the game's own pixels, unscaled.
  EXPECT_EQ(Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(99, 99), 0xFF0000u);
  EXPECT_EQ(Pixel(100, 100), 0x0000FFu);
  EXPECT_EQ(Pixel(799, 599), 0xFFFFFFu);
  EXPECT_EQ(Count(0, 0, 800, 600, 0xFF0000u), 100 * 100);
}

}  // namespace
