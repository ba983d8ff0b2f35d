// Tests of the built-in library the build cuts, and of the generator's determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "files/files.h"
#include "tests/support/support.h"
#include "tests/tools/jigsaw_fixture.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

std::vector<std::string> Jigsaws() {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(RuntimeFolder() + "/jigsaws"))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(Library, HoldsVariedJigsawsFromFourPiecesToThreeHundred) {
  std::vector<std::string> names = Jigsaws();
  EXPECT_GE(names.size(), 12u);
  std::vector<int> counts;
  for (const std::string& name : names) {
    // Four digits, then a lower-case word: the browser sorts by bytes.
    bool digits = name.size() > 4 && std::all_of(name.begin(), name.begin() + 4, ::isdigit);
    bool word = std::all_of(name.begin() + 4, name.end(), [](char c) { return std::islower(c) || c == '_'; });
    EXPECT_TRUE(digits && word) << name;
    loaded_jigsaw j = LoadJigsaw(RuntimeFolder() + "/jigsaws/" + name);
    int count = j.rows * j.cols;
    counts.push_back(count);
    ASSERT_GE(count, 2) << name;
    ASSERT_LE(count, 300) << name;
    for (const auto& piece : j.pieces) EXPECT_TRUE(piece) << name;
    ASSERT_TRUE(j.thumbnail) << name;
    EXPECT_EQ(j.thumbnail->width, 264) << name;
    EXPECT_EQ(j.thumbnail->height, 198) << name;
    if (name == "0000vorna") {
      EXPECT_GE(count, 20);
      EXPECT_LE(count, 35);
    }
  }
  EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "0000vorna"));
  EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "4975red_mixer"));
  EXPECT_EQ(*std::min_element(counts.begin(), counts.end()), 4);
  EXPECT_EQ(*std::max_element(counts.begin(), counts.end()), 300);
}

TEST(Library, StartupAndCelebratedJigsawsAssembleWithoutGapOrOverlap) {
  for (const char* name : {"0000vorna", "4975red_mixer", "1900mandala"}) {
    loaded_jigsaw j = LoadJigsaw(RuntimeFolder() + "/jigsaws/" + name);
    table_layout layout = LayOut(j);
    EXPECT_EQ(layout.outside, 0) << name;
    int left = table_width, right = -1, top = table_height, bottom = -1, overlaps = 0, covered = 0;
    for (int y = 0; y < table_height; ++y)
      for (int x = 0; x < table_width; ++x) {
        int owner = layout.owner[size_t(y) * table_width + x];
        overlaps += owner < 0;
        if (owner == 0) continue;
        ++covered;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
      }
    EXPECT_EQ(overlaps, 0) << name;
    // The covered pixels form one solid rectangle, centred on the table.
    EXPECT_EQ(covered, (right - left + 1) * (bottom - top + 1)) << name;
    EXPECT_LE(std::abs((left + right + 1) - table_width), 1) << name;
    EXPECT_LE(std::abs((top + bottom + 1) - table_height), 1) << name;
  }
}

TEST(Generator, WritesTheSameBytesEveryRun) {
  temp_folder temp;
  std::string command = std::string(TESSELKA_ASSETGEN) + " " + temp.path() + "/runtime > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int compared = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(RuntimeFolder())) {
    if (!e.is_regular_file() || e.path().filename() == "assets.stamp") continue;
    std::string relative = std::filesystem::relative(e.path(), RuntimeFolder()).string();
    std::string x = ReadWholeFile(e.path()),
                y = ReadWholeFile(temp.path() + "/runtime/" + relative);
    EXPECT_TRUE(x == y) << relative;
    ++compared;
  }
  EXPECT_GT(compared, 1000);
}
