// MaskPixmap: the mask colour made transparent, each transparent pixel coloured like its visible
// neighbours. Every piece of a jigsaw passes through here on loading. Depends on draw/pixmap.h.
#include <bit>
#include <cstring>
#include <vector>

#include "draw/pixmap.h"

namespace {

// Pixels are handled as 32-bit words: on a little-endian machine an RGBA pixel's word holds red
// in its low byte and alpha in its high byte.
static_assert(std::endian::native == std::endian::little);
constexpr uint32_t kColourBits = 0x00FFFFFF;
constexpr uint32_t kAlphaBits = 0xFF000000;

uint32_t LoadWord(const uint8_t* bytes) {
  uint32_t word;
  std::memcpy(&word, bytes, 4);
  return word;
}

void StoreWord(uint8_t* bytes, uint32_t word) {
  std::memcpy(bytes, &word, 4);
}

// 2^16 / n rounded up, for n = 1 .. 8: (s × kReciprocals[n]) >> 16 equals s / n for every s up
// to 8 × 255, the largest sum of one channel over the neighbours, and needs no division.
constexpr uint32_t kReciprocals[9] = {0, 65536, 32768, 21846, 16384, 13108, 10923, 9363, 8192};

// Writes n RGBA pixels from source to out: a pixel whose colour
// is key becomes 0 (transparent black), any other becomes opaque with its colour. kept[x] is
// set to 1 for the opaque ones and 0 for the others.
void MaskRow(const uint8_t* source, uint8_t* out, int32_t n, uint32_t key, uint8_t* kept) {
  for (int32_t x = 0; x < n; ++x) {
    const uint32_t colour = LoadWord(source + x * 4) & kColourBits;
    const bool keep = colour != key;
    kept[x] = keep;
    StoreWord(out + x * 4, keep ? colour | kAlphaBits : 0);
  }
}

// Counts the colours of the kept pixels of an RGBA row, while the row is still in the cache.
void CountKept(const uint8_t* source, const uint8_t* kept, int32_t n, kept_colour_counts& counts) {
  for (int32_t x = 0; x < n; ++x, source += 4) {
    if (!kept[x]) continue;
    counts.red[source[0]]++;
    counts.green[source[1]]++;
    counts.blue[source[2]]++;
  }
}

// MaskRow and CountKept in one pass over an RGB row, straight from its three-byte pixels: the
// counting is a byte at a time anyway, so a converted copy of the row would only add traffic.
void MaskAndCountRGBRow(const uint8_t* source, uint8_t* out, int32_t n, uint32_t key,
                        uint8_t* kept, kept_colour_counts& counts) {
  for (int32_t x = 0; x < n; ++x, source += 3, out += 4) {
    const uint32_t r = source[0], g = source[1], b = source[2];
    const uint32_t colour = r | g << 8 | b << 16;
    const bool keep = colour != key;
    kept[x] = keep;
    StoreWord(out, keep ? colour | kAlphaBits : 0);
    if (!keep) continue;
    counts.red[r]++;
    counts.green[g]++;
    counts.blue[b]++;
  }
}

// The average colour of the kept pixels of a 3 x 3 block, of which there are count (1 .. 8);
// rows[j] and columns[i] are byte offsets from the centre pixel and flags[j][i] its kept flags.
// Red and blue are summed side by side in one word, green in another: no sum passes 16 bits.
uint32_t AverageOfKept(const uint8_t* centre, const ptrdiff_t rows[3], const ptrdiff_t columns[3],
                       const uint8_t* const flags[3], int32_t count) {
  uint32_t red_blue = 0, green = 0;
  for (int32_t j = 0; j < 3; ++j) {
    for (int32_t i = 0; i < 3; ++i) {
      const uint32_t pixel = LoadWord(centre + rows[j] + columns[i]) & -uint32_t{flags[j][i]};
      red_blue += pixel & 0x00FF00FF;
      green += (pixel >> 8) & 0xFF;
    }
  }
  const uint32_t reciprocal = kReciprocals[count];
  const uint32_t r = ((red_blue & 0xFFFF) * reciprocal) >> 16;
  const uint32_t g = (green * reciprocal) >> 16;
  const uint32_t b = ((red_blue >> 16) * reciprocal) >> 16;
  return r | g << 8 | b << 16;
}

}  // namespace

std::shared_ptr<TPixmap> MaskPixmap(const std::shared_ptr<TPixmap>& p, int32_t r, int32_t g,
                                    int32_t b, kept_colour_counts* counts) {
  const int32_t w = p->width, h = p->height;
  auto result = TPixmap::CreateUncleared(w, h, PF_RGBA8888, 4);  // MaskRow writes every pixel
  const bool is_colour = r >= 0 && r <= 255 && g >= 0 && g <= 255 && b >= 0 && b <= 255;
  // A mask colour outside the byte range matches nothing: the alpha bits are never in a colour.
  const uint32_t key = is_colour ? static_cast<uint32_t>(r | g << 8 | b << 16) : kAlphaBits;

  // kept: 1 where a pixel keeps its colour, in rows framed by 0s one pixel wide, so that the
  // neighbours of pixels at the edge of the picture need no bounds checks.
  const size_t stride = static_cast<size_t>(w) + 2;
  std::vector<uint8_t> kept(stride * (static_cast<size_t>(h) + 2), 0);
  // Rows in other formats are converted into a row of their own first: masking them in place
  // would keep the compiler from vectorising MaskRow.
  std::vector<uint8_t> rgba(p->format == PF_RGBA8888 ? 0 : static_cast<size_t>(w) * 4);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* source = p->PixelPtr(0, y);
    if (counts && p->format == PF_RGB888) {
      MaskAndCountRGBRow(source, result->PixelPtr(0, y), w, key, &kept[(y + 1) * stride + 1],
                         *counts);
      continue;
    }
    if (p->format != PF_RGBA8888) {
      ConvertPixels(source, p->format, rgba.data(), PF_RGBA8888, w);
      source = rgba.data();
    }
    MaskRow(source, result->PixelPtr(0, y), w, key, &kept[(y + 1) * stride + 1]);
    if (counts) CountKept(source, &kept[(y + 1) * stride + 1], w, *counts);
  }

  // A pixel made transparent with kept neighbours takes their average colour, so that filtering
  // does not pull the mask colour into the visible edge; one without any stays 0, 0, 0. Kept
  // pixels are final by now, so their colours are read from the result itself.
  std::vector<uint8_t> around(stride);  // per framed column: kept pixels in rows y - 1 .. y + 1
  // 1 for a transparent pixel with kept neighbours; a whole number of 8-byte words, so that it
  // can be scanned a word at a time.
  std::vector<uint8_t> edge((static_cast<size_t>(w) + 7) / 8 * 8, 0);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* const flags[3] = {&kept[y * stride], &kept[(y + 1) * stride],
                                     &kept[(y + 2) * stride]};  // framed column x + 1 is column x
    for (size_t i = 0; i < stride; ++i) around[i] = flags[0][i] + flags[1][i] + flags[2][i];
    for (int32_t x = 0; x < w; ++x) {
      edge[x] = (flags[1][x + 1] == 0) & ((around[x] | around[x + 1] | around[x + 2]) != 0);
    }
    const ptrdiff_t pitch = result->pitch;
    for (int32_t x8 = 0; x8 < w; x8 += 8) {
      uint64_t bits;
      std::memcpy(&bits, &edge[x8], 8);
      for (; bits != 0; bits &= bits - 1) {
        const int32_t x = x8 + std::countr_zero(bits) / 8;
        // Offsets to neighbours outside the picture are clamped to the pixel itself, whose
        // flag there is 0, so every read stays inside and the sum needs no branches.
        const ptrdiff_t rows[3] = {y > 0 ? -pitch : 0, 0, y < h - 1 ? pitch : 0};
        const ptrdiff_t columns[3] = {x > 0 ? -4 : 0, 0, x < w - 1 ? 4 : 0};
        const uint8_t* const block[3] = {flags[0] + x, flags[1] + x, flags[2] + x};
        uint8_t* out = result->PixelPtr(x, y);
        StoreWord(out, AverageOfKept(out, rows, columns, block,
                                     around[x] + around[x + 1] + around[x + 2]));
      }
    }
  }
  return result;
}
