// Tests of the image decoders and the PNG writer on files built byte by byte in the test.
// Depends on files/files.h and the test fixtures (zlib, libjpeg).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tests/support/support.h"

namespace {

std::shared_ptr<TPixmap> Decode(const std::string& bytes) {
  return LoadPixmap(std::make_shared<TestMemoryStream>(bytes));
}

// Every pixel as ARGB, row by row.
std::vector<uint32_t> Pixels(const std::shared_ptr<TPixmap>& p) {
  std::vector<uint32_t> all;
  for (int y = 0; y < p->height; ++y) {
    for (int x = 0; x < p->width; ++x) all.push_back(p->ReadPixel(x, y));
  }
  return all;
}

// --- BMP ------------------------------------------------------------------------------------

TEST(BMP, TwentyFourBitRowsArePaddedAndBottomFirst) {
  // 3 x 2: 9 bytes of pixels and 3 filler bytes a row; the first row in the file is the bottom.
  const std::string rows = Bytes({0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 9, 9}) +
                           Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9, 9});
  auto p = Decode(BmpFile(3, 2, 24, 0, "", rows));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->format, PF_BGR888);
  EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0xFF030201, 0xFF060504, 0xFF090807,  // top
                                              0xFFFF0000, 0xFF00FF00, 0xFF0000FF}));
}

TEST(BMP, ThirtyTwoBitKeepsFourthByteAsAlpha) {
  auto p = Decode(BmpFile(2, 1, 32, 0, "", Bytes({10, 20, 30, 0, 40, 50, 60, 0})));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->format, PF_BGRA8888);
  EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0x001E140A, 0x003C3228}));
}

TEST(BMP, PalettedRows) {
  const std::string two = Bytes({0, 0, 0, 0, 255, 255, 255, 0});
  // 1 bit, 10 wide: 2 bytes of bits, most significant first, padded to 4.
  auto mono = Decode(BmpFile(10, 1, 1, 0, two, Bytes({0xA0, 0x40, 0, 0})));
  ASSERT_NE(mono, nullptr);
  std::vector<uint32_t> expected(10, 0xFF000000);
  expected[0] = expected[2] = expected[9] = 0xFFFFFFFF;
  EXPECT_EQ(Pixels(mono), expected);

  // 4 bits with 3 colours: the high half first; index 5 lies beyond the palette and is black.
  const std::string three = Bytes({255, 0, 0, 7, 0, 255, 0, 7, 0, 0, 255, 7});
  auto nibbles = Decode(BmpFile(3, 1, 4, 3, three, Bytes({0x21, 0x50, 0, 0})));
  ASSERT_NE(nibbles, nullptr);
  EXPECT_EQ(Pixels(nibbles), (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF000000}));

  // 8 bits with colour count 0: all 256 entries are read.
  std::string palette;
  for (int i = 0; i < 256; ++i) palette += Bytes({i, 0, 255 - i, 0});
  auto bytes = Decode(BmpFile(2, 2, 8, 0, palette, Bytes({0, 255, 0, 0, 1, 128, 0, 0})));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(Pixels(bytes), (std::vector<uint32_t>{0xFFFE0001, 0xFF7F0080, 0xFFFF0000, 0xFF0000FF}));
}

TEST(BMP, DeclinedFiles) {
  const std::string row = Bytes({1, 2, 3, 0});
  const std::string sixteen = std::string(16 * 4, '\0');
  const std::string cases[] = {
      BmpFile(0, 1, 24, 0, "", row),
      BmpFile(1, 0, 24, 0, "", row),
      BmpFile(1, -1, 24, 0, "", row),              // top-down files are not read
      BmpFile(1, 1, 16, 0, "", row),               // unsupported bit count
      BmpFile(1, 1, 4, 17, sixteen + "abcd", row), // more colours than 4 bits index
      BmpFile(1, 1, 8, -1, "", row),
      BmpFile(2, 2, 24, 0, "", row + row),         // rows cut short
      BmpFile(100000, 100000, 24, 0, "", row),     // absurd size, refused before allocating
      BmpFile(1 << 30, 1, 1, 0, Bytes({0, 0, 0, 0, 0, 0, 0, 0}), row),
      "BM",
      "BA" + BmpFile(1, 1, 24, 0, "", row).substr(2),
  };
  for (const auto& file : cases) EXPECT_EQ(Decode(file), nullptr) << file.size() << " bytes";
}

// --- TGA ------------------------------------------------------------------------------------

TEST(TGA, TrueColourDepths) {
  // 2 x 2 at 24 bits, bottom row first, with an image ID to skip.
  auto rgb = Decode(TgaHeader(2, 2, 2, 24, 3) +
                    Bytes({1, 2, 3, 4, 5, 6, 0, 0, 255, 0, 255, 0}));
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb->format, PF_RGB888);
  EXPECT_EQ(Pixels(rgb), (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF030201, 0xFF060504}));

  auto rgba = Decode(TgaHeader(2, 1, 1, 32) + Bytes({10, 20, 30, 40}));
  ASSERT_NE(rgba, nullptr);
  EXPECT_EQ(rgba->format, PF_RGBA8888);
  EXPECT_EQ(Pixels(rgba), std::vector<uint32_t>{0x281E140A});

  // 0x7C1F: red and blue full, green 0. Bit 15 gives alpha 0 at 16 bits, is ignored at 15.
  const std::string pixels = Le16(0x7C1F) + Le16(0xFC1F) + Le16(0x03E0);
  auto sixteen = Decode(TgaHeader(2, 3, 1, 16) + pixels);
  ASSERT_NE(sixteen, nullptr);
  EXPECT_EQ(sixteen->format, PF_RGBA8888);
  EXPECT_EQ(Pixels(sixteen), (std::vector<uint32_t>{0xFFF800F8, 0x00F800F8, 0xFF00F800}));
  auto fifteen = Decode(TgaHeader(2, 3, 1, 15) + pixels);
  ASSERT_NE(fifteen, nullptr);
  EXPECT_EQ(fifteen->format, PF_RGB888);
  EXPECT_EQ(Pixels(fifteen), (std::vector<uint32_t>{0xFFF800F8, 0xFFF800F8, 0xFF00F800}));
}

TEST(TGA, RunLengthPackets) {
  // Row of 5: a run of 3 (c = 130), then 2 raw pixels (c = 1); a second row of one run of 5.
  const std::string file = TgaHeader(10, 5, 2, 24) + Bytes({132, 9, 9, 9}) +
                           Bytes({130, 0, 0, 255, 1, 255, 0, 0, 0, 255, 0});
  auto p = Decode(file);
  ASSERT_NE(p, nullptr);
  const std::vector<uint32_t> top = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFF0000FF, 0xFF00FF00};
  std::vector<uint32_t> expected = top;
  expected.insert(expected.end(), 5, 0xFF090909);
  EXPECT_EQ(Pixels(p), expected);

  // A packet that would run past its row is a damaged file.
  EXPECT_EQ(Decode(TgaHeader(10, 2, 1, 24) + Bytes({130, 1, 2, 3})), nullptr);
  EXPECT_EQ(Decode(TgaHeader(10, 2, 1, 24) + Bytes({2, 1, 2, 3, 1, 2, 3, 1, 2, 3})), nullptr);
}

TEST(TGA, HeaderChecks) {
  const std::string pixel = Bytes({1, 2, 3});
  EXPECT_EQ(Decode(TgaHeader(2, 4097, 1, 24) + pixel), nullptr);
  EXPECT_EQ(Decode(TgaHeader(2, 1, 4097, 24) + pixel), nullptr);
  EXPECT_EQ(Decode(TgaHeader(2, 0, 1, 24) + pixel), nullptr);
  EXPECT_EQ(Decode(TgaHeader(2, 1, 1, 8) + pixel), nullptr);
  EXPECT_EQ(Decode(TgaHeader(3, 1, 1, 24) + pixel), nullptr);
  EXPECT_EQ(Decode(TgaHeader(2, 1, 1, 24, 0, 1) + pixel), nullptr);
  EXPECT_EQ(Decode(TgaHeader(2, 2, 1, 24) + pixel), nullptr);  // cut short
  // Colour-mapped, with or without pixels: there is no map to read them through.
  EXPECT_EQ(Decode(TgaHeader(1, 2, 2, 32)), nullptr);
  EXPECT_EQ(Decode(TgaHeader(1, 1, 1, 24) + pixel), nullptr);
  // Far too short for the rows declared, raw or at best run-length (4096 / 128 packets a row).
  EXPECT_EQ(Decode(TgaHeader(2, 4096, 4096, 32) + pixel), nullptr);
  EXPECT_EQ(Decode(TgaHeader(10, 4096, 2, 24) + std::string(32 * 4, '\xFF')), nullptr);
  int32_t width = 0, height = 0;
  EXPECT_FALSE(ReadPixmapSize(*std::make_shared<TestMemoryStream>(TgaHeader(1, 2, 2, 32)), width, height));
}

// --- PNG ------------------------------------------------------------------------------------

TEST(PNG, ColourTypes) {
  struct {
    const char* name;
    std::string file;
    int32_t format;
    std::vector<uint32_t> pixels;
  } cases[] = {
      {"RGB", PngFile(2, 1, 8, 2, Bytes({0, 1, 2, 3, 4, 5, 6})), PF_RGB888,
       {0xFF010203, 0xFF040506}},
      {"RGBA", PngFile(1, 1, 8, 6, Bytes({0, 1, 2, 3, 4})), PF_RGBA8888, {0x04010203}},
      {"grey", PngFile(2, 1, 8, 0, Bytes({0, 7, 200})), PF_I8, {0xFF070707, 0xFFC8C8C8}},
      {"grey 1 bit", PngFile(3, 1, 1, 0, Bytes({0, 0xA0})), PF_I8,
       {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
      {"grey alpha", PngFile(2, 1, 8, 4, Bytes({0, 50, 60, 70, 255})), PF_RGBA8888,
       {0x3C323232, 0xFF464646}},
      {"16-bit RGB", PngFile(1, 1, 16, 2, Bytes({0, 0xAB, 0xCD, 0x12, 0x34, 0xFF, 0xFF})),
       PF_RGB888, {0xFFAB12FF}},
      {"palette with transparency",
       PngFile(3, 1, 8, 3, Bytes({0, 0, 1, 2}),
               PngChunk("PLTE", Bytes({255, 0, 0, 0, 255, 0, 0, 0, 255})) +
                   PngChunk("tRNS", Bytes({0, 128}))),
       PF_RGBA8888, {0x00FF0000, 0x8000FF00, 0xFF0000FF}},
      {"interlaced grey",  // Adam7 passes 1, 4, 5, 6, 6, 7 of a 3 x 3 picture
       PngFile(3, 3, 8, 0, Bytes({0, 0, 0, 2, 0, 20, 22, 0, 1, 0, 21, 0, 10, 11, 12}), "", 1), PF_I8,
       {0xFF000000, 0xFF010101, 0xFF020202, 0xFF0A0A0A, 0xFF0B0B0B, 0xFF0C0C0C, 0xFF141414,
        0xFF151515, 0xFF161616}},
      {"palette", PngFile(2, 1, 8, 3, Bytes({0, 1, 0}), PngChunk("PLTE", Bytes({1, 2, 3, 4, 5, 6}))),
       PF_RGB888, {0xFF040506, 0xFF010203}},
  };
  for (const auto& c : cases) {
    auto p = Decode(c.file);
    ASSERT_NE(p, nullptr) << c.name;
    EXPECT_EQ(p->format, c.format) << c.name;
    EXPECT_EQ(Pixels(p), c.pixels) << c.name;
  }
}

TEST(PNG, DamagedOrOversizedFilesGiveNone) {
  const std::string good = PngFile(2, 1, 8, 2, Bytes({0, 1, 2, 3, 4, 5, 6}));
  std::string bad_crc = good;
  bad_crc[29] ^= 1;  // inside the IHDR checksum
  std::string bad_pixels = good;
  bad_pixels[43] ^= 0x10;  // inside the compressed pixels, which only their chunk's CRC guards
  const std::string idat_start = good.substr(0, good.size() - 20);
  const std::string cases[] = {
      bad_crc,
      bad_pixels,
      idat_start,                                         // cut inside the image data
      good.substr(0, 8),                                  // signature only
      PngFile(2, 2, 8, 2, Bytes({0, 1, 2, 3, 4, 5, 6})),  // one row missing
      PngFile(20000, 1, 8, 0, std::string(20001, '\0')),  // wider than any accepted picture
      PngFile(10000, 10000, 8, 0, Bytes({0})),            // too many pixels in all
      PngFile(1, 1, 8, 7, Bytes({0, 0})),                 // no such colour type
  };
  for (const auto& file : cases) EXPECT_EQ(LoadPNGPixmap(std::make_shared<TestMemoryStream>(file)), nullptr);
}

// --- JPEG -----------------------------------------------------------------------------------

std::string Gradient(int width, int height, int components) {
  std::string pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int k = 0; k < components; ++k) pixels += static_cast<char>((x * 8 + y * 4 + k * 60) & 0xff);
    }
  }
  return pixels;
}

TEST(JPEG, GreyAndColour) {
  auto grey = Decode(JpegFile(16, 8, 1, std::string(16 * 8, '\x80')));
  ASSERT_NE(grey, nullptr);
  EXPECT_EQ(grey->format, PF_I8);
  EXPECT_EQ(grey->width, 16);
  EXPECT_EQ(grey->height, 8);
  EXPECT_NEAR(static_cast<int>(ARGBRed(grey->ReadPixel(5, 5))), 128, 2);

  std::string orange;
  for (int i = 0; i < 24 * 16; ++i) orange += Bytes({240, 130, 20});
  for (bool progressive : {false, true}) {
    auto colour = Decode(JpegFile(24, 16, 3, orange, progressive));
    ASSERT_NE(colour, nullptr);
    EXPECT_EQ(colour->format, PF_RGB888);
    EXPECT_EQ(colour->width, 24);
    const uint32_t argb = colour->ReadPixel(23, 15);
    EXPECT_NEAR(static_cast<int>(ARGBRed(argb)), 240, 4);
    EXPECT_NEAR(static_cast<int>(ARGBGreen(argb)), 130, 4);
    EXPECT_NEAR(static_cast<int>(ARGBBlue(argb)), 20, 4);
  }
}

TEST(JPEG, TruncatedDataStillDecodes) {
  const std::string file = JpegFile(64, 64, 3, Gradient(64, 64, 3));
  auto p = Decode(file.substr(0, file.size() / 2));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->width, 64);
  EXPECT_EQ(p->height, 64);
  auto whole = Decode(file);
  EXPECT_EQ(p->ReadPixel(0, 0), whole->ReadPixel(0, 0));  // the part that arrived is intact
}

TEST(JPEG, UnusableFilesGiveNone) {
  const std::string file = JpegFile(8, 8, 3, Gradient(8, 8, 3));
  const std::string cases[] = {
      JpegFile(8, 8, 4, Gradient(8, 8, 4)),  // CMYK: four components
      file.substr(0, 2),                     // start marker only: no complete header
      file.substr(0, 100),
      "",
  };
  for (const auto& bytes : cases) {
    EXPECT_EQ(LoadJPEGPixmap(std::make_shared<TestMemoryStream>(bytes)), nullptr) << bytes.size();
  }
}

// --- The loader chain -----------------------------------------------------------------------

TEST(LoadPixmap, ContentDecidesNotTheName) {
  temp_folder dir;
  dir.Write("really-png.bmp", PngFile(1, 1, 8, 2, Bytes({0, 1, 2, 3})));
  dir.Write("really-bmp.png", BmpFile(1, 1, 24, 0, "", Bytes({3, 2, 1, 0})));
  dir.Write("really-tga.jpg", TgaHeader(2, 1, 1, 24) + Bytes({3, 2, 1}));
  dir.Write("really-jpg.tga", JpegFile(8, 8, 1, std::string(64, '\0')));
  dir.Write("text.png", "not a picture\r\n");
  auto png = LoadPixmap(dir / "really-png.bmp");
  auto bmp = LoadPixmap(dir / "really-bmp.png");
  auto tga = LoadPixmap(dir / "really-tga.jpg");
  auto jpg = LoadPixmap(dir / "really-jpg.tga");
  ASSERT_TRUE(png && bmp && tga && jpg);
  EXPECT_EQ(png->format, PF_RGB888);
  EXPECT_EQ(bmp->format, PF_BGR888);
  EXPECT_EQ(tga->format, PF_RGB888);
  EXPECT_EQ(jpg->format, PF_I8);
  EXPECT_EQ(png->ReadPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(bmp->ReadPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(tga->ReadPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(LoadPixmap(dir / "text.png"), nullptr);
  EXPECT_EQ(LoadPixmap(dir / "missing.png"), nullptr);
}

TEST(LoadPixmap, ShortFilesAreDeclinedQuietly) {
  const std::string files[] = {PngFile(1, 1, 8, 2, Bytes({0, 1, 2, 3})),
                               BmpFile(1, 1, 24, 0, "", Bytes({3, 2, 1, 0})),
                               TgaHeader(2, 1, 1, 24) + Bytes({3, 2, 1}),
                               JpegFile(8, 8, 1, std::string(64, '\0'))};
  for (const auto& file : files) {
    for (size_t length = 0; length < 18; ++length) {
      EXPECT_NO_THROW(EXPECT_EQ(Decode(file.substr(0, length)), nullptr) << length);
    }
  }
}

TEST(LoadPixmap, StreamFromItsPositionStaysOpen) {
  auto stream = std::make_shared<TestMemoryStream>("prefix" + BmpFile(1, 1, 24, 0, "", Bytes({3, 2, 1, 0})) + "after\n");
  stream->Seek(6);
  auto p = LoadPixmap(stream);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->ReadPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(stream->ReadLine(), "after");  // still open, just past the picture

  auto positionless = std::make_shared<TStream>();
  EXPECT_EQ(LoadPixmap(positionless), nullptr);
}

TEST(ReadPixmapSize, AFileGivesTheSizeItsHeaderDeclaresWithoutItsPixels) {
  temp_folder dir;
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0666), 0);
  const std::string big_png = dir.Write("big.png", PngHeaderOnly(8192, 8192));
  ASSERT_EQ(symlink(big_png.c_str(), (dir / "link.png").c_str()), 0);
  const struct {
    std::string name;
    std::string bytes;  // written unless empty
    bool found;
    int32_t width, height;
  } cases[] = {
      {"big.png", "", true, 8192, 8192},  // only a header: its pixels are never looked at
      {"link.png", "", true, 8192, 8192},
      {"tn.bmp", BmpFile(3, 2, 24, 0, "", std::string(24, '\0')), true, 3, 2},
      {"tn.tga", TgaHeader(2, 40, 30, 24), true, 40, 30},
      {"tn.jpg", JpegFile(16, 8, 3, std::string(16 * 8 * 3, '\x40')), true, 16, 8},
      {"huge.png", PngHeaderOnly(16384, 16384), false, 0, 0},  // over the decoders' cap
      {"short.png", PngHeaderOnly(64, 64).substr(0, 20), false, 0, 0},
      {"text.png", "not a picture", false, 0, 0},
      {"pipe", "", false, 0, 0},
      {"missing.png", "", false, 0, 0},
      {".", "", false, 0, 0},
  };
  for (const auto& c : cases) {
    if (!c.bytes.empty()) dir.Write(c.name, c.bytes);
    int32_t width = 0, height = 0;
    EXPECT_EQ(ReadPixmapSize(dir / c.name, width, height), c.found) << c.name;
    if (c.found) {
      EXPECT_EQ(std::make_pair(width, height), std::make_pair(c.width, c.height)) << c.name;
    }
  }
}

// A loader that records its calls and then raises or declines.
class probe_loader : public TPixmapLoader {
 public:
  explicit probe_loader(std::function<void()> act) : act_(std::move(act)) {}
  int calls = 0;
  std::shared_ptr<TPixmap> LoadPixmap(const std::shared_ptr<TStream>& stream) override {
    ++calls;
    stream->ReadByte();  // moves the stream: the next loader must still start at the beginning
    act_();
    return nullptr;
  }

 private:
  std::function<void()> act_;
};

TEST(LoadPixmap, ChainOrderAndExceptions) {
  const std::string bmp = BmpFile(1, 1, 24, 0, "", Bytes({3, 2, 1, 0}));
  auto stream_error = std::make_shared<probe_loader>([] { throw TStreamReadException(); });
  AddPixmapLoader(stream_error);
  EXPECT_NE(Decode(bmp), nullptr);  // counted as none, the standard loaders still run
  EXPECT_EQ(stream_error->calls, 1);

  auto other_error = std::make_shared<probe_loader>([] { throw TRuntimeException("boom"); });
  AddPixmapLoader(other_error);
  EXPECT_THROW(Decode(bmp), TRuntimeException);
  EXPECT_EQ(stream_error->calls, 1);  // the newest loader runs first

  ResetFiles();
  EXPECT_NE(Decode(bmp), nullptr);
  EXPECT_EQ(other_error->calls, 1);
  int length = 0;
  for (auto l = files.loaders; l; l = l->_succ) ++length;
  EXPECT_EQ(length, 4);
  EXPECT_NE(std::dynamic_pointer_cast<TPixmapLoaderTGA>(files.loaders), nullptr);
  EXPECT_NE(std::dynamic_pointer_cast<TPixmapLoaderPNG>(files.loaders->_succ), nullptr);
}

// --- Saving PNG -----------------------------------------------------------------------------

TEST(SavePNG, EveryFormatRoundTrips) {
  struct {
    int32_t format, reloaded;
  } cases[] = {
      {PF_I8, PF_I8},           {PF_A8, PF_RGBA8888},         {PF_BGR888, PF_RGB888},
      {PF_RGB888, PF_RGB888},   {PF_BGRA8888, PF_RGBA8888},   {PF_RGBA8888, PF_RGBA8888},
  };
  temp_folder dir;
  for (const auto& c : cases) {
    auto p = CreatePixmap(3, 2, c.format);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) p->WritePixel(x, y, MakeARGB(40 + x * 50, 200 - y * 90, x * 70, 33 + y));
    }
    ASSERT_EQ(SavePNGPixmap(p, dir / "out.png", 5), 1) << c.format;
    auto back = LoadPixmap(dir / "out.png");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->format, c.reloaded) << c.format;
    EXPECT_EQ(Pixels(back), Pixels(p)) << c.format;
  }
}

TEST(SavePNG, CompressionIsClampedAndFailuresAreResults) {
  temp_folder dir;
  auto p = CreatePixmap(64, 64, PF_RGB888);
  for (int32_t level : {-7, 0, 9, 42}) {
    EXPECT_EQ(SavePNGPixmap(p, dir / "c.png", level), 1) << level;
    EXPECT_NE(LoadPixmap(dir / "c.png"), nullptr) << level;
  }
  SavePNGPixmap(p, dir / "fast.png", -7);
  SavePNGPixmap(p, dir / "small.png", 42);
  EXPECT_GT(dir.Read("fast.png").size(), dir.Read("small.png").size());

  EXPECT_EQ(SavePNGPixmap(p, dir / "no/folder.png", 5), 0);
  EXPECT_EQ(SavePNGPixmap(CreatePixmap(0, 4, PF_RGB888), dir / "empty.png", 5), 0);
  if (FileType("/dev/full") != 0 || access("/dev/full", W_OK) == 0) {
    EXPECT_EQ(SavePNGPixmap(p, std::string("/dev/full"), 5), 0);  // the disk is full
  }
}

TEST(SavePNG, ToAnOpenStreamLeavesItOpen) {
  temp_folder dir;
  auto stream = WriteFile(dir / "two.bin");
  auto p = CreatePixmap(1, 1, PF_RGB888);
  p->WritePixel(0, 0, 0xFF0A0B0C);
  ASSERT_EQ(SavePNGPixmap(p, stream, 5), 1);
  EXPECT_EQ(stream->WriteLine("tail"), 1);
  CloseStream(stream);
  auto in = ReadFile(dir / "two.bin");
  auto back = LoadPixmap(in);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->ReadPixel(0, 0), 0xFF0A0B0Cu);
}

}  // namespace
