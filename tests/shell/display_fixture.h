// A real 800 x 600 window for the shell's drawing and pointer tests. Depends on fixture.h.
#pragma once

#include <gtest/gtest.h>

#include "tests/shell/fixture.h"

namespace shell_test {

class OnDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGame();
    ASSERT_TRUE(StartPlatform()) << "these tests need an X display (run them under xvfb-run)";
    InitDrawing();
    game.display.windowed = true;
    ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
    InterceptEnd();
  }
  void TearDown() override { ResetGame(); }

  // The pointer moves to (x, y) as a real "MouseMove" would put it.
  static void PointAt(int x, int y) { Emit(EVENT_MOUSEMOVE, 0, x, y); }

  // The back buffer's colour at (x, y) as {r, g, b}.
  static std::vector<int> PixelAt(int x, int y) {
    uint32_t p = ReadPixel(GrabPixmap(x, y, 1, 1), 0, 0);
    return {int(ARGBRed(p)), int(ARGBGreen(p)), int(ARGBBlue(p))};
  }
};

// Each channel within 2 of the expected value (blending rounds).
inline ::testing::AssertionResult Near(const std::vector<int>& got, const std::vector<int>& want) {
  for (size_t i = 0; i < want.size(); ++i)
    if (std::abs(got[i] - want[i]) > 2)
      return ::testing::AssertionFailure() << "got " << ::testing::PrintToString(got) << ", want "
                                           << ::testing::PrintToString(want);
  return ::testing::AssertionSuccess();
}

}  // namespace shell_test
