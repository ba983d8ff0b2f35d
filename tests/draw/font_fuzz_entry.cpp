// The entry shared by the TrueType fuzz target and its replay test.
#include "tests/draw/font_fuzz_entry.h"

#include <cstdlib>
#include <vector>

#include "draw/freetype_font.h"

namespace {

// Glyphs rasterised per font: enough to reach every table, few enough to keep a run fast.
constexpr int kGlyphsTried = 64;

int RasteriseAtSize(const std::vector<unsigned char>& bytes, int size, int style) {
  auto font = TFreeTypeFont::LoadFromMemory(bytes, size, style);
  if (!font) return 0;
  int pictures = 0;
  for (int c = 0; c < 128; ++c) {
    const int n = font->CharToGlyph(c);
    if (n < -1 || n >= font->CountGlyphs()) std::abort();
  }
  const int count = font->CountGlyphs() < kGlyphsTried ? font->CountGlyphs() : kGlyphsTried;
  for (int i = 0; i < count; ++i) {
    auto glyph = font->LoadGlyph(i);
    int x, y, w, h;
    glyph->GetRect(x, y, w, h);
    if (const auto pixels = glyph->Pixels()) {
      if (pixels->width != w || pixels->height != h || pixels->format != PF_A8) std::abort();
      ++pictures;
    }
  }
  return pictures;
}

}  // namespace

int RasteriseFontBytes(const uint8_t* data, size_t size) {
  const std::vector<unsigned char> bytes(data, data + size);
  return RasteriseAtSize(bytes, 14, SmoothFont) + RasteriseAtSize(bytes, 3, 0);
}
