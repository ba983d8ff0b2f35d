// X11 error handlers and the physical key state, beside SDL's own X connection.
#include "platform/sdl/x11.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

struct x11_state {
  Display* keyboard = nullptr;  // own connection for key queries; nullptr without X
  XErrorHandler previous_error_handler = nullptr;
  bool handlers_installed = false;
};

x11_state x11;

// SDL's timer thread wakes the waiting main thread with an X event sent on a connection of its
// own, to the window the main thread waits on; the main thread may destroy that window (a
// display switch) before the server reads the request. The wake-up is then simply not needed.
int IgnoreLateWakeups(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return x11.previous_error_handler ? x11.previous_error_handler(display, error) : 0;
}

// Xlib ends the process after this returns; freeing windows or contexts now would only talk
// to the dead connection again, so nothing is freed.
int DisplayLost(Display*) {
  const std::string title = AppTitle().empty() ? "The program" : AppTitle();
  std::fprintf(stderr, "%s: the connection to the X display was lost; ending.\n", title.c_str());
  std::_Exit(1);
}

KeySym KeySymFor(SDL_Keycode key) {
  if (key >= 0x20 && key < 0x7F) return static_cast<KeySym>(key);  // Latin-1 keysyms are the characters
  return XStringToKeysym(SDL_GetKeyName(key));
}

}  // namespace

void StartX11() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver || std::strcmp(driver, "x11") != 0) return;
  if (!x11.handlers_installed) {
    x11.previous_error_handler = XSetErrorHandler(IgnoreLateWakeups);
    XSetIOErrorHandler(DisplayLost);
    x11.handlers_installed = true;
  }
  if (!x11.keyboard) x11.keyboard = XOpenDisplay(nullptr);
}

void StopX11() {
  if (x11.keyboard) XCloseDisplay(x11.keyboard);
  x11.keyboard = nullptr;
}

bool X11KeyHeld(SDL_Keycode key) {
  if (!x11.keyboard) return false;
  const KeySym symbol = KeySymFor(key);
  const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(x11.keyboard, symbol);
  if (code == 0) return false;
  char keys[32];
  XQueryKeymap(x11.keyboard, keys);
  return (keys[code / 8] >> (code % 8)) & 1;
}
