// Private to files/: the largest pictures the decoders accept, so that a hostile header cannot
// make them allocate without bound. Depends on nothing.
#pragma once

#include <cstdint>

constexpr int32_t kMaxImageSide = 16384;
constexpr int64_t kMaxImagePixels = int64_t{1} << 26;  // 64 million, e.g. 8192 x 8192
// libjpeg's working memory for a picture of the loader chain (a progressive file keeps the
// coefficients of its whole picture): 64 MiB.
constexpr long kMaxJpegWorkingMemory = 64L << 20;
