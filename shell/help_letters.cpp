// What a click on each help letter does, page by page. A letter that names no screen leaves
// help open over its effect. Depends on play/, box/, library/ and the shell's own commands.
#include "box/box.h"
#include "library/library.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

// Confirmation letters ask as their keys do and let a carried piece go.
void AskConfirm(const char* letter) {
  shell.pending_confirm = letter;
  play.dragged = 0;
}

// Letters that mean the same on every page that has them; false for the others.
bool SharedLetter(char letter) {
  switch (letter) {
    case 'D': AskConfirm("D"); return true;
    case 'F': ToggleLargeDisplay(); return true;
    case 'H': CloseHelp(); return true;
    case 'I': game.screen = "prefer"; return true;
    case 'K': KillOrOpenDeletePage(game.previous_screen); return true;
    case 'L': game.screen = "load1"; return true;
    case 'N': game.screen = "new1"; return true;
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
    case 'B': EnterBoxView(); break;
    case 'C': ToggleSwatch(); break;
    case 'E': ToggleEdgePieces(); break;
    case 'G': ToggleGroupedShown(); break;
    case 'J':
      SpreadEdgePieces();
      game.screen = "jigsaw";
      break;
    case 'M': PlaceFirstPieceHome(); break;
    case 'O': ToggleLooseShown(); break;
    case 'R': AskConfirm("R"); break;
    case 'S':
      SaveJigsaw();
      game.screen = "jigsaw";
      break;
    case 'T': TidyPieces(shell.help_pointer_x, shell.help_pointer_y); break;
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
  if (letter >= '1' && letter <= '5') {
    SelectBox(letter - '0');
    game.screen = "box";
    return;
  }
  switch (letter) {
    case 'B':
      BuildBoxTable();
      game.screen = "box";
      break;
    case 'M': MatchBoxColour(); break;
    case 'S':
      SaveJigsaw();
      game.screen = "box";
      break;
    case 'Z': HideAllAndLeave(); break;
    case '0': EmptyBox(); break;
    case '-': LeaveBoxView(); break;
    default: break;
  }
}

// The three browser pages share their letters; A and U exist only on the killing page.
void BrowserLetter(char letter) {
  switch (letter) {
    case 'A': MarkPage(1); break;
    case 'S': SaveJigsaw(); break;
    case 'U': MarkPage(0); break;
    case '-': game.screen = "jigsaw"; break;
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
