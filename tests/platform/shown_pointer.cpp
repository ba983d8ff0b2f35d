// Reads the X server's pointer image with XFixes (see shown_pointer.h).
#include "tests/platform/shown_pointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

bool shown_pointer::Invisible() const {
  for (uint32_t p : argb)
    if (p >> 24) return false;
  return true;
}

shown_pointer ShownPointer() {
  shown_pointer shown;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return shown;
  int event_base = 0, error_base = 0;
  if (XFixesQueryExtension(display, &event_base, &error_base)) {
    if (XFixesCursorImage* image = XFixesGetCursorImage(display)) {
      shown.width = image->width, shown.height = image->height;
      shown.hot_x = image->xhot, shown.hot_y = image->yhot;
      for (int i = 0; i < image->width * image->height; ++i)
        shown.argb.push_back(static_cast<uint32_t>(image->pixels[i]));
      XFree(image);
    }
  }
  XCloseDisplay(display);
  return shown;
}
