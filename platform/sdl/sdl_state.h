// State of the SDL layer: start-up, the timer messages, the open GL contexts and the cursors.
// Private to platform/sdl/; depends on SDL2.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/sdl/handles.h"

struct gl_context_record;
class TPixmap;

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
  // The window system's pointers made from the program's pointer pictures (pointer.cpp).
  struct pointer_cursor {
    std::shared_ptr<TPixmap> picture;  // as asked for, with its hot spot
    int hot_x = 0, hot_y = 0;
    int width = 0, height = 0;  // its size in the window
    TSdlCursor cursor;          // none when SDL refused it
  };
  struct pointer_state {
    std::vector<pointer_cursor> made;  // a few, oldest first
    SDL_Cursor* asked = nullptr;       // by the frame being drawn
    SDL_Cursor* shown = nullptr;       // over the window now; nullptr: none, or the system's own
    bool system_visible = true;        // the system's own pointer over the window (ShowMouse)
  } pointer;
};

extern sdl_state sdl;
