// Move-only owners of SDL handles: a window, an OpenGL context and a cursor. Depends on SDL2.
#pragma once

#include <SDL.h>

#include <utility>

template <typename Handle, void (*Free)(Handle)>
class TSdlHandle {
 public:
  TSdlHandle() = default;
  explicit TSdlHandle(Handle handle) : handle_(handle) {}
  TSdlHandle(TSdlHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TSdlHandle& operator=(TSdlHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  TSdlHandle(const TSdlHandle&) = delete;
  TSdlHandle& operator=(const TSdlHandle&) = delete;
  ~TSdlHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() {
    if (handle_) Free(std::exchange(handle_, nullptr));
  }

 private:
  Handle handle_ = nullptr;
};

using TSdlWindow = TSdlHandle<SDL_Window*, SDL_DestroyWindow>;
using TSdlGLContext = TSdlHandle<SDL_GLContext, SDL_GL_DeleteContext>;
using TSdlCursor = TSdlHandle<SDL_Cursor*, SDL_FreeCursor>;
