// The browser lists: library jigsaws and the player's saved jigsaws, sorted by byte order with
// the start-up jigsaw last, the player's own pictures newest first, and the kill marks of the
// library list. Depends on files/ (folder listings) and tools/jigsaw (the player's pictures).
#include <algorithm>

#include "files/files.h"
#include "library/internal.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

const std::string kThumbnailEnding = ".png";

// Entries numbered from 1 for the names in their order; page 1.
void FillInOrder(browser_list_type& list, std::vector<std::string> names) {
  list.entries.clear();
  list.drawn.clear();
  for (std::string& name : names) {
    tn3_type entry;
    entry.tk = std::move(name);
    entry.n = static_cast<int>(list.entries.size()) + 1;
    list.entries.push_back(std::move(entry));
  }
  list.page = 1;
  list.count = static_cast<int>(list.entries.size());
}

// Entries numbered from 1 for the sorted names, then the start-up jigsaw when asked for.
void Fill(browser_list_type& list, std::vector<std::string> names, bool start_up_last) {
  // std::string compares bytes as unsigned values: code-point order for UTF-8.
  std::stable_sort(names.begin(), names.end());
  if (start_up_last) names.push_back(kStartUpJigsaw);
  FillInOrder(list, std::move(names));
}

}  // namespace

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  const auto listing = ReadDir(folder);
  for (std::string name = NextFile(listing); !name.empty(); name = NextFile(listing))
    if (name != "." && name != "..") names.push_back(name);
  CloseDir(listing);
  return names;
}

void BuildLibraryList() {
  std::vector<std::string> names;
  for (std::string& name : ListFolder("jigsaws"))
    if (name != kStartUpJigsaw && IsPlainJigsawName(name) && FileType("jigsaws/" + name) == FILETYPE_DIR)
      names.push_back(std::move(name));
  Fill(library.library_list, std::move(names), true);
}

void BuildPicturesList() {
  std::vector<std::string> paths;
  for (picture_file& picture : ListPictures(PictureFolders("pictures"))) paths.push_back(std::move(picture.path));
  FillInOrder(library.pictures_list, std::move(paths));
}

void BuildSavedList() {
  std::vector<std::string> names;
  bool start_up_seen = false;
  for (std::string& name : ListFolder(library.player_folder)) {
    if (name.size() < kThumbnailEnding.size() ||
        name.compare(name.size() - kThumbnailEnding.size(), kThumbnailEnding.size(), kThumbnailEnding) != 0)
      continue;
    name.resize(name.size() - kThumbnailEnding.size());
    if (!IsPlainJigsawName(name)) continue;
    if (name == kStartUpJigsaw)
      start_up_seen = true;
    else
      names.push_back(std::move(name));
  }
  Fill(library.saved_list, std::move(names), start_up_seen);
}

void MarkPage(int value) {
  if (library.library_list.page < 1) return;
  const int per_page = LibraryEntriesPerPage();
  const size_t first = static_cast<size_t>(library.library_list.page - 1) * per_page;
  int counted = 0;
  for (size_t k = first; k < library.library_list.entries.size() && counted < per_page; ++k) {
    tn3_type& entry = library.library_list.entries[k];
    if (entry.tk == kStartUpJigsaw) continue;
    entry.marked = value;
    ++counted;
  }
}

int CountMarked() {
  return static_cast<int>(std::count_if(library.library_list.entries.begin(), library.library_list.entries.end(),
                                        [](const tn3_type& entry) { return entry.marked != 0; }));
}
