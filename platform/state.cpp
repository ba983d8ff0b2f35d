// The one instance of the platform state, the reset used by tests and the ordered shutdown.
#include "platform/state.h"

#include "platform/system.h"

platform_state platform;

namespace {

void StopTimers() {
  std::vector<std::shared_ptr<TTimer>> running;
  for (auto& [handle, timer] : platform.timers.active) running.push_back(timer);
  for (auto& timer : running) timer->Stop();
}

}  // namespace

void ResetPlatform() {
  // Release what the state holds in the outside world before forgetting it.
  StopTimers();
  StopWorker();
  if (platform.display.own) CloseGraphics(platform.display.own);
  SetGraphics(nullptr);

  auto driver = std::move(platform.system.driver);
  platform = platform_state{};
  platform.system.driver = std::move(driver);
}

void ShutdownPlatform() {
  // Only this layer's own objects: the drawing layer and the game may already be gone when
  // the process ends without End(), so neither the exit handlers nor the graphics driver run.
  StopTimers();
  StopSystem();
}
