// UTF-8 decoding for text drawing and measuring. Depends on nothing.
#pragma once

#include <string>
#include <vector>

// The code points of a UTF-8 text. Each byte that does not start a well-formed sequence
// (stray continuation bytes, overlong forms, surrogates, values past U+10FFFF, sequences cut
// short) becomes U+FFFD, so bad text is drawn as missing glyphs and never read past its end.
std::vector<int> DecodeUtf8(const std::string& text);
