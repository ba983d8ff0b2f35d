// The OpenGL graphics driver's platform half: SDL windows carrying an OpenGL compatibility
// context. Private to platform/sdl/; the public face is GLGraphicsDriver() in platform.h.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "platform/sdl/handles.h"

// One open context. Kind 1 is a context on a window the caller owns, 2 an own window, 3 an own
// full-screen window.
struct gl_context_record {
  int kind = 0;
  int width = 0, height = 0;
  int depth = 0, hertz = 0;
  int flags = 0;
  SDL_Window* window = nullptr;
  TSdlWindow own_window;  // empty for kind 1
  TSdlGLContext context;
  bool exposed = false;  // the window may have lost what it showed
};

// Pointer positions between the window's coordinates and the picture's, for windows whose
// size differs from the game's (desktop full screen, an enlarged window). Other windows, and
// windows that are not ours, pass unchanged.
void WindowToPicture(SDL_Window* window, int& x, int& y);
void PictureToWindow(SDL_Window* window, int& x, int& y);
// The size of the picture of the current context and the size it is shown at in its window's
// own (pointer) coordinates, equal where it is shown 1:1; false without a current context.
bool CurrentPictureSize(int& width, int& height, int& shown_width, int& shown_height);
// Notes that a window of ours was uncovered, resized or restored.
void MarkExposed(SDL_Window* window);

class TGLGraphics : public TGraphics {
 public:
  explicit TGLGraphics(std::unique_ptr<gl_context_record> context);
  ~TGLGraphics() override;
  std::shared_ptr<TGraphicsDriver> Driver() override;
  void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
  void Close() override;

  std::unique_ptr<gl_context_record> _context;  // none after Close
};

// Frees every open context and own window before SDL shuts down; their TGLGraphics objects
// stay valid and close to nothing.
void CloseAllContexts();

class TGLGraphicsDriver : public TGraphicsDriver {
 public:
  std::vector<TGraphicsMode> GraphicsModes() override;
  std::shared_ptr<TGraphics> AttachGraphics(void* handle, int flags) override;
  std::shared_ptr<TGraphics> CreateGraphics(int width, int height, int depth, int hertz,
                                            int flags) override;
  void SetGraphics(std::shared_ptr<TGraphics> graphics) override;
  void Flip(int sync) override;
};
