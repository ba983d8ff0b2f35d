// The entry shared by the TrueType fuzz target and its replay test: any bytes handed to FreeType
// as a font file must neither crash nor throw, and every glyph must match its rectangle.
// Depends on draw/freetype_font.h.
#pragma once

#include <cstddef>
#include <cstdint>

// Loads the bytes as a font at two sizes and rasterises its first glyphs; returns the number
// of glyphs that came out with a picture.
int RasteriseFontBytes(const uint8_t* data, size_t size);
