// Breaking text into lines that fit a width: at spaces, a path too wide for a line after its "/"s,
// and what still does not fit gives up its middle for an ellipsis. Depends on draw/draw.h and
// draw/utf8.h.
#include <algorithm>

#include "draw/draw.h"
#include "draw/utf8.h"

namespace {

// The most lines a path too wide for one line is spread over.
constexpr size_t kMaxPathLines = 4;

// A piece of text laid into lines: a word, or part of a path that goes on the line before
// without a space between them.
struct text_piece {
  std::string text;
  bool joined = false;
};

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

// The pieces laid greedily into lines of at most line_width (runs of spaces dropped), a piece
// wider than word_width shortened to it first and then standing on its own line.
std::vector<std::string> Greedy(const std::vector<text_piece>& pieces, TImageFont& font,
                                int line_width, int word_width) {
  std::vector<std::string> lines;
  std::string line;
  for (const text_piece& piece : pieces) {
    std::string joined = line.empty() ? piece.text : line + (piece.joined ? "" : " ") + piece.text;
    if (font.Width(joined) <= line_width) {
      line = std::move(joined);
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line = font.Width(piece.text) <= word_width ? piece.text
                                                : ElideMiddle(piece.text, font, word_width);
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

// A word too wide for a line, broken after each "/" it holds. When its parts need more than
// kMaxPathLines lines of width, the lines between the first and the last two become one that
// keeps their ends around an ellipsis.
std::vector<text_piece> BreakPath(const std::string& word, TImageFont& font, int width) {
  std::vector<text_piece> parts;
  for (size_t start = 0; start < word.size();) {
    const size_t end = std::min(word.find('/', start), word.size() - 1) + 1;
    parts.push_back({word.substr(start, end - start), !parts.empty()});
    start = end;
  }
  std::vector<std::string> lines = Greedy(parts, font, width, width);
  if (lines.size() <= kMaxPathLines) return parts;
  std::string middle;
  for (size_t i = 1; i + 2 < lines.size(); ++i) middle += lines[i];
  lines = {lines[0], ElideMiddle(middle, font, width), lines[lines.size() - 2], lines.back()};
  std::vector<text_piece> kept;
  for (std::string& line : lines) kept.push_back({std::move(line), !kept.empty()});
  return kept;
}

}  // namespace

std::vector<std::string> FitText(const std::string& text, TImageFont& font, int width) {
  if (font.Width(text) <= width) return {text};
  std::vector<text_piece> pieces;
  int widest = 0;  // of the pieces that fit whole
  for (size_t start = 0; start <= text.size();) {
    size_t end = std::min(text.find(' ', start), text.size());
    if (end > start) {
      std::string word = text.substr(start, end - start);
      std::vector<text_piece> parts = font.Width(word) <= width
                                          ? std::vector<text_piece>{{std::move(word)}}
                                          : BreakPath(word, font, width);
      for (text_piece& part : parts) {
        if (const int w = font.Width(part.text); w <= width) widest = std::max(widest, w);
        pieces.push_back(std::move(part));
      }
    }
    start = end + 1;
  }
  // Even the lines out: the narrowest line width that needs no more lines than the full width
  // does, so that a last word is not left alone. Fewer lines never come from a narrower width.
  const size_t count = Greedy(pieces, font, width, width).size();
  int low = widest, high = width;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (Greedy(pieces, font, middle, width).size() <= count)
      high = middle;
    else
      low = middle + 1;
  }
  return Greedy(pieces, font, high, width);
}
