// What the operating-system layer (platform/sdl/) provides to the portable platform code, and
// what it calls back. Private to platform/; no SDL types cross this line.
#pragma once

#include <string>

// Closes every OpenGL context and own window still open, stops the system timers and shuts
// SDL down. Objects still holding a context afterwards close to nothing.
void StopSystem();

// Milliseconds since the system layer started (wrapping) and a blocking sleep.
int SystemMillisecs();
void SystemDelay(int millis);

// Starts a periodic system timer whose ticks come back as FireTimer(handle) on the main thread
// while the system driver polls. Returns a handle that is never 0 and never reused, or 0 when
// the system refuses. Stopping an unknown handle does nothing.
int StartSystemTimer(int period_ms);
void StopSystemTimer(int handle);

// Gives every open window the caption.
void SystemSetCaption(const std::string& title);

// Called by the system driver for each timer message: fires the timer with that handle when
// it still runs; stale messages of stopped timers are ignored.
void FireTimer(int handle);

// Any thread: makes the system driver, on the main thread, emit a "WorkDone" event soon. Does
// nothing while the system layer is down.
void WakeForWorkDone();

// A position on the current context's picture to the window's own coordinates and back, as the
// window shows the picture now (laid out or filled). Unchanged without a current own window.
void PictureToWindowNow(int& x, int& y);
void WindowToPictureNow(int& x, int& y);
