// Module state of the drawing layer, private to draw/: the current context, the image
// settings, the font loader chain and the collision store. Depends on draw/draw.h.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "draw/draw.h"

struct FT_LibraryRec_;
struct rpoly;

struct draw_state_type {
  struct context_type {
    std::shared_ptr<T2DGraphics> graphics;     // the current graphics, or nullptr
    std::shared_ptr<T2DDriver> driver;         // its driver, or nullptr
    std::shared_ptr<TImageFont> default_font;  // built by the first T2DGraphics::Create
  } context;

  struct images_type {
    int mask_r = 0, mask_g = 0, mask_b = 0;
    int auto_flags = MaskedImage | FilteredImage;
    bool auto_midhandle = false;
  } images;

  struct fonts_type {
    std::shared_ptr<TFontLoader> loaders;  // head of the chain, nullptr until first LoadFont
    // One FreeType library for the run; every face keeps it alive.
    std::shared_ptr<FT_LibraryRec_> freetype;
  } fonts;

  struct collision_type {
    std::array<std::shared_ptr<TQuad>, 32> layers;  // newest first, through TQuad::link
    std::shared_ptr<TQuad> pool;                    // spare quads, through TQuad::link
    // Follows the drawing matrix (UpdateTransform).
    float ix = 1, iy = 0, jx = 0, jy = 1;
    std::vector<int> span;       // one flag per column of the current span overlap
    std::vector<rpoly*> active;  // polygons of the scan in progress, kept for its storage
  } collision;
};

extern draw_state_type draw_state;

// The current graphics and driver when both exist, else nullptr; every global operation
// checks it first so that nothing reaches the back end without a context.
inline T2DGraphics* CurrentGraphics() {
  return draw_state.context.driver ? draw_state.context.graphics.get() : nullptr;
}

// The built-in font, made on first use and kept for the run.
std::shared_ptr<TImageFont> DefaultFont();
