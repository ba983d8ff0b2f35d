// Commands over the whole library: killing the marked jigsaws (their folders and every player's
// saved files of them), the quick pick and the next jigsaw not yet saved.
// Depends on files/ (deleting, listing), play/, box/, platform/ (Rand, Flip) and game/.
#include <algorithm>
#include <filesystem>

#include "box/box.h"
#include "files/files.h"
#include "game/game.h"
#include "library/internal.h"
#include "platform/platform.h"
#include "play/play.h"

namespace {

// A real folder, not a link to one: killing never reaches through a link.
bool IsRealFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::symlink_status(path, error).type() == std::filesystem::file_type::directory;
}

}  // namespace

void KillJigsaw(const std::string& name) {
  // Library names come from listing "jigsaws"; this keeps any other name from reaching out.
  if (!IsPlainJigsawName(name)) return;
  const std::string folder = "jigsaws/" + name;
  if (!DeleteDir(folder, true)) {
    ShowErrorAndWait("Unable to delete " + folder);
    return;
  }
  for (const std::string& entry : ListFolder("players")) {
    const std::string player = "players/" + entry;
    if (entry[0] == '.' || !IsRealFolder(player)) continue;
    for (const char* ending : {".png", ".txt", ".view"}) {
      const std::string path = player + "/" + name + ending;
      if (!DeleteFile(path)) {
        ShowErrorAndWait("Unable to delete " + path);
        return;
      }
    }
  }
}

void KillMarked() {
  const int k = CountMarked();
  // The jigsaw in play is left for the start-up jigsaw; killed, it keeps nothing. A save still
  // under way must not bring back the files of a jigsaw killed after it.
  const bool killing_current = std::any_of(library.library_list.entries.begin(), library.library_list.entries.end(),
                                           [](const tn3_type& e) { return e.marked && e.tk == play.jigsaw_name; });
  if (!killing_current) SaveBeforeLeaving();
  if (const auto saving = library.saving; saving && saving->Wait(kLeavingWait)) TakeBackSave(saving);
  DrawBanner("Killing " + std::to_string(k) + " jigsaw" + (k == 1 ? "" : "s") + " - please wait", 0, 0.5);
  Flip(1);
  for (const tn3_type& entry : library.library_list.entries)
    if (entry.marked) KillJigsaw(entry.tk);
  library.library_list.page = 0;
  ShowOpeningJigsaw();
  ClearBoxCounts();
  game.screen = "jigsaw";
}

void PickRandomJigsaw() {
  browser_list_type& list = library.library_list;
  if (list.count == 0) {
    ShowBusy("please wait");
    BuildLibraryList();
  }
  game.screen = "jigsaw";
  const std::string old = play.jigsaw_name;
  // With no other jigsaw in the list there is nothing to pick.
  if (std::none_of(list.entries.begin(), list.entries.end(), [&](const tn3_type& e) { return e.tk != old; })) return;
  std::string name = old;
  while (name == old) name = list.entries[Rand(1, list.count) - 1].tk;
  StartScattered(name);
}

void PickNextUnsaved() {
  ShowBusy("please wait");
  game.screen = "jigsaw";
  if (library.saved_list.page == 0) BuildSavedList();
  if (library.library_list.page == 0) BuildLibraryList();
  const std::vector<tn3_type>& all = library.library_list.entries;
  const std::vector<tn3_type>& saved = library.saved_list.entries;
  if (saved.empty() && !all.empty()) {
    StartNewJigsaw(all.front().tk);
    return;
  }
  if (all.size() == saved.size()) {
    PickRandomJigsaw();
    return;
  }
  // Both lists are sorted alike and end with the start-up jigsaw, so the first position where
  // they differ is the first library jigsaw without saved progress.
  for (size_t i = 0; i < all.size(); ++i) {
    if (i >= saved.size() || all[i].tk != saved[i].tk) {
      StartNewJigsaw(all[i].tk);
      return;
    }
  }
  // Every library jigsaw is saved (the saved list also holds jigsaws killed since).
  PickRandomJigsaw();
}
