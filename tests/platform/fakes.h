// Test doubles for the platform's back ends: a scripted system driver and a graphics driver
// that records what the display module asks of it. Depends on platform/platform.h.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "platform/platform.h"

// Each Wait() emits the next scripted batch of events; Poll() emits nothing.
class ScriptedSystemDriver : public TSystemDriver {
 public:
  std::deque<std::vector<std::shared_ptr<TEvent>>> batches;
  int polls = 0;
  int waits = 0;
  std::vector<std::pair<int, int>> moves;
  std::vector<bool> visibility;

  void Poll() override { ++polls; }
  void Wait() override {
    ++waits;
    if (batches.empty()) return;
    auto batch = std::move(batches.front());
    batches.pop_front();
    for (auto& event : batch) event->Emit();
  }
  void MoveMouse(int x, int y) override { moves.emplace_back(x, y); }
  void SetMouseVisible(bool visible) override { visibility.push_back(visible); }
};

class RecordingGraphicsDriver;

class FakeGraphics : public TGraphics {
 public:
  FakeGraphics(std::shared_ptr<RecordingGraphicsDriver> driver, int width, int height, int depth,
               int hertz, int flags)
      : driver_(std::move(driver)), width_(width), height_(height), depth_(depth), hertz_(hertz),
        flags_(flags) {}
  std::shared_ptr<TGraphicsDriver> Driver() override;
  void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override {
    width = width_, height = height_, depth = depth_, hertz = hertz_, flags = flags_;
  }
  void Close() override { closed = true; }
  bool closed = false;

 private:
  std::shared_ptr<RecordingGraphicsDriver> driver_;
  int width_, height_, depth_, hertz_, flags_;
};

class RecordingGraphicsDriver : public TGraphicsDriver {
 public:
  enum class Outcome { Succeed, ReturnNone, Throw };
  Outcome outcome = Outcome::Succeed;
  std::vector<TGraphicsMode> modes{{800, 600, 32, 60}, {1024, 768, 16, 75}};
  int mode_requests = 0;
  int created_flags = 0;
  std::vector<int> flips;
  std::vector<const TGraphics*> made_current;  // nullptr for "none"; raw, as contexts own the driver

  std::vector<TGraphicsMode> GraphicsModes() override {
    ++mode_requests;
    return modes;
  }
  std::shared_ptr<TGraphics> AttachGraphics(void*, int) override { return nullptr; }
  std::shared_ptr<TGraphics> CreateGraphics(int width, int height, int depth, int hertz,
                                            int flags) override {
    if (outcome == Outcome::Throw) throw TRuntimeException("no mode");
    if (outcome == Outcome::ReturnNone) return nullptr;
    created_flags = flags;
    return std::make_shared<FakeGraphics>(Self(), width, height, depth, hertz, flags);
  }
  void SetGraphics(std::shared_ptr<TGraphics> graphics) override { made_current.push_back(graphics.get()); }
  void Flip(int sync) override { flips.push_back(sync); }

  std::shared_ptr<RecordingGraphicsDriver> Self() {
    return std::static_pointer_cast<RecordingGraphicsDriver>(TObject::shared_from_this());
  }
};

inline std::shared_ptr<TGraphicsDriver> FakeGraphics::Driver() { return driver_; }
