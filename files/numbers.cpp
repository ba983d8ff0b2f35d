// The number rules of text files: text to a 32-bit integer (wrapping) and back.
// Depends on files/files.h only.
#include "files/files.h"

namespace {

// The value of c as a digit of base, or -1.
int32_t DigitValue(char c, uint32_t base) {
  int32_t v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v >= 0 && static_cast<uint32_t>(v) < base ? v : -1;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int32_t TextToInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t base = 10;
  if (i < text.size() && text[i] == '%') base = 2, ++i;
  else if (i < text.size() && text[i] == '$') base = 16, ++i;
  uint32_t value = 0;  // unsigned so that overflow wraps instead of being undefined
  for (; i < text.size(); ++i) {
    const int32_t digit = DigitValue(text[i], base);
    if (digit < 0) break;
    value = value * base + static_cast<uint32_t>(digit);
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::string IntToText(int32_t value) { return std::to_string(value); }
