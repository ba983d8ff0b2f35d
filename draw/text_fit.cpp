// Breaking text into lines that fit a width: at spaces, and a word too wide for any line gives
// up its middle for an ellipsis. Depends on draw/draw.h and draw/utf8.h.
#include <algorithm>

#include "draw/draw.h"
#include "draw/utf8.h"

namespace {

// word keeping as many of its first and last characters around the ellipsis as fit in width,
// the two ends growing in turn; the ellipsis alone when nothing more fits.
std::string ElideMiddle(const std::string& word, TImageFont& font, int width) {
  const std::string ellipsis = font.CharToGlyph(0x2026) >= 0 ? "\u2026" : "...";
  // Byte offsets of the characters' starts, with the end as the last entry, so that a cut never
  // splits a character.
  std::vector<size_t> starts = {0};
  int c = 0;
  for (size_t pos = 0; NextCodePoint(word, pos, c);) starts.push_back(pos);
  size_t head = 0, tail = starts.size() - 1;  // characters kept: [0, head) and [tail, end)
  std::string fitted = ellipsis;
  while (head < tail) {
    const bool grow_head = head <= starts.size() - 1 - tail;
    const size_t h = grow_head ? head + 1 : head, t = grow_head ? tail : tail - 1;
    std::string candidate = word.substr(0, starts[h]) + ellipsis + word.substr(starts[t]);
    if (font.Width(candidate) > width) break;
    head = h, tail = t;
    fitted = std::move(candidate);
  }
  return fitted;
}

// The words of text (runs of spaces dropped) laid greedily into lines of at most line_width,
// a word wider than word_width shortened to it first and then standing on its own line.
std::vector<std::string> Greedy(const std::vector<std::string>& words, TImageFont& font,
                                int line_width, int word_width) {
  std::vector<std::string> lines;
  std::string line;
  for (const std::string& word : words) {
    std::string joined = line.empty() ? word : line + " " + word;
    if (font.Width(joined) <= line_width) {
      line = std::move(joined);
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line = font.Width(word) <= word_width ? word : ElideMiddle(word, font, word_width);
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

std::vector<std::string> FitText(const std::string& text, TImageFont& font, int width) {
  if (font.Width(text) <= width) return {text};
  std::vector<std::string> words;
  int widest = 0;  // of the words that fit whole
  for (size_t start = 0; start <= text.size();) {
    size_t end = std::min(text.find(' ', start), text.size());
    if (end > start) {
      words.push_back(text.substr(start, end - start));
      if (const int w = font.Width(words.back()); w <= width) widest = std::max(widest, w);
    }
    start = end + 1;
  }
  // Even the lines out: the narrowest line width that needs no more lines than the full width
  // does, so that a last word is not left alone. Fewer lines never come from a narrower width.
  const size_t count = Greedy(words, font, width, width).size();
  int low = widest, high = width;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (Greedy(words, font, middle, width).size() <= count)
      high = middle;
    else
      low = middle + 1;
  }
  return Greedy(words, font, high, width);
}
