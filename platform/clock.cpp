// The millisecond clock and sleep, replaceable for tests; the system layer provides the real ones.
#include "platform/platform.h"
#include "platform/state.h"
#include "platform/system.h"

int Millisecs() { return platform.clock.millisecs ? platform.clock.millisecs() : SystemMillisecs(); }

void Delay(int millis) {
  if (millis <= 0) return;
  if (platform.clock.delay) {
    platform.clock.delay(millis);
  } else {
    SystemDelay(millis);
  }
}

void SetClock(std::function<int()> millisecs, std::function<void(int)> delay) {
  platform.clock.millisecs = std::move(millisecs);
  platform.clock.delay = std::move(delay);
}
