// Private to files/: the parts of LoadPicture, the JPEG decoding at a DCT scale with its EXIF
// orientation, and the turning of a pixmap upright. Depends on files/files.h.
#pragma once

#include <cstdint>
#include <string>

#include "files/files.h"

// The JPEG in bytes decoded for request (see LoadPicture); the problem set on failure.
picture_result LoadScaledJPEG(TStream& bytes, const picture_request& request);

// The EXIF orientation (1..8) in the TIFF data of an Exif segment; 1 when absent or damaged.
int ExifOrientation(const uint8_t* tiff, size_t length);
// The pixmap as it is shown under an EXIF orientation (2..8 mirror and turn it; 5..8 swap its
// sides); the pixmap itself for 1 or an unknown value.
std::shared_ptr<TPixmap> OrientPixmap(const std::shared_ptr<TPixmap>& pixmap, int orientation);

// "is too large: " + width + " x " + height + " pixels"
std::string TooLargeProblem(int64_t width, int64_t height);
