// Private to files/: the picture size that a file's header declares, read without decoding (or
// allocating for) its pixels. Each lives beside its decoder and applies the decoder's own header
// checks; false when the data is not such a file. Short data raises a TStreamException.
// Depends on files/files.h.
#pragma once

#include <cstdint>

#include "files/files.h"

bool PeekTGASize(TStream& stream, int32_t& width, int32_t& height);
bool PeekPNGSize(TStream& stream, int32_t& width, int32_t& height);
bool PeekJPEGSize(TStream& stream, int32_t& width, int32_t& height);
bool PeekBMPSize(TStream& stream, int32_t& width, int32_t& height);
