// From a picture file to a jigsaw in the library, as a front end does it: real picture files of
// every kind through ReadPictureToCut and CutJigsawFolder, the piece counts offered for a shape,
// the names made for new jigsaws, a cut stopped half way; and the player's pictures (folders,
// listing, thumbnails).
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "tests/files/fixtures.h"
#include "tests/support/support.h"
#include "tests/tools/jigsaw_fixture.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  return names;
}

// The TGA header and bottom-up BGR rows of an uncompressed 24-bit picture.
std::string TgaFile(const std::shared_ptr<TPixmap>& picture) {
  std::string file = TgaHeader(2, picture->width, picture->height, 24);
  for (int y = picture->height - 1; y >= 0; --y)
    for (int x = 0; x < picture->width; ++x) {
      const uint32_t p = ReadPixel(picture, x, y);
      file += Bytes({int(ARGBBlue(p)), int(ARGBGreen(p)), int(ARGBRed(p))});
    }
  return file;
}

TEST(PictureToJigsaw, EveryKindOfPictureFileGoesTheWholeRouteOrIsRefusedWithNothingWritten) {
  temp_folder temp;
  const std::string library = temp / "jigsaws";
  std::filesystem::create_directories(library);
  const auto small = TestPicture(400, 300);
  std::string bmp_rows;  // bottom row first, BGR, rows of 1200 bytes need no padding
  for (int y = 299; y >= 0; --y)
    for (int x = 0; x < 400; ++x) {
      const uint32_t p = ReadPixel(small, x, y);
      bmp_rows += Bytes({int(ARGBBlue(p)), int(ARGBGreen(p)), int(ARGBRed(p))});
    }
  const auto deep = TestPicture(240, 180);
  const std::string landscape = PhotoJpegFile(4000, 3000, false);
  temp.Write("landscape.jpg", landscape);
  temp.Write("portrait.jpg", WithExifOrientation(PhotoJpegFile(1600, 1200, false), 6));
  temp.Write("progressive.jpg", PhotoJpegFile(3000, 2000, true));
  std::string cmyk;
  for (int k = 0; k < 320 * 240; ++k) cmyk += Bytes({255, k % 200, 60, 255});
  temp.Write("cmyk.jpg", JpegFile(320, 240, 4, cmyk));
  const std::string deep_raw = Adam7Raw(240, 180, [&](int x, int y) {
    const uint32_t p = ReadPixel(deep, x, y);  // each channel as a 16-bit value
    return Bytes({int(ARGBRed(p)), 0, int(ARGBGreen(p)), 0, int(ARGBBlue(p)), 0});
  });
  temp.Write("deep.png", PngFile(240, 180, 16, 2, deep_raw, "", 1));
  temp.Write("picture.bmp", BmpFile(400, 300, 24, 0, "", bmp_rows));
  temp.Write("picture.tga", TgaFile(small));
  ASSERT_TRUE(SavePNGPixmap(TestPicture(30, 20), temp / "tiny.png", 1));
  temp.Write("huge.png", PngHeaderOnly(200000, 100000));
  temp.Write("damaged.jpg", landscape.substr(0, 600) + std::string(2000, '\x55'));
  temp.Write("notes.jpg", "not a picture at all\n");

  const struct {
    std::string file;
    int width, height;  // as read for cutting; 0: refused
    std::string problem;
  } cases[] = {
      {"landscape.jpg", 1000, 750, ""},  // 12 megapixels at 1/4
      {"portrait.jpg", 600, 800, ""},    // stored on its side, upright here
      {"progressive.jpg", 1500, 1000, ""},  // 1/4 would miss the 760 x 507 fit
      {"cmyk.jpg", 320, 240, ""},
      {"deep.png", 240, 180, ""},  // 16 bits a channel, interlaced
      {"picture.bmp", 400, 300, ""},
      {"picture.tga", 400, 300, ""},
      {"tiny.png", 0, 0, "tiny.png is too small or too narrow for a jigsaw: 30 x 20 pixels"},
      {"huge.png", 0, 0, "huge.png is too large: 200000 x 100000 pixels"},
      {"damaged.jpg", 0, 0, "damaged.jpg is "},
      {"notes.jpg", 0, 0, "notes.jpg is not a picture (PNG, JPEG, BMP or TGA)"},
  };
  for (const auto& c : cases) {
    picture_to_cut read;
    std::string error;
    const bool ok = ReadPictureToCut(temp / c.file, read, error);
    ASSERT_EQ(ok, c.width > 0) << c.file << ": " << error;
    if (!ok) {
      EXPECT_NE(error.find(c.problem), std::string::npos) << error;
      continue;
    }
    EXPECT_EQ(read.picture->width, c.width) << c.file;
    EXPECT_EQ(read.picture->height, c.height) << c.file;
    const jigsaw_grid grid = read.choices[read.chosen];
    cut_request request;
    request.rows = grid.rows;
    request.cols = grid.cols;
    std::vector<int> told;
    request.progress = [&](int done, int total) {
      EXPECT_EQ(total, grid.rows * grid.cols);
      told.push_back(done);
    };
    const std::string name = JigsawNameForPicture(temp / c.file, library);
    ASSERT_TRUE(CutJigsawFolder(read.picture, request, library + "/" + name, error)) << error;
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), grid.rows * grid.cols);
    const loaded_jigsaw jigsaw = LoadJigsaw(library + "/" + name);
    EXPECT_EQ(jigsaw.rows * jigsaw.cols, grid.rows * grid.cols) << c.file;
    EXPECT_EQ(std::count(jigsaw.pieces.begin(), jigsaw.pieces.end(), nullptr), 0) << c.file;
    // A portrait picture is cut upright: more rows than columns.
    if (c.file == "portrait.jpg") {
      EXPECT_GT(jigsaw.rows, jigsaw.cols);
    }
  }
  std::vector<std::string> made = Entries(library);
  std::sort(made.begin(), made.end());
  EXPECT_EQ(made, (std::vector<std::string>{"cmyk", "deep", "landscape", "picture", "picture 2",
                                            "portrait", "progressive"}));
}

TEST(PictureToJigsaw, CountsOfferedKeepPiecesNearSquareForEveryShape) {
  const struct {
    int width, height;
  } shapes[] = {{760, 570}, {570, 760}, {760, 428}, {600, 600}, {760, 253}, {3000, 1000}};
  for (const auto& s : shapes) {
    const std::vector<jigsaw_grid> choices = PieceCountChoices(s.width, s.height, s.width, s.height);
    ASSERT_GE(choices.size(), 6u) << s.width << "x" << s.height;
    const int fewest = choices.front().rows * choices.front().cols;
    const int most = choices.back().rows * choices.back().cols;
    EXPECT_GE(fewest, 8);
    EXPECT_LE(fewest, 16);
    EXPECT_GE(most, 250);
    EXPECT_LE(most, max_pieces);
    for (size_t k = 0; k < choices.size(); ++k) {
      const jigsaw_grid g = choices[k];
      if (k > 0) {
        EXPECT_GT(g.rows * g.cols, choices[k - 1].rows * choices[k - 1].cols);
      }
      const double cell_shape = (double(s.width) / g.cols) / (double(s.height) / g.rows);
      EXPECT_GT(cell_shape, 0.66) << s.width << "x" << s.height << " " << g.rows << "x" << g.cols;
      EXPECT_LT(cell_shape, 1.5) << s.width << "x" << s.height << " " << g.rows << "x" << g.cols;
      EXPECT_EQ(GridProblem(s.width, s.height, g), "");
    }
    const jigsaw_grid first = choices[DefaultCountChoice(choices)];
    EXPECT_NEAR(first.rows * first.cols, 100, 20) << s.width << "x" << s.height;
  }
  // A small picture is offered only what its pixels can carry; a speck nothing.
  const std::vector<jigsaw_grid> small = PieceCountChoices(120, 90, 120, 90);
  ASSERT_FALSE(small.empty());
  EXPECT_LE(small.back().rows * small.back().cols, 11 * 15);
  EXPECT_TRUE(PieceCountChoices(30, 20, 30, 20).empty());
  EXPECT_TRUE(PieceCountChoices(5000, 10, 5000, 10).empty());
}

TEST(PictureToJigsaw, CountsPast300NeedPiecesOf40PixelsAtThePicturesOwnSize) {
  const struct {
    int width, height, full_width, full_height;  // as read for the screen, and its own size
    std::vector<int> counts;
  } cases[] = {
      // A 12-megapixel photo read at 1/4: up to 2000, eight counts spread over the whole range.
      {1000, 750, 4000, 3000, {12, 48, 99, 204, 300, 500, 999, 1989}},
      // About the smallest picture of that shape that carries as many (the README's example).
      {2100, 1575, 2100, 1575, {12, 48, 99, 204, 300, 500, 999, 1989}},
      // Its own size carries 25 x 18 pieces of 40 pixels: that is the most offered.
      {1000, 750, 1000, 750, {12, 24, 48, 99, 150, 204, 300, 450}},
      // A picture that fits the table is offered what it always was.
      {760, 570, 760, 570, {12, 24, 48, 70, 99, 150, 204, 300}},
      {640, 480, 640, 480, {12, 24, 48, 70, 99, 150, 204, 300}},
  };
  for (const auto& c : cases) {
    const std::vector<jigsaw_grid> choices = PieceCountChoices(c.width, c.height, c.full_width, c.full_height);
    std::vector<int> counts;
    for (const jigsaw_grid& g : choices) {
      counts.push_back(g.rows * g.cols);
      if (g.rows * g.cols <= table_pieces) continue;
      EXPECT_GE(c.full_width / g.cols, min_big_cell) << g.rows << " x " << g.cols;
      EXPECT_GE(c.full_height / g.rows, min_big_cell) << g.rows << " x " << g.cols;
    }
    EXPECT_EQ(counts, c.counts) << c.full_width << " x " << c.full_height;
    EXPECT_EQ(choices[DefaultCountChoice(choices)].rows * choices[DefaultCountChoice(choices)].cols, 99);
  }
}

TEST(PictureToJigsaw, NamesAreSafeAndNeverThoseOfExistingJigsaws) {
  temp_folder temp;
  const std::string library = temp.path();
  std::filesystem::create_directories(library + "/Beach");
  std::filesystem::create_directories(library + "/Beach 2");
  temp.Write("Dog", "a file counts as taken too");
  const std::string long_name = std::string(62, 'a') + "\xC5\xBC\xC5\xBC";  // 62 + two 2-byte letters
  const struct {
    std::string path, name;
  } cases[] = {
      {"/home/me/Pictures/Sunset over Łódź.jpg", "Sunset over Łódź"},
      {"photo.tar.png", "photo.tar"},
      {"Beach.jpg", "Beach 3"},
      {"/x/Dog.png", "Dog 2"},
      {".hidden.jpg", "hidden"},
      {"..jpg", "picture"},
      {"...", "picture"},
      {"new\nline\tand\x7F.jpg", "new_line_and_"},
      {"back\\slash.jpg", "back_slash"},
      {"  spaced  .jpg", "spaced"},
      {"/pics/" + long_name + ".jpg", std::string(62, 'a') + "\xC5\xBC"},
  };
  for (const auto& c : cases) {
    const std::string name = JigsawNameForPicture(c.path, library);
    EXPECT_EQ(name, c.name) << c.path;
    EXPECT_FALSE(name.empty() || name == "." || name == ".." || name[0] == '.');
    EXPECT_EQ(name.find_first_of(std::string("/\\\0", 3)), std::string::npos) << name;
  }
}

TEST(PictureToJigsaw, AStoppedCutLeavesNothingInTheLibrary) {
  temp_folder temp;
  const auto picture = TestPicture(760, 570);
  std::atomic<bool> cancel{false};
  cut_request request;
  request.pieces = 100;
  request.cancel = &cancel;
  request.progress = [&](int done, int) {
    if (done == 40) cancel = true;
  };
  std::string error;
  EXPECT_FALSE(CutJigsawFolder(picture, request, temp / "stopped", error));
  EXPECT_NE(error.find("was stopped"), std::string::npos) << error;
  EXPECT_TRUE(Entries(temp.path()).empty());
}

}  // namespace

namespace {

// Sets an environment variable for the life of the object, then puts the old value back.
class scoped_environment {
 public:
  scoped_environment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    setenv(name, value.c_str(), 1);
  }
  ~scoped_environment() { had_ ? (void)setenv(name_, old_.c_str(), 1) : (void)unsetenv(name_); }

 private:
  const char* name_;
  std::string old_;
  bool had_ = false;
};

TEST(PlayersPictures, TheXdgPicturesFolderThenTheGamesOwn) {
  temp_folder home;
  scoped_environment home_variable("HOME", home.path());
  scoped_environment config("XDG_CONFIG_HOME", home / "config");
  const std::string data = home / "data/pictures";
  // Without user-dirs.dirs, ~/Pictures.
  EXPECT_EQ(PictureFolders(data), (std::vector<std::string>{home / "Pictures", data}));
  const struct {
    std::string line, folder;
  } cases[] = {
      {"XDG_PICTURES_DIR=\"$HOME/Bilder\"", home / "Bilder"},
      {"XDG_PICTURES_DIR=\"/srv/photos/\"", "/srv/photos"},
      {"XDG_PICTURES_DIR=\"relative\"", home / "Pictures"},
  };
  for (const auto& c : cases) {
    WriteWholeFile(home / "config/user-dirs.dirs",
                   "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n" + c.line + "\n");
    EXPECT_EQ(PictureFolders(data), (std::vector<std::string>{c.folder, data})) << c.line;
  }
  // xdg-user-dir itself reads the same file the same way.
  WriteWholeFile(home / "config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n");
  if (!CommandOutput("command -v xdg-user-dir").empty()) {
    EXPECT_EQ(CommandOutput("xdg-user-dir PICTURES"), home / "Bilder");
  }
  EXPECT_EQ(PictureFolders(home / "Bilder"), (std::vector<std::string>{home / "Bilder"}));
}

TEST(PlayersPictures, PicturesNewestFirstWithoutFoldersAndOtherFiles) {
  temp_folder a, b;
  const std::string jpeg = PhotoJpegFile(64, 48, false);
  const struct {
    std::string path;
    int64_t modified;
  } files[] = {
      {a / "old.JPG", 1000}, {a / "new.png", 3000}, {b / "middle.jpeg", 2000},
      {b / "same.bmp", 2000}, {a / "notes.txt", 4000}, {b / "picture", 5000}, {b / "x.tga", 500},
  };
  for (const auto& f : files) {
    WriteWholeFile(f.path, jpeg);
    const timespec times[2] = {{f.modified, 0}, {f.modified, 0}};
    utimensat(AT_FDCWD, f.path.c_str(), times, 0);
  }
  std::filesystem::create_directories(a / "folder.jpg");
  std::filesystem::create_symlink(b / "x.tga", b / "link.tga");
  std::filesystem::create_symlink(a / "gone.png", a / "broken.png");
  std::vector<std::string> listed;
  for (const picture_file& p : ListPictures({a.path(), b.path(), a / "missing"})) listed.push_back(p.path);
  EXPECT_EQ(listed, (std::vector<std::string>{a / "new.png", b / "middle.jpeg", b / "same.bmp",
                                              a / "old.JPG", b / "link.tga", b / "x.tga"}));
}

TEST(PlayersPictures, ThumbnailsFitTheirBoxWithTheShapeKept) {
  temp_folder temp;
  temp.Write("photo.jpg", PhotoJpegFile(4000, 3000, false));
  temp.Write("portrait.jpg", WithExifOrientation(PhotoJpegFile(1600, 1200, false), 8));
  temp.Write("notes.png", "not a picture");
  // Too small or too narrow for any jigsaw: no thumbnail, as the cut would refuse them.
  ASSERT_TRUE(SavePNGPixmap(TestPicture(10, 10), temp / "tiny.png", 1));
  ASSERT_TRUE(SavePNGPixmap(TestPicture(600, 6), temp / "strip.png", 1));
  ASSERT_TRUE(SavePNGPixmap(TestPicture(40, 30), temp / "small.png", 1));
  const struct {
    std::string name;
    int width, height;
  } cases[] = {{"photo.jpg", 160, 120}, {"portrait.jpg", 90, 120}, {"notes.png", 0, 0},
               {"tiny.png", 0, 0},      {"strip.png", 0, 0},       {"small.png", 160, 120}};
  for (const auto& c : cases) {
    const auto thumbnail = PictureThumbnail(temp / c.name, 160, 120);
    ASSERT_EQ(thumbnail != nullptr, c.width > 0) << c.name;
    if (!thumbnail) continue;
    EXPECT_EQ(thumbnail->width, c.width) << c.name;
    EXPECT_EQ(thumbnail->height, c.height) << c.name;
  }
}

}  // namespace
