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
constexpr int kDigit0 = '0', kDigit1 = '1', kDigit5 = '5', kDigit7 = '7';

// The box, jigsaw and delete contexts: the screen itself, or help shown over it.
bool InContext(const char* screen) {
  return game.screen == screen || (game.screen == "help" && game.previous_screen == screen);
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

// The title and, once the player's folder is open, where the player's progress is kept.
std::string AboutMessage() {
  if (library.player_folder.empty()) return shell.app_title;
  std::error_code ignored;
  const auto folder = std::filesystem::absolute(library.player_folder, ignored);
  return shell.app_title + " - progress is kept in " +
         ShownPath(folder.empty() ? library.player_folder : folder.string());
}

void GlobalKey(int k) {
  switch (k) {
    case KEY_ESCAPE: EscapeKey(); break;
    case 'D': ToggleConfirm("D"); break;
    case 'F': ToggleLargeDisplay(); break;
    case 'K':
      // Over the killing page's help, as a click on its K row does: kill what is marked.
      KillOrOpenDeletePage(game.screen == "help" ? game.previous_screen : game.screen);
      break;
    case 'L': game.screen = "load1"; break;
    case 'H':
      if (game.screen == "help") {
        CloseHelp();
      } else if (HelpPageOf(game.screen) >= 0) {
        OpenHelp();
        play.dragged = 0;
      }
      break;
    case 'N':
      // N answers No when a question waits.
      if (shell.pending_confirm.empty())
        game.screen = "new1";
      else
        shell.pending_confirm = "";
      break;
    case 'Q': ToggleConfirm("Q"); break;
    case 'S': SaveJigsaw(); break;
    case 'W': ToggleWindowed(); break;
    case 'X':
      game.status_message = AboutMessage();
      break;
    case 'Y':
      // The exit picture is not answered by Y.
      if (const confirm_type* confirm = PendingConfirm(); confirm && shell.pending_confirm != "X")
        AnswerYes(*confirm);
      break;
    case KEY_F1:
      // Unlike H, F1 opens help over any screen and leaves the pointer kept for the tidy alone.
      if (game.screen == "help") {
        CloseHelp();
      } else {
        game.previous_screen = game.screen;
        game.screen = "help";
      }
      break;
    case KEY_F1 + 1: ShowGraphicsInfo(); break;  // F2
    case KEY_LEFT: PreviousPage(); break;
    case KEY_RIGHT: NextPage(); break;
    case KEY_LCONTROL:
    case KEY_RCONTROL: game.ctrl_down = true; break;
    default: break;
  }
}

void BoxKey(int k) {
  if (k >= kDigit1 && k <= kDigit5) {
    SelectBox(k - kDigit1 + 1);
    return;
  }
  switch (k) {
    case KEY_LEFT:
    case KEY_DOWN: PreviousBox(); break;
    case KEY_UP:
    case KEY_RIGHT: NextBox(); break;
    case KEY_PAGEUP: TurnBoxPage(-1); break;
    case KEY_PAGEDOWN: TurnBoxPage(1); break;
    case kDigit0: EmptyBox(); break;
    case 'B': BuildBoxTable(); break;
    case 'I': game.screen = "prefer"; break;
    case 'J': LeaveBoxView(); break;
    case 'M': MatchBoxColour(); break;
    case 'P': ToggleThumbnail(); break;
    case 'Z': HideAllAndLeave(); break;
    default: break;
  }
}

void JigsawKey(int k) {
  if (k != 'T') play.tidy_label.k = 0;
  if (ViewKey(k)) return;
  if (k >= kDigit1 && k <= kDigit5) {
    ToggleBoxShown(k - kDigit1 + 1);
    return;
  }
  switch (k) {
    case kDigit7: CountSevenKey(); break;
    case 'A': ShowAllPieces(); break;
    case 'B': EnterBoxView(); break;
    case 'C': ToggleSwatch(); break;
    case 'E': ToggleEdgePieces(); break;
    case 'G': ToggleGroupedShown(); break;
    case 'I': game.screen = "prefer"; break;
    case 'J': SpreadEdgePieces(); break;
    case 'M': PlaceFirstPieceHome(); break;
    case 'O': ToggleLooseShown(); break;
    case 'P': ToggleThumbnail(); break;
    case 'R': ToggleConfirm("R"); break;
    case 'T':
      shell.help_pointer_x = -1;  // the tidy follows the live pointer
      TidyPieces(MouseX(), MouseY());
      break;
    case 'U': StartUnrotate(); break;
    case 'V': SetAsideTen(); break;
    case 'Z': HideAllPieces(); break;
    case KEY_EQUALS: ToggleConfirm("="); break;
    default: break;
  }
}

void DeleteKey(int k) {
  if (k == 'A') MarkPage(1);
  if (k == 'U') MarkPage(0);
}

}  // namespace

void EscapeKey() {
  // The own-pictures screens go back the way the player came.
  if (game.screen == "pictures" || game.screen == "cut") {
    if (game.screen == "cut") LeaveCutScreen();
    else game.screen = "new1";
    shell.pending_confirm = "";
    return;
  }
  if ((game.screen == "anim" && shell.opening_flight) || shell.pending_confirm == "X") EndProgram();
  if (game.screen == "jigsaw") shell.pending_confirm = "X";
  if (game.screen == "new1" || game.screen == "delete1" || game.screen == "load1") {
    game.screen = "jigsaw";
    shell.pending_confirm = "";
  }
  if (game.screen == "box") {
    LeaveBoxView();
    shell.pending_confirm = "";
  }
  if (game.screen == "help" && game.previous_screen != "jigsaw") {
    game.screen = "jigsaw";
    shell.pending_confirm = "";
  } else {
    shell.pending_confirm = "X";
  }
  if (game.screen == "prefer") {
    game.prefs.prefer_working[1] = -1;
    game.screen = "jigsaw";
    shell.pending_confirm = "";
  }
}

void HandleKey(int k) {
  GlobalKey(k);
  if (InContext("box"))
    BoxKey(k);
  else if (InContext("jigsaw"))
    JigsawKey(k);
  if (InContext("delete1")) DeleteKey(k);
  if (game.screen == "cut") CutScreenKey(k);
  if (k != kDigit7) play.seven_count = 0;
  ClearStalePending(k);
}
