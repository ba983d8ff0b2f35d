// The display module: current driver and context, opening displays, the mode cache, Flip with
// software pacing, GraphicsSeq, the window caption and the pointer operations.
#include <cassert>
#include <cstdint>

#include "platform/platform.h"
#include "platform/state.h"
#include "platform/system.h"

namespace {

auto& display = platform.display;

void AdvanceSeq() {
  // Never 0: -1 steps to 1. Unsigned arithmetic wraps past the largest int without overflow.
  display.seq = display.seq == -1 ? 1 : static_cast<int>(static_cast<uint32_t>(display.seq) + 1);
}

void ClearSettings() {
  display.current = nullptr;
  display.width = display.height = display.depth = display.hertz = display.flags = 0;
}

// Forgets the current driver's current context before another driver takes over.
void ReleaseDriver() {
  if (display.driver && display.current) display.driver->SetGraphics(nullptr);
  display.modes.reset();
}

// Millisecond clock differences that survive the 32-bit wrap of Millisecs.
int Elapsed(int from, int to) {
  return static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}
int Later(int time, int millis) {
  return static_cast<int32_t>(static_cast<uint32_t>(time) + static_cast<uint32_t>(millis));
}

void StartPacing(int hertz) {
  auto& pacing = display.pacing;
  pacing.sync_rate = hertz;
  pacing.period = 1000 / hertz;
  pacing.fraction = 1000 - pacing.period * hertz;
  pacing.accumulator = 0;
  pacing.next_time = Millisecs();
}

// Sleeps until the next paced frame is due; a late frame moves the schedule to now instead of
// shortening the frames after it.
void WaitForPacedFrame() {
  auto& pacing = display.pacing;
  pacing.next_time = Later(pacing.next_time, pacing.period);
  pacing.accumulator += pacing.fraction;
  if (pacing.accumulator >= pacing.sync_rate) {
    pacing.accumulator -= pacing.sync_rate;
    pacing.next_time = Later(pacing.next_time, 1);
  }
  const int now = Millisecs();
  const int wait = Elapsed(now, pacing.next_time);
  if (wait > 0) {
    Delay(wait);
  } else {
    pacing.next_time = now;
  }
}

// Takes the current context's size again (a filled window's pixels may have changed) and
// tells the driver when it did.
void SettleSize() {
  if (!display.current) return;
  int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
  display.current->GetSettings(width, height, depth, hertz, flags);
  if (width == display.width && height == display.height) return;
  display.width = width;
  display.height = height;
  display.driver->Resized();
}

void CloseOwnAtExit() {
  if (display.own) CloseGraphics(display.own);
}

}  // namespace

std::string TGraphicsMode::ToString() const {
  return std::to_string(width) + "," + std::to_string(height) + "," + std::to_string(depth) +
         " " + std::to_string(hertz) + "Hz";
}

void SetGraphicsDriver(std::shared_ptr<TGraphicsDriver> driver, int default_flags) {
  AdvanceSeq();
  if (driver != display.driver) {
    ReleaseDriver();
    display.driver = std::move(driver);
  }
  display.default_flags = default_flags;
  ClearSettings();
}

std::shared_ptr<TGraphicsDriver> GetGraphicsDriver() { return display.driver; }

std::vector<TGraphicsMode> GraphicsModes() {
  if (!display.driver) return {};
  if (!display.modes) display.modes = display.driver->GraphicsModes();
  return *display.modes;
}

std::shared_ptr<TGraphics> Graphics(int width, int height, int depth, int hertz, int flags) {
  if (display.own) {
    AdvanceSeq();
    DisablePolledInput();
    CloseGraphics(display.own);
  }
  if (!display.driver) return nullptr;
  std::shared_ptr<TGraphics> graphics;
  try {
    graphics = display.driver->CreateGraphics(width, height, depth, hertz, flags | display.default_flags);
  } catch (const std::exception&) {
    graphics = nullptr;
  }
  if (!graphics) return nullptr;

  AdvanceSeq();
  SetGraphics(graphics);
  auto& pacing = display.pacing;
  if (depth != 0) {
    pacing.soft_sync = false;
    pacing.hard_sync = hertz != 0;
    MoveMouse(width / 2, height / 2);
  } else {
    pacing.hard_sync = false;
    pacing.soft_sync = hertz != 0;
  }
  if (pacing.soft_sync) StartPacing(hertz);
  EnablePolledInput();

  display.own = graphics;
  if (!display.exit_handler_added) {
    AddExitHandler(CloseOwnAtExit);
    display.exit_handler_added = true;
  }
  return graphics;
}

void SetGraphics(std::shared_ptr<TGraphics> graphics) {
  if (!graphics) {
    if (display.driver && display.current) display.driver->SetGraphics(nullptr);
    ClearSettings();
    return;
  }
  auto driver = graphics->Driver();
  if (driver != display.driver) {
    ReleaseDriver();
    display.driver = driver;
  }
  graphics->GetSettings(display.width, display.height, display.depth, display.hertz, display.flags);
  display.driver->SetGraphics(graphics);
  display.current = std::move(graphics);
}

void CloseGraphics(std::shared_ptr<TGraphics> graphics) {
  if (!graphics) return;
  if (graphics == display.own) display.own = nullptr;
  if (graphics == display.current) SetGraphics(nullptr);
  graphics->Close();
}

int GraphicsWidth() { return display.width; }
int GraphicsHeight() { return display.height; }
int GraphicsDepth() { return display.depth; }
int GraphicsHertz() { return display.hertz; }

void Flip(int sync) {
  assert(display.driver && "Flip needs an open display");
  const auto& pacing = display.pacing;
  if (sync != -1) {
    display.driver->Flip(sync);
  } else if (display.current != display.own) {
    display.driver->Flip(1);
  } else if (pacing.soft_sync) {
    WaitForPacedFrame();
    display.driver->Flip(0);
  } else {
    display.driver->Flip(pacing.hard_sync ? 1 : 0);
  }
  if (auto system = SystemDriver()) system->PresentPointer();
  SettleSize();
}

void SetWindowFill(bool fill) {
  if (fill == display.fill) {
    SettleSize();  // a frame about to start takes the size the window has now
    return;
  }
  auto& in = platform.input;
  int x = in.x, y = in.y;
  PictureToWindowNow(x, y);
  display.fill = fill;
  WindowToPictureNow(x, y);
  in.x = x;
  in.y = y;
  SettleSize();
}

bool WindowFill() { return display.fill; }

int GraphicsSeq() { return display.seq; }

picture_fit FitPicture(int width, int height, int pixel_width, int pixel_height) {
  if (width <= 0 || height <= 0 || pixel_width <= 0 || pixel_height <= 0) return {};
  picture_fit fit;
  // Compared crosswise so that no division rounds before the choice.
  if (static_cast<int64_t>(pixel_width) * height <= static_cast<int64_t>(pixel_height) * width) {
    fit.w = pixel_width;
    fit.h = static_cast<int>((static_cast<int64_t>(height) * pixel_width + width / 2) / width);
  } else {
    fit.h = pixel_height;
    fit.w = static_cast<int>((static_cast<int64_t>(width) * pixel_height + height / 2) / height);
  }
  fit.x = (pixel_width - fit.w) / 2;
  fit.y = (pixel_height - fit.h) / 2;
  return fit;
}

void SetAppTitle(const std::string& title) {
  platform.app_title = title;
  SystemSetCaption(title);
}

std::string AppTitle() { return platform.app_title; }

void HideMouse() {
  if (auto driver = SystemDriver()) driver->SetMouseVisible(false);
}

void ShowMouse() {
  if (auto driver = SystemDriver()) driver->SetMouseVisible(true);
}

bool ShowPointerPicture(const std::shared_ptr<TPixmap>& picture, int hot_x, int hot_y) {
  auto driver = SystemDriver();
  return driver && driver->ShowPointerPicture(picture, hot_x, hot_y);
}

void MoveMouse(int x, int y) {
  if (auto driver = SystemDriver()) driver->MoveMouse(x, y);
}
