// Test helpers for the files tests and the fuzz corpus: image files assembled byte by byte
// (BMP, TGA, PNG with zlib, JPEG with libjpeg) and an in-memory stream; the tests' temporary
// folders come from tests/support. Depends on files/files.h.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "files/files.h"

std::string Bytes(std::initializer_list<int> bytes);
std::string Le16(uint32_t v);
std::string Le32(uint32_t v);

// A BMP with the 40-byte information header; palette and rows (bottom row first, padded) as given.
std::string BmpFile(int32_t width, int32_t height, int bits, int32_t colours,
                    const std::string& palette, const std::string& rows);
// The 18-byte TGA header followed by idlen bytes of image ID.
std::string TgaHeader(int imgtype, int width, int height, int psize, int idlen = 0,
                      int colourmaptype = 0);
std::string PngChunk(const std::string& type, const std::string& data);
// A PNG whose IDAT holds raw (each scanline with its filter byte), with extra chunks between
// IHDR and IDAT.
std::string PngFile(uint32_t width, uint32_t height, int depth, int colour_type,
                    const std::string& raw, const std::string& extra = "", int interlace = 0);
// The raw (filtered with filter 0) scanlines of an Adam7-interlaced picture, pass by pass, each
// pixel's bytes given by pixel(x, y).
std::string Adam7Raw(int width, int height, const std::function<std::string(int x, int y)>& pixel);
// A 57-byte 1 x 1 RGBA PNG that ends inside a chunk of the given type declaring `declared`
// bytes: a file that asks the decoder to hold the whole chunk.
std::string PngWithHugeChunk(const std::string& type, uint32_t declared);
// A PNG header alone (signature and IHDR) declaring a width x height RGBA picture.
std::string PngHeaderOnly(uint32_t width, uint32_t height);
// A JPEG of quality 90 made by libjpeg; components 1 (grey), 3 (RGB) or 4 (CMYK), pixels row
// by row; progressive on request.
std::string JpegFile(int width, int height, int components, const std::string& pixels,
                     bool progressive = false);

// The JPEG with an Exif segment declaring the orientation (1..8) put right after its start.
std::string WithExifOrientation(const std::string& jpeg, int orientation);
// A photograph-like RGB JPEG (smooth colour with fine noise) of any size, its rows made while it
// is written so that no picture of that size is held; 4:2:0 as cameras write them.
std::string PhotoJpegFile(int width, int height, bool progressive, int quality = 85);

// A seekable stream over bytes in memory, readable and writeable.
class TestMemoryStream : public TStream {
 public:
  explicit TestMemoryStream(std::string bytes = "") : data(std::move(bytes)) {}
  std::string data;
  int64_t pos = 0;
  int64_t Pos() override { return pos; }
  int64_t Size() override { return static_cast<int64_t>(data.size()); }
  int64_t Seek(int64_t p) override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
};
