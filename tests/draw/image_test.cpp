// Images without a window: creation, flags, handles, masking, animation cells and locking.
#include <gtest/gtest.h>

#include "draw/draw.h"
#include "tests/draw/fixtures.h"

namespace {

using ImageTest = DrawingTest;

TEST_F(ImageTest, CreateImageAddsDynamicToTheFlags) {
  struct Case {
    int flags;
    int expected;
  };
  for (const Case c : {Case{-1, 11}, Case{0, 8}, Case{2, 10}, Case{8, 8}}) {
    auto image = CreateImage(800, 600, 1, c.flags);
    EXPECT_EQ(image->flags, c.expected) << c.flags;
    EXPECT_EQ(ImageWidth(image), 800);
    EXPECT_EQ(ImageHeight(image), 600);
    EXPECT_EQ(image->pixmaps.size(), 1u);
    EXPECT_EQ(image->pixmaps[0], nullptr);
    EXPECT_EQ(image->seqs[0], 0);
  }
  AutoImageFlags(4);
  EXPECT_EQ(CreateImage(4, 4, 1, -1)->flags, 12);
  AutoImageFlags(-1);
  EXPECT_EQ(CreateImage(4, 4, 1, -1)->flags, 12) << "-1 leaves the setting alone";
}

TEST_F(ImageTest, MidHandleIsHalfTheSize) {
  auto image = TImage::Create(101, 51, 1, 0, 0, 0, 0);
  MidHandleImage(image);
  EXPECT_FLOAT_EQ(image->handle_x, 50.5f);
  EXPECT_FLOAT_EQ(image->handle_y, 25.5f);
  SetImageHandle(image, 3, 4);
  EXPECT_FLOAT_EQ(image->handle_x, 3);
  EXPECT_FLOAT_EQ(image->handle_y, 4);
  AutoMidHandle(true);
  auto centred = CreateImage(10, 20, 1, 0);
  EXPECT_FLOAT_EQ(centred->handle_x, 5);
  EXPECT_FLOAT_EQ(centred->handle_y, 10);
}

TEST_F(ImageTest, MaskedImagesMaskOnlyPixmapsWithoutAlpha) {
  // 2 x 1 RGB: black then red.
  auto rgb = TPixmap::Create(2, 1, PF_RGB888, 4);
  rgb->WritePixel(0, 0, 0xFF000000u);
  rgb->WritePixel(1, 0, 0xFFFF0000u);
  auto masked = TImage::Load(rgb, MaskedImage, 0, 0, 0);
  auto m = masked->pixmaps[0];
  EXPECT_EQ(m->format, PF_RGBA8888);
  EXPECT_EQ(ARGBAlpha(m->ReadPixel(0, 0)), 0u);
  EXPECT_EQ(m->ReadPixel(1, 0), 0xFFFF0000u);

  auto plain = TImage::Load(rgb, 0, 0, 0, 0);
  EXPECT_EQ(plain->pixmaps[0], rgb) << "flags 0 keep the pixmap as it is";

  // An alpha channel is kept even with MaskedImage, and black stays black.
  auto rgba = SolidPixmap(2, 1, 0xFF000000u);
  rgba->WritePixel(1, 0, 0x40FF0000u);
  auto kept = TImage::Load(rgba, MaskedImage, 0, 0, 0);
  EXPECT_EQ(kept->pixmaps[0], rgba);

  // The mask colour is the image's own, fixed at creation.
  SetMaskColor(255, 0, 0);
  int r, g, b;
  GetMaskColor(r, g, b);
  EXPECT_EQ(std::make_tuple(r, g, b), std::make_tuple(255, 0, 0));
  auto red_masked = CreateImage(2, 1, 1, MaskedImage);
  SetMaskColor(0, 0, 0);
  red_masked->SetPixmap(0, rgb);
  EXPECT_EQ(red_masked->pixmaps[0]->ReadPixel(0, 0), 0xFF000000u);
  EXPECT_EQ(ARGBAlpha(red_masked->pixmaps[0]->ReadPixel(1, 0)), 0u);
}

TEST_F(ImageTest, LoadFailuresGiveNone) {
  EXPECT_EQ(TImage::Load(std::shared_ptr<TPixmap>(), 0, 0, 0, 0), nullptr);
  EXPECT_EQ(LoadImage("/nonexistent/picture.png", -1), nullptr);
}

TEST_F(ImageTest, LoadAnimCutsCellsRowByRow) {
  // 3 x 2 cells of 2 x 2 pixels; cell i is filled with the value i + 1 in red.
  auto sheet = TPixmap::Create(6, 4, PF_RGBA8888, 4);
  for (int i = 0; i < 6; ++i) {
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 2; ++x) {
        sheet->WritePixel(2 * (i % 3) + x, 2 * (i / 3) + y, MakeARGB(255, i + 1, 0, 0));
      }
    }
  }
  auto anim = TImage::LoadAnim(sheet, 2, 2, 2, 4, 0, 0, 0, 0);
  ASSERT_NE(anim, nullptr);
  ASSERT_EQ(anim->pixmaps.size(), 4u);
  EXPECT_EQ(anim->width, 2);
  for (int f = 0; f < 4; ++f) {
    EXPECT_EQ(ARGBRed(anim->pixmaps[f]->ReadPixel(1, 1)), static_cast<uint32_t>(f + 3)) << f;
  }
  EXPECT_EQ(TImage::LoadAnim(sheet, 2, 2, 3, 4, 0, 0, 0, 0), nullptr) << "7 cells needed";
  EXPECT_EQ(TImage::LoadAnim(sheet, 0, 2, 0, 1, 0, 0, 0, 0), nullptr);
  EXPECT_EQ(TImage::LoadAnim(sheet, 7, 2, 0, 1, 0, 0, 0, 0), nullptr) << "no cell fits";
}

TEST_F(ImageTest, LockMakesAPixmapAndWritingMakesTheFrameStale) {
  auto image = CreateImage(3, 2, 1, 0);
  auto p = LockImage(image, 0, true, true);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->format, PF_RGBA8888);
  EXPECT_EQ(p->width, 3);
  EXPECT_EQ(LockImage(image), p) << "the same pixmap every time";
  image->seqs[0] = 7;
  image->Lock(0, true, false);
  EXPECT_EQ(image->seqs[0], 7) << "reading keeps the texture";
  image->Lock(0, true, true);
  EXPECT_EQ(image->seqs[0], 0);
  image->seqs[0] = 7;
  image->SetPixmap(0, SolidPixmap(3, 2, 0));
  EXPECT_EQ(image->seqs[0], 0);
}

TEST_F(ImageTest, FrameWithoutContextIsNone) {
  auto image = TImage::Load(SolidPixmap(4, 4, 0xFFFFFFFFu), 0, 0, 0, 0);
  EXPECT_EQ(image->Frame(0), nullptr);
  DrawImage(image, 0, 0);  // no context: nothing happens
  DrawImage(nullptr, 0, 0);
}

}  // namespace
