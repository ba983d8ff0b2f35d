// LoadPicture: JPEGs at the smallest DCT scale that covers the fitted size, upright by their
// EXIF orientation, CMYK as RGB, and a problem text for every kind of file that is no usable
// picture. Real files written by the test, decoded by the real libjpeg and libpng.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tests/support/memory_cap.h"
#include "tests/support/support.h"

namespace {

picture_result Load(const std::string& path, int fit_width = 0, int fit_height = 0,
                    int64_t budget = int64_t{64} << 20) {
  picture_request request;
  request.fit_width = fit_width;
  request.fit_height = fit_height;
  request.memory_budget = budget;
  return LoadPicture(path, request);
}

TEST(LoadPicture, JpegDecodesAtTheSmallestScaleThatCoversTheFit) {
  temp_folder temp;
  const struct {
    int width, height, fit_width, fit_height, want_width, want_height;
  } cases[] = {
      {3200, 1600, 400, 400, 400, 200},  // 1/8 covers the 400 x 200 fit exactly
      {3200, 1600, 401, 400, 800, 400},  // one pixel more needs 1/4
      {1600, 1200, 760, 560, 800, 600},  // a 2-megapixel photo on the table: 1/2
      {1600, 1200, 1600, 1200, 1600, 1200},
      {500, 400, 760, 560, 500, 400},  // smaller than the fit: whole, never enlarged here
      {1600, 1200, 0, 0, 1600, 1200},  // no fit: whole
  };
  for (const auto& c : cases) {
    const std::string path = temp.Write("p.jpg", PhotoJpegFile(c.width, c.height, false));
    const picture_result r = Load(path, c.fit_width, c.fit_height);
    ASSERT_TRUE(r.pixmap) << r.problem;
    EXPECT_EQ(r.pixmap->width, c.want_width) << c.width << " fit " << c.fit_width;
    EXPECT_EQ(r.pixmap->height, c.want_height) << c.width << " fit " << c.fit_width;
    EXPECT_EQ(r.full_width, c.width);
    EXPECT_EQ(r.full_height, c.height);
  }
}

// A 64 x 32 picture in four colour quarters, stored turned as each EXIF orientation says.
TEST(LoadPicture, JpegIsTurnedUprightByItsExifOrientation) {
  const uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, white = 0xFFFFFFFF;
  std::string pixels;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) {
      const uint32_t c = y < 16 ? (x < 32 ? red : green) : (x < 32 ? blue : white);
      pixels += Bytes({int(ARGBRed(c)), int(ARGBGreen(c)), int(ARGBBlue(c))});
    }
  const std::string jpeg = JpegFile(64, 32, 3, pixels);
  const struct {
    int orientation;
    uint32_t top_left, top_right, bottom_left, bottom_right;
  } cases[] = {
      {1, red, green, blue, white}, {2, green, red, white, blue}, {3, white, blue, green, red},
      {4, blue, white, red, green}, {5, red, blue, green, white}, {6, blue, red, white, green},
      {7, white, green, blue, red}, {8, green, white, red, blue},
  };
  temp_folder temp;
  for (const auto& c : cases) {
    const picture_result r = Load(temp.Write("o.jpg", WithExifOrientation(jpeg, c.orientation)));
    ASSERT_TRUE(r.pixmap) << r.problem;
    const bool turned = c.orientation >= 5;
    EXPECT_EQ(r.pixmap->width, turned ? 32 : 64) << c.orientation;
    EXPECT_EQ(r.full_width, turned ? 32 : 64) << c.orientation;
    const int w = r.pixmap->width, h = r.pixmap->height;
    const std::pair<uint32_t, uint32_t> corners[] = {
        {ReadPixel(r.pixmap, 2, 2), c.top_left}, {ReadPixel(r.pixmap, w - 3, 2), c.top_right},
        {ReadPixel(r.pixmap, 2, h - 3), c.bottom_left}, {ReadPixel(r.pixmap, w - 3, h - 3), c.bottom_right}};
    for (auto [got, want] : corners)
      for (int shift : {0, 8, 16})
        EXPECT_NEAR(int(got >> shift & 255), int(want >> shift & 255), 40)
            << "orientation " << c.orientation << std::hex << " got " << got << " want " << want;
  }
  // Turned pictures are fitted upright: a portrait 6 of 1600 x 1200 stored fits 560 high at 1/2.
  const picture_result portrait =
      Load(temp.Write("p.jpg", WithExifOrientation(PhotoJpegFile(1600, 1200, false), 6)), 760, 560);
  ASSERT_TRUE(portrait.pixmap) << portrait.problem;
  EXPECT_EQ(portrait.pixmap->width, 600);
  EXPECT_EQ(portrait.pixmap->height, 800);
}

TEST(LoadPicture, CmykJpegBecomesRgb) {
  temp_folder temp;
  // libjpeg writes CMYK with Adobe's marker, whose values count the white left: 255 is no ink.
  std::string pixels;
  for (int k = 0; k < 16 * 16; ++k) pixels += Bytes({255, 0, 0, 255});  // magenta and yellow: red
  const picture_result r = Load(temp.Write("c.jpg", JpegFile(16, 16, 4, pixels)));
  ASSERT_TRUE(r.pixmap) << r.problem;
  const uint32_t p = ReadPixel(r.pixmap, 8, 8);
  EXPECT_GT(int(ARGBRed(p)), 230);
  EXPECT_LT(int(ARGBGreen(p)), 25);
  EXPECT_LT(int(ARGBBlue(p)), 25);
  EXPECT_EQ(ARGBAlpha(p), 255u);
}

TEST(LoadPicture, EveryUnusableFileGetsAProblemThatSaysWhat) {
  temp_folder temp;
  const std::string t = temp.path();
  const std::string jpeg = PhotoJpegFile(320, 240, false);
  std::string huge_jpeg = jpeg;  // the frame header's height and width made 60000
  const size_t sof = huge_jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge_jpeg.replace(sof + 5, 4, Bytes({0xEA, 0x60, 0xEA, 0x60}));
  temp.Write("notes.txt", "shopping list\n");
  temp.Write("empty.jpg", "");
  temp.Write("cut.jpg", jpeg.substr(0, jpeg.size() / 2));
  temp.Write("damaged.jpg", Bytes({0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x03, 0x01, 0x02}));
  temp.Write("huge.jpg", huge_jpeg);
  temp.Write("huge.png", PngHeaderOnly(100000, 90000));
  temp.Write("cut.png", PngHeaderOnly(64, 64));
  temp.Write("progressive.jpg", PhotoJpegFile(2000, 2000, true));
  mkdir((t + "/folder.jpg").c_str(), 0777);
  mkfifo((t + "/pipe.jpg").c_str(), 0666);
  const struct {
    std::string name;
    int64_t budget;
    std::string problem;
  } cases[] = {
      {"notes.txt", 64 << 20, "is not a picture (PNG, JPEG, BMP or TGA)"},
      {"empty.jpg", 64 << 20, "is empty"},
      {"cut.jpg", 64 << 20, "is cut short"},
      {"damaged.jpg", 64 << 20, "is damaged"},
      {"huge.jpg", 64 << 20, "is too large: 60000 x 60000 pixels"},
      {"huge.png", 64 << 20, "is too large: 100000 x 90000 pixels"},
      {"cut.png", 64 << 20, "is damaged or cut short"},
      {"progressive.jpg", 4 << 20, "is too large: 2000 x 2000 pixels (decoding it needs more than 4 MiB)"},
      {"progressive.jpg", 100 << 10, "is too large: a file of "},
      {"folder.jpg", 64 << 20, "is a folder, not a picture"},
      {"pipe.jpg", 64 << 20, "is not a file but a pipe or device"},
      {"missing.jpg", 64 << 20, "cannot be found"},
  };
  for (const auto& c : cases) {
    const picture_result r = Load(temp / c.name, 760, 560, c.budget);
    EXPECT_FALSE(r.pixmap) << c.name;
    EXPECT_EQ(r.problem.substr(0, c.problem.size()), c.problem) << c.name << ": " << r.problem;
  }
  if (geteuid() != 0) {  // root reads whatever the mode says
    temp.Write("locked.jpg", jpeg);
    chmod((t + "/locked.jpg").c_str(), 0);
    EXPECT_EQ(Load(temp / "locked.jpg").problem, "cannot be read: Permission denied");
  }
}

// A progressive JPEG keeps its whole picture's coefficients while it decodes: within the budget
// it decodes at 1/8 without holding the whole-size pixels, beyond it it is refused, never swaps.
TEST(LoadPicture, ProgressiveJpegStaysWithinItsBudget) {
  temp_folder temp;
  const std::string path = temp.Write("big.jpg", PhotoJpegFile(4000, 3000, true));
  const capped_run run = RunWithMemoryCap(200 * kMiB, [&] {
    const picture_result r = Load(path, 760, 560, 48 * kMiB);
    return r.pixmap ? int64_t{r.pixmap->width} * 10000 + r.pixmap->height : -1;
  });
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.value, 1000 * 10000 + 750);  // 1/4 of 4000 x 3000 covers its 746 x 560 fit
  // 4000 x 3000 at 4:2:0 keeps 36 MB of coefficients and decodes no whole-size pixmap.
  EXPECT_LT(run.peak_growth, 70 * kMiB);
  const capped_run refused = RunWithMemoryCap(200 * kMiB, [&] { return Load(path, 760, 560, 16 * kMiB).pixmap ? 1 : 0; });
  ASSERT_TRUE(refused.finished);
  EXPECT_EQ(refused.value, 0);
}

}  // namespace
