// UTF-8 decoding of drawn and measured text, including malformed input.
#include "draw/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<int> Decode(const std::string& text) {
  std::vector<int> out;
  int c = 0;
  for (size_t pos = 0; NextCodePoint(text, pos, c);) out.push_back(c);
  return out;
}

struct Utf8Case {
  const char* name;
  std::string text;
  std::vector<int> code_points;
};

TEST(NextCodePoint, WellFormedAndMalformedSequences) {
  const int bad = 0xFFFD;
  const Utf8Case cases[] = {
      {"empty", "", {}},
      {"ascii", "Hi!", {'H', 'i', '!'}},
      {"two bytes", "\xC3\xA9", {0xE9}},
      {"three bytes", "\xE2\x82\xAC", {0x20AC}},
      {"four bytes", "\xF0\x9F\x98\x80", {0x1F600}},
      {"stray continuation", "\x80\x41", {bad, 'A'}},
      {"cut short at the end", "A\xE2\x82", {'A', bad, bad}},
      {"lead followed by ascii", "\xC3\x41", {bad, 'A'}},
      {"overlong two bytes", "\xC0\xAF", {bad, bad}},
      {"overlong three bytes", "\xE0\x80\xAF", {bad, bad, bad}},
      {"surrogate", "\xED\xA0\x80", {bad, bad, bad}},
      {"past U+10FFFF", "\xF4\x90\x80\x80", {bad, bad, bad, bad}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Decode(c.text), c.code_points) << c.name;
  }
}

}  // namespace
