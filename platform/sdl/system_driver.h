// The SDL system driver: drains SDL's event queue into TEvents emitted through the event hook
// chain, fires timers, moves and hides the pointer. Private to platform/sdl/.
#pragma once

#include <SDL.h>

#include "platform/platform.h"

class TSDLSystemDriver : public TSystemDriver {
 public:
  void Poll() override;
  void Wait() override;
  void MoveMouse(int x, int y) override;
  void SetMouseVisible(bool visible) override;

  // Turns one SDL event into what the program sees (nothing for events it does not use).
  void Dispatch(const SDL_Event& event);

 private:
  void EmitKey(int id, const SDL_KeyboardEvent& key);
  void EmitButton(int id, const SDL_MouseButtonEvent& button);
  void EmitText(const char* utf8);
  void Emit(int id, int data = 0, int x = 0, int y = 0);

  int mods_ = 0;           // MODIFIER_* bits, refreshed by every key event
  Uint32 held_buttons_ = 0;  // SDL button mask, for pointer capture
};
