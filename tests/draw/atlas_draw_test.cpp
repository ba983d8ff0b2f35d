// Pictures on shared atlas pages on a real window: drawn 1:1 they show the pixels of their own
// textures, a page's quads go to GL in one run, drawn smaller their edges keep their colour,
// a changed picture shows its new pixels, and quads outside the picture are not recorded.
#include <algorithm>

#include "draw/gl/gl2d.h"
#include "tests/draw/display_fixture.h"
#include "tests/draw/fixtures.h"

namespace {

using AtlasDrawTest = DisplayTest;

// A piece as a jigsaw folder holds it: a blob of varied colour on the black mask colour.
std::shared_ptr<TPixmap> PiecePixmap(int w, int h, int seed) {
  auto p = TPixmap::Create(w, h, PF_RGB888, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int dx = 2 * x - w, dy = 2 * y - h;
      const bool inside = dx * dx + dy * dy < w * h * 3 / 4 || (x > w / 2 && y < h / 4);
      p->WritePixel(x, y, inside ? MakeARGB(255, (x * 5 + seed) % 256, (y * 7 + seed * 3) % 256, 1 + seed % 250) : 0xFF000000u);
    }
  }
  return p;
}

std::shared_ptr<TImage> Piece(int w, int h, int seed) {
  auto image = TImage::Load(PiecePixmap(w, h, seed), MaskedImage | FilteredImage, 0, 0, 0);
  MidHandleImage(image);
  return image;
}

std::shared_ptr<TPixmap> Screen() {
  return GrabPixmap(0, 0, GraphicsWidth(), GraphicsHeight());
}

// Pixels that differ between two grabs of the same size.
int Differences(const TPixmap& a, const TPixmap& b) {
  int n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x) n += a.ReadPixel(x, y) != b.ReadPixel(x, y);
  return n;
}

// The smallest colour channel of a rectangle of the picture.
uint32_t Darkest(int x, int y, int w, int h) {
  auto p = GrabPixmap(x, y, w, h);
  uint32_t darkest = 255;
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      for (int k = 0; k < 3; ++k) darkest = std::min(darkest, p->ReadPixel(i, j) >> (8 * k) & 0xFF);
  return darkest;
}

TEST_F(AtlasDrawTest, PicturesDrawnOneToOneShowThePixelsOfTheirOwnTexturesInOneRun) {
  // Odd and even sizes (a centred handle then falls between texels), every quarter turn,
  // whole and fractional places all over the window.
  struct placed {
    std::shared_ptr<TImage> image;
    float x, y;
    int turns;
  };
  std::vector<placed> pieces;
  for (int i = 0; i < 48; ++i) {
    const int w = 60 + (i * 7) % 71, h = 60 + (i * 11) % 71;
    const float fraction = i % 5 == 4 ? 0.25f : 0.0f;
    pieces.push_back({Piece(w, h, i), static_cast<float>(70 + (i % 8) * 95) + fraction,
                      static_cast<float>(70 + (i / 8) * 92) + fraction, i % 4});
  }
  SetClsColor(30, 60, 90);
  Cls();
  const int runs = gl2d_state.batches;
  for (const auto& p : pieces) {
    SetRotation(static_cast<float>(p.turns * 90));
    DrawImage(p.image, p.x, p.y);
  }
  const auto atlas = Screen();
  EXPECT_EQ(gl2d_state.batches - runs, 1) << "one page, one run";

  Cls();
  for (const auto& p : pieces) {
    SetRotation(static_cast<float>(p.turns * 90));
    auto own = TGLImageFrame::CreateFromPixmap(p.image->pixmaps[0], p.image->flags);
    const float x0 = -p.image->handle_x, y0 = -p.image->handle_y;
    const auto w = static_cast<float>(p.image->width), h = static_cast<float>(p.image->height);
    own->Draw(x0, y0, x0 + w, y0 + h, p.x, p.y, 0, 0, w, h);
    FinishDrawing();
  }
  SetRotation(0);
  EXPECT_EQ(Differences(*atlas, *Screen()), 0);
}

TEST_F(AtlasDrawTest, PieceDrawnSmallerKeepsItsColourToTheEdge) {
  // White on white: any darkened pixel is a fringe pulled in from the transparent surround.
  auto blob = PiecePixmap(121, 97, 0);
  for (int y = 0; y < 97; ++y)
    for (int x = 0; x < 121; ++x)
      if (blob->ReadPixel(x, y) != 0xFF000000u) blob->WritePixel(x, y, 0xFFFFFFFFu);
  auto piece = TImage::Load(blob, MaskedImage | FilteredImage, 0, 0, 0);
  MidHandleImage(piece);
  for (const float scale : {0.8f, 0.45f, 0.3f, 0.15f}) {
    for (const int turns : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "scale " << scale << " turns " << turns);
      SetClsColor(255, 255, 255);
      Cls();
      SetScale(scale, scale);
      SetRotation(static_cast<float>(turns * 90));
      DrawImage(piece, 200.3f, 150.6f);
      EXPECT_GE(Darkest(120, 90, 160, 120), 250u);
      SetClsColor(0, 0, 0);
      Cls();
      DrawImage(piece, 200.3f, 150.6f);
      EXPECT_EQ(Pixel(200, 150), 0xFFFFFFu) << "drawn";
      EXPECT_GT(Count(120, 90, 160, 120, 0), 0) << "the surround stays transparent";
    }
  }
  SetScale(1, 1);
  SetRotation(0);
}

TEST_F(AtlasDrawTest, ChangedPictureShowsItsNewPixels) {
  auto image = TImage::Load(SolidPixmap(20, 20, 0xFFFF0000u), FilteredImage, 0, 0, 0);
  auto neighbour = TImage::Load(SolidPixmap(20, 20, 0xFF00FF00u), FilteredImage, 0, 0, 0);
  SetBlend(SolidBlend);
  DrawImage(image, 0, 0);
  DrawImage(neighbour, 30, 0);
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);

  auto pixmap = LockImage(image);
  pixmap->ClearPixels(0xFF0000FFu);
  UnlockImage(image);
  DrawImage(image, 0, 0);
  EXPECT_EQ(Pixel(10, 10), 0x0000FFu) << "locked and changed";
  image->SetPixmap(0, SolidPixmap(20, 20, 0xFFFFFF00u));
  DrawImage(image, 0, 0);
  DrawImage(neighbour, 30, 0);
  EXPECT_EQ(Pixel(10, 10), 0xFFFF00u) << "given a new pixmap";
  EXPECT_EQ(Pixel(40, 10), 0x00FF00u) << "the neighbour keeps its cell";

  Reopen();  // a new context: the pages are made again
  SetBlend(SolidBlend);
  DrawImage(image, 0, 0);
  DrawImage(neighbour, 30, 0);
  EXPECT_EQ(Pixel(10, 10), 0xFFFF00u);
  EXPECT_EQ(Pixel(40, 10), 0x00FF00u);
}

TEST_F(AtlasDrawTest, QuadsOutsideThePictureOrScissorBoxAreNotRecorded) {
  auto image = OpaqueImage(10, 10);
  Cls();
  const size_t before = gl2d_state.frame.commands.size();
  for (const auto& [x, y] : {std::pair{-12.0f, 5.0f}, {801.5f, 5.0f}, {5.0f, -12.0f}, {5.0f, 601.5f}})
    DrawImage(image, x, y);
  EXPECT_EQ(gl2d_state.frame.commands.size(), before);
  SetViewport(100, 100, 50, 50);
  DrawImage(image, 20, 20);
  EXPECT_EQ(gl2d_state.frame.commands.size(), before);
  DrawImage(image, 95, 95);  // reaches into the box
  SetViewport(0, 0, 800, 600);
  DrawImage(image, -5, 595);  // a corner shows
  EXPECT_EQ(gl2d_state.frame.commands.size(), before + 2);
  EXPECT_EQ(Pixel(100, 100), 0xFFFFFFu);
  EXPECT_EQ(Pixel(0, 599), 0xFFFFFFu);
}

}  // namespace
