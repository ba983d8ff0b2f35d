// Without an X display the platform reports failure instead of crashing: start-up fails and
// every display request returns none.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"

namespace {

TEST(NoDisplayTest, StartFailsAndDisplaysCannotBeOpened) {
  setenv("DISPLAY", ":9999", 1);  // no server listens there
  setenv("SDL_VIDEODRIVER", "x11", 1);
  ResetPlatform();
  EXPECT_FALSE(StartPlatform());
  EXPECT_EQ(SystemDriver(), nullptr);

  SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
  EXPECT_EQ(Graphics(800, 600, 0, 60, 0), nullptr);
  EXPECT_EQ(GraphicsWidth(), 0);
  EXPECT_EQ(GraphicsHeight(), 0);
  EXPECT_TRUE(GraphicsModes().empty());
  EXPECT_EQ(DesktopHertz(), 0);
  EXPECT_EQ(CreateTimer(50), nullptr);
  MoveMouse(10, 10);  // no driver: nothing happens
  EXPECT_EQ(PollEvent(), 0);
  ResetPlatform();
}

}  // namespace
