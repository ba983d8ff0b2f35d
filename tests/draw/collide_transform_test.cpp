// Collision under the drawing state: rotation, origin and handles act as they do on drawing.
#include "tests/draw/display_fixture.h"
#include "tests/draw/fixtures.h"

namespace {

using CollideTransformTest = DisplayTest;

TEST_F(CollideTransformTest, RotatedProbeFollowsTheDrawnPiece) {
  // A 30 x 30 piece with a transparent surround 5 wide and one hole, handle at its centre.
  auto pixmap = FramedPixmap(30, 30, 5, 0xFFFFFFFFu);
  pixmap->WritePixel(20, 8, 0x00000000u);
  auto piece = TImage::Load(pixmap, 0, 0, 0, 0);
  MidHandleImage(piece);
  auto probe = OpaqueImage(1, 1);
  SetBlend(MaskBlend);
  SetRotation(90);
  DrawImage(piece, 100, 100);
  // Rotated 90, a 1 x 1 probe placed at (x, y) covers the screen pixel (x - 1, y); it hits
  // exactly where the drawn piece shows a pixel.
  int hits = 0;
  for (int y = 80; y < 120; ++y) {
    for (int x = 80; x < 120; ++x) {
      const int drawn = Pixel(x - 1, y) == 0xFFFFFFu;
      ASSERT_EQ(ImagesCollide(piece, 100, 100, 0, probe, x, y, 0), drawn) << x << "," << y;
      hits += drawn;
    }
  }
  EXPECT_EQ(hits, 20 * 20 - 1);
}

TEST_F(CollideTransformTest, OriginAndScaleMoveBothImagesAndGraphicsHandleDoesNot) {
  auto a = OpaqueImage(10, 10);
  auto probe = OpaqueImage(1, 1);
  struct Case {
    const char* name;
    float origin, handle, scale;
    float x, y;
    int hit;
  };
  const Case cases[] = {
      {"origin shifts both", 300, 0, 1, 9, 9, 1},
      {"origin shifts both", 300, 0, 1, 10, 9, 0},
      {"graphics handle ignored", 0, 5, 1, 9, 9, 1},
      {"graphics handle ignored", 0, 5, 1, -1, 0, 0},
      // Scaled by 2 the probe at (19, 19) covers pixels 19 and 20; the image ends at 19.
      {"scale grows both", 0, 0, 2, 19, 19, 1},
      {"scale grows both", 0, 0, 2, 20, 20, 0},
  };
  for (const Case& c : cases) {
    SetOrigin(c.origin, c.origin);
    SetHandle(c.handle, c.handle);
    SetScale(c.scale, c.scale);
    EXPECT_EQ(ImagesCollide(a, 0, 0, 0, probe, c.x, c.y, 0), c.hit) << c.name << " " << c.x;
  }
  // A query in screen terms: the image written at (0, 0) under origin 300, 200 lies there.
  SetScale(1, 1);
  SetOrigin(300, 200);
  CollideImage(a, 0, 0, 0, 0, 1u << 4);
  SetOrigin(0, 0);
  EXPECT_EQ(CollideRect(305, 205, 1, 1, 1u << 4, 0).size(), 1u);
  EXPECT_TRUE(CollideRect(5, 5, 1, 1, 1u << 4, 0).empty());
}

}  // namespace
