// SDL events to TEvents: keys through the key table, text as code points, buttons with pointer
// capture, wheel, enter/leave, focus, quit and drops (one event for all that a drop brought);
// timer messages fire their timers and the worker's messages become "WorkDone".
#include "platform/sdl/system_driver.h"

#include <string>

#include "platform/sdl/gl_graphics.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_state.h"
#include "platform/sdl/x11.h"
#include "platform/system.h"

namespace {

int ModifierBits(Uint16 sdl_mods) {
  return (sdl_mods & KMOD_SHIFT ? MODIFIER_SHIFT : 0) | (sdl_mods & KMOD_CTRL ? MODIFIER_CONTROL : 0) |
         (sdl_mods & KMOD_ALT ? MODIFIER_OPTION : 0) | (sdl_mods & KMOD_GUI ? MODIFIER_SYSTEM : 0);
}

// SDL numbers the middle button 2 and the right one 3; the program the other way round.
int ButtonNumber(Uint8 sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
  }
}

int HeldButtonBits(Uint32 sdl_state) {
  return (sdl_state & SDL_BUTTON_LMASK ? 1 : 0) | (sdl_state & SDL_BUTTON_RMASK ? 2 : 0) |
         (sdl_state & SDL_BUTTON_MMASK ? 4 : 0);
}

// Decodes the next code point of a UTF-8 text, advancing text; malformed bytes give U+FFFD.
int NextCodePoint(const unsigned char*& text) {
  const unsigned char lead = *text++;
  int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
  if (extra < 0) return 0xFFFD;
  int code = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    if ((*text & 0xC0) != 0x80) return 0xFFFD;
    code = (code << 6) | (*text++ & 0x3F);
  }
  return code;
}

// Pointer position relative to the window under the pointer's focus, or to the window given,
// in the picture's coordinates.
void PointerIn(SDL_Window* window, int& x, int& y) {
  int gx = 0, gy = 0, wx = 0, wy = 0;
  SDL_GetGlobalMouseState(&gx, &gy);
  if (window) SDL_GetWindowPosition(window, &wx, &wy);
  x = gx - wx;
  y = gy - wy;
  WindowToPicture(window, x, y);
}

// An event position of a window in the picture's coordinates.
void ToPicture(Uint32 window_id, int& x, int& y) { WindowToPicture(SDL_GetWindowFromID(window_id), x, y); }

}  // namespace

void TSDLSystemDriver::Poll() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) Dispatch(event);
}

void TSDLSystemDriver::Wait() {
  SDL_Event event;
  if (SDL_WaitEvent(&event)) Dispatch(event);
  Poll();
}

void TSDLSystemDriver::MoveMouse(int x, int y) {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  if (!window) window = SDL_GetMouseFocus();
  if (!window) return;
  PictureToWindow(window, x, y);
  SDL_WarpMouseInWindow(window, x, y);
}

void TSDLSystemDriver::Dispatch(const SDL_Event& event) {
  if (event.type == sdl.timer_event) {
    FireTimer(event.user.code);
    return;
  }
  if (event.type == sdl.wake_event) {
    Emit(EVENT_WORKDONE);
    return;
  }
  switch (event.type) {
    case SDL_KEYDOWN:
      KeyDown(event.key);
      break;
    case SDL_KEYUP:
      KeyUp(event.key);
      break;
    case SDL_TEXTINPUT:
      EmitText(event.text.text);
      break;
    case SDL_MOUSEBUTTONDOWN:
      EmitButton(EVENT_MOUSEDOWN, event.button);
      break;
    case SDL_MOUSEBUTTONUP:
      EmitButton(EVENT_MOUSEUP, event.button);
      break;
    case SDL_MOUSEMOTION: {
      int x = event.motion.x, y = event.motion.y;
      ToPicture(event.motion.windowID, x, y);
      Emit(EVENT_MOUSEMOVE, HeldButtonBits(event.motion.state), x, y);
      break;
    }
    case SDL_MOUSEWHEEL: {
      const int steps = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
      int x = event.wheel.mouseX, y = event.wheel.mouseY;
      ToPicture(event.wheel.windowID, x, y);
      Emit(EVENT_MOUSEWHEEL, steps, x, y);
      break;
    }
    case SDL_WINDOWEVENT: {
      SDL_Window* window = SDL_GetWindowFromID(event.window.windowID);
      int x = 0, y = 0;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_ENTER:
          PointerIn(window, x, y);
          Emit(EVENT_MOUSEENTER, 0, x, y);
          break;
        case SDL_WINDOWEVENT_LEAVE:
          PointerIn(window, x, y);
          Emit(EVENT_MOUSELEAVE, 0, x, y);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          Emit(EVENT_APPSUSPEND);
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          ReleaseKeysLetGo();
          if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED)) Emit(EVENT_APPRESUME);
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          if (window) SDL_GL_GetDrawableSize(window, &x, &y);
          Emit(EVENT_WINDOWSIZE, 0, x, y);
          [[fallthrough]];
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
          MarkExposed(window);
          Emit(EVENT_GADGETPAINT);  // a loop that waits for input alone must still repaint
          break;
      }
      break;
    }
    case SDL_QUIT:  // the last window's close box, or the system asking the program to stop
      Emit(EVENT_APPTERMINATE);
      break;
    case SDL_DROPBEGIN:  // a drop that never completed leaves nothing in the next one
      drop_files_.clear();
      drop_others_ = 0;
      break;
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
      TakeDropItem(event.drop);
      break;
    case SDL_DROPCOMPLETE:
      EmitDrop(event.drop);
      break;
  }
}

void TSDLSystemDriver::KeyDown(const SDL_KeyboardEvent& key) {
  const SDL_Scancode code = key.keysym.scancode;
  if (code < 0 || code >= SDL_NUM_SCANCODES) return;
  const bool held = key.repeat || held_keys_.test(code);
  held_keys_.set(code);
  EmitKey(held ? EVENT_KEYREPEAT : EVENT_KEYDOWN, key);
}

void TSDLSystemDriver::KeyUp(const SDL_KeyboardEvent& key) {
  const SDL_Scancode code = key.keysym.scancode;
  if (code < 0 || code >= SDL_NUM_SCANCODES) return;
  if (X11KeyHeld(key.keysym.sym)) return;  // SDL's release of a key the keyboard still holds
  held_keys_.reset(code);
  EmitKey(EVENT_KEYUP, key);
}

// Keys let go while no window of the program had the keyboard sent no release: release them
// when a window gets it back.
void TSDLSystemDriver::ReleaseKeysLetGo() {
  for (int code = 0; code < SDL_NUM_SCANCODES; ++code) {
    if (!held_keys_.test(code)) continue;
    SDL_KeyboardEvent key{};
    key.type = SDL_KEYUP;
    key.keysym.scancode = static_cast<SDL_Scancode>(code);
    key.keysym.sym = SDL_GetKeyFromScancode(key.keysym.scancode);
    key.keysym.mod = SDL_GetModState();
    KeyUp(key);  // passes over a key the keyboard still holds
  }
}

void TSDLSystemDriver::EmitKey(int id, const SDL_KeyboardEvent& key) {
  mods_ = ModifierBits(key.keysym.mod);
  const int code = VirtualKeyFor(key.keysym.sym, key.keysym.scancode);
  if (code > 0 && code < 256) Emit(id, code);
}

void TSDLSystemDriver::EmitButton(int id, const SDL_MouseButtonEvent& button) {
  // Keep the pointer while a button is held so that the release arrives even outside.
  const Uint32 bit = SDL_BUTTON(button.button);
  const Uint32 before = held_buttons_;
  held_buttons_ = id == EVENT_MOUSEDOWN ? held_buttons_ | bit : held_buttons_ & ~bit;
  if (!before != !held_buttons_) SDL_CaptureMouse(held_buttons_ ? SDL_TRUE : SDL_FALSE);

  const int number = ButtonNumber(button.button);
  int x = button.x, y = button.y;
  ToPicture(button.windowID, x, y);
  if (number) Emit(id, number, x, y);
}

void TSDLSystemDriver::EmitText(const char* utf8) {
  auto text = reinterpret_cast<const unsigned char*>(utf8);
  while (*text) Emit(EVENT_KEYCHAR, NextCodePoint(text));
}

// One thing of a drop: a local file's path (SDL gives it as UTF-8, the program's file names
// too), or text. SDL gives a web address in an address list nothing at all.
void TSDLSystemDriver::TakeDropItem(const SDL_DropEvent& drop) {
  if (!drop.file) return;
  if (drop.type == SDL_DROPFILE)
    drop_files_.emplace_back(drop.file);
  else
    ++drop_others_;
  SDL_free(drop.file);
}

// The end of a drop on a window: one "WindowAccept" with everything it brought, at the pointer.
void TSDLSystemDriver::EmitDrop(const SDL_DropEvent& drop) {
  auto dropped = std::make_shared<TDropObject>(std::move(drop_files_), drop_others_);
  drop_files_.clear();
  drop_others_ = 0;
  SDL_Window* window = SDL_GetWindowFromID(drop.windowID);
  int x = 0, y = 0;
  PointerIn(window, x, y);
  TEvent::Create(EVENT_WINDOWACCEPT, nullptr, 0, mods_, x, y, std::move(dropped))->Emit();
}

void TSDLSystemDriver::Emit(int id, int data, int x, int y) {
  TEvent::Create(id, nullptr, data, mods_, x, y)->Emit();
}
