// Images: master pixmaps per frame with lazily built back-end frames, and the image operations
// (loading, creating, grabbing, handles, locking, mask colour and automatic settings).
// Depends on draw/state.h, files/files.h (LoadPixmap) and GraphicsSeq of platform/.
#include <cassert>

#include "draw/state.h"
#include "files/files.h"

namespace {

[[maybe_unused]] bool HasFrame(const TImage& image, int index) {
  return index >= 0 && index < static_cast<int>(image.pixmaps.size());
}

// Applies the automatic centring setting to a new image.
std::shared_ptr<TImage> WithAutoHandle(std::shared_ptr<TImage> image) {
  if (image && draw_state.images.auto_midhandle) MidHandleImage(image);
  return image;
}

int ResolveFlags(int flags) {
  return flags == -1 ? draw_state.images.auto_flags : flags;
}

}  // namespace

std::shared_ptr<TImageFrame> TImage::Frame(int index) {
  assert(HasFrame(*this, index));
  // A frame that was never given a picture has nothing to show; uploading its undefined
  // pixmap would draw garbage (or an opaque black block under SolidBlend).
  if (!pixmaps[index]) return nullptr;
  const int seq = GraphicsSeq();
  if (seqs[index] != seq) {
    const auto& driver = draw_state.context.driver;
    frames[index] =
        driver ? driver->CreateFrameFromPixmap(Lock(index, true, false), flags) : nullptr;
    seqs[index] = frames[index] ? seq : 0;
  }
  return frames[index];
}

std::shared_ptr<TPixmap> TImage::Lock(int index, bool /*read*/, bool write) {
  assert(HasFrame(*this, index));
  if (write) {
    seqs[index] = 0;
    frames[index] = nullptr;
  }
  if (!pixmaps[index]) pixmaps[index] = TPixmap::Create(width, height, PF_RGBA8888, 4);
  return pixmaps[index];
}

void TImage::SetPixmap(int index, std::shared_ptr<TPixmap> pixmap) {
  assert(HasFrame(*this, index));
  if ((flags & MaskedImage) && pixmap && !FormatHasAlpha(pixmap->format)) {
    pixmap = MaskPixmap(pixmap, mask_r, mask_g, mask_b);
  }
  pixmaps[index] = std::move(pixmap);
  seqs[index] = 0;
  frames[index] = nullptr;
}

std::shared_ptr<TImage> TImage::Create(int width, int height, int frame_count, int flags,
                                       int mask_r, int mask_g, int mask_b) {
  auto image = std::make_shared<TImage>();
  image->width = width;
  image->height = height;
  image->flags = flags;
  image->mask_r = mask_r;
  image->mask_g = mask_g;
  image->mask_b = mask_b;
  image->pixmaps.resize(frame_count);
  image->frames.resize(frame_count);
  image->seqs.assign(frame_count, 0);
  return image;
}

std::shared_ptr<TImage> TImage::Load(std::shared_ptr<TPixmap> pixmap, int flags, int mask_r,
                                     int mask_g, int mask_b) {
  if (!pixmap) return nullptr;
  auto image = Create(pixmap->width, pixmap->height, 1, flags, mask_r, mask_g, mask_b);
  image->SetPixmap(0, std::move(pixmap));
  return image;
}

std::shared_ptr<TImage> TImage::Load(const std::string& url, int flags, int mask_r, int mask_g,
                                     int mask_b) {
  return Load(LoadPixmap(url), flags, mask_r, mask_g, mask_b);
}

std::shared_ptr<TImage> TImage::LoadAnim(std::shared_ptr<TPixmap> pixmap, int cell_width,
                                         int cell_height, int first, int count, int flags,
                                         int mask_r, int mask_g, int mask_b) {
  // Cells of no size or a negative range can hold nothing.
  if (!pixmap || cell_width <= 0 || cell_height <= 0 || first < 0 || count <= 0) return nullptr;
  const int per_row = pixmap->width / cell_width;
  if (per_row * (pixmap->height / cell_height) < first + count) return nullptr;
  auto image = Create(cell_width, cell_height, count, flags, mask_r, mask_g, mask_b);
  for (int i = first; i < first + count; ++i) {
    auto cell = pixmap->Window(cell_width * (i % per_row), cell_height * (i / per_row), cell_width,
                               cell_height);
    image->SetPixmap(i - first, cell->Copy());
  }
  return image;
}

std::shared_ptr<TImage> TImage::LoadAnim(const std::string& url, int cell_width, int cell_height,
                                         int first, int count, int flags, int mask_r, int mask_g,
                                         int mask_b) {
  return LoadAnim(LoadPixmap(url), cell_width, cell_height, first, count, flags, mask_r, mask_g,
                  mask_b);
}

// ---- Global image operations ------------------------------------------------------------------

std::shared_ptr<TImage> LoadImage(const std::string& url, int flags) {
  const auto& s = draw_state.images;
  return WithAutoHandle(TImage::Load(url, ResolveFlags(flags), s.mask_r, s.mask_g, s.mask_b));
}

std::shared_ptr<TImage> CreateImage(int width, int height, int frames, int flags) {
  const auto& s = draw_state.images;
  return WithAutoHandle(TImage::Create(width, height, frames, ResolveFlags(flags) | DynamicImage,
                                       s.mask_r, s.mask_g, s.mask_b));
}

void GrabImage(const std::shared_ptr<TImage>& image, int x, int y, int frame) {
  if (!image) return;
  auto pixmap = GrabPixmap(x, y, image->width, image->height);
  if (!pixmap) return;
  if (image->flags & MaskedImage) {
    const auto& s = draw_state.images;
    pixmap = MaskPixmap(pixmap, s.mask_r, s.mask_g, s.mask_b);
  }
  image->SetPixmap(frame, std::move(pixmap));
}

void MidHandleImage(const std::shared_ptr<TImage>& image) {
  image->handle_x = static_cast<float>(image->width) * 0.5f;
  image->handle_y = static_cast<float>(image->height) * 0.5f;
}

void SetImageHandle(const std::shared_ptr<TImage>& image, float x, float y) {
  image->handle_x = x;
  image->handle_y = y;
}

int ImageWidth(const std::shared_ptr<TImage>& image) {
  return image->width;
}
int ImageHeight(const std::shared_ptr<TImage>& image) {
  return image->height;
}

std::shared_ptr<TPixmap> LockImage(const std::shared_ptr<TImage>& image, int frame, bool read,
                                   bool write) {
  return image->Lock(frame, read, write);
}

void UnlockImage(const std::shared_ptr<TImage>& /*image*/, int /*frame*/) {}

void SetMaskColor(int r, int g, int b) {
  auto& s = draw_state.images;
  s.mask_r = r;
  s.mask_g = g;
  s.mask_b = b;
}

void GetMaskColor(int& r, int& g, int& b) {
  const auto& s = draw_state.images;
  r = s.mask_r;
  g = s.mask_g;
  b = s.mask_b;
}

void AutoImageFlags(int flags) {
  if (flags != -1) draw_state.images.auto_flags = flags;
}

void AutoMidHandle(bool on) {
  draw_state.images.auto_midhandle = on;
}
