// What SDL leaves to its callers on an X display: the X error handlers, the keyboard's
// physical state, presenting in parts and whether pointers can have colours. Private to
// platform/sdl/; does nothing on other video drivers.
#pragma once

#include <SDL.h>

#include <array>
#include <vector>

// Installs the handlers when SDL's video driver is X11: a wake-up that SDL's timer thread sent
// to a window destroyed meanwhile is ignored, and a lost display connection ends the process
// at once with a message (nothing else can touch the display any more).
void StartX11();
// Closes the keyboard-state connection (not after the display was lost).
void StopX11();
// True when the X keyboard holds the key down right now; false when unknown.
bool X11KeyHeld(SDL_Keycode key);
// True when the window's GL back buffer can be presented in parts (GLX_MESA_copy_sub_buffer).
bool X11CanCopyRegions(SDL_Window* window);
// Copies the regions (x, y, width, height in GL window pixels, origin bottom-left) of the
// window's back buffer to the front, leaving the back buffer as it is. False where it cannot.
bool X11CopyRegions(SDL_Window* window, const std::vector<std::array<int, 4>>& regions);
// False where the window's X display shows two-colour pointers only (no RENDER pointers, or
// Xcursor told to use core ones), of which SDL would make a picture's pointer all the same;
// true elsewhere, other video drivers included.
bool X11ShowsColourPointers(SDL_Window* window);
// The desktop's Xft.dpi from the X resources (what desktops set for high-density screens);
// 0 where it is not set or not X.
int X11ResourceDpi();
