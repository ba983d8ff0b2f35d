// Atlas pages: small pictures share a few large textures so that many of them draw in one run.
// Each picture sits in a cell whose margin repeats its edge, so sampling near the edge sees
// what its own clamped texture would; level 0 holds the picture unchanged, so a 1:1 draw shows
// exactly the pixels of its own texture. Pages of FilteredImage pictures also carry reduced
// levels for drawing smaller, averaged by alpha with colour carried into the transparent texels
// beside the opaque ones, so a reduced edge shows no dark fringe. Depends on draw/gl/gl2d.h.
#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "draw/gl/gl2d.h"

namespace {

constexpr int kPageSize = 2048;
constexpr int kLargestPicture = 256;  // larger pictures keep their own texture
constexpr int kMargin = 2;            // texels of repeated edge around a picture
constexpr int kReducedLevels = 4;     // levels 1..4: cells aligned to 16 never mix
constexpr int kAlign = 1 << kReducedLevels;

int RoundUp(int n) {
  return (n + kAlign - 1) / kAlign * kAlign;
}

// GL takes a page texture (with its levels) in the current context.
bool PageSizeAccepted() {
  static int checked_seq = 0;
  static bool accepted = false;
  if (checked_seq != GraphicsSeq()) {
    checked_seq = GraphicsSeq();
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA8, kPageSize, kPageSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    accepted = width == kPageSize;
  }
  return accepted;
}

std::shared_ptr<gl_atlas_page> NewPage(bool filtered) {
  auto page = std::make_shared<gl_atlas_page>();
  page->name = GenTexture();
  page->seq = GraphicsSeq();
  page->size = kPageSize;
  page->filtered = filtered;
  BindTexture(page->name);
  const GLint filter = filtered ? GL_LINEAR : GL_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
  const int levels = filtered ? kReducedLevels : 0;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, levels);
  for (int level = 0; level <= levels; ++level) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, kPageSize >> level, kPageSize >> level, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
  }
  return page;
}

// A cell of at least w x h (multiples of kAlign) on the page: a free cell of that height,
// else a new one on a shelf of that height, else on a new shelf. -1 when the page is full.
int Place(gl_atlas_page& page, int w, int h) {
  int best = -1;
  for (size_t i = 0; i < page.cells.size(); ++i) {
    const gl_atlas_cell& c = page.cells[i];
    if (!c.used && c.h == h && c.w >= w && (best < 0 || c.w < page.cells[static_cast<size_t>(best)].w))
      best = static_cast<int>(i);
  }
  if (best >= 0) {
    page.cells[static_cast<size_t>(best)].used = true;
    return best;
  }
  gl_atlas_shelf* shelf = nullptr;
  for (auto& s : page.shelves) {
    if (s.h == h && s.next_x + w <= page.size) {
      shelf = &s;
      break;
    }
  }
  if (!shelf) {
    if (page.next_y + h > page.size) return -1;
    page.shelves.push_back({page.next_y, h, 0});
    page.next_y += h;
    shelf = &page.shelves.back();
  }
  page.cells.push_back({shelf->next_x, shelf->y, w, h, true});
  shelf->next_x += w;
  return static_cast<int>(page.cells.size()) - 1;
}

// The cell's texels: the picture at (kMargin, kMargin), every other texel the nearest of its edge.
std::vector<uint32_t> CellTexels(const TPixmap& picture, int cw, int ch) {
  std::vector<uint32_t> texels(static_cast<size_t>(cw) * ch);
  for (int y = 0; y < ch; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(picture.PixelPtr(0, std::clamp(y - kMargin, 0, picture.height - 1)));
    uint32_t* out = &texels[static_cast<size_t>(y) * cw];
    for (int x = 0; x < cw; ++x) out[x] = row[std::clamp(x - kMargin, 0, picture.width - 1)];
  }
  return texels;
}

// RGBA texels as 32-bit words on a little-endian machine: red in the low byte, alpha high.
uint32_t Channel(uint32_t texel, int k) {
  return texel >> (8 * k) & 0xFF;
}

// The next smaller level: each texel's colour averaged by alpha over its 2 x 2 block, its
// alpha the block's mean; then each transparent texel beside visible ones takes their mean
// colour, so filtering towards it keeps the edge's colour.
std::vector<uint32_t> Reduce(const std::vector<uint32_t>& texels, int w, int h) {
  const int rw = w / 2, rh = h / 2;
  std::vector<uint32_t> reduced(static_cast<size_t>(rw) * rh);
  for (int y = 0; y < rh; ++y) {
    for (int x = 0; x < rw; ++x) {
      const size_t at = static_cast<size_t>(2 * y) * w + 2 * x;
      const uint32_t block[4] = {texels[at], texels[at + 1], texels[at + w], texels[at + w + 1]};
      uint32_t alpha = 0, sums[3] = {0, 0, 0};
      for (const uint32_t t : block) {
        const uint32_t a = Channel(t, 3);
        alpha += a;
        for (int k = 0; k < 3; ++k) sums[k] += Channel(t, k) * a;
      }
      uint32_t out = (alpha + 2) / 4 << 24;
      if (alpha > 0)
        for (int k = 0; k < 3; ++k) out |= (sums[k] + alpha / 2) / alpha << (8 * k);
      reduced[static_cast<size_t>(y) * rw + x] = out;
    }
  }
  std::vector<uint32_t> spread = reduced;
  for (int y = 0; y < rh; ++y) {
    for (int x = 0; x < rw; ++x) {
      uint32_t& out = spread[static_cast<size_t>(y) * rw + x];
      if (Channel(out, 3) != 0) continue;
      uint32_t count = 0, sums[3] = {0, 0, 0};
      for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, rh - 1); ++ny) {
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, rw - 1); ++nx) {
          const uint32_t n = reduced[static_cast<size_t>(ny) * rw + nx];
          if (Channel(n, 3) == 0) continue;
          ++count;
          for (int k = 0; k < 3; ++k) sums[k] += Channel(n, k);
        }
      }
      if (count == 0) continue;
      out = 0;
      for (int k = 0; k < 3; ++k) out |= (sums[k] + count / 2) / count << (8 * k);
    }
  }
  return spread;
}

// Uploads the picture into the cell, with the reduced levels on a filtered page.
void Upload(const gl_atlas_page& page, const gl_atlas_cell& cell, const TPixmap& picture) {
  BindTexture(page.name);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  std::vector<uint32_t> texels = CellTexels(picture, cell.w, cell.h);
  const int levels = page.filtered ? kReducedLevels : 0;
  for (int level = 0;; ++level) {
    glTexSubImage2D(GL_TEXTURE_2D, level, cell.x >> level, cell.y >> level, cell.w >> level, cell.h >> level,
                    GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    if (level == levels) break;
    texels = Reduce(texels, cell.w >> level, cell.h >> level);
  }
}

}  // namespace

gl_atlas_page::~gl_atlas_page() {
  QueueDeadTexture(name, seq);
}

std::shared_ptr<TGLImageFrame> TGLImageFrame::CreateOnAtlas(const std::shared_ptr<TPixmap>& pixmap, int flags) {
  if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0 || pixmap->width > kLargestPicture ||
      pixmap->height > kLargestPicture || (flags & MipmappedImage) || !PageSizeAccepted())
    return nullptr;
  auto& s = gl2d_state;
  if (s.atlas_seq != GraphicsSeq()) {
    for (auto& pages : s.atlas) pages.clear();  // their textures died with their context
    s.atlas_seq = GraphicsSeq();
  }
  const bool filtered = (flags & FilteredImage) != 0;
  auto& pages = s.atlas[filtered ? 1 : 0];
  std::erase_if(pages, [](const std::weak_ptr<gl_atlas_page>& p) { return p.expired(); });
  const int cw = RoundUp(pixmap->width + 2 * kMargin), ch = RoundUp(pixmap->height + 2 * kMargin);
  std::shared_ptr<gl_atlas_page> page;
  int cell = -1;
  for (const auto& weak : pages) {
    page = weak.lock();
    cell = Place(*page, cw, ch);
    if (cell >= 0) break;
  }
  if (cell < 0) {
    page = NewPage(filtered);
    pages.push_back(page);
    cell = Place(*page, cw, ch);
  }
  const gl_atlas_cell& c = page->cells[static_cast<size_t>(cell)];
  Upload(*page, c, pixmap->format == PF_RGBA8888 ? *pixmap : *pixmap->Convert(PF_RGBA8888));

  auto frame = std::make_shared<TGLImageFrame>();
  frame->name = page->name;
  frame->uscale = frame->vscale = 1.0f / static_cast<float>(kPageSize);
  // Whole texel counts over a power of two: every coordinate is exact.
  frame->u0 = static_cast<float>(c.x + kMargin) * frame->uscale;
  frame->v0 = static_cast<float>(c.y + kMargin) * frame->vscale;
  frame->u1 = static_cast<float>(c.x + kMargin + pixmap->width) * frame->uscale;
  frame->v1 = static_cast<float>(c.y + kMargin + pixmap->height) * frame->vscale;
  frame->seq = GraphicsSeq();
  frame->serial = NextFrameSerial();
  frame->page = std::move(page);
  frame->cell = cell;
  frame->reducible = filtered;
  return frame;
}

void SelectSampling(const gl_command& command) {
  if (command.sampling == gl_sampling::own) return;
  for (const auto& pages : gl2d_state.atlas) {
    for (const auto& weak : pages) {
      const auto page = weak.lock();
      if (!page || page->name != command.texture_name) continue;
      if (page->min_filter != command.sampling) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        command.sampling == gl_sampling::reduced ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        page->min_filter = command.sampling;
      }
      return;
    }
  }
}
