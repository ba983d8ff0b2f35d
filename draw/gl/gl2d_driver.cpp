// The OpenGL drawing back end: context selection and reset, the state the setters ask for
// (colour clamping, the scissor rule), shapes recorded for the frame, and reading and writing
// the picture. Depends on draw/gl/gl2d.h and the platform's GL graphics driver.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "draw/gl/gl2d.h"

gl2d_state_type& gl2d_state = *new gl2d_state_type;

void ResetGL2D() {
  gl2d_state = gl2d_state_type{};
}

void BindTexture(unsigned name) {
  auto& s = gl2d_state;
  if (!s.texturing) {
    glEnable(GL_TEXTURE_2D);
    s.texturing = true;
  }
  if (s.bound_texture != name) {
    glBindTexture(GL_TEXTURE_2D, name);
    s.bound_texture = name;
  }
}

void DisableTexturing() {
  auto& s = gl2d_state;
  if (!s.texturing) return;
  glDisable(GL_TEXTURE_2D);
  s.texturing = false;
}

namespace {

uint8_t ClampByte(int v) {
  return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

void ReverseRows(TPixmap& p) {
  std::vector<uint8_t> row(static_cast<size_t>(p.pitch));
  for (int top = 0, bottom = p.height - 1; top < bottom; ++top, --bottom) {
    std::memcpy(row.data(), p.PixelPtr(0, top), row.size());
    std::memcpy(p.PixelPtr(0, top), p.PixelPtr(0, bottom), row.size());
    std::memcpy(p.PixelPtr(0, bottom), row.data(), row.size());
  }
}

}  // namespace

gl_vertex Transformed(float px, float py, float tx, float ty, float offset, float u, float v) {
  const auto& m = gl2d_state;
  return {px * m.ix + py * m.iy + tx + offset, px * m.jx + py * m.jy + ty + offset, u, v};
}

std::shared_ptr<TGL2DDriver> TGL2DDriver::Create() {
  return GLGraphicsDriver() ? std::make_shared<TGL2DDriver>() : nullptr;
}

void SetOrtho(double width, double height) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, height, 0, -1, 1);
  glMatrixMode(GL_MODELVIEW);
}

void TGL2DDriver::ResetGLContext(T2DGraphics& graphics) {
  int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
  graphics.GetSettings(width, height, depth, hertz, flags);
  auto& s = gl2d_state;
  s.wanted = gl_draw_state{};
  s.wanted.ortho_width = static_cast<float>(width);
  s.wanted.ortho_height = static_cast<float>(height);
  s.applied_known = false;
  s.bound_texture = 0;
  s.texturing = false;
  // What was recorded ran into the context left (SetGraphics); what is on show here is unknown.
  s.frame.Clear();
  s.shown_seq = 0;
  ForgetPictureObjects();
  glDisable(GL_TEXTURE_2D);
  SetOrtho(width, height);
  glLoadIdentity();
  glViewport(0, 0, width, height);
}

std::vector<TGraphicsMode> TGL2DDriver::GraphicsModes() {
  return GLGraphicsDriver()->GraphicsModes();
}

std::shared_ptr<TGraphics> TGL2DDriver::AttachGraphics(void* handle, int flags) {
  auto context = GLGraphicsDriver()->AttachGraphics(handle, flags);
  if (!context) return nullptr;
  return T2DGraphics::Create(std::move(context),
                             std::static_pointer_cast<T2DDriver>(shared_from_this()));
}

std::shared_ptr<TGraphics> TGL2DDriver::CreateGraphics(int width, int height, int depth, int hertz,
                                                       int flags) {
  auto context = GLGraphicsDriver()->CreateGraphics(width, height, depth, hertz, flags);
  if (!context) return nullptr;
  return T2DGraphics::Create(std::move(context),
                             std::static_pointer_cast<T2DDriver>(shared_from_this()));
}

void TGL2DDriver::SetGraphics(std::shared_ptr<TGraphics> graphics) {
  auto g = std::dynamic_pointer_cast<T2DGraphics>(graphics);
  if (g && g->_graphics && g == T2DGraphics::Current()) return;
  // What is recorded belongs in the back buffer of the context being left, where it stays.
  if (T2DGraphics::Current()) RunRecorded();
  if (!g || !g->_graphics) {
    T2DGraphics::ClearCurrent();
    GLGraphicsDriver()->SetGraphics(nullptr);
    return;
  }
  GLGraphicsDriver()->SetGraphics(g->_graphics);
  ResetGLContext(*g);
  g->MakeCurrent();
}

void TGL2DDriver::Flip(int sync) {
  PresentFrame(sync);
}

void TGL2DDriver::Resized() {
  if (auto g = T2DGraphics::Current()) g->Validate();
  gl2d_state.shown_seq = 0;
}

std::shared_ptr<TImageFrame> TGL2DDriver::CreateFrameFromPixmap(
    const std::shared_ptr<TPixmap>& pixmap, int flags) {
  if (auto placed = TGLImageFrame::CreateOnAtlas(pixmap, flags)) return placed;
  return TGLImageFrame::CreateFromPixmap(pixmap, flags);
}

void TGL2DDriver::SetBlend(int mode) {
  auto& s = gl2d_state;
  if (mode == s.wanted.blend) return;
  s.wanted.blend = mode;
  ++s.blend_changes;
}

void ApplyBlend(int mode) {
  switch (mode) {
    case MaskBlend:
      glDisable(GL_BLEND);
      glEnable(GL_ALPHA_TEST);
      glAlphaFunc(GL_GEQUAL, 0.5f);
      break;
    case AlphaBlend:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      glDisable(GL_ALPHA_TEST);
      break;
    case kPremultipliedBlend:
      glEnable(GL_BLEND);
      glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
      glDisable(GL_ALPHA_TEST);
      break;
    case AdditiveBlend:
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE);
      glDisable(GL_ALPHA_TEST);
      break;
    case MultiplyBlend:
      glEnable(GL_BLEND);
      glBlendFunc(GL_DST_COLOR, GL_ZERO);
      glDisable(GL_ALPHA_TEST);
      break;
    default:  // SolidBlend and unknown modes
      glDisable(GL_BLEND);
      glDisable(GL_ALPHA_TEST);
      break;
  }
}

void TGL2DDriver::SetAlpha(float alpha) {
  if (alpha > 1) alpha = 1;
  if (!(alpha >= 0)) alpha = 0;  // negative or NaN
  gl2d_state.wanted.color[3] = static_cast<uint8_t>(alpha * 255);
}

void TGL2DDriver::SetColor(int r, int g, int b) {
  auto& color = gl2d_state.wanted.color;
  color[0] = ClampByte(r);
  color[1] = ClampByte(g);
  color[2] = ClampByte(b);
}

void TGL2DDriver::SetClsColor(int r, int g, int b) {
  gl2d_state.wanted.clear = {ClampByte(r), ClampByte(g), ClampByte(b)};
}

void TGL2DDriver::SetViewport(int x, int y, int w, int h) {
  auto& wanted = gl2d_state.wanted;
  wanted.scissor = !(x == 0 && y == 0 && w == GraphicsWidth() && h == GraphicsHeight());
  wanted.scissor_box = wanted.scissor ? std::array<int, 4>{x, GraphicsHeight() - y - h, w, h} : std::array<int, 4>{};
}

void TGL2DDriver::SetTransform(float ix, float iy, float jx, float jy) {
  auto& s = gl2d_state;
  s.ix = ix;
  s.iy = iy;
  s.jx = jx;
  s.jy = jy;
}

void TGL2DDriver::SetLineWidth(float width) {
  gl2d_state.wanted.line_width = width;
}

void TGL2DDriver::Cls() {
  RecordShape(gl_shape::clear, {});
}

void TGL2DDriver::Plot(float x, float y) {
  RecordShape(gl_shape::points, {gl_vertex{x + 0.5f, y + 0.5f}});
}

void TGL2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
  RecordShape(gl_shape::lines, {Transformed(x0, y0, tx, ty, 0.5f), Transformed(x1, y1, tx, ty, 0.5f)});
}

void TGL2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
  RecordShape(gl_shape::quads, {Transformed(x0, y0, tx, ty, 0), Transformed(x1, y0, tx, ty, 0),
                                Transformed(x1, y1, tx, ty, 0), Transformed(x0, y1, tx, ty, 0)});
}

void TGL2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
  const float rx = (x1 - x0) * 0.5f, ry = (y1 - y0) * 0.5f;
  const float cx = x0 + rx, cy = y0 + ry;
  int segments = std::max(static_cast<int>(std::fabs(rx) + std::fabs(ry)), 12);
  segments &= ~3;
  std::vector<gl_vertex> vertices;
  vertices.reserve(static_cast<size_t>(segments));
  for (int i = 0; i < segments; ++i) {
    const double theta = i * 360.0 / segments * std::numbers::pi / 180.0;
    const auto x = static_cast<float>(cx + rx * std::cos(theta));
    const auto y = static_cast<float>(cy - ry * std::sin(theta));
    vertices.push_back(Transformed(x, y, tx, ty, 0));
  }
  RecordShape(gl_shape::polygon, vertices);
}

void TGL2DDriver::DrawPoly(const std::vector<float>& xy, float handle_x, float handle_y,
                           float origin_x, float origin_y) {
  if (xy.size() < 6 || xy.size() % 2 != 0) return;
  std::vector<gl_vertex> vertices;
  vertices.reserve(xy.size() / 2);
  for (size_t k = 0; k < xy.size(); k += 2) {
    vertices.push_back(Transformed(xy[k] + handle_x, xy[k + 1] + handle_y, origin_x, origin_y, 0));
  }
  RecordShape(gl_shape::polygon, vertices);
}

void TGL2DDriver::DrawPixmap(const std::shared_ptr<TPixmap>& pixmap, int x, int y) {
  RunRecorded();  // what was drawn before lies beneath
  gl2d_state.frame.forced = true;
  gl_draw_state solid = gl2d_state.wanted;
  solid.blend = SolidBlend;
  ApplyState(solid);
  DisableTexturing();
  const auto rgba = pixmap->format == PF_RGBA8888 ? pixmap : pixmap->Convert(PF_RGBA8888);
  glPixelZoom(1, -1);
  glRasterPos2i(0, 0);
  // A zero-size bitmap only moves the raster position, which may then leave the viewport.
  glBitmap(0, 0, 0, 0, static_cast<float>(x), static_cast<float>(-y), nullptr);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
  glDrawPixels(rgba->width, rgba->height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->pixels);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelZoom(1, 1);
}

std::shared_ptr<TPixmap> TGL2DDriver::GrabPixmap(int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return nullptr;
  RunRecorded();
  auto pixmap = TPixmap::Create(w, h, PF_RGBA8888, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, pixmap->pitch / 4);
  glReadPixels(x, GraphicsHeight() - h - y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixmap->pixels);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  ReverseRows(*pixmap);  // GL delivers the bottom row first
  return pixmap;
}

void TGL2DDriver::SetResolution(float width, float height) {
  gl2d_state.wanted.ortho_width = width;
  gl2d_state.wanted.ortho_height = height;
}

void SetFrameReuse(bool on) {
  gl2d_state.reuse = on;
}

void FinishDrawing() {
  RunRecorded();
  glFinish();
}

frame_counts FrameCounts() {
  return {gl2d_state.presented, gl2d_state.kept.reused, gl2d_state.partial};
}
void InitDrawing() {
  SetGraphicsDriver(TGL2DDriver::Create(), GRAPHICS_BACKBUFFER);
}
