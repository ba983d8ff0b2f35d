// The 2D drawing layer: drawing state and global drawing operations, images, fonts and text,
// pixel-exact collision, and the abstract back end. Depends on draw/pixmap.h and platform/.
//
// Every drawing operation acts on the current graphics context (the T2DGraphics made current
// when the display module opens or selects a context). With no context current, the drawing
// operations do nothing and the queries return the values of a fresh context.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/pixmap.h"
#include "platform/platform.h"

// ---- Blend modes, image flags, font styles ---------------------------------------------------

constexpr int MaskBlend = 1;      // no blending; writes only where alpha >= 0.5, opaque
constexpr int SolidBlend = 2;     // no blending, no alpha test (also any unknown mode)
constexpr int AlphaBlend = 3;     // src * a + dst * (1 - a)
constexpr int AdditiveBlend = 4;  // src * a + dst
constexpr int MultiplyBlend = 5;  // dst * src

constexpr int MaskedImage = 1;     // pixmaps without alpha get the mask colour made transparent
constexpr int FilteredImage = 2;   // bilinear texture filtering (else nearest)
constexpr int MipmappedImage = 4;  // textures get mipmap levels
constexpr int DynamicImage = 8;    // set on every CreateImage image

constexpr int SmoothFont = 4;  // glyphs padded by one transparent pixel, filtered and mipmapped

// ---- Back end ---------------------------------------------------------------------------------

// A picture uploaded to the back end (a texture).
class TImageFrame {
 public:
  virtual ~TImageFrame() = default;
  // Draws the source rectangle (sx, sy, sw, sh), in pixels of the picture, onto the local
  // rectangle (x0, y0)-(x1, y1) placed at (tx, ty) through the back end's current matrix.
  virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx, float sy,
                    float sw, float sh) = 0;
};

// The abstract drawing back end. Shape operations take local coordinates (already offset by
// the handle) and a translation; the back end applies the matrix of the last SetTransform:
// (px, py) lands on (px * ix + py * iy + tx, px * jx + py * jy + ty).
class T2DDriver : public TGraphicsDriver {
 public:
  // A frame holding the pixmap's picture, or nullptr when none can be made.
  virtual std::shared_ptr<TImageFrame> CreateFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap,
                                                             int flags) = 0;
  virtual void SetBlend(int mode) = 0;
  virtual void SetAlpha(float alpha) = 0;                    // clamped to 0..1, NaN counts as 0
  virtual void SetColor(int r, int g, int b) = 0;            // each clamped to 0..255
  virtual void SetClsColor(int r, int g, int b) = 0;         // each clamped to 0..255
  virtual void SetViewport(int x, int y, int w, int h) = 0;  // physical pixels
  virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
  virtual void SetLineWidth(float width) = 0;
  virtual void Cls() = 0;
  virtual void Plot(float x, float y) = 0;
  virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
  // xy holds x, y pairs; fewer than 3 points or an odd count draws nothing.
  virtual void DrawPoly(const std::vector<float>& xy, float handle_x, float handle_y,
                        float origin_x, float origin_y) = 0;
  // Copies the pixmap to the back buffer with its top-left at pixel (x, y), unblended.
  virtual void DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, int x, int y) = 0;
  // A PF_RGBA8888 copy of a rectangle of the back buffer (physical pixels, y from the top).
  virtual std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int w, int h) = 0;
  virtual void SetResolution(float width, float height) = 0;
};

// Creates the OpenGL back end and registers it as the graphics driver with default flags 2.
// Call once at start-up, before the first Graphics().
void InitDrawing();

// Presenting frames. Flip records nothing new on screen when the frame repeats the one shown
// (same operations, same state, same textures, starting with a full Cls) and the window kept
// its pixels; and when a frame starts with the same operations as the frames before it (the
// table beneath a carried group), those are drawn from a kept copy of the picture. What is on
// screen is exactly what drawing everything would show. Off: every Flip draws everything and
// presents, for comparisons and measurements. On by default.
void SetFrameReuse(bool on);
// Frames presented, frames among them drawn from a kept picture, and frames drawn and
// presented only where they changed, since the start.
struct frame_counts {
  int presented = 0, reused = 0, partial = 0;
};
frame_counts FrameCounts();
// Runs the drawing recorded since the last Flip into the picture and waits until GL has
// finished it, for measurements of drawing without presenting (Flip does this itself).
void FinishDrawing();

// ---- Fonts ------------------------------------------------------------------------------------

// One rasterised glyph of a source font.
class TGlyph {
 public:
  virtual ~TGlyph() = default;
  virtual std::shared_ptr<TPixmap> Pixels() = 0;  // PF_A8 coverage, nullptr for blank glyphs
  virtual float Advance() = 0;                    // pen advance in whole pixels
  // Offset of the picture from the pen (x right, y down from the top of the line) and size.
  virtual void GetRect(int& x, int& y, int& w, int& h) = 0;
};

// A source font that rasterises glyphs into pixmaps; needs no window or GL context.
class TFont {
 public:
  virtual ~TFont() = default;
  virtual int Style() = 0;
  virtual int Height() = 0;  // line height in pixels
  virtual int CountGlyphs() = 0;
  virtual int CharToGlyph(int code_point) = 0;  // glyph index, or -1 when the font lacks it
  // The glyph with that index (0 .. CountGlyphs() - 1); rasterised once and cached. A glyph
  // that cannot be rasterised has advance 0 and no picture.
  virtual std::shared_ptr<TGlyph> LoadGlyph(int index) = 0;
};

// One link of the font loader chain.
class TFontLoader {
 public:
  virtual ~TFontLoader() = default;
  virtual std::shared_ptr<TFont> LoadFont(const std::string& source, int size, int style) = 0;
  std::shared_ptr<TFontLoader> _succ;
};

// Puts the loader at the head of the chain.
void RegisterFontLoader(const std::shared_ptr<TFontLoader>& loader);
// Asks each loader from the head on; nullptr when none can read the source. TrueType files
// load at the pixel size (stepped down until the face accepts one) with the style bits.
std::shared_ptr<TFont> LoadFont(const std::string& source, int size, int style);

class TImage;

// A glyph of an image font: the glyph's picture as an image (nullptr for blank glyphs).
class TImageGlyph {
 public:
  std::shared_ptr<TImage> Pixels() const { return _image; }
  float Advance() const { return _advance; }
  void GetRect(int& x, int& y, int& w, int& h) const;

  std::shared_ptr<TImage> _image;
  float _advance = 0;
  int _x = 0, _y = 0, _w = 0, _h = 0;
};

// A font whose glyphs are drawn as images; the default font has no source font.
class TImageFont {
 public:
  int Style();
  int Height();
  int CountGlyphs();
  int CharToGlyph(int code_point);
  // The glyph text shows for the character: its own, else, for a character that is meant to be
  // seen, the font's U+FFFD or "?" in its place, so that no letter vanishes unseen. -1 for
  // control characters, accents and format characters the font lacks (they draw nothing).
  int ShownGlyph(int code_point);
  // The glyph's image is made on first request and kept (the reference stays valid as long
  // as the font).
  const std::shared_ptr<TImageGlyph>& LoadGlyph(int index);
  // Sum of the advances of the glyphs the UTF-8 text shows (ShownGlyph), truncated after each.
  int Width(const std::string& text);
  // Draws UTF-8 text with the pen starting at (x, y) (the top of the line), glyphs placed and
  // advanced through the matrix (ix, iy, jx, jy). A character without a glyph shows the
  // replacement ShownGlyph gives; control characters are not interpreted.
  void Draw(const std::string& text, float x, float y, float ix, float iy, float jx, float jy);

  // nullptr when LoadFont gives nothing.
  static std::shared_ptr<TImageFont> Load(const std::string& source, int size, int style);
  // The built-in 8 x 16 font of 96 glyphs for characters 32..127.
  static std::shared_ptr<TImageFont> CreateDefault();

  std::shared_ptr<TFont> _src_font;
  std::vector<std::shared_ptr<TImageGlyph>> _glyphs;
  int _imageFlags = 0;
};

// ---- Images -----------------------------------------------------------------------------------

// A drawable picture of one or more equal-sized frames: a master pixmap per frame and a
// back-end frame made from it lazily, remade whenever GraphicsSeq() has changed.
class TImage {
 public:
  // The frame's texture for the current context, made when missing or stale; nullptr when the
  // back end cannot make one (or no context is current).
  std::shared_ptr<TImageFrame> Frame(int index);
  // The frame's pixmap (a new undefined PF_RGBA8888 one when it has none). With write set the
  // texture is dropped and remade from the pixmap at the next Frame call.
  std::shared_ptr<TPixmap> Lock(int index, bool read, bool write);
  // Stores the frame's pixmap; with MaskedImage a pixmap without alpha is masked first.
  void SetPixmap(int index, std::shared_ptr<TPixmap> pixmap);

  static std::shared_ptr<TImage> Create(int width, int height, int frame_count, int flags,
                                        int mask_r, int mask_g, int mask_b);
  // nullptr when the file cannot be decoded (or the pixmap is nullptr).
  static std::shared_ptr<TImage> Load(const std::string& url, int flags, int mask_r, int mask_g,
                                      int mask_b);
  static std::shared_ptr<TImage> Load(std::shared_ptr<TPixmap> pixmap, int flags, int mask_r,
                                      int mask_g, int mask_b);
  // count frames cut from a grid of cells; nullptr when the picture holds fewer than
  // first + count cells or cannot be decoded.
  static std::shared_ptr<TImage> LoadAnim(const std::string& url, int cell_width, int cell_height,
                                          int first, int count, int flags, int mask_r, int mask_g,
                                          int mask_b);
  static std::shared_ptr<TImage> LoadAnim(std::shared_ptr<TPixmap> pixmap, int cell_width,
                                          int cell_height, int first, int count, int flags,
                                          int mask_r, int mask_g, int mask_b);

  int width = 0, height = 0;
  int flags = 0;
  int mask_r = 0, mask_g = 0, mask_b = 0;
  float handle_x = 0, handle_y = 0;
  std::vector<std::shared_ptr<TPixmap>> pixmaps;
  std::vector<std::shared_ptr<TImageFrame>> frames;
  std::vector<int> seqs;  // GraphicsSeq of each frames entry, 0 = none valid
};

// flags -1 means the automatic image flags. nullptr when the file cannot be decoded.
std::shared_ptr<TImage> LoadImage(const std::string& url, int flags = -1);
// flags -1 means the automatic image flags; DynamicImage is always added.
std::shared_ptr<TImage> CreateImage(int width, int height, int frames = 1, int flags = -1);
// Copies the back-buffer rectangle at (x, y) (physical pixels) of the image's size into the
// frame, masked with the current mask colour when the image has MaskedImage.
void GrabImage(const std::shared_ptr<TImage>& image, int x, int y, int frame = 0);
void MidHandleImage(const std::shared_ptr<TImage>& image);
void SetImageHandle(const std::shared_ptr<TImage>& image, float x, float y);
int ImageWidth(const std::shared_ptr<TImage>& image);
int ImageHeight(const std::shared_ptr<TImage>& image);
std::shared_ptr<TPixmap> LockImage(const std::shared_ptr<TImage>& image, int frame = 0,
                                   bool read = true, bool write = true);
// Nothing to do: changes to a pixmap locked for writing show at the next draw.
void UnlockImage(const std::shared_ptr<TImage>& image, int frame = 0);
void SetMaskColor(int r, int g, int b);
void GetMaskColor(int& r, int& g, int& b);
void AutoImageFlags(int flags);  // -1 leaves the setting unchanged
void AutoMidHandle(bool on);

// ---- Drawing state ----------------------------------------------------------------------------

// The drawing state of one graphics context.
class T2DGraphics : public TGraphics {
 public:
  std::shared_ptr<TGraphicsDriver> Driver() override;
  void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
  void Close() override;
  // Re-applies the whole state to the back end (after reading the context's size).
  void Validate();
  // Makes this the current graphics; the first time also clears both buffers.
  void MakeCurrent();

  static void ClearCurrent();
  static std::shared_ptr<T2DGraphics> Current();
  // A record with the start values for the context; not made current.
  static std::shared_ptr<T2DGraphics> Create(std::shared_ptr<TGraphics> graphics,
                                             std::shared_ptr<T2DDriver> driver);

  int color_red = 255, color_green = 255, color_blue = 255;  // stored unclamped
  float color_alpha = 1;
  int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
  float line_width = 1;
  float tform_rot = 0;
  float tform_scale_x = 1, tform_scale_y = 1;
  float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
  int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
  float origin_x = 0, origin_y = 0;
  float handle_x = 0, handle_y = 0;  // stored negated
  std::shared_ptr<TImageFont> image_font;
  int blend_mode = MaskBlend;
  float vres_width = 0, vres_height = 0;
  float vres_mousexscale = 1, vres_mouseyscale = 1;
  int g_width = 0, g_height = 0;
  std::shared_ptr<TGraphics> _graphics;
  std::shared_ptr<T2DDriver> _driver;
  int _setup = 0;
};

// Global operations on the current graphics. Colour and alpha are stored unchanged and
// clamped by the back end; positions are virtual pixels.
void Cls();
void SetClsColor(int r, int g, int b);
void GetClsColor(int& r, int& g, int& b);
void SetColor(int r, int g, int b);
void GetColor(int& r, int& g, int& b);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int mode);
int GetBlend();
void SetLineWidth(float width);
float GetLineWidth();
// The full context removes the clip; any smaller rectangle clips later drawing and Cls.
void SetViewport(int x, int y, int w, int h);
void GetViewport(int& x, int& y, int& w, int& h);
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
void SetRotation(float degrees);  // clockwise on screen
float GetRotation();
void SetScale(float scale_x, float scale_y);
void GetScale(float& scale_x, float& scale_y);
void SetVirtualResolution(float width, float height);
void Plot(float x, float y);
void DrawRect(float x, float y, float w, float h);
void DrawLine(float x, float y, float x2, float y2, int draw_last_pixel = 1);
void DrawOval(float x, float y, float w, float h);
// Draws one frame with the image's own handle; a nullptr image or a frame that cannot be made
// draws nothing.
void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int frame = 0);
// UTF-8 text whose top-left lands where the graphics handle lands.
void DrawText(const std::string& text, float x, float y);
// Sum of the glyph advances of the UTF-8 text, truncated after each glyph; unscaled.
int TextWidth(const std::string& text);
int TextHeight(const std::string& text);  // the font height, whatever the text
std::shared_ptr<TImageFont> LoadImageFont(const std::string& url, int size, int style);
void SetImageFont(const std::shared_ptr<TImageFont>& font);  // nullptr selects the default font
std::shared_ptr<TImageFont> GetImageFont();
// The lines of text at most width pixels wide in font: the text itself when it fits, else
// broken at spaces (runs of spaces between lines dropped), a word too wide for a line of its
// own (a long path) keeping its start and end around an ellipsis ("\u2026" where the font has
// it, else "..."). Never empty.
std::vector<std::string> FitText(const std::string& text, TImageFont& font, int width);
// Copy of a back-buffer rectangle (physical pixels); nullptr when no context is current.
std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int w, int h);

// ---- Collision --------------------------------------------------------------------------------

// A transformed picture quad in the collision store.
class TQuad {
 public:
  // Corners in drawing order (top-left, top-right, bottom-right, bottom-left of the picture).
  void SetCoords(float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3);

  std::shared_ptr<TQuad> link;
  std::shared_ptr<TObject> id;    // the caller's tag, returned by tests that hit this quad
  std::shared_ptr<TPixmap> mask;  // nullptr: the whole quad is solid
  int frame = 0;
  float minx = 0, miny = 0, maxx = 0, maxy = 0;
  std::array<float, 16> xyuv{};  // per corner x, y, u, v
};

using CollisionIds = std::vector<std::shared_ptr<TObject>>;

// Empties the layers selected by mask (every layer when mask is 0).
void ResetCollisions(uint32_t mask = 0);
// Tests the frame placed as DrawImage would place it against the layers of collide_mask,
// then writes it into the layers of write_mask. Returns the ids of the quads hit.
CollisionIds CollideImage(const std::shared_ptr<TImage>& image, float x, float y, int frame,
                          uint32_t collide_mask, uint32_t write_mask,
                          std::shared_ptr<TObject> id = nullptr);
// The same for a solid w x h rectangle with its handle at the top-left.
CollisionIds CollideRect(float x, float y, float w, float h, uint32_t collide_mask,
                         uint32_t write_mask, std::shared_ptr<TObject> id = nullptr);
CollisionIds CollideQuad(const TQuad& quad, uint32_t collide_mask, uint32_t write_mask);
// True when an opaque (alpha >= 128) pixel of each quad falls on the same screen pixel.
bool QuadsCollide(const TQuad& a, const TQuad& b);
// 1 when the opaque pixels of the two frames, placed as DrawImage would place them at the
// current rotation, scale and origin, overlap; 0 otherwise or when either image is nullptr.
int ImagesCollide(const std::shared_ptr<TImage>& image1, float x1, float y1, int frame1,
                  const std::shared_ptr<TImage>& image2, float x2, float y2, int frame2);

// ---- Module state -----------------------------------------------------------------------------

// Puts the drawing layer back to its start values: no current graphics, default image
// settings, empty collision layers, the default font dropped, the back end's GL state cache
// forgotten. For tests; textures still queued for deletion are dropped.
void ResetDrawing();
