// SDL windows with an OpenGL compatibility context: pixel format from the graphics flags,
// windowed and full-screen creation (the desktop's own mode where no exact one exists),
// making current, swapping, the display mode list, the pointer between window and picture.
#include "platform/sdl/gl_graphics.h"
#include "platform/sdl/x11.h"

#include <algorithm>
#include <cstdlib>

#include "platform/sdl/sdl_state.h"
#include "platform/state.h"
#include "platform/system.h"

namespace {

constexpr int kMaxModes = 1024;

// Windows and Linux desktops agree on 32 for true colour stored in four bytes.
int ModeDepth(Uint32 format) { return SDL_BYTESPERPIXEL(format) * 8; }

// Pixel format wanted for the next window: double buffered for GRAPHICS_BACKBUFFER, exactly
// one bit of alpha, depth, stencil and accumulation when asked for, none otherwise.
void RequestPixelFormat(int flags) {
  auto bit = [flags](int flag) { return flags & flag ? 1 : 0; };
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, bit(GRAPHICS_BACKBUFFER));
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, bit(GRAPHICS_ALPHABUFFER));
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, bit(GRAPHICS_DEPTHBUFFER));
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, bit(GRAPHICS_STENCILBUFFER));
  for (auto attribute : {SDL_GL_ACCUM_RED_SIZE, SDL_GL_ACCUM_GREEN_SIZE, SDL_GL_ACCUM_BLUE_SIZE}) {
    SDL_GL_SetAttribute(attribute, bit(GRAPHICS_ACCUMBUFFER));
  }
}

// The display mode matching a full-screen request; hertz 0 takes the first of that size.
bool FindMode(int width, int height, int depth, int hertz, SDL_DisplayMode& found) {
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    if (mode.w == width && mode.h == height && ModeDepth(mode.format) == depth &&
        (hertz == 0 || mode.refresh_rate == hertz)) {
      found = mode;
      return true;
    }
  }
  return false;
}

// The size a window of the game's width x height opens at: the placement asked for, else the
// game's size times the desktop's scale, between the game's size and the desktop's usable area.
void WindowOpeningSize(int width, int height, int& w, int& h) {
  const auto& placement = platform.display.placement;
  const int scale = DisplayScale();
  w = placement.width > 0 ? placement.width : width * scale;
  h = placement.height > 0 ? placement.height : height * scale;
  SDL_Rect usable{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0) {
    w = std::min(w, usable.w);
    h = std::min(h, usable.h);
  }
  w = std::max(w, width);
  h = std::max(h, height);
}

TSdlWindow CreateWindow(int width, int height, int depth, int hertz, int flags) {
  const std::string title = AppTitle();
  if (depth == 0) {
    int w = 0, h = 0;
    WindowOpeningSize(width, height, w, h);
    // Client area centred on the desktop: left = desktop width / 2 - width / 2.
    SDL_Rect desktop{0, 0, 0, 0};
    SDL_GetDisplayBounds(0, &desktop);
    Uint32 window_flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
    if (platform.display.placement.maximised) window_flags |= SDL_WINDOW_MAXIMIZED;
    TSdlWindow window(SDL_CreateWindow(title.c_str(), desktop.x + desktop.w / 2 - w / 2,
                                       desktop.y + desktop.h / 2 - h / 2, w, h, window_flags));
    // The window manager refuses anything smaller than the game's size.
    if (window) SDL_SetWindowMinimumSize(window.get(), width, height);
    return window;
  }
  SDL_DisplayMode mode;
  if ((flags & GRAPHICS_DESKTOPMODE) || !FindMode(width, height, depth, hertz, mode)) {
    // Flat panels and Wayland desktops rarely offer the game's size: keep the desktop's own
    // mode. Placed over the whole desktop from the start, for X servers without a window
    // manager to move it.
    SDL_Rect desktop{0, 0, width, height};
    SDL_GetDisplayBounds(0, &desktop);
    return TSdlWindow(SDL_CreateWindow(title.c_str(), desktop.x, desktop.y, desktop.w, desktop.h,
                                       SDL_WINDOW_OPENGL | SDL_WINDOW_FULLSCREEN_DESKTOP));
  }
  TSdlWindow window(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                     width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN));
  if (!window || SDL_SetWindowDisplayMode(window.get(), &mode) != 0 ||
      SDL_SetWindowFullscreen(window.get(), SDL_WINDOW_FULLSCREEN) != 0) {
    return {};
  }
  SDL_ShowWindow(window.get());
  return window;
}

gl_context_record* RecordOf(SDL_Window* window) {
  if (!window) return nullptr;
  for (auto* record : sdl.contexts.open) {
    if (record->window == window) return record;
  }
  return nullptr;
}

// The picture's place in the window, in the window's own (pointer) coordinates; false when
// the window shows the picture 1:1 (filled, or of the picture's size) or is not ours.
bool PictureInWindow(SDL_Window* window, int& picture_width, int& picture_height, picture_fit& fit) {
  const gl_context_record* record = RecordOf(window);
  if (!record || record->kind == 1 || WindowFill()) return false;
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  if (w == record->width && h == record->height) return false;
  picture_width = record->width;
  picture_height = record->height;
  fit = FitPicture(picture_width, picture_height, w, h);
  return fit.w > 0 && fit.h > 0;
}

// Rounds the quotient down, also below 0.
int FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return static_cast<int>(q * b > a ? q - 1 : q);
}

// Makes the record current (nullptr releases); the current one again does nothing.
void MakeCurrent(gl_context_record* record) {
  if (record == sdl.contexts.current) return;
  if (record) {
    SDL_GL_MakeCurrent(record->window, record->context.get());
  } else {
    SDL_GL_MakeCurrent(nullptr, nullptr);
  }
  sdl.contexts.current = record;
}

// Puts a GL context on the window and registers the record; nullptr when no context can be
// made (the record, and an own window with it, is freed).
std::shared_ptr<TGraphics> FinishContext(std::unique_ptr<gl_context_record> record) {
  // Creating a context makes it current in SDL: keep the bookkeeping in step.
  record->context = TSdlGLContext(SDL_GL_CreateContext(record->window));
  if (!record->context) {
    if (sdl.contexts.current) SDL_GL_MakeCurrent(sdl.contexts.current->window, sdl.contexts.current->context.get());
    return nullptr;
  }
  sdl.contexts.current = record.get();
  // An own window keeps the size asked for, the game's size, whatever pixels it covers.
  if (record->kind == 1) SDL_GetWindowSize(record->window, &record->width, &record->height);
  sdl.contexts.open.push_back(record.get());
  return std::make_shared<TGLGraphics>(std::move(record));
}

}  // namespace

TGLGraphics::TGLGraphics(std::unique_ptr<gl_context_record> context) : _context(std::move(context)) {}

TGLGraphics::~TGLGraphics() { Close(); }

std::shared_ptr<TGraphicsDriver> TGLGraphics::Driver() { return GLGraphicsDriver(); }

void TGLGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
  if (!_context) {
    width = height = depth = hertz = flags = 0;
    return;
  }
  if (_context->kind == 1) SDL_GetWindowSize(_context->window, &_context->width, &_context->height);
  width = _context->width;
  height = _context->height;
  if (_context->kind != 1 && WindowFill()) SDL_GL_GetDrawableSize(_context->window, &width, &height);
  depth = _context->depth;
  hertz = _context->hertz;
  flags = _context->flags;
}

void TGLGraphics::Close() {
  if (!_context) return;
  if (!_context->window) {  // already freed by the platform's shutdown
    _context.reset();
    return;
  }
  auto& open = sdl.contexts.open;
  open.erase(std::remove(open.begin(), open.end(), _context.get()), open.end());
  if (sdl.contexts.current == _context.get()) MakeCurrent(nullptr);
  _context.reset();  // the GL context goes first, then an own window
}

void CloseAllContexts() {
  MakeCurrent(nullptr);
  for (auto* record : sdl.contexts.open) {
    record->context.reset();  // the GL context goes first, then an own window
    record->own_window.reset();
    record->window = nullptr;
  }
  sdl.contexts.open.clear();
}

std::vector<TGraphicsMode> TGLGraphicsDriver::GraphicsModes() {
  std::vector<TGraphicsMode> modes;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return modes;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count && static_cast<int>(modes.size()) < kMaxModes; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) != 0 || ModeDepth(mode.format) < 16) continue;
    modes.push_back({mode.w, mode.h, ModeDepth(mode.format), mode.refresh_rate});
  }
  return modes;
}

std::shared_ptr<TGraphics> TGLGraphicsDriver::AttachGraphics(void* handle, int flags) {
  if (!handle || !SDL_WasInit(SDL_INIT_VIDEO)) return nullptr;
  auto record = std::make_unique<gl_context_record>();
  record->kind = 1;
  record->flags = flags;
  record->window = static_cast<SDL_Window*>(handle);
  return FinishContext(std::move(record));
}

std::shared_ptr<TGraphics> TGLGraphicsDriver::CreateGraphics(int width, int height, int depth,
                                                             int hertz, int flags) {
  if (!SDL_WasInit(SDL_INIT_VIDEO) || width <= 0 || height <= 0) return nullptr;
  RequestPixelFormat(flags);
  TSdlWindow window = CreateWindow(width, height, depth, hertz, flags);
  if (!window) return nullptr;
  auto record = std::make_unique<gl_context_record>();
  record->kind = depth == 0 ? 2 : 3;
  record->width = width;
  record->height = height;
  record->depth = depth;
  record->hertz = hertz;
  record->flags = flags;
  record->window = window.get();
  record->own_window = std::move(window);
  return FinishContext(std::move(record));
}

void TGLGraphicsDriver::SetGraphics(std::shared_ptr<TGraphics> graphics) {
  auto gl = std::dynamic_pointer_cast<TGLGraphics>(graphics);
  MakeCurrent(gl ? gl->_context.get() : nullptr);
}

void TGLGraphicsDriver::Flip(int sync) {
  if (!sdl.contexts.current) return;
  SDL_GL_SetSwapInterval(sync ? 1 : 0);  // fails where the system has no swap control: only swap then
  SDL_GL_SwapWindow(sdl.contexts.current->window);
}

bool CanFlipRegions() { return sdl.contexts.current && X11CanCopyRegions(sdl.contexts.current->window); }

bool FlipRegions(const std::vector<std::array<int, 4>>& regions) {
  return sdl.contexts.current && X11CopyRegions(sdl.contexts.current->window, regions);
}

std::shared_ptr<TGraphicsDriver> GLGraphicsDriver() {
  static const auto driver = std::make_shared<TGLGraphicsDriver>();
  return driver;
}

void SystemSetCaption(const std::string& title) {
  for (auto* record : sdl.contexts.open) {
    if (record->own_window) SDL_SetWindowTitle(record->window, title.c_str());
  }
}

void GraphicsPixelSize(int& width, int& height) {
  width = height = 0;
  if (sdl.contexts.current) SDL_GL_GetDrawableSize(sdl.contexts.current->window, &width, &height);
}

bool GraphicsExposed() {
  auto* record = sdl.contexts.current;
  if (!record || !record->exposed) return false;
  record->exposed = false;
  return true;
}

void MarkExposed(SDL_Window* window) {
  if (auto* record = RecordOf(window)) record->exposed = true;
}

bool CurrentPictureSize(int& width, int& height, int& shown_width, int& shown_height) {
  const gl_context_record* record = sdl.contexts.current;
  if (!record) return false;
  picture_fit fit;
  if (PictureInWindow(record->window, width, height, fit)) {
    shown_width = fit.w;
    shown_height = fit.h;
  } else {
    SDL_GetWindowSize(record->window, &width, &height);
    shown_width = width;
    shown_height = height;
  }
  return width > 0 && height > 0;
}

void WindowToPicture(SDL_Window* window, int& x, int& y) {
  int w = 0, h = 0;
  picture_fit fit;
  if (!PictureInWindow(window, w, h, fit)) return;
  // The picture pixel under the middle of the window pixel: a window pixel's corner can lie
  // on the neighbour of the picture pixel it mostly shows.
  x = FloorDiv(static_cast<int64_t>(2 * (x - fit.x) + 1) * w, 2 * static_cast<int64_t>(fit.w));
  y = FloorDiv(static_cast<int64_t>(2 * (y - fit.y) + 1) * h, 2 * static_cast<int64_t>(fit.h));
}

void PictureToWindow(SDL_Window* window, int& x, int& y) {
  int w = 0, h = 0;
  picture_fit fit;
  if (!PictureInWindow(window, w, h, fit)) return;
  // The middle of the window pixels that show picture pixel (x, y) maps back to it.
  x = fit.x + FloorDiv(static_cast<int64_t>(2 * x + 1) * fit.w, 2 * w);
  y = fit.y + FloorDiv(static_cast<int64_t>(2 * y + 1) * fit.h, 2 * h);
}

void PictureToWindowNow(int& x, int& y) {
  if (sdl.contexts.current) PictureToWindow(sdl.contexts.current->window, x, y);
}

void WindowToPictureNow(int& x, int& y) {
  if (sdl.contexts.current) WindowToPicture(sdl.contexts.current->window, x, y);
}

int DisplayScale() {
  constexpr int kLargestScale = 4;
  if (const char* gdk = std::getenv("GDK_SCALE"); gdk && *gdk) {
    const int scale = std::atoi(gdk);
    if (scale >= 1) return std::min(scale, kLargestScale);
  }
  // 96 dots per inch is a scale of 1.
  return std::clamp(X11ResourceDpi() / 96, 1, kLargestScale);
}

void SetWindowPlacement(int width, int height, bool maximised) {
  auto& placement = platform.display.placement;
  placement.width = std::max(width, 0);
  placement.height = std::max(height, 0);
  placement.maximised = maximised;
}

bool GetWindowPlacement(int& width, int& height, bool& maximised) {
  const gl_context_record* record = sdl.contexts.current;
  if (!record || record->kind != 2) return false;
  SDL_GetWindowSize(record->window, &width, &height);
  maximised = (SDL_GetWindowFlags(record->window) & SDL_WINDOW_MAXIMIZED) != 0;
  return true;
}
