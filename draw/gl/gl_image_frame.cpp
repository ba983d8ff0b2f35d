// Image textures of the OpenGL back end: power-of-two sizes checked with proxy textures, the
// picture's edge smeared one pixel outwards, filtering and mipmaps by image flags, the
// deletion queue that keeps GL calls out of frame destruction, and drawing a frame (its own
// texture or its atlas cell). Depends on draw/gl/gl2d.h.
#include <GL/gl.h>

#include <algorithm>

#include "draw/gl/gl2d.h"

int PowerOfTwoAtLeast(int n) {
  int p = 1;
  while (p < n) p <<= 1;
  return p;
}

namespace {

// Halves tw, th until GL accepts a texture of that size.
void FitTextureSize(int& tw, int& th) {
  for (;;) {
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 4, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint accepted = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &accepted);
    if (accepted != 0) return;
    if (tw == 1 && th == 1) throw TRuntimeException("Unable to calculate tex size");
    if (tw > 1) tw /= 2;
    if (th > 1) th /= 2;
  }
}

GLuint CreateTex(int tw, int th, int flags) {
  const GLuint name = GenTexture();
  BindTexture(name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  const bool mipmapped = flags & MipmappedImage;
  if (flags & FilteredImage) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmapped ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  } else {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmapped ? GL_NEAREST_MIPMAP_NEAREST : GL_NEAREST);
  }
  for (int level = 0, w = tw, h = th;; ++level) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    if (!mipmapped || (w == 1 && h == 1)) break;
    if (w >= 2) w /= 2;
    if (h >= 2) h /= 2;
  }
  return name;
}

// Uploads level 0 and, with MipmappedImage, each smaller level resized from the one before.
void UploadTex(std::shared_ptr<TPixmap> pixmap, int flags) {
  for (int level = 0;; ++level) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pixmap->pitch / BytesPerPixel(pixmap->format));
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, pixmap->width, pixmap->height, GL_RGBA,
                    GL_UNSIGNED_BYTE, pixmap->pixels);
    if (!(flags & MipmappedImage)) break;
    int w = pixmap->width, h = pixmap->height;
    if (w >= 2 && h >= 2) {
      w /= 2;
      h /= 2;
    } else if (w == 1) {
      if (h == 1) break;
      h /= 2;
    } else {
      w /= 2;
    }
    pixmap = ResizePixmap(pixmap, w, h);
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

// The picture at the top-left of a tw x th RGBA pixmap, its last column and row repeated once
// so that filtering at the picture's edge does not pull in the margin.
std::shared_ptr<TPixmap> PadToTexture(const std::shared_ptr<TPixmap>& picture, int tw, int th) {
  const int w = picture->width, h = picture->height;
  if (w == tw && h == th) {
    return picture->format == PF_RGBA8888 ? picture : picture->Convert(PF_RGBA8888);
  }
  auto texture = TPixmap::Create(tw, th, PF_RGBA8888, 4);
  texture->Paste(picture, 0, 0);
  if (w < tw) texture->Paste(texture->Window(w - 1, 0, 1, h), w, 0);
  if (h < th) texture->Paste(texture->Window(0, h - 1, w, 1), 0, h);
  if (w < tw && h < th) texture->Paste(texture->Window(w - 1, h - 1, 1, 1), w, h);
  return texture;
}

}  // namespace

unsigned GenTexture() {
  GLuint name = 0;
  glGenTextures(1, &name);
  // The names queued under the current GraphicsSeq are deleted; older ones died with their context.
  auto& s = gl2d_state;
  const int seq = GraphicsSeq();
  if (s.dead_seq == seq && !s.dead_textures.empty()) {
    // Deleting the bound name leaves the cache stale only until the caller binds its new name.
    glDeleteTextures(static_cast<GLsizei>(s.dead_textures.size()), s.dead_textures.data());
  }
  s.dead_textures.clear();
  s.dead_seq = seq;
  return name;
}

void QueueDeadTexture(unsigned name, int seq) {
  // A name of an earlier sequence belongs to a context that no longer exists.
  if (seq != 0 && seq == gl2d_state.dead_seq) gl2d_state.dead_textures.push_back(name);
}

uint64_t NextFrameSerial() {
  static uint64_t next_serial = 1;  // never reset, so a serial names one picture for the run
  return next_serial++;
}

std::shared_ptr<TGLImageFrame> TGLImageFrame::CreateFromPixmap(std::shared_ptr<TPixmap> pixmap,
                                                               int flags) {
  if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return nullptr;
  int tw = PowerOfTwoAtLeast(pixmap->width);
  int th = PowerOfTwoAtLeast(pixmap->height);
  FitTextureSize(tw, th);
  const int w = std::min(pixmap->width, tw);
  const int h = std::min(pixmap->height, th);
  if (w < pixmap->width || h < pixmap->height) pixmap = ResizePixmap(pixmap, w, h);
  const auto texture = PadToTexture(pixmap, tw, th);

  auto frame = std::make_shared<TGLImageFrame>();
  frame->name = CreateTex(tw, th, flags);
  UploadTex(texture, flags);
  frame->uscale = 1.0f / static_cast<float>(tw);
  frame->vscale = 1.0f / static_cast<float>(th);
  frame->u1 = static_cast<float>(w) * frame->uscale;
  frame->v1 = static_cast<float>(h) * frame->vscale;
  frame->seq = GraphicsSeq();
  frame->serial = NextFrameSerial();
  return frame;
}

TGLImageFrame::~TGLImageFrame() {
  if (page) {
    page->cells[static_cast<size_t>(cell)].used = false;  // the page texture stays
  } else {
    QueueDeadTexture(name, seq);
  }
}

void TGLImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty, float sx,
                         float sy, float sw, float sh) {
  const float su0 = u0 + sx * uscale, su1 = u0 + (sx + sw) * uscale;
  const float sv0 = v0 + sy * vscale, sv1 = v0 + (sy + sh) * vscale;
  RecordTextured(shared_from_this(),
                 {Transformed(x0, y0, tx, ty, 0, su0, sv0), Transformed(x1, y0, tx, ty, 0, su1, sv0),
                  Transformed(x1, y1, tx, ty, 0, su1, sv1), Transformed(x0, y1, tx, ty, 0, su0, sv1)},
                 sw, sh);
}
