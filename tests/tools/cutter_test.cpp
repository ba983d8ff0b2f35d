// Tests of the jigsaw cutter: grid choice, piece outlines, the folders it writes (read back
// through the game's loaders and laid out at the home positions) and the tesselka-cut tool.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tests/support/support.h"
#include "tests/tools/jigsaw_fixture.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string Cut(const std::shared_ptr<TPixmap>& picture, int rows, int cols, uint64_t seed,
                const std::string& folder) {
  cut_request request;
  request.rows = rows;
  request.cols = cols;
  request.seed = seed;
  std::string error;
  return CutJigsawFolder(picture, request, folder, error) ? "" : error;
}

}  // namespace

TEST(ChooseGrid, PicksTheCountWithSquareCells) {
  struct {
    int w, h, pieces, rows, cols;
  } cases[] = {
      {800, 600, 12, 3, 4}, {800, 600, 300, 15, 20}, {600, 600, 100, 10, 10},
      {1000, 250, 16, 2, 8}, {300, 900, 3, 3, 1}, {800, 600, 2, 1, 2},
  };
  for (const auto& c : cases) {
    jigsaw_grid grid = ChooseGrid(c.w, c.h, c.pieces);
    EXPECT_EQ(grid.rows, c.rows) << c.w << "x" << c.h << " " << c.pieces;
    EXPECT_EQ(grid.cols, c.cols) << c.w << "x" << c.h << " " << c.pieces;
  }
  // Never more than fit the 800 x 600 table for a count that fits it, whatever the shape.
  jigsaw_grid big = ChooseGrid(4000, 100, 299);
  EXPECT_LE(big.rows * big.cols, table_pieces);
}

TEST(PieceOutlines, EveryPieceIsOneConnectedRegionAndEveryPixelHasAPiece) {
  struct {
    int w, h, rows, cols;
    uint64_t seed;
  } cases[] = {{760, 560, 15, 20, 1}, {760, 560, 15, 20, 2}, {747, 560, 2, 2, 3},
               {760, 253, 3, 30, 4}, {420, 560, 20, 15, 5}, {760, 560, 6, 1, 6}};
  for (const auto& c : cases) {
    jigsaw_cut cut = MakeCut(c.w, c.h, {c.rows, c.cols}, c.seed);
    std::vector<uint16_t> labels = LabelPieces(cut);
    int pieces = c.rows * c.cols;
    std::vector<int> size(size_t(pieces) + 1, 0), reached(size_t(pieces) + 1, 0);
    for (uint16_t l : labels) ++size[l];
    ASSERT_EQ(size[0], 0) << "unlabelled pixels, case seed " << c.seed;
    // Flood each piece from its first pixel: a crossed outline would split it.
    std::vector<bool> seen(labels.size(), false);
    for (size_t start = 0; start < labels.size(); ++start) {
      if (seen[start] || reached[labels[start]]) continue;
      uint16_t piece = labels[start];
      std::deque<size_t> queue{start};
      seen[start] = true;
      while (!queue.empty()) {
        size_t at = queue.front();
        queue.pop_front();
        ++reached[piece];
        int x = int(at % size_t(c.w)), y = int(at / size_t(c.w));
        const int step[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& s : step) {
          int nx = x + s[0], ny = y + s[1];
          if (nx < 0 || ny < 0 || nx >= c.w || ny >= c.h) continue;
          size_t next = size_t(ny) * size_t(c.w) + size_t(nx);
          if (!seen[next] && labels[next] == piece) seen[next] = true, queue.push_back(next);
        }
      }
    }
    for (int p = 1; p <= pieces; ++p)
      ASSERT_EQ(reached[p], size[p]) << "piece " << p << " is split, seed " << c.seed;
  }
}

// The central check: the written pieces, read back as the game reads them and placed on their
// home positions, rebuild exactly the fitted picture, each pixel from exactly one piece.
TEST(CutJigsaw, PiecesTileThePictureAtTheirHomePositions) {
  struct {
    int w, h, rows, cols;
  } cases[] = {{400, 300, 2, 2}, {640, 480, 3, 5}, {900, 300, 4, 9}, {1200, 900, 15, 20}};
  for (const auto& c : cases) {
    temp_folder temp;
    auto picture = TestPicture(c.w, c.h);
    std::string folder = temp.path() + "/jigsaws/1234test";
    ASSERT_EQ(Cut(picture, c.rows, c.cols, 9, folder), "");
    loaded_jigsaw j = LoadJigsaw(folder);
    ASSERT_EQ(j.rows, c.rows);
    ASSERT_EQ(j.cols, c.cols);
    EXPECT_EQ(j.line_count, 4 + 2 * c.rows * c.cols + 3);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(j.colour[k] >= 0 && j.colour[k] <= 255);
    ASSERT_TRUE(j.thumbnail);
    EXPECT_EQ(j.thumbnail->width, 264);
    EXPECT_EQ(j.thumbnail->height, 198);
    for (size_t i = 0; i < j.pieces.size(); ++i) {
      ASSERT_TRUE(j.pieces[i]) << "piece " << i + 1;
      EXPECT_EQ(j.pieces[i]->format, PF_RGB888);  // no alpha: the game masks black
      EXPECT_EQ(j.pieces[i]->width % 2, 0);
      EXPECT_EQ(j.pieces[i]->height % 2, 0);
    }

    table_layout layout = LayOut(j);
    EXPECT_EQ(layout.outside, 0);
    table_rect rect = PictureRect(c.w, c.h);
    auto expected = ScalePicture(picture, rect.w, rect.h);
    int gaps = 0, overlaps = 0, strays = 0, wrong_colour = 0;
    for (int y = 0; y < table_height; ++y)
      for (int x = 0; x < table_width; ++x) {
        int owner = layout.owner[size_t(y) * table_width + x];
        bool inside = x >= rect.x && y >= rect.y && x < rect.x + rect.w && y < rect.y + rect.h;
        if (owner == -1) ++overlaps;
        if (inside && owner == 0) ++gaps;
        if (!inside && owner != 0) ++strays;
        if (!inside || owner <= 0) continue;
        uint32_t want = ReadPixel(expected, x - rect.x, y - rect.y) & 0xffffff;
        if (want == 0) want = 0x010101;  // picture black is kept off the mask colour
        if ((ReadPixel(layout.table, x, y) & 0xffffff) != want) ++wrong_colour;
      }
    EXPECT_EQ(gaps, 0) << c.rows << "x" << c.cols;
    EXPECT_EQ(overlaps, 0) << c.rows << "x" << c.cols;
    EXPECT_EQ(strays, 0) << c.rows << "x" << c.cols;
    EXPECT_EQ(wrong_colour, 0) << c.rows << "x" << c.cols;

    // Border pieces meet the picture's edge along their whole cell; every inner edge carries
    // a tab, so some of each pair's pixels lie in the other's cell.
    std::vector<int> xs, ys;
    for (int k = 0; k <= c.cols; ++k) xs.push_back(int(std::lround(double(k) * rect.w / c.cols)));
    for (int r = 0; r <= c.rows; ++r) ys.push_back(int(std::lround(double(r) * rect.h / c.rows)));
    auto owner_at = [&](int px, int py) { return layout.owner[size_t(rect.y + py) * table_width + rect.x + px]; };
    for (int k = 0; k < c.cols; ++k)
      for (int x = xs[k]; x < xs[k + 1]; ++x) {
        ASSERT_EQ(owner_at(x, 0), k + 1) << "top edge at " << x;
        ASSERT_EQ(owner_at(x, rect.h - 1), (c.rows - 1) * c.cols + k + 1) << "bottom edge at " << x;
      }
    for (int r = 0; r < c.rows; ++r)
      for (int y = ys[r]; y < ys[r + 1]; ++y) {
        ASSERT_EQ(owner_at(0, y), r * c.cols + 1) << "left edge at " << y;
        ASSERT_EQ(owner_at(rect.w - 1, y), r * c.cols + c.cols) << "right edge at " << y;
      }
    auto intrusion = [&](int row, int col, int piece) {  // pixels of piece inside cell (row, col)
      int n = 0;
      for (int y = ys[row]; y < ys[row + 1]; ++y)
        for (int x = xs[col]; x < xs[col + 1]; ++x) n += owner_at(x, y) == piece;
      return n;
    };
    for (int r = 0; r < c.rows; ++r)
      for (int k = 0; k < c.cols; ++k) {
        int here = r * c.cols + k + 1;
        if (k + 1 < c.cols) {
          EXPECT_GT(intrusion(r, k + 1, here) + intrusion(r, k, here + 1), 10);
        }
        if (r + 1 < c.rows) {
          EXPECT_GT(intrusion(r + 1, k, here) + intrusion(r, k, here + c.cols), 10);
        }
      }
  }
}

TEST(CutJigsaw, TheSameSeedGivesTheSameBytesAndAnotherSeedOtherShapes) {
  temp_folder temp;
  auto picture = TestPicture(500, 400);
  ASSERT_EQ(Cut(picture, 4, 5, 7, temp.path() + "/a"), "");
  ASSERT_EQ(Cut(picture, 4, 5, 7, temp.path() + "/b"), "");
  ASSERT_EQ(Cut(picture, 4, 5, 8, temp.path() + "/c"), "");
  std::vector<std::string> names = Entries(temp.path() + "/a");
  EXPECT_EQ(names.size(), 22u);  // 20 pieces, pieces.txt, tn.png
  EXPECT_EQ(names, Entries(temp.path() + "/b"));
  int different = 0;
  for (const std::string& name : names) {
    EXPECT_EQ(ReadWholeFile(temp.path() + "/a/" + name), ReadWholeFile(temp.path() + "/b/" + name))
        << name;
    different +=
        ReadWholeFile(temp.path() + "/a/" + name) != ReadWholeFile(temp.path() + "/c/" + name);
  }
  EXPECT_GE(different, 20);  // every piece and the home positions change; tn.png need not
  // Nothing but the finished folders is left beside them.
  EXPECT_EQ(Entries(temp.path()), (std::vector<std::string>{"a", "b", "c"}));
}

// ---- The command-line tool ----------------------------------------------------------------------

namespace {

struct run_result {
  int status = -1;
  std::string output;  // stdout and stderr
};

// Runs the cutter with the arguments from a shell that first runs `setup`.
run_result RunCutter(const std::string& arguments, const std::string& setup = "") {
  run_result result;
  std::string command = setup + std::string(TESSELKA_CUT) + " " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[512];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// Starts the cutter on picture for 300 pieces into folder (with --force when asked) and stops it
// with signal after delay_ms.
void CutStoppedAfter(int delay_ms, int signal, bool force, const std::string& picture,
                     const std::string& folder) {
  std::vector<const char*> argv = {TESSELKA_CUT};
  if (force) argv.push_back("--force");
  for (const char* word : {"--pieces", "300", picture.c_str(), folder.c_str()})
    argv.push_back(word);
  argv.push_back(nullptr);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    execv(TESSELKA_CUT, const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  usleep(useconds_t(delay_ms) * 1000);
  kill(child, signal);
  waitpid(child, nullptr, 0);
}

}  // namespace

TEST(CutterTool, CutsAPictureFileIntoAFolder) {
  temp_folder temp;
  std::string png = temp.path() + "/photo.png";
  ASSERT_TRUE(SavePNGPixmap(TestPicture(640, 480), png, 1));
  run_result r = RunCutter("--pieces 48 --seed 3 " + png + " " + temp.path() + "/jigsaws/5000photo");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("48 pieces (6 rows, 8 columns) written to"), std::string::npos) << r.output;
  loaded_jigsaw j = LoadJigsaw(temp.path() + "/jigsaws/5000photo");
  EXPECT_EQ(j.rows * j.cols, 48);
  EXPECT_EQ(j.rows, 6);
  EXPECT_EQ(Entries(temp.path() + "/jigsaws"), (std::vector<std::string>{"5000photo"}));

  run_result help = RunCutter("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Usage: tesselka-cut"), std::string::npos);
}

// Camera-sized pictures: an 8000 x 8000 progressive JPEG (whose coefficients alone take about
// 190 MB) and a CMYK JPEG cut, within an address-space cap that a whole-size decoding would
// not meet either.
TEST(CutterTool, CutsHugeProgressiveAndCmykJpegs) {
  temp_folder temp;
  const std::string t = temp.path();
  temp.Write("huge.jpg", PhotoJpegFile(8000, 8000, true, 75));
  std::string cmyk;
  for (int k = 0; k < 640 * 480; ++k) cmyk += Bytes({255 - k % 256, 200, k % 97, 230});
  temp.Write("cmyk.jpg", JpegFile(640, 480, 4, cmyk));
  for (const char* name : {"huge", "cmyk"}) {
    run_result r = RunCutter("--pieces 300 " + t + "/" + name + ".jpg " + t + "/" + name, "ulimit -v 1228800; ");  // 1200 MiB
    EXPECT_EQ(r.status, 0) << name << ": " << r.output;
    loaded_jigsaw j = LoadJigsaw(t + "/" + name);
    EXPECT_GE(j.rows * j.cols, 280) << name;
  }
}

TEST(CutterTool, RefusesBadInputWithAMessageAndLeavesNoHalfFolder) {
  temp_folder temp;
  std::string t = temp.path();
  ASSERT_TRUE(SavePNGPixmap(TestPicture(640, 480), t + "/photo.png", 1));
  ASSERT_TRUE(SavePNGPixmap(TestPicture(40, 30), t + "/tiny.png", 1));
  ASSERT_TRUE(SavePNGPixmap(TestPicture(2400, 60), t + "/strip.png", 1));
  { std::ofstream(t + "/notes.png") << "not a picture"; }
  std::filesystem::create_directories(t + "/out/taken");
  { std::ofstream(t + "/out/taken/keep.txt") << "mine"; }

  struct {
    std::string arguments, message;
  } cases[] = {
      {t + "/notes.png " + t + "/out/a", "notes.png is not a picture (PNG, JPEG, BMP or TGA)"},
      {t + "/missing.jpg " + t + "/out/a", "missing.jpg cannot be found"},
      {t + "/out " + t + "/out/a", "out is a folder, not a picture"},
      {t + "/photo.png " + t + "/out/taken", "already exists (use --force"},
      {"--rows 20 --cols 20 " + t + "/photo.png " + t + "/out/a",
       "too small to cut into 20 x 20 pieces (past 300 pieces each needs at least 40 x 40 pixels"},
      {"--rows 50 --cols 50 " + t + "/photo.png " + t + "/out/a", "makes 2500 pieces; a jigsaw holds at most 2000"},
      {"--pieces 2001 " + t + "/photo.png " + t + "/out/a", "at most 2000"},
      {"--rows 10 --cols 10 " + t + "/tiny.png " + t + "/out/a", "too small to cut"},
      {"--rows 1 --cols 200 " + t + "/strip.png " + t + "/out/a", "smaller than 12 x 12 pixels"},
      {"--rows 3 " + t + "/photo.png " + t + "/out/a", "--rows and --cols go together"},
      {"--pieces x " + t + "/photo.png " + t + "/out/a", "needs a whole number"},
      {"--colour red " + t + "/photo.png " + t + "/out/a", "unknown option"},
      {t + "/photo.png", "Usage: tesselka-cut"},
      {t + "/photo.png " + t + "/notes.png/a", "cannot create the folder " + t + "/notes.png (Not a directory)"},
  };
  for (const auto& c : cases) {
    run_result r = RunCutter(c.arguments);
    EXPECT_EQ(r.status, 1) << c.arguments;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << c.arguments << "\n" << r.output;
    EXPECT_EQ(Entries(t + "/out"), (std::vector<std::string>{"taken"})) << c.arguments;
  }
  EXPECT_EQ(ReadWholeFile(t + "/out/taken/keep.txt"), "mine");

  // With --force an old jigsaw folder is replaced whole, and nothing is left beside it.
  std::filesystem::remove(t + "/out/taken/keep.txt");
  WriteWholeFile(t + "/out/taken/pieces.txt", "1\r\n2\r\n");
  WriteWholeFile(t + "/out/taken/299.png", "old");
  WriteWholeFile(t + "/out/taken/table.txt", "1600\r\n1200\r\n");  // a big jigsaw's table
  run_result forced = RunCutter("--force --pieces 12 " + t + "/photo.png " + t + "/out/taken");
  EXPECT_EQ(forced.status, 0) << forced.output;
  EXPECT_FALSE(std::filesystem::exists(t + "/out/taken/299.png"));
  EXPECT_FALSE(std::filesystem::exists(t + "/out/taken/table.txt"));
  EXPECT_EQ(LoadJigsaw(t + "/out/taken").rows * LoadJigsaw(t + "/out/taken").cols, 12);
  EXPECT_EQ(Entries(t + "/out"), (std::vector<std::string>{"taken"}));
}

TEST(TableColour, ContrastsWithThePicture) {
  struct {
    uint32_t picture;  // one flat colour
    bool dark_table;
  } cases[] = {{0xfff0f0e0, true}, {0xff202040, false}, {0xffe0c020, true}, {0xff103010, false}};
  for (const auto& c : cases) {
    auto p = CreatePixmap(16, 16, PF_RGB888);
    p->ClearPixels(c.picture);
    int r = 0, g = 0, b = 0;
    ContrastingColour(p, r, g, b);
    double table = 0.299 * r + 0.587 * g + 0.114 * b;
    double picture = 0.299 * ARGBRed(c.picture) + 0.587 * ARGBGreen(c.picture) + 0.114 * ARGBBlue(c.picture);
    EXPECT_EQ(table < 128, c.dark_table) << std::hex << c.picture;
    EXPECT_GT(std::abs(table - picture), 60) << std::hex << c.picture;
  }
  // A yellow picture gets a bluish table.
  auto yellow = CreatePixmap(4, 4, PF_RGB888);
  yellow->ClearPixels(0xffe0c020);
  int r = 0, g = 0, b = 0;
  ContrastingColour(yellow, r, g, b);
  EXPECT_GT(b, r);
}

TEST(CutterTool, PiecesPast300AreCutAbout64PixelsAcrossButNeverLargerThanThePicture) {
  temp_folder temp;
  const std::string t = temp.path();
  WriteWholeFile(t + "/photo.jpg", PhotoJpegFile(4000, 3000, false));
  ASSERT_TRUE(SavePNGPixmap(TestPicture(1000, 750), t + "/small.png", 1));
  const struct {
    std::string arguments;
    int width, height;  // the picture as cut: cells times the grid
  } cases[] = {
      // 20 x 25 cells of the 12-megapixel photo are 155 pixels across: read again, scaled to 64.
      {"--pieces 500 " + t + "/photo.jpg", 1653, 1240},
      // 18 x 25 cells of 40 pixels: cut at the picture's own size.
      {"--rows 18 --cols 25 " + t + "/small.png", 1000, 750},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(t + "/out");
    const run_result r = RunCutter(c.arguments + " " + t + "/out");
    ASSERT_EQ(r.status, 0) << c.arguments << "\n" << r.output;
    std::vector<int> values;  // pieces.txt's first four lines, then table.txt's two
    for (const std::string file : {"pieces.txt", "table.txt"}) {
      std::istringstream in(ReadWholeFile(t + "/out/" + file));
      std::string line;
      for (int k = 0; k < (file == "table.txt" ? 2 : 4) && std::getline(in, line); ++k) values.push_back(std::stoi(line));
    }
    ASSERT_EQ(values.size(), 6u) << c.arguments;
    const int rows = values[0], cols = values[1], table_w = values[4], table_h = values[5];
    EXPECT_NEAR(values[2] * cols, c.width, cols / 2 + 1) << c.arguments;
    EXPECT_NEAR(values[3] * rows, c.height, rows / 2 + 1) << c.arguments;
    // A table in the window's shape, about two and a half times the picture.
    EXPECT_EQ(table_w * 3, table_h * 4) << c.arguments;
    EXPECT_NEAR(double(table_w) * table_h / (double(c.width) * c.height), 2.5, 0.02) << c.arguments;
  }
}

TEST(CutterTool, StoppedAtAnyMomentLeavesNothingOrTheWholeFolder) {
  temp_folder temp;
  std::string picture = temp.path() + "/big.png";
  ASSERT_TRUE(SavePNGPixmap(TestPicture(2000, 1500), picture, 1));
  for (int delay_ms : {20, 150, 300, 450, 600}) {
    std::string out = temp.path() + "/out" + std::to_string(delay_ms);
    std::filesystem::create_directories(out);
    ASSERT_NO_FATAL_FAILURE(CutStoppedAfter(delay_ms, SIGTERM, false, picture, out + "/jigsaw"));
    std::vector<std::string> left = Entries(out);
    if (left.empty()) continue;  // stopped before it began writing
    ASSERT_EQ(left, (std::vector<std::string>{"jigsaw"})) << "after " << delay_ms << " ms";
    loaded_jigsaw j = LoadJigsaw(out + "/jigsaw");
    EXPECT_EQ(j.rows * j.cols, 300);
    for (const auto& piece : j.pieces) EXPECT_TRUE(piece);
    EXPECT_TRUE(j.thumbnail);
  }
}

TEST(CutterTool, ForceReplacesNothingButAJigsawFolder) {
  temp_folder temp;
  const std::string t = temp.path();
  ASSERT_TRUE(SavePNGPixmap(TestPicture(320, 240), t + "/photo.png", 1));
  ASSERT_EQ(RunCutter("--pieces 12 " + t + "/photo.png " + t + "/jigsaw").status, 0);
  // A data folder with a player's progress, a jigsaw folder holding a note, an empty folder, and
  // a link to a real jigsaw folder.
  WriteWholeFile(t + "/data/players/ann/prefer.txt", "1\r\n");
  std::filesystem::create_directories(t + "/data/jigsaws");
  std::filesystem::copy(t + "/jigsaw", t + "/noted");
  WriteWholeFile(t + "/noted/notes.txt", "mine");
  std::filesystem::create_directories(t + "/empty");
  std::filesystem::create_directory_symlink(t + "/jigsaw", t + "/link");
  struct {
    std::string target, message;
  } cases[] = {
      {t + "/data", t + "/data is not a jigsaw folder, so --force does not replace it"},
      {t + "/noted", "is not a jigsaw folder"},
      {t + "/empty", "is not a jigsaw folder"},
      {t + "/link", "is a link"},
      {t + "/photo.png", "exists and is not a folder"},
  };
  const std::vector<std::string> before = Entries(t);
  for (const auto& c : cases) {
    run_result r = RunCutter("--force --pieces 6 " + t + "/photo.png " + c.target);
    EXPECT_EQ(r.status, 1) << c.target;
    EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
    EXPECT_EQ(Entries(t), before) << c.target;  // no hidden temporary left beside it
  }
  EXPECT_EQ(ReadWholeFile(t + "/data/players/ann/prefer.txt"), "1\r\n");
  EXPECT_EQ(ReadWholeFile(t + "/noted/notes.txt"), "mine");
  EXPECT_EQ(LoadJigsaw(t + "/jigsaw").rows * LoadJigsaw(t + "/jigsaw").cols, 12);
}

TEST(CutterTool, ForceKilledAtAnyMomentLeavesTheOldOrTheNewFolderAndLaterRunsCleanUp) {
  temp_folder temp;
  const std::string t = temp.path(), out = t + "/out", picture = t + "/big.png";
  ASSERT_TRUE(SavePNGPixmap(TestPicture(2000, 1500), picture, 1));
  ASSERT_EQ(RunCutter("--pieces 12 " + picture + " " + out + "/jigsaw").status, 0);
  std::filesystem::create_directories(out + "/.tesselka-cut-1");  // a live process's: it stays
  for (int delay_ms : {100, 300, 500, 700, 900}) {
    ASSERT_NO_FATAL_FAILURE(CutStoppedAfter(delay_ms, SIGKILL, true, picture, out + "/jigsaw"));
    const loaded_jigsaw j = LoadJigsaw(out + "/jigsaw");
    const int count = j.rows * j.cols;
    EXPECT_TRUE(count == 12 || count == 300) << "after " << delay_ms << " ms: " << count;
    EXPECT_EQ(int(j.pieces.size()), count);
    for (const auto& piece : j.pieces) EXPECT_TRUE(piece);
    EXPECT_TRUE(j.thumbnail);
  }
  ASSERT_EQ(RunCutter("--pieces 6 " + t + "/big.png " + out + "/other").status, 0);
  EXPECT_EQ(Entries(out), (std::vector<std::string>{".tesselka-cut-1", "jigsaw", "other"}));
}

TEST(CutterTool, AWriteThatFailsSaysWhyAndLeavesNothing) {
  temp_folder temp;
  const std::string t = temp.path();
  ASSERT_TRUE(SavePNGPixmap(TestPicture(640, 480), t + "/photo.png", 1));
  std::filesystem::create_directories(t + "/out");
  // Files may hold 10 KiB at most, as on a nearly full disk; the limit's signal is ignored, so
  // that the write fails instead of killing the cutter.
  const run_result r = RunCutter("--pieces 6 " + t + "/photo.png " + t + "/out/j", "trap '' XFSZ; ulimit -f 20; ");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("cannot write " + t + "/out/j/1.png (File too large)"), std::string::npos) << r.output;
  EXPECT_EQ(Entries(t + "/out"), std::vector<std::string>{});
}

TEST(CutterTool, LongFolderNamesWorkAndErrorsNameTheGivenFolder) {
  temp_folder temp;
  const std::string t = temp.path();
  ASSERT_TRUE(SavePNGPixmap(TestPicture(320, 240), t + "/photo.png", 1));
  const std::string longest = t + "/out/" + std::string(245, 'n');
  run_result r = RunCutter("--pieces 6 " + t + "/photo.png " + longest);
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(LoadJigsaw(longest).rows * LoadJigsaw(longest).cols, 6);
  ASSERT_EQ(RunCutter("--force --pieces 8 " + t + "/photo.png " + longest).status, 0);

  const std::string too_long = t + "/out/" + std::string(256, 'n');
  r = RunCutter("--pieces 6 " + t + "/photo.png " + too_long);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("cannot create " + too_long), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find(".tesselka-cut"), std::string::npos) << r.output;
  EXPECT_EQ(Entries(t + "/out"), (std::vector<std::string>{std::string(245, 'n')}));
}
