// The SDL system driver: drains SDL's event queue into TEvents emitted through the event hook
// chain, fires timers, moves and hides the pointer and shows pointer pictures (pointer.cpp).
// Private to platform/sdl/.
#pragma once

#include <SDL.h>

#include <bitset>
#include <string>
#include <vector>

#include "platform/platform.h"

class TSDLSystemDriver : public TSystemDriver {
 public:
  void Poll() override;
  void Wait() override;
  void MoveMouse(int x, int y) override;
  void SetMouseVisible(bool visible) override;
  bool ShowPointerPicture(const std::shared_ptr<TPixmap>& picture, int hot_x, int hot_y) override;
  void PresentPointer() override;

  // Turns one SDL event into what the program sees (nothing for events it does not use).
  void Dispatch(const SDL_Event& event);

 private:
  void KeyDown(const SDL_KeyboardEvent& key);
  void KeyUp(const SDL_KeyboardEvent& key);
  void ReleaseKeysLetGo();
  void EmitKey(int id, const SDL_KeyboardEvent& key);
  void EmitButton(int id, const SDL_MouseButtonEvent& button);
  void EmitText(const char* utf8);
  void TakeDropItem(const SDL_DropEvent& drop);
  void EmitDrop(const SDL_DropEvent& drop);
  void Emit(int id, int data = 0, int x = 0, int y = 0);

  int mods_ = 0;           // MODIFIER_* bits, refreshed by every key event
  Uint32 held_buttons_ = 0;  // SDL button mask, for pointer capture
  // Keys pressed and not yet released by the keyboard itself, by scancode. SDL releases every
  // key when its window goes away (a display switch); a key held through that stays here so
  // that its repeats in the new window are not taken for new presses.
  std::bitset<SDL_NUM_SCANCODES> held_keys_;
  // What the drop under way has brought so far: local files' paths, and other things.
  std::vector<std::string> drop_files_;
  int drop_others_ = 0;
};
