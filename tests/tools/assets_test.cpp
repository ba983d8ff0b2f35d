// Tests of the generated runtime tree: every asset the game names is there, with the size its
// place on screen needs and its clickable areas where the game looks for them.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>

#include "files/files.h"
#include "tests/support/support.h"
#include "tests/tools/jigsaw_fixture.h"

namespace {

std::shared_ptr<TPixmap> Picture(const std::string& name) {
  auto p = LoadPixmap(RuntimeFolder() + "/images/" + name);
  return p ? ConvertPixmap(p, PF_RGB888) : nullptr;
}

struct box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  bool operator==(const box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const box& b) {
  return out << "(" << b.left << ", " << b.top << ")-(" << b.right << ", " << b.bottom << ")";
}

// The bounding box (inclusive) of the pixels at y >= from_y that the test accepts.
template <typename Test>
box Bounds(const std::shared_ptr<TPixmap>& p, Test test, int from_y = 0) {
  box b;
  for (int y = from_y; y < p->height; ++y)
    for (int x = 0; x < p->width; ++x) {
      uint32_t c = p->ReadPixel(x, y);
      if (!test(int(ARGBRed(c)), int(ARGBGreen(c)), int(ARGBBlue(c)))) continue;
      b.left = std::min(b.left, x), b.right = std::max(b.right, x);
      b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
    }
  return b;
}

bool Green(int r, int g, int b) { return g > r + 20 && g > b + 20; }
bool Red(int r, int g, int b) { return r > g + 40 && r > b + 40; }
bool Black(uint32_t argb) { return (argb & 0xffffff) == 0; }

}  // namespace

TEST(RuntimeTree, HoldsEveryFileTheGameNames) {
  std::vector<std::string> named = {
      "images/pointer.bmp", "images/white.bmp", "images/swatch.bmp", "images/exit.png",
      "images/box.png", "images/boxf.png", "images/reload.png", "images/jigsaw.png",
      "images/quick_pick.png", "images/fetch.png", "images/do_new.png", "images/cross.png",
      "images/prefer.png", "images/yes.png", "images/no.png", "images/yes_grey.png",
      "images/no_grey.png", "fonts/Tahoma.ttf", "fonts/courbi.ttf", "sounds/click.wav",
      "sounds/magic.wav", "sounds/music.ogg"};
  for (int i = 0; i <= 4; ++i) named.push_back("images/help" + std::to_string(i) + ".png");
  for (int i = 1; i <= 4; ++i) named.push_back("images/arrow" + std::to_string(i) + ".png");
  for (int i = 1; i <= 7; ++i) named.push_back("images/flash/1/" + std::to_string(i) + ".png");
  for (const std::string& f : named) {
    EXPECT_EQ(FileType(RuntimeFolder() + "/" + f), FILETYPE_FILE) << f;
    if (f.rfind("images/", 0) == 0) {
      EXPECT_TRUE(Picture(f.substr(7))) << f << " does not decode";
    }
  }
  EXPECT_EQ(ReadWholeFile(RuntimeFolder() + "/fonts/Tahoma.ttf"),
            ReadWholeFile("/usr/share/wine/fonts/tahoma.ttf"));
  EXPECT_EQ(ReadWholeFile(RuntimeFolder() + "/fonts/courbi.ttf"),
            ReadWholeFile("/usr/share/fonts/truetype/liberation2/LiberationMono-BoldItalic.ttf"));
}

TEST(Pictures, HaveTheSizesOfTheirPlaces) {
  struct {
    const char* name;
    int w, h;  // exact size, or 0 for a bound checked below
  } exact[] = {{"white.bmp", 1, 1}, {"box.png", 724, 70}, {"boxf.png", 948, 70},
               {"cross.png", 95, 71}, {"arrow1.png", 84, 40}, {"arrow2.png", 84, 40},
               {"arrow3.png", 84, 40}, {"arrow4.png", 84, 40}, {"pictures.png", 130, 40},
               {"cut.png", 120, 40}};
  for (const auto& e : exact) {
    auto p = Picture(e.name);
    ASSERT_TRUE(p) << e.name;
    EXPECT_EQ(p->width, e.w) << e.name;
    EXPECT_EQ(p->height, e.h) << e.name;
  }
  auto swatch = Picture("swatch.bmp");
  EXPECT_LE(10 + swatch->width, 800);
  EXPECT_LE(463 + swatch->height, 600);
  auto back = Picture("jigsaw.png");  // drawn at (7, 41): left of x 70, above y 77
  EXPECT_LE(7 + back->width, 70);
  EXPECT_LE(41 + back->height, 77);
  for (const char* name : {"yes.png", "no.png", "yes_grey.png", "no_grey.png"}) {
    auto p = Picture(name);
    EXPECT_LE(p->width, 62) << name;  // the No button starts 62 pixels after Yes
    EXPECT_GE(p->height, 30) << name;
    EXPECT_LE(p->height, 50) << name;
  }
  for (const char* name : {"prefer.png", "help0.png", "exit.png", "do_new.png"}) {
    auto p = Picture(name);  // drawn centred on the 800 x 600 display
    EXPECT_LE(p->width, 800) << name;
    EXPECT_LE(p->height, 600) << name;
  }
}

TEST(Pictures, ConfirmationYesButtonsCoverExactlyTheYesAreas) {
  struct {
    const char* name;
    box yes;
  } cases[] = {{"do_new.png", {154, 68, 239, 99}}, {"quick_pick.png", {154, 68, 239, 99}},
               {"reload.png", {154, 68, 239, 99}}, {"fetch.png", {154, 68, 239, 99}},
               {"exit.png", {149, 29, 226, 79}}};
  for (const auto& c : cases) {
    auto p = Picture(c.name);
    ASSERT_TRUE(p) << c.name;
    EXPECT_EQ(Bounds(p, Green), c.yes) << c.name;
  }
}

TEST(Pictures, PreferencePageHasOkCancelAndRoomForTheRows) {
  auto page = Picture("prefer.png");
  ASSERT_TRUE(page);
  EXPECT_EQ(Bounds(page, Green, 420), (box{202, 443, 256, 476}));
  EXPECT_EQ(Bounds(page, Red, 420), (box{273, 443, 348, 476}));
  auto yes = Picture("yes.png"), no = Picture("no.png");
  // The program's buttons of the last row end above OK and Cancel, and inside the page.
  EXPECT_LT(44 + 56 * 6 + no->height, 443);
  EXPECT_LE(462 + yes->width, page->width);
  // Lit and greyed buttons look different.
  EXPECT_EQ(Bounds(yes, Green), (box{0, 0, yes->width - 1, yes->height - 1}));
  EXPECT_EQ(Bounds(no, Red), (box{0, 0, no->width - 1, no->height - 1}));
  EXPECT_EQ(Bounds(Picture("yes_grey.png"), Green).right, -1);
  EXPECT_EQ(Bounds(Picture("no_grey.png"), Red).right, -1);
}

TEST(Pictures, HelpRowsLieWhereTheGameLooksForThem) {
  struct {
    const char* letters;
    int first_column, offset;
  } pages[] = {{"ABCDEFGHIJKLMNO=PQRSTUVWZ12345-", 16, 12}, {"BDFHIKLMNPQSZ012345-", 10, 14},
               {"DFHKNQS-", 4, 16}, {"DFHKLQS-", 4, 16}, {"ADFHKLNQSU-", 6, 16}};
  const uint32_t key = 0xf0e6c4;  // the face of a letter's key cap
  for (int k = 0; k < 5; ++k) {
    auto p = Picture("help" + std::to_string(k) + ".png");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 644);
    int count = int(std::strlen(pages[k].letters));
    int second_column = count - pages[k].first_column;
    EXPECT_GE(p->height, pages[k].offset + 29 * pages[k].first_column);
    for (int column = 0; column < 2; ++column) {
      int x = column ? 327 : 15;
      int rows = column ? second_column : pages[k].first_column;
      for (int r = 0; r <= rows; ++r) {
        int y = pages[k].offset + 29 * r;
        if (y + 29 > p->height) break;
        // Each row starts with its key cap at its left end; no cap below the last row.
        bool cap = (p->ReadPixel(x + 3, y + 14) & 0xffffff) == key &&
                   (p->ReadPixel(x + 14, y + 25) & 0xffffff) == key;
        EXPECT_EQ(cap, r < rows) << "help" << k << " column " << column << " row " << r;
        // The "-" row names its key, Escape, on a wider cap; a letter's cap ends before x + 30.
        if (r < rows) {
          const int i = column ? pages[k].first_column + r : r;
          EXPECT_EQ((p->ReadPixel(x + 33, y + 4) & 0xffffff) == key, pages[k].letters[i] == '-')
              << "help" << k << " column " << column << " row " << r;
        }
        // The row's band spans its full 302 pixels and stops there.
        if (r < rows) {
          EXPECT_EQ(p->ReadPixel(x + 301, y + 14), p->ReadPixel(x + 290, y + 2))
              << "help" << k << " column " << column << " row " << r;
        }
      }
    }
  }
}

TEST(Pictures, TheTablesHelpNotesTheViewKeysInItsFreeRow) {
  auto p = Picture("help0.png");
  ASSERT_TRUE(p);
  const int x = 327, y = 12 + 29 * 15;  // below Esc, beside the last row of the first column
  EXPECT_EQ(p->ReadPixel(x + 301, y + 14), p->ReadPixel(x + 290, y + 2));  // a row's band
  int light = 0;
  for (int row = y; row < y + 28; ++row)
    for (int col = x; col < x + 302; ++col) light += (p->ReadPixel(col, row) & 0xff) > 180;
  EXPECT_GT(light, 200);  // two lines of text
}

TEST(Pictures, MaskedPicturesAreBlackExactlyWhereTheyAreTransparent) {
  for (const char* name : {"box.png", "boxf.png"}) {
    auto p = Picture(name);
    int strip = p->width - 12;
    int black_inside = 0;
    for (int y = 6; y < 64; ++y)
      for (int x = 6; x < 6 + strip; ++x) black_inside += Black(p->ReadPixel(x, y));
    EXPECT_EQ(black_inside, strip * 58) << name;
    for (int t = 0; t < 6; ++t) {  // the frame itself, on all four sides
      EXPECT_FALSE(Black(p->ReadPixel(t, 35))) << name;
      EXPECT_FALSE(Black(p->ReadPixel(p->width - 1 - t, 35))) << name;
      EXPECT_FALSE(Black(p->ReadPixel(p->width / 2, t))) << name;
      EXPECT_FALSE(Black(p->ReadPixel(p->width / 2, 69 - t))) << name;
    }
  }
  auto pointer = Picture("pointer.bmp");
  EXPECT_FALSE(Black(pointer->ReadPixel(0, 0)));  // the tip is the hot spot
  EXPECT_TRUE(Black(pointer->ReadPixel(pointer->width - 1, 0)));
  auto cross = Picture("cross.png");
  EXPECT_FALSE(Black(cross->ReadPixel(47, 35)));
  EXPECT_TRUE(Black(cross->ReadPixel(47, 2)));
  auto white = Picture("white.bmp");
  EXPECT_EQ(white->ReadPixel(0, 0), 0xffffffffu);
}

TEST(Pictures, BmpFilesAre24BitBottomUpWithA54ByteHeader) {
  std::string bmp = ReadWholeFile(RuntimeFolder() + "/images/white.bmp");
  ASSERT_EQ(bmp.size(), 58u);  // header + one row of 3 bytes padded to 4
  auto u32 = [&](size_t at) {
    return uint32_t(uint8_t(bmp[at])) | uint32_t(uint8_t(bmp[at + 1])) << 8 |
           uint32_t(uint8_t(bmp[at + 2])) << 16 | uint32_t(uint8_t(bmp[at + 3])) << 24;
  };
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(u32(2), 58u);
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(uint8_t(bmp[28]), 24);
  EXPECT_EQ(bmp.substr(54), std::string("\xff\xff\xff\0", 4));
  // A picture whose top and bottom differ shows the row order.
  auto pointer = Picture("pointer.bmp");
  std::string file = ReadWholeFile(RuntimeFolder() + "/images/pointer.bmp");
  size_t row = (size_t(pointer->width) * 3 + 3) & ~size_t(3);
  ASSERT_EQ(file.size(), 54 + row * size_t(pointer->height));
  size_t top_row = 54 + row * size_t(pointer->height - 1);  // the last row in the file
  EXPECT_NE(file.substr(top_row, 3), std::string(3, '\0'));
}

TEST(Pictures, FlashFramesGrowAndFade) {
  std::vector<double> light;
  std::vector<int> reach;
  int w = 0;
  for (int i = 1; i <= 7; ++i) {
    auto p = Picture("flash/1/" + std::to_string(i) + ".png");
    ASSERT_TRUE(p);
    if (i == 1) w = p->width;
    EXPECT_EQ(p->width, w);
    EXPECT_TRUE(Black(p->ReadPixel(0, 0)));
    double sum = 0;
    int far = 0;
    for (int y = 0; y < p->height; ++y)
      for (int x = 0; x < p->width; ++x) {
        uint32_t c = p->ReadPixel(x, y);
        sum += ARGBRed(c) + ARGBGreen(c) + ARGBBlue(c);
        if (ARGBRed(c) > 40) far = std::max(far, int(std::hypot(x - p->width / 2.0, y - p->height / 2.0)));
      }
    light.push_back(sum);
    reach.push_back(far);
  }
  EXPECT_LT(reach[0], reach[3]);
  EXPECT_GT(light[2], light[6]);
}

TEST(Sounds, AreShortPcmEffectsAndATuneOfHalfAMinuteOrMore) {
  for (const char* name : {"click.wav", "magic.wav"}) {
    std::string wav = ReadWholeFile(RuntimeFolder() + "/sounds/" + name);
    ASSERT_GT(wav.size(), 44u) << name;
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(uint8_t(wav[20]), 1) << name;   // PCM
    EXPECT_EQ(uint8_t(wav[34]), 16) << name;  // bits per sample
    double seconds = (wav.size() - 44) / 2.0 / 44100;
    EXPECT_GT(seconds, 0.02) << name;
    EXPECT_LT(seconds, 2.0) << name;
  }
  OggVorbis_File file;
  ASSERT_EQ(ov_fopen((RuntimeFolder() + "/sounds/music.ogg").c_str(), &file), 0);
  double seconds = ov_time_total(&file, -1);
  ov_clear(&file);
  EXPECT_GE(seconds, 30);
  EXPECT_LE(seconds, 60);
}
