// The screen as the X server shows it, for tests of what a window presents. Kept apart
// because Xlib's macros clash with GoogleTest.
#pragma once

#include <cstdint>

// The root window's pixel at (x, y) as 0xRRGGBB; 0xDEADBEEF when it cannot be read.
uint32_t ScreenPixel(int x, int y);
