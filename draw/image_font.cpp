// Image fonts: glyphs of a source font (or the built-in bitmap) turned into images on first
// use, drawn as one textured quad each. Depends on draw/state.h, draw/utf8.h and
// draw/default_font.h.
#include "draw/default_font.h"
#include "draw/state.h"
#include "draw/utf8.h"

namespace {

constexpr int kDefaultFirstChar = 32;
constexpr int kDefaultGlyphs = 96;
constexpr int kDefaultCellWidth = 8;
constexpr int kDefaultHeight = 16;
constexpr int kReplacementCharacter = 0xFFFD;

// The built-in bitmap as opaque white ink on transparent black, all glyphs side by side.
std::shared_ptr<TPixmap> DefaultFontStrip() {
  auto strip = TPixmap::Create(kDefaultGlyphs * kDefaultCellWidth, kDefaultHeight, PF_RGBA8888, 4);
  for (int r = 0; r < kDefaultHeight; ++r) {
    for (int j = 0; j < kDefaultGlyphs; ++j) {
      const unsigned char bits = kDefaultFontBits[kDefaultGlyphs * r + j];
      for (int k = 0; k < kDefaultCellWidth; ++k) {
        const uint32_t value = (bits >> k) & 1 ? 0xFFFFFFFFu : 0u;
        strip->WritePixel(kDefaultCellWidth * j + k, r, value);
      }
    }
  }
  return strip;
}

// Characters drawn as nothing when the font lacks them: controls, and the marks and format
// characters that have no look of their own (a lacking accent leaves its letter plain).
bool InvisibleWhenLacking(int c) {
  const struct {
    int first, last;
  } kRanges[] = {{0x00, 0x1F},     {0x7F, 0x9F},     {0xAD, 0xAD},     {0x300, 0x36F},
                 {0x61C, 0x61C},   {0x180B, 0x180F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},
                 {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x206F}, {0x20D0, 0x20FF},
                 {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0xE0000, 0xE0FFF}};
  for (const auto& range : kRanges)
    if (c >= range.first && c <= range.last) return true;
  return false;
}

}  // namespace

void TImageGlyph::GetRect(int& x, int& y, int& w, int& h) const {
  x = _x;
  y = _y;
  w = _w;
  h = _h;
}

int TImageFont::Style() {
  return _src_font ? _src_font->Style() : 0;
}

int TImageFont::Height() {
  return _src_font ? _src_font->Height() : kDefaultHeight;
}

int TImageFont::CountGlyphs() {
  return static_cast<int>(_glyphs.size());
}

int TImageFont::CharToGlyph(int code_point) {
  if (_src_font) return _src_font->CharToGlyph(code_point);
  const bool in_range =
      code_point >= kDefaultFirstChar && code_point < kDefaultFirstChar + kDefaultGlyphs;
  return in_range ? code_point - kDefaultFirstChar : -1;
}

const std::shared_ptr<TImageGlyph>& TImageFont::LoadGlyph(int index) {
  auto& glyph = _glyphs.at(static_cast<size_t>(index));
  if (glyph) return glyph;
  // The default font fills every entry when it is made, so only source glyphs arrive here.
  const auto source = _src_font->LoadGlyph(index);
  glyph = std::make_shared<TImageGlyph>();
  glyph->_advance = source->Advance();
  source->GetRect(glyph->_x, glyph->_y, glyph->_w, glyph->_h);
  if (const auto pixels = source->Pixels()) {
    glyph->_image = TImage::Load(pixels->Copy(), _imageFlags, 0, 0, 0);
  }
  return glyph;
}

int TImageFont::ShownGlyph(int code_point) {
  const int n = CharToGlyph(code_point);
  if (n >= 0 || InvisibleWhenLacking(code_point)) return n;
  const int replacement = CharToGlyph(kReplacementCharacter);
  return replacement >= 0 ? replacement : CharToGlyph('?');
}

int TImageFont::Width(const std::string& text) {
  int width = 0;
  int c = 0;
  for (size_t pos = 0; NextCodePoint(text, pos, c);) {
    const int n = ShownGlyph(c);
    if (n >= 0) width = static_cast<int>(static_cast<float>(width) + LoadGlyph(n)->Advance());
  }
  return width;
}

void TImageFont::Draw(const std::string& text, float x, float y, float ix, float iy, float jx,
                      float jy) {
  int c = 0;
  for (size_t pos = 0; NextCodePoint(text, pos, c);) {
    const int n = ShownGlyph(c);
    if (n < 0) continue;
    const auto& g = LoadGlyph(n);
    if (g->_image) {
      if (const auto frame = g->_image->Frame(0)) {
        const auto w = static_cast<float>(g->_image->width);
        const auto h = static_cast<float>(g->_image->height);
        const auto gx = static_cast<float>(g->_x), gy = static_cast<float>(g->_y);
        frame->Draw(0, 0, w, h, x + gx * ix + gy * iy, y + gx * jx + gy * jy, 0, 0, w, h);
      }
    }
    x += g->_advance * ix;
    y += g->_advance * jx;
  }
}

std::shared_ptr<TImageFont> TImageFont::Load(const std::string& source, int size, int style) {
  auto src = LoadFont(source, size, style);
  if (!src) return nullptr;
  auto font = std::make_shared<TImageFont>();
  font->_glyphs.resize(static_cast<size_t>(src->CountGlyphs()));
  font->_imageFlags = (style & SmoothFont) ? FilteredImage | MipmappedImage : 0;
  font->_src_font = std::move(src);
  return font;
}

std::shared_ptr<TImageFont> TImageFont::CreateDefault() {
  const auto strip = DefaultFontStrip();
  auto font = std::make_shared<TImageFont>();
  font->_glyphs.resize(kDefaultGlyphs);
  for (int i = 0; i < kDefaultGlyphs; ++i) {
    auto glyph = std::make_shared<TImageGlyph>();
    glyph->_advance = kDefaultCellWidth;
    glyph->_w = kDefaultCellWidth;
    glyph->_h = kDefaultHeight;
    auto cell = strip->Window(kDefaultCellWidth * i, 0, kDefaultCellWidth, kDefaultHeight);
    glyph->_image = TImage::Load(cell->Copy(), 0, 0, 0, 0);
    font->_glyphs[static_cast<size_t>(i)] = std::move(glyph);
  }
  return font;
}
