// The painting surface of the asset generator: premultiplied RGBA in floats with antialiased
// shapes (from signed distances), gradients, TrueType text, and export to the game's pixmaps.
// Depends on draw/pixmap.h and draw/draw.h (TFont glyphs).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "draw/draw.h"
#include "draw/pixmap.h"

// A colour with channels 0..1 (sRGB values as stored in files).
struct colour {
  float r = 0, g = 0, b = 0;
};
colour RGB(int r, int g, int b);
colour Mix(colour a, colour b, float t);  // a at t = 0, b at t = 1
colour Scale(colour c, float f);          // each channel times f, limited to 0..1

// Signed distance of a pixel centre to a shape, in pixels: negative inside.
using distance_fn = std::function<float(float x, float y)>;

class canvas {
 public:
  canvas(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Paints colour c with opacity alpha over every pixel, weighted by per-pixel coverage.
  void Fill(colour c, float alpha = 1);
  // The shape given by its signed distance, inside the bounding box x0..x1, y0..y1 (pixels).
  void Shape(float x0, float y0, float x1, float y1, const distance_fn& distance, colour c,
             float alpha = 1);
  void Rect(float x, float y, float w, float h, colour c, float alpha = 1);
  void RoundRect(float x, float y, float w, float h, float radius, colour c, float alpha = 1);
  void Circle(float cx, float cy, float radius, colour c, float alpha = 1);
  void Ellipse(float cx, float cy, float rx, float ry, colour c, float alpha = 1);
  // A line of the given width with round ends.
  void Line(float x0, float y0, float x1, float y1, float width, colour c, float alpha = 1);
  // A closed polygon (even-odd), edges antialiased by 4 x 4 supersampling.
  void Polygon(const std::vector<std::pair<float, float>>& points, colour c, float alpha = 1);
  // Fills the picture with a top-to-bottom gradient from c0 at row y0 to c1 at row y1, plain
  // c0 above and plain c1 below.
  void VerticalGradient(float y0, float y1, colour c0, colour c1);
  // Colour per pixel from a function of the pixel centre, opaque.
  void Paint(const std::function<colour(float x, float y)>& shader);
  // Makes whole pixels transparent again (exact black in ToMasked).
  void Erase(int x, int y, int w, int h);
  // One pixel, composited.
  void Blend(int x, int y, colour c, float alpha);

  // The pixel's premultiplied channels.
  const float* At(int x, int y) const { return &pixels_[(size_t(y) * width_ + x) * 4]; }

  // An opaque RGB pixmap (what is not covered stays black).
  std::shared_ptr<TPixmap> ToRGB() const;
  // An RGBA pixmap with straight (not premultiplied) colour, for pictures shown by others.
  std::shared_ptr<TPixmap> ToRGBA() const;
  // An RGB pixmap for pictures the game loads masked: pixels at least half covered keep their
  // colour (never pure black, which would turn transparent), the rest is exactly black.
  std::shared_ptr<TPixmap> ToMasked() const;

 private:
  int width_, height_;
  std::vector<float> pixels_;  // premultiplied r, g, b, a per pixel
};

// ---- Text ---------------------------------------------------------------------------------------

// A TrueType face at one pixel size, rasterised through the drawing layer's font loader.
class text_face {
 public:
  text_face(const std::string& path, int size);  // throws TRuntimeException when unreadable
  int Width(const std::string& text);  // sum of the advances, no kerning (as the game draws)
  int Height();                        // line height
  // Draws text with the top of its line at y and its left end at x.
  void Draw(canvas& target, const std::string& text, float x, float y, colour c, float alpha = 1);
  // Centred horizontally on cx, vertically on cy.
  void DrawCentred(canvas& target, const std::string& text, float cx, float cy, colour c,
                   float alpha = 1);

 private:
  std::shared_ptr<TFont> font_;
};

// UTF-8 text as code points (invalid bytes are taken as Latin-1).
std::vector<int> CodePoints(const std::string& text);
