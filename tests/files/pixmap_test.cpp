// Tests of pixmaps: layout, pixel access in every format, conversion, clearing, windows,
// copies and pastes, resize, flips and masking. Depends on draw/pixmap.h.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "draw/pixmap.h"

namespace {

std::vector<uint8_t> BytesAt(const std::shared_ptr<TPixmap>& p, int x, int y) {
  const uint8_t* q = p->PixelPtr(x, y);
  return std::vector<uint8_t>(q, q + BytesPerPixel(p->format));
}

TEST(Pixmap, CreateRoundsPitchAndAlignsMemory) {
  struct {
    int32_t width, height, format, align, pitch, capacity;
  } cases[] = {
      {3, 2, PF_RGB888, 4, 12, 24}, {3, 2, PF_I8, 4, 4, 8},   {5, 1, PF_RGBA8888, 4, 20, 20},
      {3, 1, PF_RGB888, 16, 16, 16}, {4, 3, PF_A8, 1, 4, 12}, {0, 5, PF_RGB888, 4, 0, 0},
  };
  for (const auto& c : cases) {
    auto p = TPixmap::Create(c.width, c.height, c.format, c.align);
    EXPECT_EQ(p->pitch, c.pitch) << c.width << "x" << c.height << " format " << c.format;
    EXPECT_EQ(p->capacity, c.capacity);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p->pixels) % 16, 0u);
    EXPECT_EQ(p->_source, nullptr);
  }
  auto p = CreatePixmap(3, 2, PF_RGB888);
  EXPECT_EQ(PixmapPixelPtr(p, 2, 1), p->pixels + 12 + 6);
}

TEST(Pixmap, WriteThenReadInEveryFormat) {
  const uint32_t argb = 0x80102030;  // alpha 128, red 16, green 32, blue 48
  struct {
    int32_t format;
    std::vector<uint8_t> bytes;
    uint32_t read;
  } cases[] = {
      {PF_I8, {32}, 0xFF202020},  // (16 + 32 + 48) / 3
      {PF_A8, {0x80}, 0x80FFFFFF},
      {PF_BGR888, {0x30, 0x20, 0x10}, 0xFF102030},
      {PF_RGB888, {0x10, 0x20, 0x30}, 0xFF102030},
      {PF_BGRA8888, {0x30, 0x20, 0x10, 0x80}, 0x80102030},
      {PF_RGBA8888, {0x10, 0x20, 0x30, 0x80}, 0x80102030},
  };
  for (const auto& c : cases) {
    auto p = CreatePixmap(2, 2, c.format);
    WritePixel(p, 1, 1, argb);
    EXPECT_EQ(BytesAt(p, 1, 1), c.bytes) << "format " << c.format;
    EXPECT_EQ(ReadPixel(p, 1, 1), c.read) << "format " << c.format;
    // New pixmaps start cleared.
    const uint32_t cleared = c.format == PF_A8 ? 0x00FFFFFF : FormatHasAlpha(c.format) ? 0 : 0xFF000000;
    EXPECT_EQ(ReadPixel(p, 0, 1), cleared);
  }
}

TEST(Pixmap, UnknownFormatReadsZeroAndIgnoresWrites) {
  uint8_t memory[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  auto p = CreateStaticPixmap(memory, 2, 1, 8, 0);
  EXPECT_EQ(p->capacity, -1);
  EXPECT_EQ(p->ReadPixel(0, 0), 0u);
  p->WritePixel(0, 0, 0xFFFFFFFF);
  p->ClearPixels(0x12345678);
  EXPECT_EQ(memory[0], 1);
  EXPECT_EQ(memory[7], 8);
}

TEST(Pixmap, ConvertPixelsThroughRGBA) {
  // One pixel in each format, all meaning red 200, green 100, blue 50 (alpha where held).
  const uint8_t i8[] = {116}, a8[] = {77}, bgr[] = {50, 100, 200}, rgb[] = {200, 100, 50};
  const uint8_t bgra[] = {50, 100, 200, 77}, rgba[] = {200, 100, 50, 77};
  struct {
    int32_t format;
    const uint8_t* pixel;
    std::vector<uint8_t> as_rgba;
  } cases[] = {
      {PF_I8, i8, {116, 116, 116, 255}},    {PF_A8, a8, {255, 255, 255, 77}},
      {PF_BGR888, bgr, {200, 100, 50, 255}}, {PF_RGB888, rgb, {200, 100, 50, 255}},
      {PF_BGRA8888, bgra, {200, 100, 50, 77}}, {PF_RGBA8888, rgba, {200, 100, 50, 77}},
  };
  for (const auto& c : cases) {
    uint8_t out[4];
    ConvertPixels(c.pixel, c.format, out, PF_RGBA8888, 1);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), c.as_rgba) << "from format " << c.format;
    uint8_t back[4] = {};
    ConvertPixels(rgba, PF_RGBA8888, back, c.format, 1);
    const std::vector<uint8_t> expected(c.pixel, c.pixel + BytesPerPixel(c.format));
    EXPECT_EQ(std::vector<uint8_t>(back, back + BytesPerPixel(c.format)), expected)
        << "to format " << c.format;
  }
  // Two steps: blue-green-red to intensity, and alpha-only to colour.
  uint8_t grey[2];
  const uint8_t two_bgr[] = {50, 100, 200, 0, 0, 255};
  ConvertPixels(two_bgr, PF_BGR888, grey, PF_I8, 2);
  EXPECT_EQ(grey[0], 116);
  EXPECT_EQ(grey[1], 85);
  uint8_t colour[3];
  ConvertPixels(a8, PF_A8, colour, PF_BGR888, 1);
  EXPECT_EQ(std::vector<uint8_t>(colour, colour + 3), std::vector<uint8_t>({255, 255, 255}));
}

TEST(Pixmap, ClearPixelsLeavesRowGapsAlone) {
  auto p = CreatePixmap(3, 2, PF_RGB888);  // 9 bytes of pixels, pitch 12
  std::memset(p->pixels, 0xAA, p->capacity);
  p->ClearPixels(0);
  for (int y = 0; y < 2; ++y) {
    for (int i = 0; i < 12; ++i) EXPECT_EQ(p->pixels[y * 12 + i], i < 9 ? 0 : 0xAA) << y << "," << i;
  }
  p->ClearPixels(0xFF010203);
  EXPECT_EQ(BytesAt(p, 2, 1), std::vector<uint8_t>({1, 2, 3}));
  EXPECT_EQ(p->pixels[9], 0xAA);

  auto tight = CreatePixmap(2, 2, PF_RGBA8888);
  tight->ClearPixels(0x7F010203);
  tight->ClearPixels(0);
  for (int i = 0; i < tight->capacity; ++i) EXPECT_EQ(tight->pixels[i], 0);
}

TEST(Pixmap, WindowSharesPixelsAndOutlivesItsSource) {
  auto source = CreatePixmap(4, 4, PF_RGBA8888);
  source->ClearPixels(0xFF000000);
  auto window = PixmapWindow(source, 1, 2, 2, 2);
  EXPECT_EQ(window->pitch, source->pitch);
  EXPECT_EQ(window->capacity, -1);
  window->ClearPixels(0xFF00FF00);
  EXPECT_EQ(source->ReadPixel(2, 3), 0xFF00FF00u);
  EXPECT_EQ(source->ReadPixel(0, 2), 0xFF000000u);
  EXPECT_EQ(source->ReadPixel(3, 2), 0xFF000000u);

  auto inner = window->Window(1, 1, 1, 1);
  source.reset();
  window.reset();
  EXPECT_EQ(inner->ReadPixel(0, 0), 0xFF00FF00u);
  inner->WritePixel(0, 0, 0x11223344);
  EXPECT_EQ(inner->ReadPixel(0, 0), 0x11223344u);
}

TEST(Pixmap, CopyConvertAndPaste) {
  auto p = CreatePixmap(2, 1, PF_BGRA8888);
  p->WritePixel(0, 0, 0x80C86432);
  p->WritePixel(1, 0, 0xFF000000);
  auto copy = CopyPixmap(p);
  EXPECT_NE(copy->pixels, p->pixels);
  EXPECT_EQ(copy->ReadPixel(0, 0), 0x80C86432u);
  p->WritePixel(0, 0, 0);
  EXPECT_EQ(copy->ReadPixel(0, 0), 0x80C86432u);

  auto rgb = ConvertPixmap(copy, PF_RGB888);
  EXPECT_EQ(PixmapFormat(rgb), PF_RGB888);
  EXPECT_EQ(rgb->ReadPixel(0, 0), 0xFFC86432u);

  auto target = CreatePixmap(4, 3, PF_I8);
  target->Paste(copy, 1, 2);
  EXPECT_EQ(target->ReadPixel(1, 2), 0xFF747474u);  // (200 + 100 + 50) / 3
  EXPECT_EQ(target->ReadPixel(2, 2), 0xFF000000u);
  EXPECT_EQ(target->ReadPixel(0, 2), 0xFF000000u);
  EXPECT_EQ(target->ReadPixel(1, 1), 0xFF000000u);
}

TEST(Pixmap, ResizeMapsPixelCentresAndClampsEdges) {
  auto line = CreatePixmap(2, 1, PF_RGBA8888);
  line->WritePixel(0, 0, 0xFF000000);
  line->WritePixel(1, 0, 0xFFFFFFFF);
  // fx = -0.25, 0.25, 0.75, 1.25: clamped, a quarter, three quarters, clamped.
  auto wide = ResizePixmap(line, 4, 1);
  const uint32_t expected[] = {0xFF000000, 0xFF3F3F3F, 0xFFBFBFBF, 0xFFFFFFFF};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(wide->ReadPixel(x, 0), expected[x]) << x;

  // Downscaling 4 to 2 samples between source pixels 0 and 1, and 2 and 3.
  auto narrow = ResizePixmap(wide, 2, 1);
  EXPECT_EQ(narrow->ReadPixel(0, 0), 0xFF1F1F1Fu);
  EXPECT_EQ(narrow->ReadPixel(1, 0), 0xFFDFDFDFu);

  // Vertical, in a three-byte format that is kept.
  auto column = CreatePixmap(1, 2, PF_BGR888);
  column->WritePixel(0, 0, 0xFF0000FF);
  column->WritePixel(0, 1, 0xFFFF0000);
  auto tall = ResizePixmap(column, 1, 4);
  EXPECT_EQ(tall->format, PF_BGR888);
  EXPECT_EQ(tall->ReadPixel(0, 1), 0xFF3F00BFu);
  EXPECT_EQ(tall->ReadPixel(0, 3), 0xFFFF0000u);

  // Both axes at once, from a single pixel: every result pixel is that pixel.
  auto dot = CreatePixmap(1, 1, PF_A8);
  dot->WritePixel(0, 0, 0x40000000);
  auto block = ResizePixmap(dot, 3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(block->ReadPixel(x, y), 0x40FFFFFFu);
  }
}

TEST(Pixmap, ResizeToTheSameSizeCopies) {
  auto p = CreatePixmap(5, 3, PF_RGB888);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) p->WritePixel(x, y, MakeARGB(255, x * 50, y * 80, x * y * 7));
  }
  auto same = ResizePixmap(p, 5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(same->ReadPixel(x, y), p->ReadPixel(x, y)) << x << "," << y;
  }
}

TEST(Pixmap, FlipsReverseColumnsOrRows) {
  auto p = CreatePixmap(3, 2, PF_RGB888);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) p->WritePixel(x, y, MakeARGB(255, x, y, 9));
  }
  auto x_flipped = XFlipPixmap(p);
  auto y_flipped = YFlipPixmap(p);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(x_flipped->ReadPixel(x, y), p->ReadPixel(2 - x, y));
      EXPECT_EQ(y_flipped->ReadPixel(x, y), p->ReadPixel(x, 1 - y));
    }
  }
  EXPECT_EQ(x_flipped->format, PF_RGB888);
}

TEST(Pixmap, MaskGivesTransparentPixelsTheirNeighboursColour) {
  // Black surround (with stray alpha, which is ignored) around a red and a green pixel:
  //   K K K K K
  //   K R G K K
  //   K K K K K
  auto p = CreatePixmap(5, 3, PF_RGBA8888);
  p->ClearPixels(0x63000000);
  p->WritePixel(1, 1, 0x07C80000);  // red 200, alpha 7
  p->WritePixel(2, 1, 0xFF006432);  // green 100, blue 50
  auto m = MaskPixmap(p, 0, 0, 0);
  EXPECT_EQ(m->format, PF_RGBA8888);
  struct {
    int x, y;
    uint32_t argb;
  } cases[] = {
      {1, 1, 0xFFC80000}, {2, 1, 0xFF006432},  // kept, made opaque
      {0, 0, 0x00C80000}, {0, 1, 0x00C80000},  // only red touches
      {1, 0, 0x00643219}, {2, 2, 0x00643219},  // red and green: (100, 50, 25)
      {3, 0, 0x00006432},                      // only green
      {4, 1, 0x00000000},                      // no coloured neighbour
  };
  for (const auto& c : cases) EXPECT_EQ(m->ReadPixel(c.x, c.y), c.argb) << c.x << "," << c.y;

  // A source in another format is converted first; a mask colour that is absent changes nothing.
  auto rgb = ConvertPixmap(p, PF_RGB888);
  auto none = MaskPixmap(rgb, 1, 2, 3);
  EXPECT_EQ(none->ReadPixel(4, 1), 0xFF000000u);
  EXPECT_EQ(none->ReadPixel(1, 1), 0xFFC80000u);
}

// The masking rule written out pixel by pixel, as the fast version must reproduce it exactly.
std::shared_ptr<TPixmap> ReferenceMask(const std::shared_ptr<TPixmap>& p, int r, int g, int b) {
  auto result = CreatePixmap(p->width, p->height, PF_RGBA8888);
  const auto is_mask = [&](int x, int y) {
    const uint32_t c = p->ReadPixel(x, y);
    return static_cast<int>(ARGBRed(c)) == r && static_cast<int>(ARGBGreen(c)) == g &&
           static_cast<int>(ARGBBlue(c)) == b;
  };
  for (int y = 0; y < p->height; ++y) {
    for (int x = 0; x < p->width; ++x) {
      const uint32_t c = p->ReadPixel(x, y);
      if (!is_mask(x, y)) {
        result->WritePixel(x, y, c | 0xFF000000u);
        continue;
      }
      int sum[3] = {0, 0, 0}, count = 0;
      for (int ny = y - 1; ny <= y + 1; ++ny) {
        for (int nx = x - 1; nx <= x + 1; ++nx) {
          if (nx < 0 || ny < 0 || nx >= p->width || ny >= p->height || is_mask(nx, ny)) continue;
          const uint32_t n = p->ReadPixel(nx, ny);
          sum[0] += ARGBRed(n), sum[1] += ARGBGreen(n), sum[2] += ARGBBlue(n), ++count;
        }
      }
      result->WritePixel(x, y, count ? MakeARGB(0, sum[0] / count, sum[1] / count, sum[2] / count) : 0);
    }
  }
  return result;
}

TEST(Pixmap, MaskMatchesThePixelByPixelRuleInEveryFormat) {
  // Random pictures of two or three colours (so that mask pixels come in runs, lone pixels and
  // every neighbour count), in every size from a single pixel up, in all six formats; windows
  // give rows with gaps between them. Mask colours outside the byte range match nothing.
  std::mt19937 random(7);
  const auto next = [&] { return static_cast<uint32_t>(random()); };
  const int formats[] = {PF_I8, PF_A8, PF_BGR888, PF_RGB888, PF_BGRA8888, PF_RGBA8888};
  for (int trial = 0; trial < 400; ++trial) {
    const int format = formats[trial % 6];
    const int width = 1 + static_cast<int>(next() % 23), height = 1 + static_cast<int>(next() % 9);
    const uint32_t palette[3] = {next(), next(), next()};  // palette[0] is the mask colour
    auto whole = CreatePixmap(width + 2, height + 1, PF_RGBA8888);
    for (int y = 0; y < whole->height; ++y) {
      for (int x = 0; x < whole->width; ++x) whole->WritePixel(x, y, palette[next() % (2 + trial % 2)]);
    }
    whole->WritePixel(0, 0, palette[0]);
    const auto converted = whole->Convert(format);
    const auto source = converted->Window(1, 1, width, height);
    const uint32_t mask = converted->ReadPixel(0, 0);  // as the format holds it
    int r = static_cast<int>(ARGBRed(mask)), g = static_cast<int>(ARGBGreen(mask)),
        b = static_cast<int>(ARGBBlue(mask));
    if (trial % 50 == 49) r = 256 + trial % 3 * 100, g = -1;  // out of range: nothing is masked
    const auto expected = ReferenceMask(source, r, g, b);
    const auto got = MaskPixmap(source, r, g, b);
    ASSERT_EQ(got->format, PF_RGBA8888);
    for (int y = 0; y < height; ++y) {
      ASSERT_EQ(std::memcmp(got->PixelPtr(0, y), expected->PixelPtr(0, y), width * 4), 0)
          << "trial " << trial << ", format " << format << ", " << width << "x" << height
          << ", row " << y;
    }
  }
}

}  // namespace
