// The JPEG decoding floor: a file read whole and decoded by bare libjpeg at a DCT scale into
// reused rows, with no pixmap around the pixels. Depends on libjpeg.
#pragma once

#include <string>
#include <vector>

// Decodes the JPEG file at 1/denom of its size (denom 1, 2, 4 or 8) into pixels (reused);
// false when it cannot be read or decoded.
bool DecodeWithLibjpeg(const std::string& path, unsigned denom, std::vector<unsigned char>& pixels);
