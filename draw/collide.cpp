// The 32-layer collision store: image frames and rectangles become transformed quads that are
// tested against the quads of chosen layers and written into others. CPU only. Depends on
// draw/state.h and draw/collide_scan.h.
#include <algorithm>
#include <cassert>

#include "draw/collide_scan.h"
#include "draw/state.h"

namespace {

constexpr uint32_t kImagesCollideLayer = 1u << 31;

std::shared_ptr<TQuad> TakeQuad() {
  auto& pool = draw_state.collision.pool;
  if (!pool) return std::make_shared<TQuad>();
  auto quad = pool;
  pool = quad->link;
  quad->link = nullptr;
  return quad;
}

// The quad DrawImage would draw for a picture of w x h with handle (handle_x, handle_y) at
// (x, y): the current origin and collision matrix apply, the graphics handle does not.
std::shared_ptr<TQuad> PlacedQuad(float handle_x, float handle_y, float x, float y, float w,
                                  float h) {
  float origin_x = 0, origin_y = 0;
  GetOrigin(origin_x, origin_y);
  const auto& m = draw_state.collision;
  const float tx = x + origin_x, ty = y + origin_y;
  const float rx = -handle_x, ry = -handle_y;
  auto corner_x = [&](float px, float py) { return px * m.ix + py * m.iy + tx; };
  auto corner_y = [&](float px, float py) { return px * m.jx + py * m.jy + ty; };
  auto quad = TakeQuad();
  quad->SetCoords(corner_x(rx, ry), corner_y(rx, ry), corner_x(rx + w, ry), corner_y(rx + w, ry),
                  corner_x(rx + w, ry + h), corner_y(rx + w, ry + h), corner_x(rx, ry + h),
                  corner_y(rx, ry + h));
  return quad;
}

std::shared_ptr<TQuad> QuadFromImage(const std::shared_ptr<TImage>& image, int frame, float x,
                                     float y, std::shared_ptr<TObject> id) {
  auto quad = PlacedQuad(image->handle_x, image->handle_y, x, y, static_cast<float>(image->width),
                         static_cast<float>(image->height));
  quad->id = std::move(id);
  auto pixmap = image->Lock(frame, true, false);
  quad->mask = FormatHasAlpha(pixmap->format) ? std::move(pixmap) : nullptr;
  return quad;
}

rpoly PolyFromQuad(const TQuad& quad) {
  rpoly p;
  p.texture = quad.mask;
  p.data = quad.xyuv;
  return p;
}

}  // namespace

void TQuad::SetCoords(float x0, float y0, float x1, float y1, float x2, float y2, float x3,
                      float y3) {
  xyuv = {x0, y0, 0, 0, x1, y1, 1, 0, x2, y2, 1, 1, x3, y3, 0, 1};
  minx = std::min({x0, x1, x2, x3});
  maxx = std::max({x0, x1, x2, x3});
  miny = std::min({y0, y1, y2, y3});
  maxy = std::max({y0, y1, y2, y3});
}

void ResetCollisions(uint32_t mask) {
  auto& c = draw_state.collision;
  for (int i = 0; i < 32; ++i) {
    if (mask != 0 && !(mask & (1u << i))) continue;
    auto& layer = c.layers[static_cast<size_t>(i)];
    if (!layer) continue;
    TQuad* tail = layer.get();
    for (;;) {
      tail->mask = nullptr;
      tail->id = nullptr;
      if (!tail->link) break;
      tail = tail->link.get();
    }
    tail->link = std::move(c.pool);
    c.pool = std::move(layer);
  }
}

CollisionIds CollideQuad(const TQuad& quad, uint32_t collide_mask, uint32_t write_mask) {
  auto& c = draw_state.collision;
  CollisionIds hits;
  for (int i = 0; i < 32; ++i) {
    if (!(collide_mask & (1u << i))) continue;
    for (const TQuad* r = c.layers[static_cast<size_t>(i)].get(); r; r = r->link.get()) {
      if (QuadsCollide(quad, *r)) hits.push_back(r->id);
    }
  }
  // Written after testing, so a quad never hits its own copy.
  for (int i = 0; i < 32; ++i) {
    if (!(write_mask & (1u << i))) continue;
    auto copy = TakeQuad();
    copy->id = quad.id;
    copy->mask = quad.mask;
    copy->frame = quad.frame;
    copy->xyuv = quad.xyuv;
    copy->minx = quad.minx;
    copy->miny = quad.miny;
    copy->maxx = quad.maxx;
    copy->maxy = quad.maxy;
    auto& layer = c.layers[static_cast<size_t>(i)];
    copy->link = std::move(layer);
    layer = std::move(copy);
  }
  return hits;
}

bool QuadsCollide(const TQuad& a, const TQuad& b) {
  if (!(a.maxx >= b.minx && a.maxy >= b.miny)) return false;
  if (a.minx > b.maxx || a.miny > b.maxy) return false;
  rpoly polys[2] = {PolyFromQuad(a), PolyFromQuad(b)};
  return RenderPolys(polys, 2) < 0;
}

CollisionIds CollideImage(const std::shared_ptr<TImage>& image, float x, float y, int frame,
                          uint32_t collide_mask, uint32_t write_mask, std::shared_ptr<TObject> id) {
  assert(image);
  return CollideQuad(*QuadFromImage(image, frame, x, y, std::move(id)), collide_mask, write_mask);
}

CollisionIds CollideRect(float x, float y, float w, float h, uint32_t collide_mask,
                         uint32_t write_mask, std::shared_ptr<TObject> id) {
  auto quad = PlacedQuad(0, 0, x, y, w, h);
  quad->id = std::move(id);
  return CollideQuad(*quad, collide_mask, write_mask);
}

int ImagesCollide(const std::shared_ptr<TImage>& image1, float x1, float y1, int frame1,
                  const std::shared_ptr<TImage>& image2, float x2, float y2, int frame2) {
  if (!image1 || !image2) return 0;
  ResetCollisions(kImagesCollideLayer);
  CollideImage(image1, x1, y1, frame1, 0, kImagesCollideLayer);
  const auto hits = CollideImage(image2, x2, y2, frame2, kImagesCollideLayer, 0);
  return hits.empty() ? 0 : 1;
}
