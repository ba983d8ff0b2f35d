// TrueType fonts through FreeType and the built-in default font, without any window.
#include <gtest/gtest.h>

#include "draw/draw.h"
#include "tests/draw/fixtures.h"
#include "tests/support/support.h"

namespace {

const char* const kTahoma = "/usr/share/wine/fonts/tahoma.ttf";
const char* const kLiberationMono =
    "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf";
// A Windows bitmap font whose only strike is 13 pixels high.
const char* const kBitmapOnlyFont = "/usr/share/wine/fonts/coure.fon";

using FontTest = DrawingTest;

int AlphaAt(const std::shared_ptr<TPixmap>& p, int x, int y) {
  return static_cast<int>(ARGBAlpha(p->ReadPixel(x, y)));
}

TEST_F(FontTest, TrueTypeGlyphsAreAlphaPixmapsPlacedFromTheTopOfTheLine) {
  auto font = LoadFont(kTahoma, 22, 0);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Style(), 0);
  EXPECT_GE(font->Height(), 22);  // the line height holds the pixel size
  EXPECT_LT(font->Height(), 30);
  const int a = font->CharToGlyph('A');
  ASSERT_GE(a, 0);
  auto glyph = font->LoadGlyph(a);
  EXPECT_EQ(glyph, font->LoadGlyph(a)) << "rasterised once and cached";
  auto pixels = glyph->Pixels();
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels->format, PF_A8);
  int x = 0, y = 0, w = 0, h = 0;
  glyph->GetRect(x, y, w, h);
  EXPECT_EQ(w, pixels->width);
  EXPECT_EQ(h, pixels->height);
  EXPECT_GT(y, 0) << "a capital starts below the top of the line";
  EXPECT_LT(y + h, font->Height());
  EXPECT_EQ(glyph->Advance(), static_cast<float>(static_cast<int>(glyph->Advance())));
  EXPECT_GT(glyph->Advance(), 0);
}

TEST_F(FontTest, SpaceHasAnAdvanceButNoPicture) {
  auto font = LoadFont(kTahoma, 22, SmoothFont);
  ASSERT_NE(font, nullptr);
  auto space = font->LoadGlyph(font->CharToGlyph(' '));
  EXPECT_EQ(space->Pixels(), nullptr);
  EXPECT_GT(space->Advance(), 0);
}

TEST_F(FontTest, MissingCharacterHasNoGlyph) {
  auto font = LoadFont(kTahoma, 14, 0);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->CharToGlyph(0x1F600), -1);  // an emoji Tahoma lacks
  EXPECT_EQ(font->CharToGlyph(-5), -1);
}

TEST_F(FontTest, SmoothFontPadsEveryGlyphByOneTransparentPixel) {
  auto plain = LoadFont(kLiberationMono, 28, 0);
  auto smooth = LoadFont(kLiberationMono, 28, SmoothFont);
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(smooth, nullptr);
  EXPECT_EQ(smooth->Style(), SmoothFont);
  for (const int c : {'g', 'W', '.'}) {
    auto p = plain->LoadGlyph(plain->CharToGlyph(c));
    auto s = smooth->LoadGlyph(smooth->CharToGlyph(c));
    int px, py, pw, ph, sx, sy, sw, sh;
    p->GetRect(px, py, pw, ph);
    s->GetRect(sx, sy, sw, sh);
    EXPECT_EQ(sx, px - 1) << char(c);
    EXPECT_EQ(sy, py - 1) << char(c);
    EXPECT_EQ(sw, pw + 2) << char(c);
    EXPECT_EQ(sh, ph + 2) << char(c);
    EXPECT_EQ(s->Advance(), p->Advance()) << char(c);
    auto pp = p->Pixels();
    auto sp = s->Pixels();
    ASSERT_EQ(sp->width, sw);
    for (int x = 0; x < sw; ++x) {
      EXPECT_EQ(AlphaAt(sp, x, 0), 0);
      EXPECT_EQ(AlphaAt(sp, x, sh - 1), 0);
    }
    for (int y = 0; y < ph; ++y) {
      EXPECT_EQ(AlphaAt(sp, 0, y + 1), 0);
      EXPECT_EQ(AlphaAt(sp, sw - 1, y + 1), 0);
      for (int x = 0; x < pw; ++x) ASSERT_EQ(AlphaAt(sp, x + 1, y + 1), AlphaAt(pp, x, y));
    }
  }
}

TEST_F(FontTest, EmbeddedOneBitStrikeExpandsToFullCoverage) {
  // Tahoma carries hand-made one-bit bitmaps for small sizes; FreeType renders those.
  auto font = LoadFont(kTahoma, 11, 0);
  ASSERT_NE(font, nullptr);
  auto pixels = font->LoadGlyph(font->CharToGlyph('H'))->Pixels();
  ASSERT_NE(pixels, nullptr);
  int ink = 0;
  for (int y = 0; y < pixels->height; ++y) {
    for (int x = 0; x < pixels->width; ++x) {
      const int a = AlphaAt(pixels, x, y);
      EXPECT_TRUE(a == 0 || a == 255) << a;
      ink += a == 255;
    }
  }
  EXPECT_GT(ink, 10);
}

TEST_F(FontTest, SizeTheFaceRefusesIsSteppedDown) {
  auto font = LoadFont(kBitmapOnlyFont, 20, 0);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Height(), 13);
}

TEST_F(FontTest, SourcesThatAreNotFontsGiveNone) {
  const temp_folder dir;
  const auto junk = dir.Write("junk.ttf", "not a font at all, just some bytes");
  const auto empty = dir.Write("empty.ttf", "");
  for (const std::string& source :
       {std::string(), junk, empty, dir / "missing.ttf", std::string("nowhere::x")}) {
    EXPECT_EQ(LoadFont(source, 14, 0), nullptr) << source;
    EXPECT_EQ(TImageFont::Load(source, 14, 0), nullptr) << source;
  }
  EXPECT_EQ(LoadFont(kTahoma, 0, 0), nullptr) << "no size down to 1";
}

// A font file cut short may still open: then it must draw, or be refused so that the default
// font draws instead.
TEST_F(FontTest, TruncatedFontsDrawOrAreRefused) {
  const temp_folder dir;
  const std::string whole = ReadWholeFile(kTahoma);
  ASSERT_GT(whole.size(), 10000u);
  for (size_t length : {size_t{2000}, whole.size() / 4, whole.size() / 2, whole.size() - 1000}) {
    const auto cut = dir.Write("cut.ttf", whole.substr(0, length));
    auto font = LoadFont(cut, 22, SmoothFont);
    if (!font) continue;
    for (int c = 'A'; c <= 'z'; ++c) {
      const int index = font->CharToGlyph(c);
      ASSERT_GE(index, 0) << length << " bytes, character " << c;
      EXPECT_NE(font->LoadGlyph(index)->Pixels(), nullptr) << length << " bytes, character " << c;
    }
  }
}

TEST_F(FontTest, ImageFontGlyphsCopyTheSourceGlyph) {
  auto font = TImageFont::Load(kTahoma, 22, SmoothFont);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->_imageFlags, FilteredImage | MipmappedImage);
  EXPECT_EQ(font->Height(), font->_src_font->Height());
  const int n = font->CharToGlyph('Q');
  auto glyph = font->LoadGlyph(n);
  auto source = font->_src_font->LoadGlyph(n);
  int x, y, w, h, sx, sy, sw, sh;
  glyph->GetRect(x, y, w, h);
  source->GetRect(sx, sy, sw, sh);
  EXPECT_EQ(std::make_tuple(x, y, w, h), std::make_tuple(sx, sy, sw, sh));
  EXPECT_EQ(glyph->Advance(), source->Advance());
  ASSERT_NE(glyph->Pixels(), nullptr);
  EXPECT_EQ(glyph->Pixels()->flags, FilteredImage | MipmappedImage);
  EXPECT_EQ(glyph->Pixels()->width, w);
  EXPECT_EQ(font->LoadGlyph(font->CharToGlyph(' '))->Pixels(), nullptr);
  EXPECT_EQ(TImageFont::Load(kTahoma, 22, 0)->_imageFlags, 0);
}

TEST_F(FontTest, DefaultFontCoversPrintableAscii) {
  auto font = TImageFont::CreateDefault();
  EXPECT_EQ(font->CountGlyphs(), 96);
  EXPECT_EQ(font->Height(), 16);
  EXPECT_EQ(font->Style(), 0);
  EXPECT_EQ(font->CharToGlyph(31), -1);
  EXPECT_EQ(font->CharToGlyph(32), 0);
  EXPECT_EQ(font->CharToGlyph(127), 95);
  EXPECT_EQ(font->CharToGlyph(128), -1);
  EXPECT_EQ(font->CharToGlyph(0xE9), -1);
  for (int i = 0; i < 96; ++i) {
    auto glyph = font->LoadGlyph(i);
    EXPECT_EQ(glyph->Advance(), 8);
    int x, y, w, h;
    glyph->GetRect(x, y, w, h);
    EXPECT_EQ(std::make_tuple(x, y, w, h), std::make_tuple(0, 0, 8, 16));
    ASSERT_NE(glyph->Pixels(), nullptr);
    EXPECT_EQ(glyph->Pixels()->flags, 0);
  }
  // 'H': two full-height stems, opaque white ink on transparent black.
  auto h = font->LoadGlyph(font->CharToGlyph('H'))->Pixels()->Lock(0, true, false);
  int ink = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 8; ++x) {
      const uint32_t v = h->ReadPixel(x, y);
      EXPECT_TRUE(v == 0 || v == 0xFFFFFFFFu) << std::hex << v;
      ink += v != 0;
    }
  }
  EXPECT_GT(ink, 15);
  auto space = font->LoadGlyph(0)->Pixels()->Lock(0, true, false);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(space->ReadPixel(x, y), 0u);
  }
}

TEST_F(FontTest, TextMeasuresWithTheDefaultFontBeforeAnyWindow) {
  EXPECT_EQ(TextWidth(""), 0);
  EXPECT_EQ(TextWidth("Hello, world"), 8 * 12);
  EXPECT_EQ(TextWidth("caf\xC3\xA9"), 8 * 4) << "characters outside 32..127 show a replacement";
  EXPECT_EQ(TextWidth("a\tb\n"), 16) << "control characters have no glyph";
  EXPECT_EQ(TextHeight(""), 16);
  EXPECT_EQ(GetImageFont(), GetImageFont()) << "one default font for the run";
}

}  // namespace
