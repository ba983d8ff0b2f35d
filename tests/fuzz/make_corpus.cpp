// Writes the seed corpus of the fuzz targets (valid files of every kind the decoders read, and
// damaged variants) into corpus/<target>/. Run by hand when the seeds change:
//   fuzz_make_corpus <source>/tests/fuzz/corpus
// Depends on the files test fixtures.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "tests/files/fixtures.h"

namespace {

void Put(const std::filesystem::path& folder, const std::string& name, const std::string& bytes) {
  std::filesystem::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string Pattern(size_t size, int seed) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 37 + seed * 11 + i / 7) & 0xff);
  return bytes;
}

void ImageSeeds(const std::filesystem::path& folder) {
  const std::string pal2 = Bytes({0, 0, 0, 0, 255, 255, 255, 0});
  Put(folder, "bmp1.bmp", BmpFile(10, 2, 1, 0, pal2, Bytes({0xA0, 0x40, 0, 0, 0x55, 0xC0, 0, 0})));
  Put(folder, "bmp4.bmp", BmpFile(3, 2, 4, 3, Pattern(12, 1), Bytes({0x21, 0x50, 0, 0, 0x12, 0, 0, 0})));
  Put(folder, "bmp8.bmp", BmpFile(4, 4, 8, 0, Pattern(1024, 2), Pattern(16, 3)));
  Put(folder, "bmp24.bmp", BmpFile(3, 2, 24, 0, "", Pattern(24, 4)));
  Put(folder, "bmp32.bmp", BmpFile(4, 3, 32, 0, "", Pattern(48, 5)));
  Put(folder, "tga15.tga", TgaHeader(2, 3, 2, 15) + Pattern(12, 6));
  Put(folder, "tga16.tga", TgaHeader(2, 3, 2, 16, 2) + Pattern(12, 7));
  Put(folder, "tga24.tga", TgaHeader(2, 4, 2, 24) + Pattern(24, 8));
  Put(folder, "tga32.tga", TgaHeader(2, 2, 2, 32) + Pattern(16, 9));
  Put(folder, "tga-rle.tga", TgaHeader(10, 5, 2, 24) + Bytes({132, 9, 9, 9, 130, 0, 0, 255, 1, 255, 0, 0, 0, 255, 0}));
  Put(folder, "tga-rle32.tga", TgaHeader(10, 4, 1, 32) + Bytes({129, 1, 2, 3, 4, 1, 5, 6, 7, 8, 9, 10, 11, 12}));
  Put(folder, "tga-mapped.tga", TgaHeader(1, 2, 2, 32));
  Put(folder, "png-rgb.png", PngFile(2, 2, 8, 2, Bytes({0, 1, 2, 3, 4, 5, 6, 1, 7, 8, 9, 1, 1, 1})));
  Put(folder, "png-rgba.png", PngFile(2, 1, 8, 6, Bytes({0, 1, 2, 3, 4, 5, 6, 7, 8})));
  Put(folder, "png-grey1.png", PngFile(9, 1, 1, 0, Bytes({0, 0xA5, 0x80})));
  Put(folder, "png-grey-alpha.png", PngFile(2, 1, 8, 4, Bytes({0, 50, 60, 70, 255})));
  Put(folder, "png-rgb16.png", PngFile(1, 1, 16, 2, Bytes({0, 0xAB, 0xCD, 0x12, 0x34, 0xFF, 0xFF})));
  Put(folder, "png-palette-trns.png",
      PngFile(3, 1, 8, 3, Bytes({0, 0, 1, 2}),
              PngChunk("PLTE", Bytes({255, 0, 0, 0, 255, 0, 0, 0, 255})) + PngChunk("tRNS", Bytes({0, 128}))));
  Put(folder, "png-interlaced.png",
      PngFile(3, 3, 8, 0, Bytes({0, 0, 0, 2, 0, 20, 22, 0, 1, 0, 21, 0, 10, 11, 12}), "", 1));
  const std::string png = PngFile(4, 4, 8, 2, Pattern(52, 10));
  Put(folder, "png-cut.png", png.substr(0, png.size() - 20));
  std::string flipped = png;
  flipped[40] ^= 0x10;
  Put(folder, "png-bad-crc.png", flipped);
  std::string gradient;
  for (int i = 0; i < 32 * 16 * 3; ++i) gradient += static_cast<char>((i * 5) & 0xff);
  Put(folder, "jpeg-grey.jpg", JpegFile(16, 8, 1, std::string(128, '\x80')));
  Put(folder, "jpeg-rgb.jpg", JpegFile(32, 16, 3, gradient));
  Put(folder, "jpeg-progressive.jpg", JpegFile(32, 16, 3, gradient, true));
  const std::string jpeg = JpegFile(32, 16, 3, gradient);
  Put(folder, "jpeg-cut.jpg", jpeg.substr(0, jpeg.size() / 2));
  Put(folder, "jpeg-cmyk.jpg", JpegFile(8, 8, 4, Pattern(256, 11)));
  Put(folder, "short.bin", Bytes({'B', 'M', 1, 2, 3}));
  // Hostile headers: chunks that declare about a gigabyte, pictures that declare far more pixels
  // than their few bytes hold.
  for (const char* type : {"tEXt", "zTXt", "iTXt", "pCAL", "sCAL", "sPLT"}) {
    Put(folder, std::string("png-huge-") + type + ".png", PngWithHugeChunk(type, 0x3FFFFFF0));
  }
  Put(folder, "png-header-8192.png", PngHeaderOnly(8192, 8192));
  Put(folder, "tga-header-4096.tga", TgaHeader(2, 4096, 4096, 32));
}

void LineSeeds(const std::filesystem::path& folder) {
  using namespace std::string_literals;
  Put(folder, "crlf.txt", "1\r\n2");
  Put(folder, "stray-cr.txt", "1\r2\n");
  Put(folder, "nul.txt", "a\0b\n"s);
  Put(folder, "empty.txt", "");
  Put(folder, "numbers.txt", "%101\n$fF\n-12abc\n  +7\n-\n4294967297\n-2147483648\n$\n");
  Put(folder, "pieces.txt", "3\r\n4\r\n1\r\n120\r\n80\r\n2\r\n210\r\n80\r\n");
  Put(folder, "utf8.txt", "J\xC3\xB6rg\r\n\xE2\x82\xAC 5\r\n");
  Put(folder, "pieces-limits.txt",
      "1\r\n2\r\n0\r\n0\r\n2147483647\r\n-2147483648\r\n4294967295\r\n-4097\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_make_corpus <corpus folder>\n";
    return 2;
  }
  const std::filesystem::path corpus = argv[1];
  ImageSeeds(corpus / "load_pixmap");
  LineSeeds(corpus / "lines");
  return 0;
}
