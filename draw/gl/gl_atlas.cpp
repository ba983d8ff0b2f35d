// Atlas pages: small filtered pictures (the pieces) share a few large textures so that many of
// them draw in one run. Each picture sits in a cell whose margin repeats its edge, so sampling
// near the edge sees what its own clamped texture would; level 0 holds the picture unchanged,
// so a 1:1 draw shows the pixels of its own texture. Only filtered pictures come here: where a
// pixel centre falls exactly on a texel boundary (a centred odd size), nearest sampling picks
// a texel by the last bit of rounding, which differs between a page and a texture of its own,
// while bilinear weights of one half stay one half. Levels 1 to 4 hold the pictures reduced
// with premultiplied alpha, for drawing smaller (level 0 excluded, as it is not premultiplied),
// so a reduced edge fades without a dark fringe. Depends on draw/gl/gl2d.h.
#include <GL/gl.h>

#include <algorithm>
#include <vector>

#include "draw/gl/gl2d.h"

namespace {

constexpr int kLargestPicture = 256;  // larger pictures keep their own texture
constexpr int kMargin = 2;            // texels of repeated edge around a picture
constexpr int kReducedLevels = 4;     // levels 1..4: cells aligned to 16 never mix
constexpr int kAlign = 1 << kReducedLevels;

int RoundUp(int n) {
  return (n + kAlign - 1) / kAlign * kAlign;
}

// The largest page GL takes in the current context (0: none). Pages are large so that the
// pieces of a big jigsaw share one or two of them: a run of quads ends where the next piece
// lies on another page. Only the cells in use are ever written, and llvmpipe gives a texture
// memory only where it is written.
int PageSize() {
  static int checked_seq = 0;
  static int size = 0;
  if (checked_seq != GraphicsSeq()) {
    checked_seq = GraphicsSeq();
    size = 0;
    for (const int candidate : {8192, 4096, 2048}) {
      glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA8, candidate, candidate, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
      GLint width = 0;
      glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
      if (width == candidate) {
        size = candidate;
        break;
      }
    }
  }
  return size;
}

std::shared_ptr<gl_atlas_page> NewPage(int size) {
  auto page = std::make_shared<gl_atlas_page>();
  page->name = GenTexture();
  page->seq = GraphicsSeq();
  page->size = size;
  BindTexture(page->name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, kReducedLevels);
  for (int level = 0; level <= kReducedLevels; ++level) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, size >> level, size >> level, 0, GL_RGBA,
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

// The texels with their colour multiplied by their alpha.
std::vector<uint32_t> Premultiplied(const std::vector<uint32_t>& texels) {
  std::vector<uint32_t> out(texels.size());
  for (size_t i = 0; i < texels.size(); ++i) {
    const uint32_t a = Channel(texels[i], 3);
    uint32_t texel = a << 24;
    for (int k = 0; k < 3; ++k) texel |= (Channel(texels[i], k) * a + 127) / 255 << (8 * k);
    out[i] = texel;
  }
  return out;
}

// The next smaller level: each texel the mean of a 2 x 2 block.
std::vector<uint32_t> Halved(const std::vector<uint32_t>& texels, int w, int h) {
  const int hw = w / 2, hh = h / 2;
  std::vector<uint32_t> out(static_cast<size_t>(hw) * hh);
  for (int y = 0; y < hh; ++y) {
    for (int x = 0; x < hw; ++x) {
      const size_t at = static_cast<size_t>(2 * y) * w + 2 * x;
      uint32_t texel = 0;
      for (int k = 0; k < 4; ++k) {
        const uint32_t sum = Channel(texels[at], k) + Channel(texels[at + 1], k) + Channel(texels[at + w], k) +
                             Channel(texels[at + w + 1], k);
        texel |= (sum + 2) / 4 << (8 * k);
      }
      out[static_cast<size_t>(y) * hw + x] = texel;
    }
  }
  return out;
}

// Uploads the picture into the cell, with its reduced levels.
void Upload(const gl_atlas_page& page, const gl_atlas_cell& cell, const TPixmap& picture) {
  BindTexture(page.name);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  std::vector<uint32_t> texels = CellTexels(picture, cell.w, cell.h);
  for (int level = 0;; ++level) {
    glTexSubImage2D(GL_TEXTURE_2D, level, cell.x >> level, cell.y >> level, cell.w >> level, cell.h >> level,
                    GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    if (level == kReducedLevels) break;
    texels = Halved(level == 0 ? Premultiplied(texels) : texels, cell.w >> level, cell.h >> level);
  }
}

}  // namespace

gl_atlas_page::~gl_atlas_page() {
  QueueDeadTexture(name, seq);
}

std::shared_ptr<TGLImageFrame> TGLImageFrame::CreateOnAtlas(const std::shared_ptr<TPixmap>& pixmap, int flags) {
  if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0 || pixmap->width > kLargestPicture ||
      pixmap->height > kLargestPicture || (flags & (FilteredImage | MipmappedImage)) != FilteredImage ||
      PageSize() == 0)
    return nullptr;
  auto& s = gl2d_state;
  auto& pages = s.atlas;
  if (s.atlas_seq != GraphicsSeq()) {
    pages.clear();  // their textures died with their context
    s.atlas_seq = GraphicsSeq();
  }
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
    page = NewPage(PageSize());
    pages.push_back(page);
    cell = Place(*page, cw, ch);
  }
  const gl_atlas_cell& c = page->cells[static_cast<size_t>(cell)];
  Upload(*page, c, pixmap->format == PF_RGBA8888 ? *pixmap : *pixmap->Convert(PF_RGBA8888));

  auto frame = std::make_shared<TGLImageFrame>();
  frame->name = page->name;
  frame->uscale = frame->vscale = 1.0f / static_cast<float>(page->size);
  // Whole texel counts over a power of two: every coordinate is exact.
  frame->u0 = static_cast<float>(c.x + kMargin) * frame->uscale;
  frame->v0 = static_cast<float>(c.y + kMargin) * frame->vscale;
  frame->u1 = static_cast<float>(c.x + kMargin + pixmap->width) * frame->uscale;
  frame->v1 = static_cast<float>(c.y + kMargin + pixmap->height) * frame->vscale;
  frame->seq = GraphicsSeq();
  frame->serial = NextFrameSerial();
  frame->page = std::move(page);
  frame->cell = cell;
  return frame;
}

void SelectSampling(const gl_command& command) {
  if (command.sampling == gl_sampling::own) return;
  for (const auto& weak : gl2d_state.atlas) {
    const auto page = weak.lock();
    if (!page || page->name != command.texture_name) continue;
    if (page->min_filter != command.sampling) {
      const bool reduced = command.sampling == gl_sampling::reduced;
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, reduced ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, reduced ? 1 : 0);
      page->min_filter = command.sampling;
    }
    return;
  }
}
