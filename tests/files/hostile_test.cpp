// Hostile files against the file layer, each run in a child with a capped address space: chunks
// that declare a gigabyte, and named pipes or devices where a file should be.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tests/support/memory_cap.h"
#include "tests/support/support.h"

namespace {

TEST(HostileFiles, AHugeDeclaredChunkAllocatesNothing) {
  // 256 MiB declared: far beyond any bound, yet within the cap, so that a decoder that takes the
  // length at its word shows up in the peak memory instead of failing quietly at the cap.
  for (const char* type :
       {"tEXt", "zTXt", "iTXt", "pCAL", "sCAL", "sPLT", "iCCP", "eXIf", "abCd"}) {
    const std::string bytes = PngWithHugeChunk(type, 0x10000000);
    ASSERT_EQ(bytes.size(), 57u);
    const capped_run run = RunWithMemoryCap(
        512 * kMiB, [&] { return LoadPixmap(std::make_shared<TestMemoryStream>(bytes)) ? 1 : 0; });
    EXPECT_TRUE(run.finished) << type;
    EXPECT_EQ(run.value, 0) << type;
    EXPECT_LT(run.peak_growth, 16 * kMiB) << type;
  }
}

TEST(HostileFiles, AProgressiveJpegDeclaringAHugePictureAllocatesLittle) {
  // A real progressive file whose frame header is made to declare 8192 x 8192 and which ends
  // inside its first scan: libjpeg would set up (and clear) coefficients for the whole picture.
  std::string bytes = JpegFile(16, 16, 3, std::string(16 * 16 * 3, '\x60'), true);
  const size_t frame = bytes.find("\xFF\xC2");
  ASSERT_NE(frame, std::string::npos);
  bytes.replace(frame + 5, 4, Bytes({0x20, 0, 0x20, 0}));
  bytes.resize(bytes.find("\xFF\xDA") + 20);
  const capped_run run = RunWithMemoryCap(
      1024 * kMiB, [&] { return LoadPixmap(std::make_shared<TestMemoryStream>(bytes)) ? 1 : 0; });
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.value, 0);
  EXPECT_LT(run.peak_growth, 80 * kMiB);
}

TEST(HostileFiles, PicturesDeclaringMorePixelsThanTheCapAllocateLittle) {
  // Two whole 1-bit BMPs of 16384 x 16384 (32 MiB each, 768 MiB each as pixmaps) and TGAs of a
  // header alone declaring 4096 x 4096, colour-mapped or true colour.
  // The streams are made before the run, so that only decoding counts.
  const std::string rows(size_t{16384} * 2048, '\x55');
  const std::shared_ptr<TStream> files[] = {
      std::make_shared<TestMemoryStream>(BmpFile(16384, 16384, 1, 0, std::string(8, '\0'), rows)),
      std::make_shared<TestMemoryStream>(BmpFile(16384, 16384, 1, 0, std::string(8, '\xFF'), rows)),
      std::make_shared<TestMemoryStream>(TgaHeader(1, 4096, 4096, 32)),
      std::make_shared<TestMemoryStream>(TgaHeader(2, 4096, 4096, 32)),
      std::make_shared<TestMemoryStream>(TgaHeader(10, 4096, 4096, 32))};
  const capped_run run = RunWithMemoryCap(512 * kMiB, [&] {
    int64_t decoded = 0;
    for (const auto& file : files) {
      file->Seek(0);
      decoded += LoadPixmap(file) != nullptr;
    }
    return decoded;
  });
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.value, 0);
  EXPECT_LT(run.peak_growth, 16 * kMiB);
}

TEST(HostileFiles, OnlyRegularFilesAreOpened) {
  temp_folder temp;
  const std::string pipe = temp / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0666), 0);
  const std::string picture = temp.Write("1.png", PngFile(1, 1, 8, 2, Bytes({0, 1, 2, 3})));
  ASSERT_EQ(symlink(pipe.c_str(), (temp / "to-pipe").c_str()), 0);
  ASSERT_EQ(symlink(picture.c_str(), (temp / "to-picture").c_str()), 0);
  // Opening a pipe with no other end would wait for ever: the alarm turns that into a failure.
  const capped_run run = RunWithMemoryCap(64 * kMiB, [&] {
    alarm(10);
    int64_t opened = 0, size = 0;
    for (const std::string& path :
         {pipe, temp / "to-pipe", std::string("/dev/zero"), temp.path()}) {
      opened += ReadFile(path) != nullptr;
      opened += OpenStream(path, true, true) != nullptr;
      opened += LoadPixmap(path) != nullptr;
      opened += TMemoryStream::ReadFile(path, kMiB, size) != nullptr || size != -1;
    }
    opened += WriteFile(pipe) != nullptr;
    // A link to a regular file is followed.
    return opened * 10 + (LoadPixmap(temp / "to-picture") != nullptr) +
           (TMemoryStream::ReadFile(temp / "to-picture", kMiB, size) != nullptr);
  });
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.value, 2);
  EXPECT_EQ(FileType(pipe), FILETYPE_NONE);
}

}  // namespace
