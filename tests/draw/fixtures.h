// Small pixmap and image fixtures shared by the drawing tests. Depends on draw/draw.h.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "draw/draw.h"

// A w x h PF_RGBA8888 pixmap filled with one ARGB value.
inline std::shared_ptr<TPixmap> SolidPixmap(int w, int h, uint32_t argb) {
  auto p = TPixmap::Create(w, h, PF_RGBA8888, 4);
  p->ClearPixels(argb);
  return p;
}

// A w x h PF_RGBA8888 pixmap, opaque inside the border of the given width, transparent around.
inline std::shared_ptr<TPixmap> FramedPixmap(int w, int h, int border, uint32_t argb) {
  auto p = SolidPixmap(w, h, 0);
  for (int y = border; y < h - border; ++y) {
    for (int x = border; x < w - border; ++x) p->WritePixel(x, y, argb);
  }
  return p;
}

// An unmasked, unfiltered w x h image, opaque white everywhere, handle at the top-left.
inline std::shared_ptr<TImage> OpaqueImage(int w, int h) {
  return TImage::Load(SolidPixmap(w, h, 0xFFFFFFFFu), 0, 0, 0, 0);
}

// Tests that need no window: the drawing layer starts and ends each test at its start values.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDrawing(); }
  void TearDown() override { ResetDrawing(); }
};
