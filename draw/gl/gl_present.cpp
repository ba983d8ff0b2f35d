// Where the picture is drawn and how it reaches the window: straight into the back buffer
// when the window's pixels match the picture's size (a filled window always), else into an
// off-screen picture of the laid-out size that is scaled into the window with its aspect kept
// and black bars. Reading the picture (GrabPixmap) therefore always sees the picture's own
// pixels. Depends on draw/gl/gl2d.h.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <cstring>

#include "draw/gl/gl2d.h"

// Framebuffer objects are core since OpenGL 3.0 and an extension before.
bool FramebuffersAvailable() {
  static int checked_seq = 0;
  static bool available = false;
  if (checked_seq != GraphicsSeq()) {
    checked_seq = GraphicsSeq();
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const auto* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    available = (version && std::atoi(version) >= 3) ||
                (extensions && std::strstr(extensions, "GL_ARB_framebuffer_object"));
  }
  return available;
}

namespace {

// Frees the off-screen picture of the current context. GL unbinds a deleted texture, so the
// binding cache must forget it too, or a new texture given the same name would never be bound.
void DropTarget() {
  auto& t = gl2d_state.target;
  glDeleteFramebuffers(1, &t.framebuffer);
  glDeleteTextures(1, &t.texture);
  if (gl2d_state.bound_texture == t.texture) gl2d_state.bound_texture = 0;
  t = gl_target_state{};
}

// The off-screen picture of width x height for the current context; false when GL cannot make it.
bool MakeTarget(int width, int height) {
  auto& t = gl2d_state.target;
  if (t.framebuffer != 0 && t.seq == GraphicsSeq()) {
    if (t.width == width && t.height == height) return true;
    DropTarget();
  }
  t = gl_target_state{};
  gl2d_state.picture_holds_shown = false;
  glGenTextures(1, &t.texture);
  BindTexture(t.texture);
  // Filtered: a picture scaled by a fraction shows neither doubled nor dropped pixel rows.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  t.filter = GL_LINEAR;
  glGenFramebuffers(1, &t.framebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, t.framebuffer);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t.texture, 0);
  const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  glBindFramebuffer(GL_FRAMEBUFFER, 0);
  t.seq = GraphicsSeq();
  t.width = width;
  t.height = height;
  if (!complete) DropTarget();
  return complete;
}

}  // namespace

void BindPicture() {
  auto& t = gl2d_state.target;
  const int width = GraphicsWidth(), height = GraphicsHeight();
  int pixel_width = 0, pixel_height = 0;
  GraphicsPixelSize(pixel_width, pixel_height);
  const bool scaled = pixel_width > 0 && pixel_height > 0 && (pixel_width != width || pixel_height != height);
  const bool offscreen = scaled && FramebuffersAvailable() && MakeTarget(width, height);
  if (offscreen != t.offscreen) {
    glBindFramebuffer(GL_FRAMEBUFFER, offscreen ? t.framebuffer : 0);
    t.offscreen = offscreen;
  }
  glViewport(0, 0, width, height);
}

unsigned PictureFramebuffer() {
  return gl2d_state.target.offscreen ? gl2d_state.target.framebuffer : 0;
}

gl_draw_state PictureCopyState(int width, int height) {
  gl_draw_state copying;
  copying.blend = SolidBlend;
  copying.color = {255, 255, 255, 255};
  copying.ortho_width = static_cast<float>(width);
  copying.ortho_height = static_cast<float>(height);
  return copying;
}

void DrawPictureTexture(unsigned texture, float x0, float y0, float x1, float y1, float u, float v) {
  BindTexture(texture);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glBegin(GL_QUADS);
  glTexCoord2f(0, v);
  glVertex2f(x0, y0);
  glTexCoord2f(u, v);
  glVertex2f(x1, y0);
  glTexCoord2f(u, 0);
  glVertex2f(x1, y1);
  glTexCoord2f(0, 0);
  glVertex2f(x0, y1);
  glEnd();
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

void ShowPicture(int sync) {
  auto& t = gl2d_state.target;
  // The off-screen picture keeps what it holds; a swap leaves the window's back buffer undefined.
  gl2d_state.picture_holds_shown = t.offscreen;
  if (t.offscreen) {
    int pixel_width = 0, pixel_height = 0;
    GraphicsPixelSize(pixel_width, pixel_height);
    const picture_fit fit = FitPicture(t.width, t.height, pixel_width, pixel_height);
    // A whole multiple (twice the size on a high-density screen) keeps every pixel sharp.
    const bool whole = fit.w % t.width == 0 && fit.h % t.height == 0 && fit.w / t.width == fit.h / t.height;
    const int filter = whole ? GL_NEAREST : GL_LINEAR;
    if (filter != t.filter) {
      BindTexture(t.texture);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
      t.filter = filter;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    t.offscreen = false;
    glViewport(0, 0, pixel_width, pixel_height);
    ApplyState(PictureCopyState(pixel_width, pixel_height));
    glClear(GL_COLOR_BUFFER_BIT);  // the bars
    DrawPictureTexture(t.texture, static_cast<float>(fit.x), static_cast<float>(fit.y),
                       static_cast<float>(fit.x + fit.w), static_cast<float>(fit.y + fit.h), 1, 1);
  }
  GLGraphicsDriver()->Flip(sync);
}

void ForgetPictureObjects() {
  auto& s = gl2d_state;
  s.target.offscreen = false;  // a context starts on its window
  s.picture_holds_shown = false;
  if (s.target.seq != GraphicsSeq()) s.target = gl_target_state{};
  s.kept.prefix.Clear();
}
