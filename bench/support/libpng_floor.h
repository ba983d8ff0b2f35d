// The decoding floor several benchmarks share: PNG files read with libpng's own simplified API,
// straight from their paths, with no pixmap around the pixels. Depends on libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Decodes each file into pixels (reused between files) in the libpng PNG_FORMAT_* format given;
// false as soon as one cannot be read.
bool DecodeWithLibpng(const std::vector<std::string>& paths, uint32_t format,
                      std::vector<unsigned char>& pixels);
