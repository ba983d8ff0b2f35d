// Virtual-key codes (Windows numbering) for SDL keys. Private to platform/sdl/; takes plain
// integers so that it can be tested without SDL headers.
#pragma once

// The virtual-key code of an SDL key: the keycode decides where it names a character (so
// letters follow the keyboard layout), the scancode decides for every other key and for
// characters without a code of their own. 0 when the key has no code (it is not reported).
int VirtualKeyFor(int sdl_keycode, int sdl_scancode);
