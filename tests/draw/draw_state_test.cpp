// The drawing state on a real window: transforms, handles, colours, lines, clipping, blending
// and the virtual resolution, checked by reading the back buffer.
#include <tuple>

#include "platform/platform.h"
#include "tests/draw/display_fixture.h"
#include "tests/draw/fixtures.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

using DrawStateTest = DisplayTest;

// The filled screen rectangle [x0, x1) x [y0, y1) in white, one pixel around it black.
void ExpectFilled(int x0, int y0, int x1, int y1) {
  const int w = x1 - x0, h = y1 - y0;
  EXPECT_EQ(DisplayTest::Count(x0, y0, w, h, kWhite), w * h) << "inside";
  EXPECT_EQ(DisplayTest::Count(x0 - 1, y0 - 1, w + 2, h + 2, kWhite), w * h) << "outside";
}

TEST_F(DrawStateTest, FreshContextHasTheStartValues) {
  int r, g, b;
  GetColor(r, g, b);
  EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(255, 255, 255));
  GetClsColor(r, g, b);
  EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(0, 0, 0));
  EXPECT_EQ(GetAlpha(), 1.0f);
  EXPECT_EQ(GetBlend(), MaskBlend);
  int x, y, w, h;
  GetViewport(x, y, w, h);
  EXPECT_EQ(std::make_tuple(x, y, w, h), std::make_tuple(0, 0, 800, 600));
  auto current = T2DGraphics::Current();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current, graphics);
  EXPECT_EQ(current->vres_width, 800);
  EXPECT_EQ(current->_setup, 1);
  EXPECT_EQ(Pixel(0, 0), kBlack);
}

TEST_F(DrawStateTest, RotationTurnsShapesClockwiseAboutTheirPosition) {
  SetRotation(90);
  EXPECT_EQ(GetRotation(), 90);
  DrawRect(100, 100, 20, 10);
  ExpectFilled(90, 100, 100, 120);
}

TEST_F(DrawStateTest, HandleIsStoredNegatedAndLandsOnThePosition) {
  SetHandle(10, 5);
  float hx, hy;
  GetHandle(hx, hy);
  EXPECT_EQ(std::make_tuple(hx, hy), std::make_tuple(10.0f, 5.0f));
  EXPECT_EQ(T2DGraphics::Current()->handle_x, -10);
  DrawRect(100, 100, 20, 10);
  ExpectFilled(90, 95, 110, 105);
}

TEST_F(DrawStateTest, ScaleAndOriginApplyToRectangles) {
  SetOrigin(50, 20);
  SetScale(2, 3);
  DrawRect(10, 10, 5, 4);
  ExpectFilled(60, 30, 70, 42);
  float sx, sy, ox, oy;
  GetScale(sx, sy);
  GetOrigin(ox, oy);
  EXPECT_EQ(std::make_tuple(sx, sy, ox, oy), std::make_tuple(2.0f, 3.0f, 50.0f, 20.0f));
}

TEST_F(DrawStateTest, ColourIsStoredUnclampedAndDrawnClamped) {
  SetColor(300, -5, 128);
  int r, g, b;
  GetColor(r, g, b);
  EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(300, -5, 128));
  DrawRect(10, 10, 4, 4);
  EXPECT_EQ(Pixel(11, 11), 0xFF0080u);
  SetClsColor(-1, 256, 64);
  GetClsColor(r, g, b);
  EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(-1, 256, 64));
  Cls();
  EXPECT_EQ(Pixel(400, 300), 0x00FF40u);
}

TEST_F(DrawStateTest, LinesAndPoints) {
  DrawLine(10, 10, 20, 10, 1);
  EXPECT_EQ(Count(10, 10, 11, 1, kWhite), 11) << "the last pixel too";
  EXPECT_EQ(Count(9, 9, 13, 3, kWhite), 11);
  DrawLine(10, 30, 10, 40, 0);
  EXPECT_EQ(Count(10, 30, 1, 10, kWhite), 10);
  Plot(5, 7);
  EXPECT_EQ(Pixel(5, 7), kWhite);
  EXPECT_EQ(Count(4, 6, 3, 3, kWhite), 1);
  SetOrigin(100, 100);
  SetRotation(90);
  Plot(1, 2);  // neither rotated nor handled, only moved by the origin
  EXPECT_EQ(Pixel(101, 102), kWhite);
  // A rotated line with its last pixel: from (200, 200) one step "right" is one step down.
  DrawLine(100, 100, 105, 100, 1);
  EXPECT_EQ(Count(200, 200, 1, 6, kWhite), 6);
}

TEST_F(DrawStateTest, OvalFillsAroundItsCentre) {
  DrawOval(100, 100, 40, 20);
  EXPECT_EQ(Pixel(120, 110), kWhite);
  EXPECT_EQ(Pixel(101, 110), kWhite);
  EXPECT_EQ(Pixel(120, 101), kWhite);
  EXPECT_EQ(Pixel(101, 101), kBlack) << "corners of the box stay clear";
  EXPECT_EQ(Pixel(138, 118), kBlack);
  EXPECT_EQ(Count(99, 99, 42, 22, kWhite), Count(100, 100, 40, 20, kWhite));
}

TEST_F(DrawStateTest, ViewportClipsClsAndDrawingUntilReset) {
  SetClsColor(255, 0, 0);
  SetViewport(0, 77, 800, 523);
  int x, y, w, h;
  GetViewport(x, y, w, h);
  EXPECT_EQ(std::make_tuple(x, y, w, h), std::make_tuple(0, 77, 800, 523));
  Cls();
  EXPECT_EQ(Pixel(0, 76), kBlack);
  EXPECT_EQ(Pixel(0, 77), 0xFF0000u);
  EXPECT_EQ(Pixel(799, 599), 0xFF0000u);
  SetViewport(10, 20, 30, 40);
  DrawRect(0, 0, 800, 600);
  EXPECT_EQ(Count(0, 0, 800, 600, kWhite), 30 * 40);
  EXPECT_EQ(Count(10, 20, 30, 40, kWhite), 30 * 40);
  SetViewport(0, 0, 800, 600);
  Cls();
  EXPECT_EQ(Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(20, 30), 0xFF0000u);
}

TEST_F(DrawStateTest, BlendModes) {
  SetClsColor(0, 0, 200);
  Cls();
  struct Case {
    int mode;
    float alpha;
    uint32_t expected;  // red 200 drawn over blue 200
  };
  const Case cases[] = {
      {MaskBlend, 1.0f, 0xC80000},     {MaskBlend, 0.4f, 0x0000C8},
      {SolidBlend, 0.4f, 0xC80000},    {AlphaBlend, 1.7f, 0xC80000},
      {AlphaBlend, -0.2f, 0x0000C8},   {AdditiveBlend, 1.0f, 0xC800C8},
      {MultiplyBlend, 1.0f, 0x000000}, {99, 0.0f, 0xC80000},
  };
  int x = 0;
  for (const Case& c : cases) {
    SetBlend(c.mode);
    SetAlpha(c.alpha);
    SetColor(200, 0, 0);
    DrawRect(static_cast<float>(x), 0, 4, 4);
    EXPECT_EQ(GetBlend(), c.mode);
    EXPECT_EQ(GetAlpha(), c.alpha);
    EXPECT_EQ(Pixel(x + 1, 1), c.expected) << "mode " << c.mode << " alpha " << c.alpha;
    x += 10;
  }
  // Half alpha blends about half-way.
  SetBlend(AlphaBlend);
  SetAlpha(0.5f);
  DrawRect(200, 0, 4, 4);
  const uint32_t half = Pixel(201, 1);
  EXPECT_NEAR(static_cast<int>(half >> 16), 100, 2);
  EXPECT_NEAR(static_cast<int>(half & 0xFF), 100, 2);
}

TEST_F(DrawStateTest, VirtualResolutionScalesDrawingAndTheViewport) {
  SetVirtualResolution(400, 300);
  EXPECT_FLOAT_EQ(T2DGraphics::Current()->vres_mousexscale, 0.5f);
  DrawRect(0, 0, 200, 150);
  EXPECT_EQ(Pixel(399, 299), kWhite);
  EXPECT_EQ(Pixel(400, 299), kBlack);
  EXPECT_EQ(Pixel(399, 300), kBlack);
  SetColor(255, 0, 0);
  SetViewport(0, 0, 100, 100);  // physical 200 x 200
  DrawRect(0, 0, 400, 300);
  EXPECT_EQ(Pixel(199, 199), 0xFF0000u);
  EXPECT_EQ(Pixel(200, 100), kWhite);
}

TEST_F(DrawStateTest, StateSurvivesReselectionAndReopeningResetsIt) {
  SetColor(10, 20, 30);
  SetBlend(AlphaBlend);
  SetClsColor(0, 50, 0);
  // Selecting the same context again re-applies the whole state.
  SetGraphics(nullptr);
  EXPECT_EQ(T2DGraphics::Current(), nullptr);
  SetGraphics(graphics);
  DrawRect(0, 0, 2, 2);
  EXPECT_EQ(Pixel(0, 0), 0x0A141Eu);
  Cls();
  EXPECT_EQ(Pixel(0, 0), 0x003200u);
  EXPECT_EQ(GetBlend(), AlphaBlend);
  Reopen();
  EXPECT_EQ(GetBlend(), MaskBlend);
  EXPECT_EQ(Pixel(0, 0), kBlack) << "a new context starts cleared";
}

TEST_F(DrawStateTest, ReselectionKeepsTheBackBufferAndClearsOnlyTheViewport) {
  // In a window, and in desktop full screen where the picture is drawn off screen.
  for (const int depth : {0, 32}) {
    SCOPED_TRACE(depth);
    graphics = Graphics(800, 600, depth, 0, 0);
    ASSERT_NE(graphics, nullptr);
    SetClsColor(0, 0, 255);
    SetColor(255, 0, 0);
    DrawRect(10, 10, 20, 20);
    SetViewport(100, 100, 50, 40);
    SetGraphics(nullptr);
    SetGraphics(graphics);
    SetGraphics(graphics);  // already current: nothing changes
    Cls();
    SetColor(0, 255, 0);
    DrawRect(0, 0, 800, 600);  // clipped to the viewport
    EXPECT_EQ(Count(10, 10, 20, 20, 0xFF0000u), 400) << "drawn before the switch";
    EXPECT_EQ(Count(100, 100, 50, 40, 0x00FF00u), 2000) << "drawn after it, in the viewport";
    EXPECT_EQ(Pixel(99, 99), kBlack) << "outside the viewport, neither cleared nor drawn";
    EXPECT_EQ(Pixel(150, 140), kBlack);
    EXPECT_EQ(Pixel(400, 300), kBlack);
    SetViewport(0, 0, 800, 600);
    SetGraphics(nullptr);
    SetGraphics(graphics);
    Cls();
    EXPECT_EQ(Pixel(10, 10), 0x0000FFu) << "a whole viewport clears everything";
  }
}

TEST_F(DrawStateTest, NothingHappensWithoutACurrentContext) {
  SetGraphics(nullptr);
  SetColor(1, 2, 3);
  SetRotation(45);
  Cls();
  DrawRect(0, 0, 10, 10);
  DrawText("x", 0, 0);
  EXPECT_EQ(GrabPixmap(0, 0, 1, 1), nullptr);
  int r, g, b;
  GetColor(r, g, b);
  EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(255, 255, 255));
  EXPECT_EQ(GetRotation(), 0);
  SetGraphics(graphics);
  GetColor(r, g, b);
  EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(255, 255, 255));
}

}  // namespace
