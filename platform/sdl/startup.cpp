// Start-up of the SDL layer, the clock and sleep, and the desktop refresh rate.
#include <SDL.h>

#include <memory>

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"
#include "platform/sdl/system_driver.h"
#include "platform/system.h"

sdl_state sdl;

bool StartPlatform() {
  if (sdl.started) return true;
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return false;
  sdl.timer_event = SDL_RegisterEvents(1);
  if (sdl.timer_event == static_cast<Uint32>(-1)) {
    SDL_Quit();
    return false;
  }
  SetSystemDriver(std::make_shared<TSDLSystemDriver>());
  sdl.started = true;
  return true;
}

int SystemMillisecs() { return static_cast<int>(SDL_GetTicks()); }

void SystemDelay(int millis) { SDL_Delay(static_cast<Uint32>(millis)); }

int DesktopHertz() {
  SDL_DisplayMode mode;
  if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
  return mode.refresh_rate;
}
