// UTF-8 decoding for text drawing and measuring. Depends on nothing.
#include "draw/utf8.h"

namespace {

constexpr int kReplacement = 0xFFFD;

// Length of the sequence a lead byte starts, 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

bool NextCodePoint(const std::string& text, size_t& pos, int& code_point) {
  const size_t n = text.size();
  if (pos >= n) return false;
  const auto lead = static_cast<unsigned char>(text[pos]);
  const int length = SequenceLength(lead);
  code_point = kReplacement;
  if (length == 0 || pos + length > n) {
    ++pos;
    return true;
  }
  int cp = length == 1 ? lead : lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(text[pos + k]);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return true;
    }
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong three- and four-byte forms, surrogates and values past the last code point.
  if ((length == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
      (length == 4 && (cp < 0x10000 || cp > 0x10FFFF))) {
    ++pos;
    return true;
  }
  code_point = cp;
  pos += length;
  return true;
}
