// A real 800 x 600 SDL window with an OpenGL context for drawing tests.
#include "tests/draw/display_fixture.h"

#include "platform/platform.h"

void DisplayTest::SetUpTestSuite() {
  ASSERT_TRUE(StartPlatform()) << "needs a display (Xvfb)";
}

void DisplayTest::SetUp() {
  ResetPlatform();
  ResetDrawing();
  InitDrawing();
  graphics = Graphics(800, 600, 0, 60, 0);
  ASSERT_NE(graphics, nullptr);
}

void DisplayTest::TearDown() {
  graphics = nullptr;
  ResetPlatform();
  ResetDrawing();
}

void DisplayTest::Reopen() {
  graphics = Graphics(800, 600, 0, 60, 0);
  ASSERT_NE(graphics, nullptr);
}

uint32_t DisplayTest::Pixel(int x, int y) {
  auto p = GrabPixmap(x, y, 1, 1);
  return p ? p->ReadPixel(0, 0) & 0xFFFFFFu : 0xDEADBEEFu;
}

int DisplayTest::Count(int x, int y, int w, int h, uint32_t rgb) {
  auto p = GrabPixmap(x, y, w, h);
  int n = 0;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) n += (p->ReadPixel(i, j) & 0xFFFFFFu) == rgb;
  }
  return n;
}
