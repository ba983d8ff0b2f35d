// X11 error handlers, the physical key state beside SDL's own X connection, presenting parts
// of a GL window through GLX_MESA_copy_sub_buffer, and whether pointers can have colours.
#include "platform/sdl/x11.h"

#include <SDL_syswm.h>
#include <X11/Xcursor/Xcursor.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xresource.h>

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

namespace {

using copy_sub_buffer_fn = void (*)(Display*, unsigned long, int, int, int, int);
using query_extensions_fn = const char* (*)(Display*, int);

// glXCopySubBufferMESA where the display offers it; looked up once per process through SDL's GL
// library, so nothing here links GLX itself.
copy_sub_buffer_fn CopySubBuffer(Display* display) {
  static Display* checked = nullptr;
  static copy_sub_buffer_fn copy = nullptr;
  if (display != checked) {
    checked = display;
    copy = nullptr;
    auto query = reinterpret_cast<query_extensions_fn>(SDL_GL_GetProcAddress("glXQueryExtensionsString"));
    const char* extensions = query ? query(display, DefaultScreen(display)) : nullptr;
    if (extensions && std::strstr(extensions, "GLX_MESA_copy_sub_buffer"))
      copy = reinterpret_cast<copy_sub_buffer_fn>(SDL_GL_GetProcAddress("glXCopySubBufferMESA"));
  }
  return copy;
}

bool X11WindowOf(SDL_Window* window, Display*& display, unsigned long& drawable) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  display = info.info.x11.display;
  drawable = info.info.x11.window;
  return display != nullptr;
}

}  // namespace

bool X11CanCopyRegions(SDL_Window* window) {
  Display* display = nullptr;
  unsigned long drawable = 0;
  return X11WindowOf(window, display, drawable) && CopySubBuffer(display);
}

bool X11CopyRegions(SDL_Window* window, const std::vector<std::array<int, 4>>& regions) {
  Display* display = nullptr;
  unsigned long drawable = 0;
  if (!X11WindowOf(window, display, drawable)) return false;
  const copy_sub_buffer_fn copy = CopySubBuffer(display);
  if (!copy) return false;
  for (const auto& r : regions) copy(display, drawable, r[0], r[1], r[2], r[3]);
  return true;
}

bool X11ShowsColourPointers(SDL_Window* window) {
  Display* display = nullptr;
  unsigned long drawable = 0;
  return !X11WindowOf(window, display, drawable) || XcursorSupportsARGB(display);
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

int X11ResourceDpi() {
  if (!x11.keyboard) return 0;
  const char* resources = XResourceManagerString(x11.keyboard);
  if (!resources) return 0;
  XrmInitialize();
  XrmDatabase database = XrmGetStringDatabase(resources);
  if (!database) return 0;
  char* type = nullptr;
  XrmValue value{};
  int dpi = 0;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
    dpi = static_cast<int>(std::strtol(value.addr, nullptr, 10));
  XrmDestroyDatabase(database);
  return dpi;
}
