// Pixel-exact collision on the CPU: image quads, layers, masks and scan conversion.
#include <gtest/gtest.h>

#include "draw/draw.h"
#include "tests/draw/fixtures.h"

namespace {

using CollideTest = DrawingTest;

TEST_F(CollideTest, OpaqueFramesTouchOnlyWhenAPixelIsShared) {
  auto a = OpaqueImage(10, 10);
  auto b = OpaqueImage(10, 10);
  struct Case {
    float x, y;
    int hit;
  };
  for (const Case c :
       {Case{9, 9, 1}, Case{10, 10, 0}, Case{10, 0, 0}, Case{0, 10, 0}, Case{-9, -9, 1},
        Case{-10, 5, 0}, Case{5, 5, 1}, Case{0, 0, 1}, Case{200, 200, 0}}) {
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, b, c.x, c.y, 0), c.hit) << c.x << "," << c.y;
  }
}

TEST_F(CollideTest, HandlesPlaceTheQuads) {
  auto a = OpaqueImage(10, 10);
  auto b = OpaqueImage(1, 1);
  MidHandleImage(a);  // covers 95..104 around (100, 100)
  EXPECT_EQ(ImagesCollide(a, 100, 100, 0, b, 95, 95, 0), 1);
  EXPECT_EQ(ImagesCollide(a, 100, 100, 0, b, 94, 100, 0), 0);
  EXPECT_EQ(ImagesCollide(a, 100, 100, 0, b, 104, 104, 0), 1);
  EXPECT_EQ(ImagesCollide(a, 100, 100, 0, b, 105, 100, 0), 0);
}

TEST_F(CollideTest, TransparentPixelsNeverCollide) {
  // 20 x 20 with an opaque 10 x 10 centre; alpha 127 around it is still transparent.
  auto ring = FramedPixmap(20, 20, 5, 0xFFFF0000u);
  for (int x = 0; x < 20; ++x) ring->WritePixel(x, 0, 0x7FFF0000u);
  auto piece = TImage::Load(ring, 0, 0, 0, 0);
  auto probe = OpaqueImage(1, 1);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const int inside = x >= 5 && x < 15 && y >= 5 && y < 15;
      ASSERT_EQ(ImagesCollide(piece, 0, 0, 0, probe, x, y, 0), inside) << x << "," << y;
    }
  }
  // Alpha 128 counts as solid.
  ring->WritePixel(0, 0, 0x80FF0000u);
  EXPECT_EQ(ImagesCollide(piece, 0, 0, 0, probe, 0, 0, 0), 1);
}

TEST_F(CollideTest, AlphaOnlyMasksUseTheirOneByte) {
  auto a8 = TPixmap::Create(4, 1, PF_A8, 4);
  a8->ClearPixels(0);
  a8->WritePixel(2, 0, 0xC0000000u);
  auto glyph = TImage::Load(a8, 0, 0, 0, 0);
  auto probe = OpaqueImage(1, 1);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(ImagesCollide(glyph, 0, 0, 0, probe, x, 0, 0), x == 2 ? 1 : 0) << x;
  }
}

TEST_F(CollideTest, PictureWithoutAlphaCollidesWithItsWholeRectangle) {
  auto rgb = TPixmap::Create(6, 6, PF_RGB888, 4);
  rgb->ClearPixels(0xFF000000u);  // all black, yet unmasked
  auto picture = TImage::Load(rgb, 0, 0, 0, 0);
  auto probe = OpaqueImage(1, 1);
  EXPECT_EQ(ImagesCollide(picture, 0, 0, 0, probe, 0, 0, 0), 1);
  EXPECT_EQ(ImagesCollide(picture, 0, 0, 0, probe, 5, 5, 0), 1);
  EXPECT_EQ(ImagesCollide(picture, 0, 0, 0, probe, 6, 5, 0), 0);
  // The same picture masked: black is transparent.
  auto masked = TImage::Load(rgb, MaskedImage, 0, 0, 0);
  EXPECT_EQ(ImagesCollide(masked, 0, 0, 0, probe, 3, 3, 0), 0);
}

TEST_F(CollideTest, NoneImagesAndRepeatedCallsAreIndependent) {
  auto a = OpaqueImage(10, 10);
  auto far = OpaqueImage(10, 10);
  EXPECT_EQ(ImagesCollide(nullptr, 0, 0, 0, a, 0, 0, 0), 0);
  EXPECT_EQ(ImagesCollide(a, 0, 0, 0, nullptr, 0, 0, 0), 0);
  EXPECT_EQ(ImagesCollide(a, 0, 0, 0, a, 5, 5, 0), 1);
  EXPECT_EQ(ImagesCollide(far, 100, 100, 0, a, 5, 5, 0), 0) << "the first call's quad is gone";
  EXPECT_EQ(ImagesCollide(a, 0, 0, 0, a, 5, 5, 0), 1);
}

TEST_F(CollideTest, LayersReturnTheIdsOfTheQuadsHit) {
  auto first = std::make_shared<TStringObject>("first");
  auto second = std::make_shared<TStringObject>("second");
  EXPECT_TRUE(CollideRect(0, 0, 10, 10, 0, 1u << 0, first).empty());
  EXPECT_TRUE(CollideImage(OpaqueImage(10, 10), 20, 0, 0, 0, 1u << 0 | 1u << 3, second).empty());

  auto hits = CollideRect(5, 5, 20, 1, 1u << 0, 0);
  ASSERT_EQ(hits.size(), 2u);
  EXPECT_EQ(hits[0], second) << "newest first";
  EXPECT_EQ(hits[1], first);
  EXPECT_EQ(CollideRect(5, 5, 20, 1, 1u << 3, 0), CollisionIds{second});
  EXPECT_TRUE(CollideRect(5, 5, 20, 1, 1u << 1, 0).empty());

  // A quad tests before it is written, so it never hits its own copy.
  EXPECT_TRUE(CollideRect(100, 100, 5, 5, 1u << 2, 1u << 2).empty());
  EXPECT_EQ(CollideRect(100, 100, 5, 5, 1u << 2, 0).size(), 1u);

  ResetCollisions(1u << 0);
  EXPECT_TRUE(CollideRect(5, 5, 20, 1, 1u << 0, 0).empty());
  EXPECT_EQ(CollideRect(5, 5, 20, 1, 1u << 3, 0).size(), 1u) << "other layers stay";
  ResetCollisions(0);
  EXPECT_TRUE(CollideRect(0, 0, 1000, 1000, 0xFFFFFFFFu, 0).empty());
}

TEST_F(CollideTest, MirroredQuadIsReorderedBeforeScanning) {
  TQuad square;
  square.SetCoords(0, 0, 10, 0, 10, 10, 0, 10);
  TQuad mirrored;  // the same square with its corners in mirrored order
  mirrored.SetCoords(10, 0, 0, 0, 0, 10, 10, 10);
  TQuad touching;
  touching.SetCoords(9, 9, 19, 9, 19, 19, 9, 19);
  TQuad apart;
  apart.SetCoords(10, 10, 20, 10, 20, 20, 10, 20);
  EXPECT_TRUE(QuadsCollide(square, touching));
  EXPECT_TRUE(QuadsCollide(mirrored, touching));
  EXPECT_TRUE(QuadsCollide(touching, mirrored));
  EXPECT_FALSE(QuadsCollide(mirrored, apart));
  EXPECT_EQ(mirrored.minx, 0);
  EXPECT_EQ(mirrored.maxy, 10);

  TQuad flat;  // no whole scanline between its end vertices
  flat.SetCoords(0, 5.2f, 10, 5.2f, 10, 5.7f, 0, 5.7f);
  EXPECT_FALSE(QuadsCollide(flat, square));
}

}  // namespace
