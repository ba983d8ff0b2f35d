// The program's pointer pictures as the window system's pointer: SDL colour cursors made from
// them at the scale the window shows the frame, switched at the Flip of the frame that asks for
// one; a frame that asks for none shows none (or the system's own pointer after ShowMouse).
#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "draw/pixmap.h"
#include "platform/sdl/gl_graphics.h"
#include "platform/sdl/sdl_state.h"
#include "platform/sdl/system_driver.h"
#include "platform/sdl/x11.h"

namespace {

// Cursors kept for pictures asked for before (a window resized or another picture).
constexpr size_t kKeptCursors = 4;
// Window systems limit a pointer's size; a larger picture stays in the frame.
constexpr int kLargestSide = 256;

auto& pointer = sdl.pointer;

// SDL hands the pixels to X and Wayland as they are, and both take them premultiplied.
void Premultiply(TPixmap& bgra) {
  for (int y = 0; y < bgra.height; ++y) {
    uint8_t* p = bgra.PixelPtr(0, y);
    for (int x = 0; x < bgra.width; ++x, p += 4) {
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] * p[3] + 127) / 255);
    }
  }
}

// The picture at width x height as a cursor with its hot spot at (hot_x, hot_y); none when SDL
// refuses it (a video driver without cursors).
TSdlCursor MakeCursor(const std::shared_ptr<TPixmap>& picture, int width, int height, int hot_x,
                      int hot_y) {
  const bool sized = width == picture->width && height == picture->height;
  const auto bgra = (sized ? picture : ResizePixmap(picture, width, height))->Convert(PF_BGRA8888);
  Premultiply(*bgra);
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(bgra->pixels, width, height, 32,
                                                            bgra->pitch, SDL_PIXELFORMAT_BGRA32);
  if (!surface) return {};
  TSdlCursor cursor(SDL_CreateColorCursor(surface, hot_x, hot_y));
  SDL_FreeSurface(surface);
  return cursor;
}

// Makes room for one more cursor, never dropping the one shown or asked for.
void DropOldCursor() {
  if (pointer.made.size() < kKeptCursors) return;
  auto old = std::find_if(
      pointer.made.begin(), pointer.made.end(), [](const sdl_state::pointer_cursor& made) {
        return !made.cursor ||
               (made.cursor.get() != pointer.shown && made.cursor.get() != pointer.asked);
      });
  if (old != pointer.made.end()) pointer.made.erase(old);
}

}  // namespace

void TSDLSystemDriver::SetMouseVisible(bool visible) {
  // SDL hides the pointer only inside its windows, which is what the program wants.
  pointer.system_visible = visible;
  if (!pointer.shown) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

bool TSDLSystemDriver::ShowPointerPicture(const std::shared_ptr<TPixmap>& picture, int hot_x,
                                          int hot_y) {
  int width = 0, height = 0, shown_width = 0, shown_height = 0;
  if (!picture || picture->width <= 0 || picture->height <= 0 || hot_x < 0 || hot_y < 0 ||
      hot_x >= picture->width || hot_y >= picture->height ||
      !CurrentPictureSize(width, height, shown_width, shown_height)) {
    return false;
  }
  // In the window the picture takes the size the frame's pixels take there.
  auto scaled = [](int value, int shown, int size) {
    return static_cast<int>((static_cast<int64_t>(value) * shown + size / 2) / size);
  };
  const int cursor_width = std::max(1, scaled(picture->width, shown_width, width));
  const int cursor_height = std::max(1, scaled(picture->height, shown_height, height));
  if (cursor_width > kLargestSide || cursor_height > kLargestSide) return false;
  auto made = std::find_if(pointer.made.begin(), pointer.made.end(),
                           [&](const sdl_state::pointer_cursor& m) {
                             return m.picture == picture && m.hot_x == hot_x && m.hot_y == hot_y &&
                                    m.width == cursor_width && m.height == cursor_height;
                           });
  if (made == pointer.made.end()) {
    DropOldCursor();
    const int cursor_hot_x = std::min(
        cursor_width - 1, static_cast<int>(static_cast<int64_t>(hot_x) * shown_width / width));
    const int cursor_hot_y = std::min(
        cursor_height - 1, static_cast<int>(static_cast<int64_t>(hot_y) * shown_height / height));
    TSdlCursor cursor;
    if (X11ShowsColourPointers(sdl.contexts.current->window))
      cursor = MakeCursor(picture, cursor_width, cursor_height, cursor_hot_x, cursor_hot_y);
    pointer.made.push_back({picture, hot_x, hot_y, cursor_width, cursor_height, std::move(cursor)});
    made = pointer.made.end() - 1;
  }
  pointer.asked = made->cursor.get();
  return pointer.asked != nullptr;
}

void TSDLSystemDriver::PresentPointer() {
  SDL_Cursor* wanted = std::exchange(pointer.asked, nullptr);
  const bool visible = wanted || pointer.system_visible;
  // Hidden before the switch and shown after it, so that no other pointer flashes between.
  if (!visible) SDL_ShowCursor(SDL_DISABLE);
  if (wanted != pointer.shown) SDL_SetCursor(wanted ? wanted : SDL_GetDefaultCursor());
  pointer.shown = wanted;
  if (visible) SDL_ShowCursor(SDL_ENABLE);
}
