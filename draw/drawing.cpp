// The global drawing operations: points, lines, rectangles, ovals, images, text, and reading
// the back buffer back. Each combines its arguments with the current drawing state and calls
// the current back end. Depends on draw/state.h.
#include "draw/state.h"

void Plot(float x, float y) {
  const T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  draw_state.context.driver->Plot(x + s->origin_x, y + s->origin_y);
}

void DrawRect(float x, float y, float w, float h) {
  const T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  const float hx = s->handle_x, hy = s->handle_y;
  draw_state.context.driver->DrawRect(hx, hy, hx + w, hy + h, x + s->origin_x, y + s->origin_y);
}

void DrawOval(float x, float y, float w, float h) {
  const T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  const float hx = s->handle_x, hy = s->handle_y;
  draw_state.context.driver->DrawOval(hx, hy, hx + w, hy + h, x + s->origin_x, y + s->origin_y);
}

void DrawLine(float x, float y, float x2, float y2, int draw_last_pixel) {
  const T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  const float hx = s->handle_x, hy = s->handle_y;
  const float ex = hx + x2 - x, ey = hy + y2 - y;
  const float tx = x + s->origin_x, ty = y + s->origin_y;
  T2DDriver& driver = *draw_state.context.driver;
  driver.DrawLine(hx, hy, ex, ey, tx, ty);
  // The rasteriser may leave the end point out.
  if (draw_last_pixel != 0) {
    driver.Plot(ex * s->tform_ix + ey * s->tform_iy + tx, ex * s->tform_jx + ey * s->tform_jy + ty);
  }
}

void DrawImage(const std::shared_ptr<TImage>& image, float x, float y, int frame) {
  const T2DGraphics* s = CurrentGraphics();
  if (!s || !image) return;
  const auto f = image->Frame(frame);
  if (!f) return;
  // The image's own handle, not the graphics handle.
  const float x0 = -image->handle_x, y0 = -image->handle_y;
  const auto w = static_cast<float>(image->width), h = static_cast<float>(image->height);
  f->Draw(x0, y0, x0 + w, y0 + h, x + s->origin_x, y + s->origin_y, 0, 0, w, h);
}

void DrawText(const std::string& text, float x, float y) {
  const T2DGraphics* s = CurrentGraphics();
  if (!s) return;
  const float hx = s->handle_x, hy = s->handle_y;
  s->image_font->Draw(text, x + s->origin_x + hx * s->tform_ix + hy * s->tform_iy,
                      y + s->origin_y + hx * s->tform_jx + hy * s->tform_jy, s->tform_ix,
                      s->tform_iy, s->tform_jx, s->tform_jy);
}

int TextWidth(const std::string& text) {
  return GetImageFont()->Width(text);
}

int TextHeight(const std::string& /*text*/) {
  return GetImageFont()->Height();
}

std::shared_ptr<TPixmap> GrabPixmap(int x, int y, int w, int h) {
  if (!CurrentGraphics()) return nullptr;
  return draw_state.context.driver->GrabPixmap(x, y, w, h);
}
