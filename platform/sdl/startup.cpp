// Start-up of the SDL layer, the clock and sleep, and the desktop refresh rate.
#include <SDL.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/platform.h"
#include "platform/sdl/sdl_state.h"
#include "platform/sdl/gl_graphics.h"
#include "platform/sdl/system_driver.h"
#include "platform/sdl/x11.h"
#include "platform/system.h"

sdl_state sdl;

namespace {

// SDL turns SIGINT and SIGTERM into a quit event (a close request) from a handler that only
// sets a flag; a hang-up (a terminal closing) is passed on as SIGTERM, which is as safe in a
// handler, so every polite end reaches the program's own way out on the main thread.
void HangUpAsTerminate(int) { raise(SIGTERM); }

// Without a reachable display SDL falls back to video drivers that show nothing; a program
// started on one would wait for input nobody can give.
bool ShowsWindows(const char* video_driver) {
  return video_driver && std::strcmp(video_driver, "offscreen") != 0 &&
         std::strcmp(video_driver, "dummy") != 0;
}

}  // namespace

bool StartPlatform() {
  if (sdl.started) return true;
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) return false;
  if (!ShowsWindows(SDL_GetCurrentVideoDriver())) {
    SDL_Quit();
    return false;
  }
  sdl.timer_event = SDL_RegisterEvents(2);
  if (sdl.timer_event == static_cast<Uint32>(-1)) {
    SDL_Quit();
    return false;
  }
  sdl.wake_event = sdl.timer_event + 1;
  if (signal(SIGHUP, SIG_IGN) != SIG_IGN) signal(SIGHUP, HangUpAsTerminate);
  StartX11();
  SetSystemDriver(std::make_shared<TSDLSystemDriver>());
  sdl.started = true;
  static const bool shutdown_registered = std::atexit(ShutdownPlatform) == 0;
  (void)shutdown_registered;
  return true;
}

void StopSystem() {
  if (!sdl.started) return;
  CloseAllContexts();
  sdl.pointer = {};  // its cursors need SDL
  for (auto& [handle, id] : sdl.timers.ids) SDL_RemoveTimer(id);
  StopX11();
  StopWorker();  // its wake-up messages need SDL
  SDL_Quit();
  sdl = sdl_state{};
}

int SystemMillisecs() { return static_cast<int>(SDL_GetTicks()); }

void SystemDelay(int millis) { SDL_Delay(static_cast<Uint32>(millis)); }

int DesktopHertz() {
  SDL_DisplayMode mode;
  if (!SDL_WasInit(SDL_INIT_VIDEO) || SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
  return mode.refresh_rate;
}
