// Pointer pictures shown by the window system on a real window: the picture of a frame shows
// from that frame's flip on, exactly its pixels with its hot spot (read back from the X server),
// at the scale the window shows the picture; a frame that asks for none shows none; what the
// window system cannot show is refused, so that the caller draws it.
#include <cstdlib>

#include "draw/pixmap.h"
#include "tests/platform/display_fixture.h"
#include "tests/platform/shown_pointer.h"

namespace {

class PointerTest : public RealDisplayTest {
 protected:
  // A window with the pointer over it and the system's pointer hidden there, as the game has it.
  void OpenWindow(int depth) {
    ASSERT_TRUE(Graphics(800, 600, depth, 60, 0));
    HideMouse();
    Flip(0);
    CollectUntil([](const TEvent&) { return false; }, 300);
    MoveMouse(400, 300);
    CollectUntil([](const TEvent&) { return false; }, 100);
  }

  // 3 x 2: opaque red, green at half alpha, transparent blue (premultiplied to nothing); white,
  // black, and opaque grey.
  static std::shared_ptr<TPixmap> Picture() {
    auto picture = TPixmap::Create(3, 2, PF_RGBA8888, 4);
    const uint32_t argb[] = {0xFFFF0000, 0x8000FF00, 0x000000FF,
                             0xFFFFFFFF, 0xFF000000, 0xFF808080};
    for (int i = 0; i < 6; ++i) picture->WritePixel(i % 3, i / 3, argb[i]);
    return picture;
  }
};

TEST_F(PointerTest, TheFramesPictureShowsFromItsFlipAndOnlyWhileFramesAskForIt) {
  OpenWindow(0);
  ASSERT_TRUE(ShownPointer().Invisible()) << "hidden over the window";
  const auto picture = Picture();
  ASSERT_TRUE(ShowPointerPicture(picture, 1, 1));
  EXPECT_TRUE(ShownPointer().Invisible()) << "the frame on show has no pointer yet";
  Flip(0);
  const shown_pointer shown = ShownPointer();
  ASSERT_EQ(shown.width, 3);
  ASSERT_EQ(shown.height, 2);
  EXPECT_EQ(shown.hot_x, 1);
  EXPECT_EQ(shown.hot_y, 1);
  const std::vector<uint32_t> premultiplied = {0xFFFF0000, 0x80008000, 0,
                                               0xFFFFFFFF, 0xFF000000, 0xFF808080};
  EXPECT_EQ(shown.argb, premultiplied);
  for (int frame = 0; frame < 3; ++frame) {  // asked for again: the same pointer
    ASSERT_TRUE(ShowPointerPicture(picture, 1, 1));
    Flip(0);
    EXPECT_EQ(ShownPointer().argb, premultiplied);
  }
  Flip(0);
  EXPECT_TRUE(ShownPointer().Invisible()) << "a frame without a pointer picture shows none";
  ASSERT_TRUE(ShowPointerPicture(picture, 0, 0));  // another hot spot, another pointer
  Flip(0);
  EXPECT_EQ(ShownPointer().hot_x, 0);
  ShowMouse();
  Flip(0);
  const shown_pointer system = ShownPointer();
  EXPECT_FALSE(system.Invisible()) << "the system's own pointer after ShowMouse";
  EXPECT_NE(system.argb, premultiplied);
}

TEST_F(PointerTest, TakesTheScaleTheWindowShowsThePictureAt) {
  OpenWindow(32);  // no 800 x 600 mode: the desktop's 1280 x 1024 shows the picture 1280 x 960
  auto picture = TPixmap::Create(5, 5, PF_RGB888, 4);
  for (int i = 0; i < 25; ++i) picture->WritePixel(i % 5, i / 5, 0xFF3060C0);
  ASSERT_TRUE(ShowPointerPicture(picture, 2, 4));
  Flip(0);
  const shown_pointer shown = ShownPointer();
  EXPECT_EQ(shown.width, 8);
  EXPECT_EQ(shown.height, 8);
  EXPECT_EQ(shown.hot_x, 3);  // 2 x 1.6, the pixel it falls in
  EXPECT_EQ(shown.hot_y, 6);
  ASSERT_FALSE(shown.argb.empty());
  EXPECT_EQ(shown.argb[0], 0xFF3060C0u) << "a picture without alpha is opaque";
}

TEST_F(PointerTest, WhatTheWindowSystemCannotShowIsRefused) {
  EXPECT_FALSE(ShowPointerPicture(Picture(), 0, 0)) << "no window";
  OpenWindow(0);
  const struct {
    const char* what;
    std::shared_ptr<TPixmap> picture;
    int hot_x, hot_y;
  } cases[] = {
      {"no picture", nullptr, 0, 0},
      {"hot spot left of the picture", Picture(), -1, 0},
      {"hot spot below the picture", Picture(), 0, 2},
      {"hot spot right of the picture", Picture(), 3, 0},
      {"larger than a pointer can be", TPixmap::Create(257, 16, PF_RGBA8888, 4), 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(ShowPointerPicture(c.picture, c.hot_x, c.hot_y)) << c.what;
    Flip(0);
    EXPECT_TRUE(ShownPointer().Invisible())
        << c.what << ": no pointer but the one drawn into the frame";
  }
}

// An X display told to show two-colour pointers only, where SDL would make a two-colour
// pointer of the picture: refused, so that it is drawn into the frame. Xcursor reads its
// setting once per connection, so this runs in a process of its own (CTest
// platform_two_colour_pointers).
TEST_F(PointerTest, TwoColourPointersOnlyAreRefused) {
  if (!std::getenv("XCURSOR_CORE")) GTEST_SKIP() << "needs XCURSOR_CORE=1 from the start";
  OpenWindow(0);
  EXPECT_FALSE(ShowPointerPicture(Picture(), 0, 0));
  Flip(0);
  EXPECT_TRUE(ShownPointer().Invisible());
}

}  // namespace
