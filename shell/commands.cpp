// Table commands that a key and a help letter both give, so that the two stay alike.
// Depends on play/, box/ and library/.
#include "box/box.h"
#include "library/library.h"
#include "play/play.h"
#include "shell/internal.h"

void ToggleBoxShown(int b) {
  play.box_shown[b] = !play.box_shown[b];
  ApplyBoxShown();
}

void ToggleSwatch() { play.swatch_shown = !play.swatch_shown; }

void ToggleGroupedShown() {
  play.grouped_shown = !play.grouped_shown;
  ApplyGroupedShown();
}

void ToggleLooseShown() {
  play.loose_shown = !play.loose_shown;
  ApplyLooseShown();
}

void ToggleThumbnail() {
  if (play.thumb) play.thumb_shown = !play.thumb_shown;
}

void StartUnrotate() {
  play.unrotate_state = 1;
  game.screen = "unrotate";
}

void LeaveBoxView() {
  ShowCurrentBox();
  game.screen = "jigsaw";
}

void HideAllAndLeave() {
  HideAllPieces();
  game.screen = "jigsaw";
}

void KillOrOpenDeletePage(const std::string& screen) {
  if (screen == "delete1")
    KillMarked();
  else
    game.screen = "delete1";
}
