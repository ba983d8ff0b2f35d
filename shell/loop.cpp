// One turn of the frame loop: the screen's handler, the overlays, the flip, the unconsumed
// click, completion, one event, the carried piece. Depends on platform/, draw/ and play/.
#include "box/box.h"
#include "draw/draw.h"
#include "library/library.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

constexpr int kLeftButton = 1, kRightButton = 2;

// The end of the opening flight may open help and shows the pointer image for the first
// time; the end of any later flight celebrates the one jigsaw that earns it.
void EndOfFlight() {
  game.screen = "jigsaw";
  if (shell.opening_flight) {
    // The start-up jigsaw, flown together, is where the player starts from.
    if (OpeningJigsawFlying()) NoteJigsawStarted();
    if (const std::string go_on = GoOnMessage(); !go_on.empty()) {
      // It takes the hint's place, which would lie under it.
      game.status_message = go_on;
      game.hint_visible = false;
    }
    if (!play.flight_skipped && game.prefs.pref_show_help) {
      if (!game.display.display_large) HelpZoom();
      game.previous_screen = "jigsaw";
      game.screen = "help";
    }
    shell.opening_flight = false;
    shell.pointer_visible = true;
  } else if (play.jigsaw_name == "4975red_mixer") {
    Celebrate("You have just completed TK number 1000!");
  }
}

// The pointer picture of this frame: the window system's pointer where it can show it, so that
// a pointer moving over a still screen redraws nothing; else drawn into the frame.
void ShowPointer(const std::shared_ptr<TImage>& image) {
  if (!image) return;
  const int hot_x = static_cast<int>(image->handle_x), hot_y = static_cast<int>(image->handle_y);
  if (!image->pixmaps.empty() && ShowPointerPicture(image->pixmaps[0], hot_x, hot_y)) return;
  DrawImage(image, MouseX(), MouseY(), 0);
}

bool TurnsAllowed() { return game.screen == "jigsaw" || game.screen == "box"; }

// Step 6: a click that no handler took this turn. Over help it closes the page and, outside
// the page, reaches what lies beneath.
void UnconsumedClick() {
  if (game.screen == "help") {
    game.screen = game.previous_screen;
    const auto& page = shell.images.help_pages[0];
    bool inside = MouseInCentred(page, 0, 0, page ? ImageWidth(page) : 0, page ? ImageHeight(page) : 0);
    if (!inside && game.screen == "jigsaw") {
      SwatchClick();
      if (game.click_pending) ThumbClick();
      if (game.click_pending) PickUp();
    }
    if (!inside && game.screen == "box") BoxClick();
  } else if (game.prefs.pref_show_help) {
    OpenHelp();
  }
  game.click_pending = false;
}

// A picture file dropped on the window, on any screen: the cutting screen, which Escape leaves
// for the screen the player was on (the table when that was a flight or a passing screen).
void OpenDroppedPicture(const std::string& path) {
  const std::string& now = game.screen;
  const bool stays = now == "jigsaw" || now == "box" || now == "new1" || now == "delete1" ||
                     now == "load1" || now == "pictures";
  if (now == "anim" && shell.opening_flight) {
    shell.opening_flight = false;
    shell.pointer_visible = true;
  }
  if (now == "cut") LeaveCutScreen();
  const std::string from = stays || now == "cut" ? game.screen : "jigsaw";
  shell.pending_confirm = "";
  play.dragged = 0;
  OpenPictureToCut(path, from);  // a file that cannot be cut leaves the screen as it was
}

// A drop on the window: its first file becomes the picture to cut; a drop without one says what
// can become a jigsaw, and what else came is said to be left.
void TakeDrop(const TStringObject& drop) {
  if (drop.value.empty()) {
    ShowErrorAndWait("Only picture files on this computer can become jigsaws");
    return;
  }
  const auto* all = dynamic_cast<const TDropObject*>(&drop);
  const size_t others = all ? all->files.size() - 1 + static_cast<size_t>(all->others) : 0;
  OpenDroppedPicture(drop.value);
  if (others > 0)
    game.status_message =
        "One picture at a time: " +
        (others == 1 ? std::string("the other thing dropped was left")
                     : "the other " + std::to_string(others) + " things dropped were left");
}

void TakeEvent() {
  WaitEvent();
  WakeFrameTimer();
  int data = EventData();
  switch (EventID()) {
    case EVENT_APPTERMINATE: EndProgram();
    case EVENT_KEYDOWN:
      game.status_message = "";
      game.hint_visible = false;
      HandleKey(data);
      break;
    case EVENT_KEYUP:
      if (data == KEY_LCONTROL || data == KEY_RCONTROL) game.ctrl_down = false;
      break;
    case EVENT_MOUSEUP: EndPan(data); break;
    case EVENT_MOUSEWHEEL: WheelZoom(data, MouseX(), MouseY()); break;
    case EVENT_MOUSEDOWN:
      game.status_message = "";
      game.hint_visible = false;
      if (StartPan(data)) break;
      if (data == kLeftButton && !game.ctrl_down)
        game.click_pending = true;
      else if ((data == kLeftButton || data == kRightButton) && TurnsAllowed())
        game.turn_pending = true;
      break;
    case EVENT_WINDOWSIZE:
      NoteWindowPlacement();
      break;
    case EVENT_WINDOWACCEPT:
      if (auto drop = std::dynamic_pointer_cast<TStringObject>(EventExtra())) TakeDrop(*drop);
      break;
    default: break;
  }
}

// The flight and the unrotate screen draw the table under their own step.
void FlightTurn() {
  FlightFrame();
  DrawTable();
  if (play.flight_state == 4) EndOfFlight();
}

void UnrotateTurn() {
  UnrotateFrame();
  DrawTable();
  if (play.unrotate_state == 4) game.screen = "jigsaw";
}

struct screen_handler_type {
  const char* screen;
  void (*frame)();
};

constexpr screen_handler_type kScreenHandlers[] = {
    {"title", TitleFrame}, {"anim", FlightTurn},    {"jigsaw", JigsawFrame},
    {"box", BoxFrame},     {"new1", NewFrame},      {"delete1", DeleteFrame},
    {"load1", LoadFrame},  {"help", HelpFrame},     {"prefer", PreferFrame},
    {"unrotate", UnrotateTurn}, {"pictures", PicturesFrame}, {"cut", CutFrame},
};

}  // namespace

void RunScreenHandler() {
  for (const screen_handler_type& handler : kScreenHandlers) {
    if (game.screen == handler.screen) {
      handler.frame();
      return;
    }
  }
}

void LoopTurn() {
  const still_turn_watch watch;
  SetWindowFill(ScreenFillsWindow());
  RunScreenHandler();
  if (!game.status_message.empty()) DrawBanner(game.status_message, 0, 0.5);
  DrawPendingConfirm();
  bool carried_marks_pointer = play.dragged > 0 && game.screen == "jigsaw";
  if (shell.pointer_visible && !carried_marks_pointer) ShowPointer(shell.images.pointer);
  Flip(1);
  game.pointer_x = MouseX();
  game.pointer_y = MouseY();
  if (game.click_pending) UnconsumedClick();
  CompletionStep();
  // At rest the player has stopped resizing the window: its size is kept then, once.
  if (RestFrameTimerIfStill(watch)) SaveWindowPlacement();
  TakeEvent();
  TakeFinishedWork();
  SaveWhenDue();
  if (play.thumb_dragging) {
    play.thumb_x = game.pointer_x - play.thumb_grab_dx;
    play.thumb_y = game.pointer_y - play.thumb_grab_dy;
  }
  if (game.click_pending) ConfirmClick();
  ViewTurn();
  if (play.dragged != 0) FollowPointer();
  if (AppTerminate()) EndProgram();
}
