// Every text file the game reads as lines of numbers or names, holding one endless line: each is
// refused (with the notice it has for a damaged file, or passed over as a missing one) after a
// few KB, under a memory cap far smaller than the line, and nothing in play changes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "tests/library/library_fixture.h"
#include "tests/support/memory_cap.h"

using namespace shell_test;

namespace {

// A file of one line of digits without a line end. Written out: a sparse file would read as NUL
// bytes, and NUL ends a line.
void WriteOneLine(const std::string& path, size_t bytes) {
  std::ofstream file(path, std::ios::binary);
  const std::string block(1 << 20, '7');
  for (size_t written = 0; written < bytes; written += block.size()) file << block;
}

// A data folder with the player "default", no window.
class LongLines : public library_test::LibraryTest {
 protected:
  // Runs body in a child whose memory is capped far below the line; true when body ran to its
  // end and returned true, having printed `notice` ("" for none) on its way.
  static bool RefusedWithin(const std::function<bool()>& body, const std::string& notice) {
    const capped_run run = RunWithMemoryCap(64 * kMiB, [&] {
      alarm(30);
      testing::internal::CaptureStderr();
      const bool refused = body();
      const std::string said = testing::internal::GetCapturedStderr();
      return int64_t{refused && (notice.empty() ? said.empty() : said.find(notice) != std::string::npos)};
    });
    return run.finished && run.value == 1;
  }
};

TEST_F(LongLines, EachFileWithAnEndlessLineIsRefusedAfterAFewKB) {
  const std::string line = "huge-line";
  WriteOneLine(line, 300u << 20);
  WriteJigsaw("good", 2, 2);
  WriteJigsaw("bad", 2, 3);
  ASSERT_TRUE(LoadJigsawFolder("good"));
  const auto good_kept = [] { return play.jigsaw_name == "good" && play.piece_count == 4; };
  struct long_line_case {
    const char* file;  // linked to the endless line
    const char* notice;
    std::function<bool()> refused;
  };
  const long_line_case cases[] = {
      {"jigsaws/bad/pieces.txt", "jigsaws/bad/pieces.txt has a line longer than 4096 bytes",
       [&] { return !LoadJigsawFolder("bad") && good_kept(); }},
      {"players/default/prefer.txt", "", [] {
         game.prefs.pref_show_help = 5;
         LoadPreferences();
         return game.prefs.pref_show_help == 5 && game.prefs.sound_on == 0;
       }},
      {"players/default/refresh.txt", "", [] {
         game.display.refresh_rate = 75;
         LoadPreferences();
         return game.display.refresh_rate == 75;
       }},
      {"players/default/good.txt", "players/default/good.txt is damaged",
       [&] { return !ReadProgress("players/default/good.txt", 4) && good_kept(); }},
      {"players/default/working_on.txt", "working_on.txt is too long", [&] {
         FetchWorkingOn();
         return good_kept();
       }},
  };
  for (const long_line_case& c : cases) {
    SCOPED_TRACE(c.file);
    fs::remove(c.file);
    fs::create_hard_link(line, c.file);
    EXPECT_TRUE(RefusedWithin(c.refused, c.notice));
    fs::remove(c.file);
  }
  // The launcher's list of the assets it copied: an endless line removes nothing.
  temp_folder runtime, data;
  runtime.Write("images/pointer.bmp", "new");
  data.Write("images/old.png", "the player's, or an old version's");
  fs::create_hard_link(line, data / ".assets");
  EXPECT_TRUE(RefusedWithin([&] { return PrepareDataFolder(runtime.path(), data.path()).empty(); }, ""));
  EXPECT_EQ(data.Read("images/old.png"), "the player's, or an old version's");
}

// A line past the bound after the counts, in a file small enough to read whole: the folder is
// still refused, by the same notice.
TEST_F(LongLines, ALongLineLaterInPiecesTxtIsRefusedToo) {
  WriteJigsaw("bad", 2, 2);
  WriteWholeFile("jigsaws/bad/pieces.txt", "2\r\n2\r\n0\r\n0\r\n320\r\n" + std::string(5000, '1') + "\r\n");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadJigsawFolder("bad"));
  EXPECT_NE(testing::internal::GetCapturedStderr().find("jigsaws/bad/pieces.txt has a line longer than 4096 bytes"),
            std::string::npos);
  // A line of exactly the bound, its CR counted, is read as a number like any other (here one
  // far off the table).
  WriteWholeFile("jigsaws/bad/pieces.txt", "2\r\n2\r\n0\r\n0\r\n320\r\n" + std::string(4090, ' ') + "99999\r\n");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadJigsawFolder("bad"));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("home position"), std::string::npos) << said;
}

}  // namespace
