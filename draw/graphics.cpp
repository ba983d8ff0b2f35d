// The drawing state of a graphics context (T2DGraphics) and the global operations that set and
// read it. Depends on draw/state.h and the display module of platform/.
#include <cmath>
#include <numbers>

#include "draw/state.h"

namespace {

// The values a fresh context starts with; the getters return them when no context is current.
const T2DGraphics& StartValues() {
  static const T2DGraphics start;
  return start;
}

const T2DGraphics& StateForReading() {
  const T2DGraphics* g = CurrentGraphics();
  return g ? *g : StartValues();
}

// The physical size the virtual resolution is measured against. The display module knows it
// while a context is current; a record validated outside it falls back to its own last size.
float PhysicalWidth(const T2DGraphics& g) {
  int w = GraphicsWidth();
  return static_cast<float>(w > 0 ? w : g.g_width);
}
float PhysicalHeight(const T2DGraphics& g) {
  int h = GraphicsHeight();
  return static_cast<float>(h > 0 ? h : g.g_height);
}

void UpdateTransform(T2DGraphics& g) {
  const double radians = static_cast<double>(g.tform_rot) * std::numbers::pi / 180.0;
  const double s = std::sin(radians);
  const double c = std::cos(radians);
  g.tform_ix = static_cast<float>(c * g.tform_scale_x);
  g.tform_iy = static_cast<float>(-s * g.tform_scale_y);
  g.tform_jx = static_cast<float>(s * g.tform_scale_x);
  g.tform_jy = static_cast<float>(c * g.tform_scale_y);
  draw_state.context.driver->SetTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
  auto& m = draw_state.collision;
  m.ix = g.tform_ix;
  m.iy = g.tform_iy;
  m.jx = g.tform_jx;
  m.jy = g.tform_jy;
}

}  // namespace

std::shared_ptr<TImageFont> DefaultFont() {
  auto& font = draw_state.context.default_font;
  if (!font) font = TImageFont::CreateDefault();
  return font;
}

// ---- T2DGraphics ------------------------------------------------------------------------------

std::shared_ptr<TGraphicsDriver> T2DGraphics::Driver() {
  return _driver;
}

void T2DGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
  if (_graphics) {
    _graphics->GetSettings(width, height, depth, hertz, flags);
  } else {
    width = height = depth = hertz = flags = 0;
  }
}

void T2DGraphics::Close() {
  if (!_graphics) return;
  _graphics->Close();
  _graphics = nullptr;
  _driver = nullptr;
}

void T2DGraphics::Validate() {
  int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
  GetSettings(width, height, depth, hertz, flags);
  if (width != g_width || height != g_height) {
    // A viewport over the whole picture stays over the whole picture (a filled window resized).
    if (viewport_x == 0 && viewport_y == 0 && viewport_w == g_width && viewport_h == g_height) {
      viewport_w = width;
      viewport_h = height;
    }
    g_width = width;
    g_height = height;
    vres_width = static_cast<float>(width);
    vres_height = static_cast<float>(height);
    vres_mousexscale = 1;
    vres_mouseyscale = 1;
  }
  // Copies, because the setters write the very fields they are given.
  const T2DGraphics s = *this;
  SetVirtualResolution(s.vres_width, s.vres_height);
  SetBlend(s.blend_mode);
  SetColor(s.color_red, s.color_green, s.color_blue);
  SetAlpha(s.color_alpha);
  SetClsColor(s.clscolor_red, s.clscolor_green, s.clscolor_blue);
  SetLineWidth(s.line_width);
  SetRotation(s.tform_rot);
  SetScale(s.tform_scale_x, s.tform_scale_y);
  SetViewport(s.viewport_x, s.viewport_y, s.viewport_w, s.viewport_h);
  SetOrigin(s.origin_x, s.origin_y);
  SetHandle(-s.handle_x, -s.handle_y);
  SetImageFont(s.image_font);
}

void T2DGraphics::MakeCurrent() {
  draw_state.context.graphics = std::static_pointer_cast<T2DGraphics>(shared_from_this());
  draw_state.context.driver = _driver;
  Validate();
  if (_setup == 0) {
    // Both buffers start in the clear colour.
    ::Cls();
    Flip(0);
    ::Cls();
    Flip(0);
    _setup = 1;
  }
}

void T2DGraphics::ClearCurrent() {
  draw_state.context.graphics = nullptr;
  draw_state.context.driver = nullptr;
}

std::shared_ptr<T2DGraphics> T2DGraphics::Current() {
  return draw_state.context.graphics;
}

std::shared_ptr<T2DGraphics> T2DGraphics::Create(std::shared_ptr<TGraphics> graphics,
                                                 std::shared_ptr<T2DDriver> driver) {
  int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
  graphics->GetSettings(width, height, depth, hertz, flags);
  auto g = std::make_shared<T2DGraphics>();
  g->viewport_w = width;
  g->viewport_h = height;
  g->image_font = DefaultFont();
  g->vres_width = static_cast<float>(width);
  g->vres_height = static_cast<float>(height);
  g->g_width = width;
  g->g_height = height;
  g->_graphics = std::move(graphics);
  g->_driver = std::move(driver);
  return g;
}

// ---- State operations -------------------------------------------------------------------------

void Cls() {
  if (CurrentGraphics()) draw_state.context.driver->Cls();
}

void SetClsColor(int r, int g, int b) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->clscolor_red = r;
  s->clscolor_green = g;
  s->clscolor_blue = b;
  draw_state.context.driver->SetClsColor(r, g, b);
}

void GetClsColor(int& r, int& g, int& b) {
  const T2DGraphics& s = StateForReading();
  r = s.clscolor_red;
  g = s.clscolor_green;
  b = s.clscolor_blue;
}

void SetColor(int r, int g, int b) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->color_red = r;
  s->color_green = g;
  s->color_blue = b;
  draw_state.context.driver->SetColor(r, g, b);
}

void GetColor(int& r, int& g, int& b) {
  const T2DGraphics& s = StateForReading();
  r = s.color_red;
  g = s.color_green;
  b = s.color_blue;
}

void SetAlpha(float alpha) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->color_alpha = alpha;
  draw_state.context.driver->SetAlpha(alpha);
}

float GetAlpha() {
  return StateForReading().color_alpha;
}

void SetBlend(int mode) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->blend_mode = mode;
  draw_state.context.driver->SetBlend(mode);
}

int GetBlend() {
  return StateForReading().blend_mode;
}

void SetLineWidth(float width) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->line_width = width;
  draw_state.context.driver->SetLineWidth(width);
}

float GetLineWidth() {
  return StateForReading().line_width;
}

void SetViewport(int x, int y, int w, int h) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->viewport_x = x;
  s->viewport_y = y;
  s->viewport_w = w;
  s->viewport_h = h;
  const float sx = s->vres_mousexscale;
  const float sy = s->vres_mouseyscale;
  const int x0 = static_cast<int>(std::floor(static_cast<float>(x) / sx));
  const int y0 = static_cast<int>(std::floor(static_cast<float>(y) / sy));
  const int x1 = static_cast<int>(std::floor(static_cast<float>(x + w) / sx));
  const int y1 = static_cast<int>(std::floor(static_cast<float>(y + h) / sy));
  draw_state.context.driver->SetViewport(x0, y0, x1 - x0, y1 - y0);
}

void GetViewport(int& x, int& y, int& w, int& h) {
  const T2DGraphics& s = StateForReading();
  x = s.viewport_x;
  y = s.viewport_y;
  w = s.viewport_w;
  h = s.viewport_h;
}

void SetOrigin(float x, float y) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->origin_x = x;
  s->origin_y = y;
}

void GetOrigin(float& x, float& y) {
  const T2DGraphics& s = StateForReading();
  x = s.origin_x;
  y = s.origin_y;
}

void SetHandle(float x, float y) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->handle_x = -x;
  s->handle_y = -y;
}

void GetHandle(float& x, float& y) {
  const T2DGraphics& s = StateForReading();
  x = -s.handle_x;
  y = -s.handle_y;
}

void SetRotation(float degrees) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->tform_rot = degrees;
  UpdateTransform(*s);
}

float GetRotation() {
  return StateForReading().tform_rot;
}

void SetScale(float scale_x, float scale_y) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->tform_scale_x = scale_x;
  s->tform_scale_y = scale_y;
  UpdateTransform(*s);
}

void GetScale(float& scale_x, float& scale_y) {
  const T2DGraphics& s = StateForReading();
  scale_x = s.tform_scale_x;
  scale_y = s.tform_scale_y;
}

void SetVirtualResolution(float width, float height) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->vres_width = width;
  s->vres_height = height;
  s->vres_mousexscale = width / PhysicalWidth(*s);
  s->vres_mouseyscale = height / PhysicalHeight(*s);
  draw_state.context.driver->SetResolution(width, height);
}

void SetImageFont(const std::shared_ptr<TImageFont>& font) {
  T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  s->image_font = font ? font : DefaultFont();
}

std::shared_ptr<TImageFont> GetImageFont() {
  const T2DGraphics* s = CurrentGraphics();
  return s ? s->image_font : DefaultFont();
}

std::shared_ptr<TImageFont> LoadImageFont(const std::string& url, int size, int style) {
  return TImageFont::Load(url, size, style);
}
