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

// A path too wide for a line is broken after its "/"s over as many lines as it needs, up to four,
// and loses nothing; what four lines cannot hold gives up its middle for an ellipsis, and so does
// one folder name too wide for a line of its own.
TEST_F(TextFitTest, APathTooWideForALineBreaksAfterItsSlashesAndElidesOnlyWhatDoesNotFit) {
  auto tahoma = TImageFont::Load(kTahoma, 22, SmoothFont);
  auto builtin = TImageFont::CreateDefault();
  std::string many_folders = "/srv/";
  for (int i = 10; i < 40; ++i) many_folders += "folder_" + std::to_string(i) + "/";
  const struct {
    std::string path;
    size_t lines;     // of the path alone at 400 pixels
    int elided_line;  // the line holding the ellipsis, -1 for none
  } kCases[] = {
      {"/home/bartholomew/a_rather_long_folder/.local/share/tesselka-data/players/Bartholomew/", 3,
       -1},
      {many_folders + "players/b/", 4, 1},
      {"/srv/" + std::string(80, 'a') + "/players/b/", 3, 1},
  };
  const struct {
    TImageFont* font;
    std::string ellipsis;  // the built-in font has no glyph for U+2026
  } kFonts[] = {{tahoma.get(), kEllipsis}, {builtin.get(), "..."}};
  for (const auto& f : kFonts) {
    for (const auto& c : kCases) {
      SCOPED_TRACE(f.ellipsis + " " + c.path);
      const auto lines = FitText(c.path, *f.font, 400);
      std::string shown;
      for (const std::string& line : lines) {
        EXPECT_LE(f.font->Width(line), 400) << line;
        shown += line;
      }
      ASSERT_GE(lines.size(), 2u);
      ASSERT_LE(lines.size(), c.lines);
      for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (static_cast<int>(i) == c.elided_line) continue;
        EXPECT_TRUE(lines[i].ends_with("/")) << lines[i];
      }
      const size_t cut = shown.find(f.ellipsis);
      if (c.elided_line < 0) {
        EXPECT_EQ(shown, c.path) << "nothing lost while the path fits four lines";
        continue;
      }
      ASSERT_NE(lines[c.elided_line].find(f.ellipsis), std::string::npos) << lines[c.elided_line];
      const std::string head = shown.substr(0, cut), tail = shown.substr(cut + f.ellipsis.size());
      EXPECT_TRUE(c.path.starts_with(head) && c.path.ends_with(tail)) << shown;
      EXPECT_TRUE(tail.ends_with("/players/b/")) << "the path's end is kept whole";
      // The elided line uses its room: one more character of the path would not have fitted.
      const std::string& line = lines[c.elided_line];
      const size_t line_cut = line.find(f.ellipsis);
      EXPECT_GT(
          f.font->Width(line.substr(0, line_cut) + c.path[head.size()] + line.substr(line_cut)),
          400);
    }
  }
  // Before a path, words stay on their lines; the path starts after them as far as it fits.
  const std::string text = "Tesselka v6.4 - progress is kept in " + kCases[0].path;
  const auto lines = FitText(text, *tahoma, 600);
  EXPECT_EQ(Joined(lines).substr(0, 36), text.substr(0, 36));
  std::string path_shown;
  for (const std::string& line : lines) path_shown += line;
  EXPECT_TRUE(path_shown.ends_with(kCases[0].path)) << Joined(lines);
  EXPECT_EQ(path_shown.find(kEllipsis), std::string::npos);
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
