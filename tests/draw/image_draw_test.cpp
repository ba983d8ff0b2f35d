// Images on a real window: masking and blending, grabs, handles, locking and textures that
// survive a change of display.
#include "files/files.h"
#include "platform/platform.h"
#include "tests/draw/display_fixture.h"
#include "tests/draw/fixtures.h"
#include "tests/support/support.h"

namespace {

using ImageDrawTest = DisplayTest;

constexpr uint32_t kBlue = 0x0000C8;

// A 4 x 1 picture: black, red, green at alpha 100 (below one half), white at alpha 200.
std::shared_ptr<TPixmap> MixedAlpha() {
  auto p = TPixmap::Create(4, 1, PF_RGBA8888, 4);
  p->WritePixel(0, 0, 0xFF000000u);
  p->WritePixel(1, 0, 0xFFFF0000u);
  p->WritePixel(2, 0, 0x6400FF00u);
  p->WritePixel(3, 0, 0xC8FFFFFFu);
  return p;
}

TEST_F(ImageDrawTest, MaskBlendDrawsOnlyTexelsOfAlphaOneHalfAndAboveOpaque) {
  SetClsColor(0, 0, 200);
  Cls();
  DrawImage(TImage::Load(MixedAlpha(), 0, 0, 0, 0), 10, 10);
  EXPECT_EQ(Pixel(10, 10), 0x000000u);
  EXPECT_EQ(Pixel(11, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(12, 10), kBlue) << "alpha below one half leaves the background";
  EXPECT_EQ(Pixel(13, 10), 0xFFFFFFu) << "written opaque";
  EXPECT_EQ(Pixel(14, 10), kBlue);
}

TEST_F(ImageDrawTest, ColourAndAlphaModulateTexels) {
  SetBlend(SolidBlend);
  SetColor(255, 128, 0);
  DrawImage(OpaqueImage(2, 2), 0, 0);
  EXPECT_EQ(Pixel(0, 0), 0xFF8000u);
}

TEST_F(ImageDrawTest, LoadedFilesMaskByAlphaChannelOrMaskColour) {
  const temp_folder dir;
  const auto with_alpha = dir / "alpha.png";
  const auto without_alpha = dir / "rgb.png";
  ASSERT_NE(SavePNGPixmap(MixedAlpha(), with_alpha, 5), 0);
  ASSERT_NE(SavePNGPixmap(ConvertPixmap(MixedAlpha(), PF_RGB888), without_alpha, 5), 0);
  SetClsColor(0, 0, 200);
  Cls();
  auto alpha_image = LoadImage(with_alpha, -1);
  auto masked_image = LoadImage(without_alpha, -1);
  auto plain_image = LoadImage(without_alpha, 0);
  ASSERT_NE(alpha_image, nullptr);
  ASSERT_NE(masked_image, nullptr);
  ASSERT_NE(plain_image, nullptr);
  // Filtering would blur 1:1 texels only off the pixel centres; these are drawn on them.
  DrawImage(alpha_image, 0, 0);
  DrawImage(masked_image, 0, 2);
  DrawImage(plain_image, 0, 4);
  EXPECT_EQ(Pixel(0, 0), 0x000000u) << "alpha file: black stays black";
  EXPECT_EQ(Pixel(2, 0), kBlue) << "alpha file keeps its alpha";
  EXPECT_EQ(Pixel(0, 2), kBlue) << "no alpha, masked: black is transparent";
  EXPECT_EQ(Pixel(2, 2), 0x00FF00u) << "every other pixel opaque";
  EXPECT_EQ(Pixel(0, 4), 0x000000u) << "flags 0: no masking";
}

TEST_F(ImageDrawTest, GrabIntoMaskedImageMakesBlackTransparent) {
  SetColor(255, 0, 0);
  DrawRect(5, 5, 10, 10);
  auto masked = CreateImage(800, 600, 1, -1);
  auto copy = CreateImage(800, 600, 1, 0);
  GrabImage(masked, 0, 0);
  GrabImage(copy, 0, 0);
  auto m = masked->pixmaps[0];
  EXPECT_EQ(ARGBAlpha(m->ReadPixel(0, 0)), 0u);
  EXPECT_EQ(m->ReadPixel(5, 5), 0xFFFF0000u);
  EXPECT_EQ(copy->pixmaps[0]->ReadPixel(0, 0), 0xFF000000u) << "exact opaque copy";
  EXPECT_EQ(copy->pixmaps[0]->ReadPixel(14, 14), 0xFFFF0000u);
  // Drawn back over a white screen, the masked grab shows only its red square.
  SetColor(255, 255, 255);
  DrawRect(0, 0, 800, 600);
  DrawImage(masked, 100, 100);
  EXPECT_EQ(Pixel(100, 100), 0xFFFFFFu);
  EXPECT_EQ(Pixel(105, 105), 0xFF0000u);
  EXPECT_EQ(Pixel(114, 114), 0xFF0000u);
  EXPECT_EQ(Pixel(115, 115), 0xFFFFFFu);
}

TEST_F(ImageDrawTest, ImageHandleNotGraphicsHandlePlacesTheImage) {
  auto image = OpaqueImage(10, 6);
  MidHandleImage(image);
  SetHandle(50, 50);
  DrawImage(image, 100, 100);
  EXPECT_EQ(Count(95, 97, 10, 6, 0xFFFFFFu), 60);
  EXPECT_EQ(Count(0, 0, 800, 600, 0xFFFFFFu), 60);
}

TEST_F(ImageDrawTest, QuarterTurnsTurnAboutTheHandle) {
  // 4 x 2: red left half, green right half, turned about its top-left corner.
  auto p = SolidPixmap(4, 2, 0xFFFF0000u);
  for (int y = 0; y < 2; ++y) {
    p->WritePixel(2, y, 0xFF00FF00u);
    p->WritePixel(3, y, 0xFF00FF00u);
  }
  auto image = TImage::Load(p, 0, 0, 0, 0);
  SetRotation(90);
  DrawImage(image, 100, 100);  // covers x 98..99, y 100..103, the green end at the bottom
  EXPECT_EQ(Pixel(98, 100), 0xFF0000u);
  EXPECT_EQ(Pixel(99, 101), 0xFF0000u);
  EXPECT_EQ(Pixel(98, 103), 0x00FF00u);
  EXPECT_EQ(Count(96, 98, 6, 8, 0), 48 - 8);
  SetRotation(180);
  DrawImage(image, 200, 100);  // x 196..199, y 98..99, green on the left
  EXPECT_EQ(Pixel(196, 98), 0x00FF00u);
  EXPECT_EQ(Pixel(199, 99), 0xFF0000u);
}

TEST_F(ImageDrawTest, ImageSurvivesAChangeOfDisplayWithoutReloading) {
  auto image = TImage::Load(SolidPixmap(8, 8, 0xFF20A040u), MaskedImage | FilteredImage, 0, 0, 0);
  DrawImage(image, 50, 50);
  EXPECT_EQ(Pixel(53, 53), 0x20A040u);
  const int seq_before = image->seqs[0];
  Reopen();
  EXPECT_NE(GraphicsSeq(), seq_before);
  DrawImage(image, 50, 50);
  EXPECT_EQ(Pixel(53, 53), 0x20A040u);
  EXPECT_EQ(image->seqs[0], GraphicsSeq());
}

TEST_F(ImageDrawTest, LockedAndChangedPixelIsShown) {
  auto image = OpaqueImage(4, 4);
  DrawImage(image, 0, 0);
  EXPECT_EQ(Pixel(2, 1), 0xFFFFFFu);
  auto p = LockImage(image, 0, true, true);
  p->WritePixel(2, 1, 0xFF123456u);
  UnlockImage(image, 0);
  DrawImage(image, 0, 0);
  EXPECT_EQ(Pixel(2, 1), 0x123456u);
  EXPECT_EQ(Pixel(1, 1), 0xFFFFFFu);
}

TEST_F(ImageDrawTest, ImagesWithoutPicturesDrawNothing) {
  SetBlend(SolidBlend);
  SetClsColor(0, 0, 200);
  Cls();
  auto empty = CreateImage(10, 10, 1, 0);
  DrawImage(empty, 0, 0);
  DrawImage(nullptr, 0, 0);
  EXPECT_EQ(Count(0, 0, 12, 12, kBlue), 144);
  EXPECT_EQ(empty->frames[0], nullptr);
}

}  // namespace
