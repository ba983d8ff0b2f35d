// Reads a pixel of the root window with Xlib (see screen_pixel.h).
#include "tests/draw/screen_pixel.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

uint32_t ScreenPixel(int x, int y) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 0xDEADBEEFu;
  uint32_t pixel = 0xDEADBEEFu;
  if (XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap)) {
    pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFFu;
    XDestroyImage(image);
  }
  XCloseDisplay(display);
  return pixel;
}
