// The OpenGL back end on a real context: texture sizes and edge smear, state caching, reading
// and writing the back buffer, and deferred texture deletion.
#include "draw/gl/gl2d.h"
#include "platform/platform.h"
#include "tests/draw/display_fixture.h"
#include "tests/draw/fixtures.h"

namespace {

using GLBackendTest = DisplayTest;

// Every pixel a different opaque colour: red = x, green = y.
std::shared_ptr<TPixmap> Gradient(int w, int h) {
  auto p = TPixmap::Create(w, h, PF_RGBA8888, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) p->WritePixel(x, y, MakeARGB(255, x, y, 77));
  }
  return p;
}

TEST_F(GLBackendTest, PictureIsPaddedToPowerOfTwoWithItsEdgeSmeared) {
  auto frame = TGLImageFrame::CreateFromPixmap(Gradient(100, 50), 0);
  ASSERT_NE(frame, nullptr);
  EXPECT_FLOAT_EQ(frame->uscale, 1.0f / 128);
  EXPECT_FLOAT_EQ(frame->vscale, 1.0f / 64);
  EXPECT_FLOAT_EQ(frame->u1, 0.78125f);
  EXPECT_FLOAT_EQ(frame->v1, 0.78125f);
  EXPECT_EQ(frame->u0, 0);
  EXPECT_EQ(frame->seq, GraphicsSeq());
  // The whole 128 x 64 texture drawn 1:1 and unfiltered, margin included.
  SetBlend(SolidBlend);
  frame->Draw(0, 0, 128, 64, 10, 20, 0, 0, 128, 64);
  auto shot = GrabPixmap(10, 20, 128, 64);
  auto rgb = [&](int x, int y) { return shot->ReadPixel(x, y) & 0xFFFFFFu; };
  EXPECT_EQ(rgb(99, 49), 0x63314Du);
  for (int y = 0; y < 50; ++y) ASSERT_EQ(rgb(100, y), rgb(99, y)) << y;
  for (int x = 0; x < 100; ++x) ASSERT_EQ(rgb(x, 50), rgb(x, 49)) << x;
  EXPECT_EQ(rgb(100, 50), rgb(99, 49));
  EXPECT_EQ(rgb(101, 10), 0u) << "the rest of the margin is transparent black";
  EXPECT_EQ(rgb(10, 51), 0u);
}

TEST_F(GLBackendTest, PictureThatFillsItsTextureUsesItAll) {
  auto frame = TGLImageFrame::CreateFromPixmap(Gradient(64, 64), FilteredImage | MipmappedImage);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->u1, 1);
  EXPECT_EQ(frame->v1, 1);
  EXPECT_EQ(TGLImageFrame::CreateFromPixmap(nullptr, 0), nullptr);
  EXPECT_EQ(TGLImageFrame::CreateFromPixmap(TPixmap::Create(0, 5, PF_RGBA8888, 4), 0), nullptr);
}

TEST_F(GLBackendTest, PictureBeyondTheTextureLimitIsScaledDown) {
  // Wider than any texture the renderer takes (16384 on llvmpipe): 32768 is refused, halved.
  auto wide = TPixmap::Create(16385, 1, PF_RGB888, 4);
  wide->ClearPixels(0xFF00FF00u);
  auto frame = TGLImageFrame::CreateFromPixmap(wide, 0);
  ASSERT_NE(frame, nullptr);
  EXPECT_GT(frame->uscale * 16385, 1.0f) << "the texture is narrower than the picture";
  EXPECT_EQ(frame->u1, 1);
  SetBlend(SolidBlend);
  frame->Draw(0, 0, 10, 1, 0, 0, 0, 0, 1 / frame->uscale, 1);
  EXPECT_EQ(Pixel(0, 0), 0x00FF00u);
  EXPECT_EQ(Pixel(9, 0), 0x00FF00u);
}

TEST_F(GLBackendTest, RepeatedBlendModeReachesGLOnce) {
  SetBlend(AlphaBlend);
  const int changes = gl2d_state.blend_changes;
  SetBlend(AlphaBlend);
  EXPECT_EQ(gl2d_state.blend_changes, changes);
  SetBlend(MaskBlend);
  SetBlend(MaskBlend);
  EXPECT_EQ(gl2d_state.blend_changes, changes + 1);
}

TEST_F(GLBackendTest, GrabReturnsRowsTopDownAndRestoresTheBlendMode) {
  SetColor(255, 0, 0);
  Plot(0, 0);
  SetColor(0, 255, 0);
  Plot(1, 0);
  Plot(0, 1);
  SetBlend(AlphaBlend);
  auto one = GrabPixmap(0, 0, 1, 1);
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->format, PF_RGBA8888);
  EXPECT_EQ(one->ReadPixel(0, 0), 0xFFFF0000u) << "top-left pixel, opaque";
  EXPECT_EQ(gl2d_state.wanted.blend, AlphaBlend);
  auto block = GrabPixmap(0, 0, 2, 3);
  EXPECT_EQ(block->ReadPixel(0, 0), 0xFFFF0000u);
  EXPECT_EQ(block->ReadPixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(block->ReadPixel(0, 1), 0xFF00FF00u);
  EXPECT_EQ(block->ReadPixel(1, 2), 0xFF000000u);
  EXPECT_EQ(GrabPixmap(0, 0, 0, 5), nullptr);
}

TEST_F(GLBackendTest, DrawPixmapWritesUnblendedAtTheTopLeftCorner) {
  auto driver = std::static_pointer_cast<TGL2DDriver>(GetGraphicsDriver());
  ASSERT_NE(driver, nullptr);
  EXPECT_EQ(driver->ToString(), "OpenGL");
  auto p = TPixmap::Create(2, 2, PF_BGR888, 4);
  p->WritePixel(0, 0, 0xFF102030u);
  p->WritePixel(1, 0, 0xFF405060u);
  p->WritePixel(0, 1, 0xFF708090u);
  p->WritePixel(1, 1, 0xFFA0B0C0u);
  SetBlend(MaskBlend);
  driver->DrawPixmap(p, 5, 7);
  EXPECT_EQ(Pixel(5, 7), 0x102030u);
  EXPECT_EQ(Pixel(6, 7), 0x405060u);
  EXPECT_EQ(Pixel(5, 8), 0x708090u);
  EXPECT_EQ(Pixel(6, 8), 0xA0B0C0u);
  EXPECT_EQ(Pixel(4, 7), 0u);
  EXPECT_EQ(gl2d_state.wanted.blend, MaskBlend);
}

TEST_F(GLBackendTest, PolygonsNeedThreePoints) {
  auto driver = std::static_pointer_cast<TGL2DDriver>(GetGraphicsDriver());
  driver->DrawPoly({0, 0, 10, 0, 0, 10}, 0, 0, 100, 100);
  EXPECT_EQ(Pixel(101, 101), 0xFFFFFFu);
  EXPECT_EQ(Pixel(109, 109), 0u);
  driver->DrawPoly({0, 0, 10, 0, 0, 10, 5}, 0, 0, 200, 200);
  driver->DrawPoly({0, 0, 10, 10}, 0, 0, 200, 200);
  EXPECT_EQ(Count(190, 190, 30, 30, 0xFFFFFFu), 0);
}

TEST_F(GLBackendTest, DeadTexturesWaitForTheNextTextureOfTheSameContext) {
  auto frame = TGLImageFrame::CreateFromPixmap(Gradient(8, 8), 0);
  const unsigned name = frame->name;
  frame = nullptr;
  ASSERT_EQ(gl2d_state.dead_textures.size(), 1u);
  EXPECT_EQ(gl2d_state.dead_textures[0], name);
  auto old_context_frame = TGLImageFrame::CreateFromPixmap(Gradient(8, 8), 0);
  EXPECT_TRUE(gl2d_state.dead_textures.empty()) << "flushed by the new texture";
  // A frame of a closed context dies after the new context made its own textures (whose
  // names may repeat the old ones): its name must not be deleted in the new context.
  Reopen();
  SetBlend(SolidBlend);
  auto green = TImage::Load(SolidPixmap(4, 4, 0xFF00FF00u), 0, 0, 0, 0);
  DrawImage(green, 0, 0);
  old_context_frame = nullptr;
  EXPECT_TRUE(gl2d_state.dead_textures.empty());
  TGLImageFrame::CreateFromPixmap(Gradient(8, 8), 0);
  DrawImage(green, 10, 0);
  EXPECT_EQ(Pixel(11, 1), 0x00FF00u);
}

TEST_F(GLBackendTest, TexturesDrawRightAfterOthersDie) {
  // Names of dead textures come back from GL; the bound-texture cache must not be fooled.
  SetBlend(SolidBlend);
  auto red = TImage::Load(SolidPixmap(4, 4, 0xFFFF0000u), 0, 0, 0, 0);
  DrawImage(red, 0, 0);
  red = nullptr;
  auto spare = TGLImageFrame::CreateFromPixmap(Gradient(4, 4), 0);  // flushes the dead name
  spare = nullptr;
  auto green = TImage::Load(SolidPixmap(4, 4, 0xFF00FF00u), 0, 0, 0, 0);
  auto blue = TImage::Load(SolidPixmap(4, 4, 0xFF0000FFu), 0, 0, 0, 0);
  DrawImage(green, 10, 0);
  DrawImage(blue, 20, 0);
  DrawImage(green, 30, 0);
  EXPECT_EQ(Pixel(11, 1), 0x00FF00u);
  EXPECT_EQ(Pixel(21, 1), 0x0000FFu);
  EXPECT_EQ(Pixel(31, 1), 0x00FF00u);
}

}  // namespace
