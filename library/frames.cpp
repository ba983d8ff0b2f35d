// The frame handlers of the three page screens, and starting a library or the opening jigsaw
// afresh. Depends on box/, play/, game/ and draw/ (the cross image).
#include "box/box.h"
#include "draw/draw.h"
#include "game/game.h"
#include "library/internal.h"
#include "play/play.h"

bool StartScattered(const std::string& name) {
  SaveBeforeLeaving();
  if (!LoadJigsawFolder(name)) return false;
  ResetPlayState();
  ScatterPieces();
  ClearBoxCounts();
  NoteJigsawStarted();
  return true;
}

void ShowOpeningJigsaw() {
  if (!LoadJigsawFolder(kStartUpJigsaw)) return;
  ScatterPieces();
  NoteJigsawStarted();
}

bool StartNewJigsaw(const std::string& name) {
  if (!StartScattered(name)) return false;
  const game_colour_type& kept = game.prefs.kept_colour;
  if (game.prefs.pref_keep_colour) play.table_colour = {kept.r, kept.g, kept.b};
  NoteJigsawStarted();
  return true;
}

void NewFrame() {
  DrawLibraryPage("new1");
  if (!game.click_pending) return;
  const std::string name = HitLibraryPage();
  if (!name.empty()) {
    game.click_pending = false;
    ShowBusy("please wait");
    StartNewJigsaw(name);
    game.screen = "jigsaw";
  } else if (ClickPageArrows()) {
    game.click_pending = false;
  } else if (ClickPicturesButton()) {
    game.click_pending = false;
    library.pictures_list.page = 0;  // listed afresh: pictures come and go
    game.screen = "pictures";
  }
}

void PicturesFrame() {
  DrawPicturesPage();
  if (!game.click_pending) return;
  const std::string path = HitPicturesPage();
  if (!path.empty()) {
    game.click_pending = false;
    OpenPictureToCut(path, "pictures");
  } else if (ClickPageArrows()) {
    game.click_pending = false;
  }
}

void DeleteFrame() {
  if (!library.cross) library.cross = LoadImage("images/cross.png", -1);
  DrawLibraryPage("delete1");
  if (game.click_pending && (!HitLibraryPage().empty() || ClickPageArrows())) game.click_pending = false;
}

void LoadFrame() {
  DrawSavedPage();
  if (library.saved_list.count == 0) {
    game.status_message = "I can't find any saved jigsaws to load";
    game.screen = "jigsaw";
    return;
  }
  if (!game.click_pending) return;
  const std::string name = HitSavedPage();
  if (!name.empty()) {
    // A resume that fails leaves the jigsaw in play; the table comes back either way.
    if (!ResumeJigsaw(name)) game.screen = "jigsaw";
    game.click_pending = false;
  } else if (ClickPageArrows()) {
    game.click_pending = false;
  }
}
