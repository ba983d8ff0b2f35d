// The frame handlers of the three page screens, and starting a library jigsaw afresh.
// Depends on draw/ (the cross image), play/, box/ and shell/.
#include "box/box.h"
#include "draw/draw.h"
#include "library/internal.h"
#include "play/play.h"
#include "shell/shell.h"

bool StartScattered(const std::string& name) {
  if (!LoadJigsawFolder(name)) return false;
  ResetPlayState();
  ScatterPieces();
  ClearBoxCounts();
  return true;
}

bool StartNewJigsaw(const std::string& name) {
  if (!StartScattered(name)) return false;
  const shell_colour_type& kept = shell.prefs.kept_colour;
  if (shell.prefs.pref_keep_colour) play.table_colour = {kept.r, kept.g, kept.b};
  return true;
}

void NewFrame() {
  DrawLibraryPage("new1");
  if (!shell.click_pending) return;
  const std::string name = HitLibraryPage();
  if (!name.empty()) {
    shell.click_pending = false;
    ShowBusy("please wait");
    StartNewJigsaw(name);
    shell.screen = "jigsaw";
  } else if (ClickPageArrows()) {
    shell.click_pending = false;
  }
}

void DeleteFrame() {
  if (!library.cross) library.cross = LoadImage("images/cross.png", -1);
  DrawLibraryPage("delete1");
  if (shell.click_pending && (!HitLibraryPage().empty() || ClickPageArrows())) shell.click_pending = false;
}

void LoadFrame() {
  DrawSavedPage();
  if (library.saved_list.count == 0) {
    shell.status_message = "I can't find any saved jigsaws to load";
    shell.screen = "jigsaw";
    return;
  }
  if (!shell.click_pending) return;
  const std::string name = HitSavedPage();
  if (!name.empty()) {
    // A resume that fails leaves the jigsaw in play; the table comes back either way.
    if (!ResumeJigsaw(name)) shell.screen = "jigsaw";
    shell.click_pending = false;
  } else if (ClickPageArrows()) {
    shell.click_pending = false;
  }
}
