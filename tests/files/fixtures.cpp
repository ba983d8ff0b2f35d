// Test helpers: byte-built image files, JPEGs by libjpeg and an in-memory stream. Depends on zlib and libjpeg.
#include "tests/files/fixtures.h"

#include <jpeglib.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

std::string Le16(uint32_t v) { return Bytes({int(v & 0xff), int(v >> 8 & 0xff)}); }
std::string Le32(uint32_t v) { return Le16(v & 0xffff) + Le16(v >> 16); }

namespace {

std::string Be32(uint32_t v) {
  return Bytes({int(v >> 24), int(v >> 16 & 0xff), int(v >> 8 & 0xff), int(v & 0xff)});
}

}  // namespace

std::string BmpFile(int32_t width, int32_t height, int bits, int32_t colours,
                    const std::string& palette, const std::string& rows) {
  const uint32_t offset = 54 + static_cast<uint32_t>(palette.size());
  return "BM" + Le32(offset + static_cast<uint32_t>(rows.size())) + Le32(0) + Le32(offset) +
         Le32(40) + Le32(static_cast<uint32_t>(width)) + Le32(static_cast<uint32_t>(height)) +
         Le16(1) + Le16(static_cast<uint32_t>(bits)) + Le32(0) +
         Le32(static_cast<uint32_t>(rows.size())) + Le32(2835) + Le32(2835) +
         Le32(static_cast<uint32_t>(colours)) + Le32(0) + palette + rows;
}

std::string TgaHeader(int imgtype, int width, int height, int psize, int idlen,
                      int colourmaptype) {
  return Bytes({idlen, colourmaptype, imgtype, 0, 0, 0, 0, 0}) + Le16(0) + Le16(0) +
         Le16(static_cast<uint32_t>(width)) + Le16(static_cast<uint32_t>(height)) +
         Bytes({psize, 0}) + std::string(static_cast<size_t>(idlen), 'i');
}

std::string PngChunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  const auto crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return Be32(static_cast<uint32_t>(data.size())) + body + Be32(static_cast<uint32_t>(crc));
}

std::string PngFile(uint32_t width, uint32_t height, int depth, int colour_type,
                    const std::string& raw, const std::string& extra, int interlace) {
  std::vector<Bytef> packed(compressBound(static_cast<uLong>(raw.size())));
  uLongf packed_size = packed.size();
  compress(packed.data(), &packed_size, reinterpret_cast<const Bytef*>(raw.data()),
           static_cast<uLong>(raw.size()));
  const std::string ihdr = Be32(width) + Be32(height) + Bytes({depth, colour_type, 0, 0, interlace});
  return Bytes({0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a}) + PngChunk("IHDR", ihdr) + extra +
         PngChunk("IDAT", std::string(packed.begin(), packed.begin() + packed_size)) +
         PngChunk("IEND", "");
}

std::string Adam7Raw(int width, int height, const std::function<std::string(int x, int y)>& pixel) {
  struct pass_type {
    int x0, y0, dx, dy;
  };
  const pass_type passes[] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                              {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  std::string raw;
  for (const pass_type& p : passes) {
    if (p.x0 >= width) continue;  // a pass without columns has no rows either
    for (int y = p.y0; y < height; y += p.dy) {
      raw += '\0';
      for (int x = p.x0; x < width; x += p.dx) raw += pixel(x, y);
    }
  }
  return raw;
}

std::string PngWithHugeChunk(const std::string& type, uint32_t declared) {
  return PngHeaderOnly(1, 1) + Be32(declared) + type + std::string("Comment\0hostile!", 16);
}

std::string PngHeaderOnly(uint32_t width, uint32_t height) {
  const std::string ihdr = Be32(width) + Be32(height) + Bytes({8, 6, 0, 0, 0});
  return Bytes({0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a}) + PngChunk("IHDR", ihdr);
}

namespace {

// A JPEG by libjpeg, each row asked of row(y) as width * components samples.
std::string Compress(int width, int height, int components, bool progressive, int quality,
                     const std::function<const unsigned char*(int y)>& row) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr error;
  cinfo.err = jpeg_std_error(&error);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long out_size = 0;
  jpeg_mem_dest(&cinfo, &out, &out_size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    auto samples = const_cast<JSAMPROW>(row(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &samples, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string file(reinterpret_cast<char*>(out), out_size);
  free(out);
  return file;
}

}  // namespace

std::string JpegFile(int width, int height, int components, const std::string& pixels,
                     bool progressive) {
  return Compress(width, height, components, progressive, 90, [&](int y) {
    return reinterpret_cast<const unsigned char*>(pixels.data()) + size_t(y) * width * components;
  });
}

std::string WithExifOrientation(const std::string& jpeg, int orientation) {
  // Little-endian TIFF: header, then one directory of one entry, the orientation as a SHORT.
  const std::string tiff = "II" + Le16(42) + Le32(8) + Le16(1) + Le16(0x0112) + Le16(3) + Le32(1) +
                           Le16(static_cast<uint32_t>(orientation)) + Le16(0) + Le32(0);
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  const size_t length = payload.size() + 2;
  const std::string segment = Bytes({0xFF, 0xE1, int(length >> 8), int(length & 0xFF)}) + payload;
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

std::string PhotoJpegFile(int width, int height, bool progressive, int quality) {
  std::vector<unsigned char> row(size_t(width) * 3);
  uint32_t noise = 12345;
  return Compress(width, height, 3, progressive, quality, [&](int y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int n = int(noise >> 28) - 8;
      row[3 * x] = static_cast<unsigned char>(std::clamp(int(int64_t{x} * 255 / width) + n, 0, 255));
      row[3 * x + 1] = static_cast<unsigned char>(std::clamp(120 + int(int64_t{y} * 97 / height) + n, 0, 255));
      row[3 * x + 2] = static_cast<unsigned char>(((x + y) >> 4) & 255);
    }
    return row.data();
  });
}

int64_t TestMemoryStream::Seek(int64_t p) {
  pos = std::clamp<int64_t>(p, 0, Size());
  return pos;
}

int64_t TestMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(Size() - pos, 0, std::max<int64_t>(count, 0));
  std::memcpy(buffer, data.data() + pos, static_cast<size_t>(n));
  pos += n;
  return n;
}

int64_t TestMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (pos + count > Size()) data.resize(static_cast<size_t>(pos + count));
  std::memcpy(data.data() + pos, buffer, static_cast<size_t>(count));
  pos += count;
  return count;
}
