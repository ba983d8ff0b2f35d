// The key table: global keys, the three context tables and the Escape rules.
// Depends on play/ and box/ for the table commands and on the shell's own helpers.
#include "box/box.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

const char* const kPublisherAddress = "https://tesselka.example.org";

enum : int {
  kEscape = 27,
  kDigit1 = 49,
  kDigit5 = 53,
  kDigit7 = 55,
  kKeyA = 65,
  kKeyC = 67,
  kKeyD = 68,
  kKeyE = 69,
  kKeyF = 70,
  kKeyG = 71,
  kKeyJ = 74,
  kKeyM = 77,
  kKeyN = 78,
  kKeyO = 79,
  kKeyP = 80,
  kKeyQ = 81,
  kKeyR = 82,
  kKeyT = 84,
  kKeyU = 85,
  kKeyV = 86,
  kKeyW = 87,
  kKeyX = 88,
  kKeyY = 89,
  kKeyZ = 90,
  kF2 = 113,
  kLeftCtrl = 162,
  kRightCtrl = 163,
  kEquals = 187,
};

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

void GlobalKey(int k) {
  switch (k) {
    case kEscape: EscapeKey(); break;
    case kKeyD: ToggleConfirm("D"); break;
    case kKeyF: ToggleLargeDisplay(); break;
    case kKeyN:
      // N answers No; it opens the library page once that screen exists.
      shell.pending_confirm = "";
      break;
    case kKeyQ: ToggleConfirm("Q"); break;
    case kKeyW: ToggleWindowed(); break;
    case kKeyX: shell.status_message = shell.app_title + " from " + kPublisherAddress; break;
    case kKeyY:
      // The exit picture is not answered by Y.
      if (const confirm_type* confirm = PendingConfirm(); confirm && shell.pending_confirm != "X")
        AnswerYes(*confirm);
      break;
    case kF2: ShowGraphicsInfo(); break;
    case kLeftCtrl:
    case kRightCtrl: shell.ctrl_down = true; break;
    default: break;
  }
}

void JigsawKey(int k) {
  if (k != kKeyT) box.tidy_label.k = 0;
  if (k >= kDigit1 && k <= kDigit5) {
    int b = k - kDigit1 + 1;
    play.box_shown[b] = !play.box_shown[b];
    ApplyBoxShown();
    return;
  }
  switch (k) {
    case kDigit7: CountSevenKey(); break;
    case kKeyA: ShowAllPieces(); break;
    case kKeyC: play.swatch_shown = !play.swatch_shown; break;
    case kKeyE: ToggleEdgePieces(); break;
    case kKeyG:
      play.grouped_shown = !play.grouped_shown;
      ApplyGroupedShown();
      break;
    case kKeyJ: SpreadEdgePieces(); break;
    case kKeyM: PlaceFirstPieceHome(); break;
    case kKeyO:
      play.loose_shown = !play.loose_shown;
      ApplyLooseShown();
      break;
    case kKeyP: ToggleThumbnail(); break;
    case kKeyR: ToggleConfirm("R"); break;
    case kKeyU:
      play.unrotate_state = 1;
      shell.screen = "unrotate";
      break;
    case kKeyV: SetAsideTen(); break;
    case kKeyZ: HideAllPieces(); break;
    case kEquals: ToggleConfirm("="); break;
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
