// A real 800 x 600 SDL window with an OpenGL context for drawing tests, opened through the
// display module with the OpenGL back end registered. Depends on draw/ and platform/.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "draw/draw.h"

class DisplayTest : public ::testing::Test {
 public:
  // The back-buffer pixel at (x, y) as 0xRRGGBB.
  static uint32_t Pixel(int x, int y);
  // Number of pixels of the rectangle whose colour is rgb.
  static int Count(int x, int y, int w, int h, uint32_t rgb);

 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Closes the display and opens a new one, as a change of display mode does.
  void Reopen();

  std::shared_ptr<TGraphics> graphics;
};
