// Text on a real window: the default font, TrueType fonts, measuring and font selection.
#include "tests/draw/display_fixture.h"
#include "tests/support/support.h"

namespace {

const char* const kTahoma = "/usr/share/wine/fonts/tahoma.ttf";

using TextDrawTest = DisplayTest;

TEST_F(TextDrawTest, DefaultFontServesUntilAFontIsChosen) {
  auto font = GetImageFont();
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->_src_font, nullptr);
  EXPECT_EQ(TextWidth("Tesselka"), 64);
  EXPECT_EQ(TextHeight(""), 16);
  DrawText("H", 100, 200);
  const int ink = Count(100, 200, 8, 16, 0xFFFFFFu);
  EXPECT_GT(ink, 15);
  EXPECT_EQ(Count(96, 196, 16, 24, 0xFFFFFFu), ink) << "inside its 8 x 16 cell";
  DrawText("\x01\xE2\x80\x8B", 300, 200);  // a control character and a zero-width space
  EXPECT_EQ(Count(290, 190, 40, 40, 0xFFFFFFu), 0);
}

// A character the font lacks shows a replacement in its place, in a TrueType font and the built-in
// one alike, and measures as it draws; an accent or a format character it lacks stays unseen.
TEST_F(TextDrawTest, ACharacterTheFontLacksShowsAReplacement) {
  auto tahoma = LoadImageFont(kTahoma, 22, 0);
  ASSERT_NE(tahoma, nullptr);
  ASSERT_LT(tahoma->CharToGlyph(0x2600), 0) << "the test needs a character Tahoma lacks";
  for (const auto& font : {tahoma, TImageFont::CreateDefault()}) {
    SCOPED_TRACE(font == tahoma ? "Tahoma" : "built-in");
    SetImageFont(font);
    const int sun = TextWidth("\xE2\x98\x80");  // U+2600
    EXPECT_GT(sun, 0);
    EXPECT_EQ(TextWidth("my photo \xE2\x98\x80"), TextWidth("my photo ") + sun);
    EXPECT_EQ(TextWidth("\xF0\x9F\x98\x80"), sun) << "an emoji shows the same replacement";
    EXPECT_EQ(TextWidth("e\xCC\x81\xE2\x80\x8B\xEF\xBB\xBF"),
              TextWidth("e") + TextWidth("\xCC\x81"));
    SetClsColor(0, 0, 0);
    Cls();
    DrawText("\xE2\x98\x80", 100, 100);
    EXPECT_GT(Count(100, 100, sun, font->Height(), 0xFFFFFFu), 5) << "the replacement is drawn";
    DrawText("\xE2\x80\x8B\xEF\xBB\xBF\x01", 300, 100);
    EXPECT_EQ(Count(290, 90, 60, 40, 0xFFFFFFu), 0);
  }
}

TEST_F(TextDrawTest, UnreadableFontFallsBackToTheDefaultFont) {
  const temp_folder dir;
  auto missing = LoadImageFont(dir.Write("not_a_font.ttf", "garbage"), 22, SmoothFont);
  EXPECT_EQ(missing, nullptr);
  auto tahoma = LoadImageFont(kTahoma, 22, SmoothFont);
  ASSERT_NE(tahoma, nullptr);
  SetImageFont(tahoma);
  EXPECT_EQ(GetImageFont(), tahoma);
  SetImageFont(missing);
  EXPECT_EQ(GetImageFont()->_src_font, nullptr);
  EXPECT_EQ(TextWidth("abc"), 24);
}

TEST_F(TextDrawTest, WidthIsTheSumOfAdvancesWithoutKerning) {
  auto tahoma = LoadImageFont(kTahoma, 22, SmoothFont);
  ASSERT_NE(tahoma, nullptr);
  SetImageFont(tahoma);
  auto advance = [&](int c) {
    return static_cast<int>(tahoma->LoadGlyph(tahoma->CharToGlyph(c))->Advance());
  };
  for (const char* pair : {"AV", "To", "ll", "Wa"}) {
    EXPECT_EQ(TextWidth(pair), advance(pair[0]) + advance(pair[1])) << pair;
  }
  EXPECT_EQ(TextWidth(""), 0);
  EXPECT_EQ(TextWidth("A\xF0\x9F\x98\x80"
                      "A"),
            2 * advance('A') + advance(tahoma->CharToGlyph(0xFFFD) >= 0 ? 0xFFFD : '?'))
      << "a missing glyph measures as its replacement";
  EXPECT_EQ(TextHeight("anything"), tahoma->Height());
  SetScale(2, 2);
  EXPECT_EQ(TextWidth("AV"), advance('A') + advance('V')) << "scale is not applied";
}

TEST_F(TextDrawTest, TrueTypeTextStartsWhereTheHandleLands) {
  auto tahoma = LoadImageFont(kTahoma, 22, 0);
  ASSERT_NE(tahoma, nullptr);
  SetImageFont(tahoma);
  const int width = TextWidth("Hi");
  DrawText("Hi", 100, 100);
  const int ink = Count(100, 100, width, tahoma->Height(), 0xFFFFFFu);
  EXPECT_GT(ink, 20);
  EXPECT_EQ(Count(90, 90, width + 20, tahoma->Height() + 20, 0xFFFFFFu), ink);
  // The handle moves the text: the same ink appears 10 pixels up and left of (300, 100).
  SetHandle(-10, -10);
  DrawText("Hi", 290, 90);
  EXPECT_EQ(Count(300, 100, width, tahoma->Height(), 0xFFFFFFu), ink);
  SetHandle(0, 0);
  DrawText(" ", 500, 100);
  EXPECT_EQ(Count(490, 90, 40, 40, 0xFFFFFFu), 0) << "a space draws nothing";
}

TEST_F(TextDrawTest, SmoothTextBlendsItsEdges) {
  auto tahoma = LoadImageFont(kTahoma, 28, SmoothFont);
  ASSERT_NE(tahoma, nullptr);
  SetImageFont(tahoma);
  SetBlend(AlphaBlend);
  DrawText("O", 100, 100);
  auto shot = GrabPixmap(100, 100, TextWidth("O"), tahoma->Height());
  int partial = 0;
  for (int y = 0; y < shot->height; ++y) {
    for (int x = 0; x < shot->width; ++x) {
      const uint32_t red = ARGBRed(shot->ReadPixel(x, y));
      partial += red > 0 && red < 255;
    }
  }
  EXPECT_GT(partial, 10);
}

}  // namespace
