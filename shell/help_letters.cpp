// What a click on each help letter does, page by page. A letter that names no screen leaves
// help open over its effect. Depends on play/ and the shell's own commands.
#include "play/play.h"
#include "shell/internal.h"

namespace {

// Confirmation letters ask as their keys do and let a carried piece go.
void AskConfirm(const char* letter) {
  shell.pending_confirm = letter;
  play.dragged = 0;
}

void CloseHelp() { shell.screen = shell.previous_screen; }

// Letters that mean the same on every page that has them; false for the others.
bool SharedLetter(char letter) {
  switch (letter) {
    case 'D': AskConfirm("D"); return true;
    case 'F': ToggleLargeDisplay(); return true;
    case 'H': CloseHelp(); return true;
    case 'I': shell.screen = "prefer"; return true;
    case 'P': ToggleThumbnail(); return true;
    case 'Q': AskConfirm("Q"); return true;
    default: return false;
  }
}

void TableLetter(char letter) {
  if (letter >= '1' && letter <= '5') {
    ToggleBoxShown(letter - '0');
    return;
  }
  switch (letter) {
    case 'A': ShowAllPieces(); break;
    case 'C': ToggleSwatch(); break;
    case 'E': ToggleEdgePieces(); break;
    case 'G': ToggleGroupedShown(); break;
    case 'J':
      SpreadEdgePieces();
      shell.screen = "jigsaw";
      break;
    case 'M': PlaceFirstPieceHome(); break;
    case 'O': ToggleLooseShown(); break;
    case 'R': AskConfirm("R"); break;
    case 'U': StartUnrotate(); break;
    case 'V': SetAsideTen(); break;
    case 'W': ToggleWindowed(); break;
    case 'Z': HideAllPieces(); break;
    case '=': AskConfirm("="); break;
    case '-': shell.pending_confirm = "X"; break;  // the carried piece stays
    default: break;
  }
}

void BoxLetter(char letter) {
  switch (letter) {
    case 'Z':
      HideAllPieces();
      shell.screen = "jigsaw";
      break;
    default: break;
  }
}

// The three browser pages share their letters.
void BrowserLetter(char letter) {
  switch (letter) {
    case '-': shell.screen = "jigsaw"; break;
    default: break;
  }
}

}  // namespace

void RunHelpLetter(int page, char letter) {
  if (SharedLetter(letter)) return;
  if (page == 0)
    TableLetter(letter);
  else if (page == 1)
    BoxLetter(letter);
  else
    BrowserLetter(letter);
}
