// State of the SDL layer: start-up, the timer messages and the open GL contexts.
// Private to platform/sdl/; depends on SDL2.
#pragma once

#include <SDL.h>

#include <map>
#include <vector>

struct gl_context_record;

struct sdl_state {
  bool started = false;
  Uint32 timer_event = 0;  // SDL user event type of timer messages
  Uint32 wake_event = 0;   // SDL user event type of the worker's "work done" messages
  struct timers_state {
    std::map<int, SDL_TimerID> ids;  // by platform timer handle
    int next_handle = 1;
  } timers;
  struct contexts_state {
    std::vector<gl_context_record*> open;
    gl_context_record* current = nullptr;
  } contexts;
};

extern sdl_state sdl;
