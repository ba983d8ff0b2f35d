// Fitting text to a width without any window: lines broken at spaces, long words elided in the
// middle, in Tahoma as the game letters its messages and in the built-in font.
#include <gtest/gtest.h>

#include "draw/draw.h"
#include "tests/draw/fixtures.h"

namespace {

const char* const kTahoma = "/usr/share/wine/fonts/tahoma.ttf";
const std::string kEllipsis = "\u2026";

using TextFitTest = DrawingTest;

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += (all.empty() ? "" : " ") + line;
  return all;
}

TEST_F(TextFitTest, TextThatFitsStaysOneLineExactly) {
  auto font = TImageFont::Load(kTahoma, 22, SmoothFont);
  ASSERT_NE(font, nullptr);
  for (const std::string text : {"", "jigsaw saved", "two  spaces kept ", "x"}) {
    EXPECT_EQ(FitText(text, *font, font->Width(text)), std::vector<std::string>{text}) << text;
  }
}

TEST_F(TextFitTest, WideTextBreaksAtSpacesIntoTheFewestEvenLines) {
  auto font = TImageFont::Load(kTahoma, 14, SmoothFont);
  const std::string text =
      "players/default/0000vorna.txt is damaged or was saved for a different jigsaw of that "
      "name; it is not used - press any key";
  for (int width : {776, 400, 200}) {
    SCOPED_TRACE(width);
    auto lines = FitText(text, *font, width);
    EXPECT_GT(lines.size(), 1u);
    for (const std::string& line : lines) {
      EXPECT_LE(font->Width(line), width) << line;
      EXPECT_FALSE(line.empty() || line.front() == ' ' || line.back() == ' ') << line;
    }
    EXPECT_EQ(Joined(lines), text) << "no word lost or cut while every word fits a line";
    // No two neighbouring lines would fit as one, so no fewer lines could hold the text.
    for (size_t i = 1; i < lines.size(); ++i)
      EXPECT_GT(font->Width(lines[i - 1] + " " + lines[i]), width) << i;
  }
  // In the 800-pixel window's notice the last line is not one word left alone.
  auto lines = FitText(text, *font, 776);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_GT(font->Width(lines[1]), 776 / 3) << lines[1];
}

TEST_F(TextFitTest, AWordWiderThanALineKeepsItsEndsAroundAnEllipsis) {
  auto tahoma = TImageFont::Load(kTahoma, 22, SmoothFont);
  auto builtin = TImageFont::CreateDefault();
  const std::string path = "/home/" + std::string(60, 'a') + "/.local/share/tesselka/players/b/";
  const struct {
    TImageFont* font;
    std::string ellipsis;  // the built-in font has no glyph for U+2026
  } kFonts[] = {{tahoma.get(), kEllipsis}, {builtin.get(), "..."}};
  for (const auto& f : kFonts) {
    SCOPED_TRACE(f.ellipsis);
    auto lines = FitText("kept in " + path, *f.font, 400);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "kept in");
    const std::string& shown = lines[1];
    EXPECT_LE(f.font->Width(shown), 400);
    const size_t cut = shown.find(f.ellipsis);
    ASSERT_NE(cut, std::string::npos) << shown;
    const std::string head = shown.substr(0, cut), tail = shown.substr(cut + f.ellipsis.size());
    EXPECT_TRUE(path.starts_with(head) && path.ends_with(tail)) << shown;
    EXPECT_GT(head.size() + tail.size(), 20u) << "the room is used, not just the ellipsis";
    EXPECT_LE(std::max(head.size(), tail.size()) - std::min(head.size(), tail.size()), 1u);
    // One more character of the path would not have fitted.
    EXPECT_GT(f.font->Width(path.substr(0, head.size() + 1) + f.ellipsis + tail), 400);
  }
}

TEST_F(TextFitTest, ElisionNeverSplitsACharacterAndANarrowWidthLeavesTheEllipsis) {
  auto font = TImageFont::Load(kTahoma, 14, SmoothFont);
  std::string word;
  for (int i = 0; i < 80; ++i) word += "\u00e9";  // two bytes each
  auto lines = FitText(word, *font, 100);
  ASSERT_EQ(lines.size(), 1u);
  const size_t cut = lines[0].find(kEllipsis);
  ASSERT_NE(cut, std::string::npos);
  EXPECT_EQ(cut % 2, 0u);
  EXPECT_EQ((lines[0].size() - cut - kEllipsis.size()) % 2, 0u);
  EXPECT_EQ(FitText(word, *font, 1), std::vector<std::string>{kEllipsis});
  EXPECT_EQ(FitText("   ", *font, 1), std::vector<std::string>{""});
}

}  // namespace
