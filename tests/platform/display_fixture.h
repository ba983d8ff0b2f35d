// A real SDL platform with the OpenGL graphics driver, for the tests that open windows under
// Xvfb, and helpers to find the window and collect the events that X input produces.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/support.h"

class RealDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(StartPlatform()) << "these tests need an X display (run under xvfb-run)"; }
  void SetUp() override {
    ResetPlatform();
    SetAppTitle(title);
    SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
  }
  void TearDown() override { ResetPlatform(); }

  // The X window carrying the title (the first when several match).
  std::string WindowId() const {
    std::string ids = CommandOutput("xdotool search --name '^" + title + "$'");
    return ids.substr(0, ids.find('\n'));
  }

  // Takes queued events until one satisfies want or about millis milliseconds pass.
  template <typename Want>
  std::vector<std::shared_ptr<TEvent>> CollectUntil(Want want, int millis = 2000) {
    std::vector<std::shared_ptr<TEvent>> events;
    for (int turn = 0; turn < millis / 10; ++turn) {
      while (PollEvent()) {
        events.push_back(CurrentEvent());
        if (want(*events.back())) return events;
      }
      Delay(10);
    }
    return events;
  }

  const std::string title = "Tesselka platform test " + std::to_string(getpid());
};
