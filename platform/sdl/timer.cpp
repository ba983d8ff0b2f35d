// System timers over SDL_AddTimer, and the worker's wake-up. The timer callback runs on SDL's
// timer thread and only pushes a user event carrying the platform handle; the system driver
// fires the timer on the main thread. The worker's wake-up is such a message too.
#include <SDL.h>

#include <cstdint>

#include "platform/sdl/sdl_state.h"
#include "platform/system.h"

namespace {

Uint32 PushTimerMessage(Uint32 interval, void* param) {
  SDL_Event event{};
  event.type = sdl.timer_event;
  event.user.code = static_cast<Sint32>(reinterpret_cast<intptr_t>(param));
  SDL_PushEvent(&event);  // a full SDL queue drops the tick
  return interval;
}

}  // namespace

int StartSystemTimer(int period_ms) {
  if (!sdl.started) return 0;
  const int handle = sdl.timers.next_handle;
  const SDL_TimerID id = SDL_AddTimer(static_cast<Uint32>(period_ms), PushTimerMessage,
                                      reinterpret_cast<void*>(static_cast<intptr_t>(handle)));
  if (id == 0) return 0;
  ++sdl.timers.next_handle;
  sdl.timers.ids[handle] = id;
  return handle;
}

void StopSystemTimer(int handle) {
  auto found = sdl.timers.ids.find(handle);
  if (found == sdl.timers.ids.end()) return;
  SDL_RemoveTimer(found->second);
  sdl.timers.ids.erase(found);
}

void WakeForWorkDone() {
  if (!sdl.started) return;
  SDL_Event event{};
  event.type = sdl.wake_event;
  SDL_PushEvent(&event);
}
