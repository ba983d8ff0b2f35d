// The key table: global keys, the three context tables and the Escape rules.
// Depends on play/ and box/ for the table commands and on the shell's own helpers.
#include <filesystem>

#include "box/box.h"
#include "library/library.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

// Letter and digit keys are their upper-case ASCII codes.
constexpr int kDigit1 = '1', kDigit5 = '5', kDigit7 = '7';

// The box, jigsaw and delete contexts: the screen itself, or help shown over it.
bool InContext(const char* screen) {
  return shell.screen == screen || (shell.screen == "help" && shell.previous_screen == screen);
}

// D, Q, R and =: a second press withdraws the question; the first lets a carried piece go.
void ToggleConfirm(const char* letter) {
  if (shell.pending_confirm == letter) {
    shell.pending_confirm = "";
  } else {
    shell.pending_confirm = letter;
    play.dragged = 0;
  }
}

void ToggleThumbnail() {
  if (play.thumb) play.thumb_shown = !play.thumb_shown;
}

// The title and, once the player's folder is open, where the player's progress is kept.
std::string AboutMessage() {
  if (library.player_folder.empty()) return shell.app_title;
  std::error_code ignored;
  const auto folder = std::filesystem::absolute(library.player_folder, ignored);
  return shell.app_title + " - progress is kept in " +
         (folder.empty() ? library.player_folder : folder.string());
}

void GlobalKey(int k) {
  switch (k) {
    case KEY_ESCAPE: EscapeKey(); break;
    case 'D': ToggleConfirm("D"); break;
    case 'F': ToggleLargeDisplay(); break;
    case 'N':
      // N answers No; it opens the library page once that screen exists.
      shell.pending_confirm = "";
      break;
    case 'Q': ToggleConfirm("Q"); break;
    case 'W': ToggleWindowed(); break;
    case 'X':
      shell.status_message = AboutMessage();
      break;
    case 'Y':
      // The exit picture is not answered by Y.
      if (const confirm_type* confirm = PendingConfirm(); confirm && shell.pending_confirm != "X")
        AnswerYes(*confirm);
      break;
    case KEY_F1 + 1: ShowGraphicsInfo(); break;  // F2
    case KEY_LCONTROL:
    case KEY_RCONTROL: shell.ctrl_down = true; break;
    default: break;
  }
}

void JigsawKey(int k) {
  if (k != 'T') box.tidy_label.k = 0;
  if (k >= kDigit1 && k <= kDigit5) {
    int b = k - kDigit1 + 1;
    play.box_shown[b] = !play.box_shown[b];
    ApplyBoxShown();
    return;
  }
  switch (k) {
    case kDigit7: CountSevenKey(); break;
    case 'A': ShowAllPieces(); break;
    case 'C': play.swatch_shown = !play.swatch_shown; break;
    case 'E': ToggleEdgePieces(); break;
    case 'G':
      play.grouped_shown = !play.grouped_shown;
      ApplyGroupedShown();
      break;
    case 'J': SpreadEdgePieces(); break;
    case 'M': PlaceFirstPieceHome(); break;
    case 'O':
      play.loose_shown = !play.loose_shown;
      ApplyLooseShown();
      break;
    case 'P': ToggleThumbnail(); break;
    case 'R': ToggleConfirm("R"); break;
    case 'U':
      play.unrotate_state = 1;
      shell.screen = "unrotate";
      break;
    case 'V': SetAsideTen(); break;
    case 'Z': HideAllPieces(); break;
    case KEY_EQUALS: ToggleConfirm("="); break;
    default: break;
  }
}

}  // namespace

void EscapeKey() {
  if ((shell.screen == "anim" && shell.opening_flight) || shell.pending_confirm == "X") EndProgram();
  if (shell.screen == "jigsaw") shell.pending_confirm = "X";
  if (shell.screen == "new1" || shell.screen == "delete1" || shell.screen == "load1") {
    shell.screen = "jigsaw";
    shell.pending_confirm = "";
  }
  if (shell.screen == "box") {
    shell.screen = "jigsaw";
    shell.pending_confirm = "";
  }
  if (shell.screen == "help" && shell.previous_screen != "jigsaw") {
    shell.screen = "jigsaw";
    shell.pending_confirm = "";
  } else {
    shell.pending_confirm = "X";
  }
  if (shell.screen == "prefer") {
    shell.prefs.prefer_working[1] = -1;
    shell.screen = "jigsaw";
    shell.pending_confirm = "";
  }
}

void HandleKey(int k) {
  GlobalKey(k);
  if (InContext("jigsaw")) JigsawKey(k);
  if (k != kDigit7) play.seven_count = 0;
  ClearStalePending(k);
}
