// Pixmaps: rectangles of pixels in main memory in six byte layouts, with conversion between
// them, pixel access, bilinear resizing, flips and mask-colour transparency. Depends on nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// Pixel format codes, as stored in TPixmap::format.
constexpr int32_t PF_I8 = 1;        // intensity
constexpr int32_t PF_A8 = 2;        // alpha
constexpr int32_t PF_BGR888 = 3;    // blue, green, red
constexpr int32_t PF_RGB888 = 4;    // red, green, blue
constexpr int32_t PF_BGRA8888 = 5;  // blue, green, red, alpha
constexpr int32_t PF_RGBA8888 = 6;  // red, green, blue, alpha

// Bytes per pixel and whether the format carries alpha; 0 / false for a code outside 1..6.
constexpr int32_t BytesPerPixel(int32_t format) {
  constexpr int32_t table[] = {0, 1, 1, 3, 3, 4, 4};
  return format >= PF_I8 && format <= PF_RGBA8888 ? table[format] : 0;
}
constexpr bool FormatHasAlpha(int32_t format) {
  return format == PF_A8 || format == PF_BGRA8888 || format == PF_RGBA8888;
}

// Pixel values exchanged with callers are 32-bit ARGB: 0xAARRGGBB.
constexpr uint32_t MakeARGB(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a & 0xff) << 24 | (r & 0xff) << 16 | (g & 0xff) << 8 | (b & 0xff);
}
constexpr uint32_t ARGBAlpha(uint32_t argb) {
  return argb >> 24;
}
constexpr uint32_t ARGBRed(uint32_t argb) {
  return (argb >> 16) & 0xff;
}
constexpr uint32_t ARGBGreen(uint32_t argb) {
  return (argb >> 8) & 0xff;
}
constexpr uint32_t ARGBBlue(uint32_t argb) {
  return argb & 0xff;
}

// Converts a run of n pixels from one format to another (both codes 1..6). Equal formats
// copy bytes; otherwise the run goes through RGBA: grey and alpha-only sources become
// (v, v, v, 255) and (255, 255, 255, a), formats without alpha become opaque, and an
// intensity destination stores (R + G + B) / 3. Source and destination must not overlap.
void ConvertPixels(const uint8_t* source, int32_t source_format, uint8_t* destination,
                   int32_t destination_format, int32_t n);

// A pixmap is always held by std::shared_ptr (windows keep their source alive through it);
// make one with Create or CreateStatic. Nothing here clips: coordinates and rectangles are
// the caller's responsibility (asserted in debug builds where cheap).
class TPixmap : public std::enable_shared_from_this<TPixmap> {
  struct Key {};

 public:
  uint8_t* pixels = nullptr;  // first byte of row 0
  int32_t width = 0;
  int32_t height = 0;
  int32_t pitch = 0;   // bytes from the start of one row to the next
  int32_t format = 0;  // PF_* code
  int32_t capacity =
      -1;  // bytes owned (pitch * height), -1 when the pixels belong to _source or the caller
  std::shared_ptr<void> _source;  // keeps the owner of a window's pixels alive, else nullptr

  explicit TPixmap(Key) {}
  ~TPixmap();
  TPixmap(const TPixmap&) = delete;
  TPixmap& operator=(const TPixmap&) = delete;

  // pixels + y * pitch + x * bytes per pixel.
  uint8_t* PixelPtr(int32_t x, int32_t y) const {
    return pixels + static_cast<ptrdiff_t>(y) * pitch +
           static_cast<ptrdiff_t>(x) * BytesPerPixel(format);
  }
  // A w x h pixmap sharing this pixmap's pixels from (x, y) on; writes through it change this
  // pixmap, and it keeps this pixmap alive. The rectangle must lie inside.
  std::shared_ptr<TPixmap> Window(int32_t x, int32_t y, int32_t w, int32_t h);
  // A new pixmap (rows aligned to 4) of the same size, format and pixels.
  std::shared_ptr<TPixmap> Copy() const;
  // Writes source into this pixmap at (x, y), converting to this pixmap's format; the source
  // must fit.
  void Paste(const std::shared_ptr<TPixmap>& source, int32_t x, int32_t y);
  // A new pixmap (rows aligned to 4) of the same size in the given format.
  std::shared_ptr<TPixmap> Convert(int32_t new_format) const;
  // The pixel as ARGB; 0 for a format code outside 1..6.
  uint32_t ReadPixel(int32_t x, int32_t y) const;
  // Stores an ARGB value in the pixmap's format (intensity takes (R + G + B) / 3, alpha-only
  // takes A, three-byte formats drop A); does nothing for a format code outside 1..6.
  void WritePixel(int32_t x, int32_t y, uint32_t argb);

  // A new pixmap whose pitch is width * bytes per pixel rounded up to a multiple of align,
  // with pitch * height bytes aligned to 16 and cleared to 0. Throws std::bad_alloc when the
  // memory cannot be had.
  static std::shared_ptr<TPixmap> Create(int32_t width, int32_t height, int32_t format,
                                         int32_t align = 4);
  // The same with the pixels left unset, for a caller that writes every one of them: only the
  // bytes between rows are cleared.
  static std::shared_ptr<TPixmap> CreateUncleared(int32_t width, int32_t height, int32_t format,
                                                  int32_t align = 4);
  // A pixmap over memory it does not own (capacity -1); the memory must outlive it.
  static std::shared_ptr<TPixmap> CreateStatic(uint8_t* pixels, int32_t width, int32_t height,
                                               int32_t pitch, int32_t format);

  // Fills every pixel with the value; bytes between rows are left alone. A non-zero value
  // does nothing for a format code outside 1..6.
  void ClearPixels(uint32_t argb);
};

// Module functions over pixmaps (thin forms of the methods above).
std::shared_ptr<TPixmap> CreatePixmap(int32_t width, int32_t height, int32_t format,
                                      int32_t align = 4);
std::shared_ptr<TPixmap> CreateStaticPixmap(uint8_t* pixels, int32_t width, int32_t height,
                                            int32_t pitch, int32_t format);
std::shared_ptr<TPixmap> CopyPixmap(const std::shared_ptr<TPixmap>& p);
std::shared_ptr<TPixmap> ConvertPixmap(const std::shared_ptr<TPixmap>& p, int32_t format);
int32_t PixmapWidth(const std::shared_ptr<TPixmap>& p);
int32_t PixmapHeight(const std::shared_ptr<TPixmap>& p);
int32_t PixmapPitch(const std::shared_ptr<TPixmap>& p);
int32_t PixmapFormat(const std::shared_ptr<TPixmap>& p);
uint8_t* PixmapPixelPtr(const std::shared_ptr<TPixmap>& p, int32_t x, int32_t y);
std::shared_ptr<TPixmap> PixmapWindow(const std::shared_ptr<TPixmap>& p, int32_t x, int32_t y,
                                      int32_t w, int32_t h);
uint32_t ReadPixel(const std::shared_ptr<TPixmap>& p, int32_t x, int32_t y);
void WritePixel(const std::shared_ptr<TPixmap>& p, int32_t x, int32_t y, uint32_t argb);

// Bilinear resize to width x height (both >= 1) in p's format: pixel centres map onto pixel
// centres, edges are clamped, at most 2 x 2 source pixels feed one result pixel.
std::shared_ptr<TPixmap> ResizePixmap(const std::shared_ptr<TPixmap>& p, int32_t width,
                                      int32_t height);
// Mirrored copies in p's format: columns reversed / rows reversed.
std::shared_ptr<TPixmap> XFlipPixmap(const std::shared_ptr<TPixmap>& p);
std::shared_ptr<TPixmap> YFlipPixmap(const std::shared_ptr<TPixmap>& p);
// A PF_RGBA8888 copy in which pixels of the colour (r, g, b) get alpha 0 and the average colour
// of their up to 8 neighbours that are not of that colour (black when there are none), so that
// filtered edges do not bleed the mask colour; every other pixel becomes opaque.
// With counts, the red, green and blue values of the pixels that stay opaque are counted into
// it as well, in the same pass.
struct kept_colour_counts {
  std::array<int32_t, 256> red{}, green{}, blue{};
};
std::shared_ptr<TPixmap> MaskPixmap(const std::shared_ptr<TPixmap>& p, int32_t r, int32_t g,
                                    int32_t b, kept_colour_counts* counts = nullptr);
