// The browser lists without a window: what is listed and in which order, the kill marks and
// the page title.
#include <gtest/gtest.h>

#include "tests/library/library_fixture.h"

using namespace library_test;

namespace {

std::vector<std::string> Names(const browser_list_type& list) {
  std::vector<std::string> names;
  for (const tn3_type& entry : list.entries) names.push_back(entry.tk);
  return names;
}

class Lists : public LibraryTest {};

TEST_F(Lists, LibraryIsSortedByByteOrderWithTheStartUpJigsawLast) {
  // A hidden folder (a cut killed before it finished) is never a jigsaw.
  for (const char* name : {"b", "A", "0000vorna", "a", "ab", "0000old", ".tesselka-cut-999", ".."})
    std::filesystem::create_directories(std::string("jigsaws/") + name);
  WriteWholeFile("jigsaws/afile", "not a folder");
  BuildLibraryList();
  const std::vector<std::string> want = {"0000old", "A", "a", "ab", "b", "0000vorna"};
  EXPECT_EQ(Names(library.library_list), want);
  EXPECT_EQ(library.library_list.count, 6);
  EXPECT_EQ(library.library_list.page, 1);
  EXPECT_EQ(library.library_list.entries[4].n, 5);
}

TEST_F(Lists, AnEmptyOrMissingLibraryStillHoldsTheStartUpJigsaw) {
  BuildLibraryList();
  EXPECT_EQ(Names(library.library_list), std::vector<std::string>{"0000vorna"});
}

TEST_F(Lists, SavedListTakesExactlyThePngThumbnails) {
  for (const char* name : {"Sea.png", "Sea.txt", "notes.PNG", "0000vorna.png", "Abc.png", "working_on.txt",
                           ".tesselka-cut-999.png", ".png", "Sea.view", "Lone.view"})
    WriteWholeFile(std::string("players/default/") + name, "x");
  BuildSavedList();
  const std::vector<std::string> want = {"Abc", "Sea", "0000vorna"};
  EXPECT_EQ(Names(library.saved_list), want);
  EXPECT_EQ(library.saved_list.count, 3);
  ResetLibraryState();
  library.player_folder = "players/nobody/";
  BuildSavedList();
  EXPECT_EQ(library.saved_list.count, 0);
}

TEST_F(Lists, KeyAMarksAPageButNeverTheStartUpJigsaw) {
  for (int i = 0; i < 60; ++i) std::filesystem::create_directories("jigsaws/j" + std::to_string(100 + i));
  std::filesystem::create_directories("jigsaws/0000keep");
  BuildLibraryList();  // 0000keep, j100..j159, 0000vorna: 62 entries, 56 a page
  MarkPage(1);
  EXPECT_EQ(CountMarked(), 56);
  EXPECT_EQ(library.library_list.entries[0].marked, 1);  // a "0000" name is marked by key A
  library.library_list.page = 2;
  MarkPage(1);
  EXPECT_EQ(CountMarked(), 61);
  EXPECT_EQ(library.library_list.entries.back().marked, 0);
  MarkPage(0);
  EXPECT_EQ(CountMarked(), 56);
}

TEST_F(Lists, TitlesCountTheMarks) {
  for (const char* name : {"A", "B", "C"}) std::filesystem::create_directories(std::string("jigsaws/") + name);
  BuildLibraryList();
  library.library_list.page_count = 1;
  EXPECT_EQ(PageTitle("delete1"), "Page 1 of 1");
  library.library_list.entries[0].marked = 1;
  EXPECT_EQ(PageTitle("delete1"), "Page 1 of 1   Press K to Kill 1 jigsaw");
  EXPECT_EQ(PageTitle("new1"), "Page 1 of 1");
  library.library_list.entries[1].marked = library.library_list.entries[2].marked = 1;
  EXPECT_EQ(PageTitle("delete1"), "Page 1 of 1   Press K to Kill 3 jigsaws");
  library.saved_list.page = 2;
  library.saved_list.page_count = 3;
  EXPECT_EQ(PageTitle("load1"), "Saved Jigsaws    Page 2 of 3");
}

}  // namespace
