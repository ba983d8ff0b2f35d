// Hostile jigsaw folders, each loaded in a child with a capped address space: pieces that declare
// huge pictures, home positions at the integer limits, named pipes where files should be. A
// refused folder names the fault and leaves the jigsaw in play as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>

#include "files/files.h"
#include "play/play.h"
#include "tests/files/fixtures.h"
#include "tests/play/play_fixture.h"
#include "tests/support/memory_cap.h"
#include "tests/support/support.h"

namespace {

class HostileFolderTest : public PlayTest {
 protected:
  // Loads "good", then prepares and loads "bad" in a capped child. Reports whether the bad load
  // was refused with a notice holding `message` while the good jigsaw stayed in play.
  capped_run LoadRefused(const std::function<void()>& prepare, const std::string& message) {
    LoadGrid(Grid(2, 2), "good");
    std::filesystem::remove_all("jigsaws/bad");  // the previous case may have left a pipe in it
    WriteJigsaw("bad", Grid(2, 3));
    prepare();
    return RunWithMemoryCap(256 * kMiB, [&] {
      alarm(20);  // a load that blocks fails instead of hanging the test
      testing::internal::CaptureStderr();
      const bool loaded = LoadJigsawFolder("bad");
      const std::string notice = testing::internal::GetCapturedStderr();
      const bool kept = play.jigsaw_name == "good" && play.piece_count == 4;
      return int64_t{!loaded && kept && notice.find(message) != std::string::npos};
    });
  }
  static void WritePieces(int count, const std::string& bytes) {
    for (int i = 1; i <= count; i++)
      WriteWholeFile("jigsaws/bad/" + std::to_string(i) + ".png", bytes);
  }
  // Rewrites line `line` (from 1) of bad's pieces.txt.
  static void SetLine(int line, const std::string& text) {
    std::ifstream in("jigsaws/bad/pieces.txt");
    std::string all, each;
    for (int n = 1; std::getline(in, each); n++) all += (n == line ? text : each) + "\n";
    WriteWholeFile("jigsaws/bad/pieces.txt", all);
  }
};

TEST_F(HostileFolderTest, HugePiecePicturesAreRefusedBeforeTheirPixelsAreDecoded) {
  const auto solid = [](int w, int h) {
    auto pixmap = CreatePixmap(w, h, PF_RGB888);
    pixmap->ClearPixels(0xff406080);
    return pixmap;
  };
  struct huge_case {
    const char* what;
    std::function<void()> prepare;
    const char* message;
  } cases[] = {
      {"PNG headers of 8192 x 8192", [] { WritePieces(6, PngHeaderOnly(8192, 8192)); },
       "jigsaws/bad/1.png is 8192 x 8192 pixels; a piece may be at most 1024 x 768"},
      {"TGA headers of 4096 x 4096", [] { WritePieces(6, TgaHeader(2, 4096, 4096, 32)); },
       "is 4096 x 4096 pixels"},
      {"one piece a pixel too wide",
       [&] { ASSERT_EQ(SavePNGPixmap(solid(1025, 8), "jigsaws/bad/5.png", 1), 1); },
       "jigsaws/bad/5.png is 1025 x 8 pixels"},
      {"thirty pieces of a whole table each",
       [&] {
         WriteJigsaw("bad", Grid(5, 6));
         ASSERT_EQ(SavePNGPixmap(solid(1024, 768), "jigsaws/bad/1.png", 9), 1);
         for (int i = 2; i <= 30; i++)
           std::filesystem::copy_file("jigsaws/bad/1.png",
                                      "jigsaws/bad/" + std::to_string(i) + ".png",
                                      std::filesystem::copy_options::overwrite_existing);
       },
       "the pieces of jigsaws/bad together hold"},
      {"a piece file of 65 MiB (sparse: its size alone is written)",
       [] { std::filesystem::resize_file("jigsaws/bad/4.png", 65 * kMiB); },
       "the piece files of jigsaws/bad together hold over 64 MiB"},
  };
  for (const huge_case& c : cases) {
    const capped_run run = LoadRefused(c.prepare, c.message);
    EXPECT_TRUE(run.finished) << c.what;
    EXPECT_EQ(run.value, 1) << c.what;
    EXPECT_LT(run.peak_growth, 32 * kMiB) << c.what;
  }
}

TEST_F(HostileFolderTest, ThePixelCapGrowsWithThePieceCount) {
  // 600 pieces of 128 x 128 hold 9.8 million pixels: over 8 million, but 16 Ki pixels a piece.
  LoadGrid(Grid(20, 30, 128, 128), "many");
  EXPECT_EQ(play.piece_count, 600);
  const capped_run run = LoadRefused([] { WriteJigsaw("bad", Grid(20, 30, 129, 128)); },
                                     "a jigsaw of 600 pieces may hold at most 9 million");
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.value, 1);
}

TEST_F(HostileFolderTest, HomePositionsFarOffTheTableAreRefused) {
  struct position_case {
    int line;  // 5 and 6 hold piece 1's x0 and y0, 15 and 16 piece 6's
    std::string value;
    bool refused;
  } cases[] = {
      {5, std::to_string(INT_MAX), true},
      {6, std::to_string(INT_MIN), true},
      {15, "4294967295", false},  // wraps to -1, as the number rules say
      {16, "-4097", true},
      {5, "4096", false},
      {6, "-4096", false},
  };
  for (const position_case& c : cases) {
    const capped_run run = LoadRefused([&] { SetLine(c.line, c.value); }, "home position");
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.value, c.refused ? 1 : 0) << "line " << c.line << ": " << c.value;
  }
}

TEST_F(HostileFolderTest, TableSizesAreKeptWithinBoundsAndHomesWithinReachOfTheTable) {
  const struct {
    std::string table;  // table.txt's bytes; "-" for no file, "/" for a folder in its place
    int home_x;         // piece 1's x0 (pieces.txt line 5); 0 leaves it
    int width, height;  // the table after a load; 0: refused
    std::string message;
  } cases[] = {
      {"-", 0, 800, 600, ""},
      {"1600\n1200\n", 0, 1600, 1200, ""},
      {"1600\r\n1200", 1600 + 4096, 1600, 1200, ""},
      {"1600\n1200\n", 1600 + 4097, 0, 0, "home position (5697, 100); a home position lies at most 4096 pixels off the 1600 x 1200 table"},
      {"", 0, 800, 600, ""},
      {"799\n599\n", 0, 800, 600, ""},
      {"-5\nwide\n", 0, 800, 600, ""},
      {"4294967295\n1000\n", 0, 800, 1000, ""},  // wraps to -1, as the number rules say
      {"32768\n32768\n", 0, 32768, 32768, ""},
      {"32769\n600\n", 0, 0, 0, "table.txt gives a table of 32769 x 600 pixels; a table is at most 32768 pixels across"},
      {"2000\n" + std::string(5000, '9') + "\n", 0, 0, 0, "table.txt has a line longer than 4096 bytes"},
      {"/", 0, 0, 0, "jigsaws/bad/table.txt is a folder, not a file"},
  };
  for (const auto& c : cases) {
    LoadGrid(Grid(2, 2), "good");
    WriteWholeFile("jigsaws/good/table.txt", "1000\n750\n");
    LoadGrid(Grid(2, 2), "good");
    std::filesystem::remove_all("jigsaws/bad");
    WriteJigsaw("bad", Grid(2, 3));
    if (c.table == "/") std::filesystem::create_directory("jigsaws/bad/table.txt");
    else if (c.table != "-") WriteWholeFile("jigsaws/bad/table.txt", c.table);
    if (c.home_x != 0) SetLine(5, std::to_string(c.home_x));
    testing::internal::CaptureStderr();
    const bool loaded = LoadJigsawFolder("bad");
    const std::string notice = testing::internal::GetCapturedStderr();
    EXPECT_EQ(loaded, c.width > 0) << c.table << notice;
    if (loaded) {
      EXPECT_EQ(play.table_width, c.width) << c.table;
      EXPECT_EQ(play.table_height, c.height) << c.table;
    } else {
      EXPECT_NE(notice.find(c.message), std::string::npos) << notice;
      EXPECT_EQ(play.jigsaw_name, "good");
      EXPECT_EQ(play.table_width, 1000) << c.table;  // the jigsaw in play keeps its table
      EXPECT_EQ(play.table_height, 750) << c.table;
    }
  }
}

TEST_F(HostileFolderTest, FilesThatCannotBeUsedAreNamedForWhatIsWrongWithThem) {
  const auto pipe_at = [](const char* name) {
    return [name] {
      const std::string path = std::string("jigsaws/bad/") + name;
      std::filesystem::remove(path);
      ASSERT_EQ(mkfifo(path.c_str(), 0666), 0);
    };
  };
  const auto write_at = [](const char* name, const std::string& bytes) {
    return [name, bytes] { WriteWholeFile(std::string("jigsaws/bad/") + name, bytes); };
  };
  const struct {
    std::function<void()> prepare;
    std::string message;
  } cases[] = {
      {pipe_at("pieces.txt"), "jigsaws/bad/pieces.txt is a named pipe, not a file"},
      {pipe_at("4.png"), "jigsaws/bad/4.png is a named pipe, not a file"},
      {[] { std::filesystem::remove("jigsaws/bad/pieces.txt"); }, "can't find jigsaws/bad/pieces.txt"},
      {[] { std::filesystem::remove("jigsaws/bad/3.png"); }, "can't find jigsaws/bad/3.png"},
      {write_at("2.png", ""), "jigsaws/bad/2.png is empty"},
      {write_at("2.png", "not a picture"), "jigsaws/bad/2.png is damaged"},
      {write_at("1.png", PngHeaderOnly(8, 8)), "jigsaws/bad/1.png is damaged"},  // no pixels
      {[] {
         std::filesystem::remove("jigsaws/bad/5.png");
         std::filesystem::create_directory("jigsaws/bad/5.png");
       },
       "jigsaws/bad/5.png is a folder, not a file"},
      {[] {
         std::filesystem::remove("jigsaws/bad/6.png");
         std::filesystem::create_symlink("gone.png", "jigsaws/bad/6.png");
       },
       "jigsaws/bad/6.png is a link to a missing file"},
  };
  for (const auto& c : cases) {
    const capped_run run = LoadRefused(c.prepare, c.message);
    EXPECT_TRUE(run.finished) << c.message;
    EXPECT_EQ(run.value, 1) << c.message;
  }
  // Without its thumbnail the jigsaw still plays.
  std::filesystem::remove_all("jigsaws/bad");
  WriteJigsaw("bad", Grid(2, 3));
  pipe_at("tn.png")();
  const capped_run run = RunWithMemoryCap(64 * kMiB, [] {
    alarm(20);
    return int64_t{LoadJigsawFolder("bad") && !play.thumb};
  });
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.value, 1);
}

}  // namespace
