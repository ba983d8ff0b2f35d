// UTF-8 decoding for text drawing and measuring. Depends on nothing.
#pragma once

#include <cstddef>
#include <string>

// Decodes the code point starting at byte pos of text and moves pos past it; false at the end.
// A byte that does not start a well-formed sequence (a stray continuation byte, an overlong
// form, a surrogate, a value past U+10FFFF, a sequence cut short) gives U+FFFD and moves one
// byte on, so bad text is drawn as missing glyphs and never read past its end.
bool NextCodePoint(const std::string& text, size_t& pos, int& code_point);
