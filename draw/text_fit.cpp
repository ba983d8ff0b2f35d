// Breaking text into lines that fit a width: at spaces, and a word too wide for any line gives
// up its middle for an ellipsis. Depends on draw/draw.h and draw/utf8.h.
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

}  // namespace

std::vector<std::string> FitText(const std::string& text, TImageFont& font, int width) {
  if (font.Width(text) <= width) return {text};
  std::vector<std::string> lines;
  std::string line;
  for (size_t start = 0; start <= text.size();) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    start = end + 1;
    if (word.empty()) continue;
    std::string joined = line.empty() ? word : line + " " + word;
    if (font.Width(joined) <= width) {
      line = std::move(joined);
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line = font.Width(word) <= width ? word : ElideMiddle(word, font, width);
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}
