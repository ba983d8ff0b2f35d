// Declarations shared by the shell's own files; not part of its public face.
// Depends on shell.h.
#pragma once

#include <memory>
#include <string>

#include "shell/shell.h"

// One confirmation: its letter, the key that sets and keeps it, its picture, its Yes area
// relative to the picture's top-left corner (inclusive) and its Yes action.
struct confirm_type {
  const char* letter;
  int key;
  std::shared_ptr<TImage> shell_images_type::*picture;
  int x1, y1, x2, y2;
  void (*yes)();
};

// The confirmation whose letter is pending_confirm, or nullptr when none waits.
const confirm_type* PendingConfirm();
// Runs the Yes action of the waiting confirmation after clearing it.
void AnswerYes(const confirm_type& confirm);

// The opening flight has not ended and its jigsaw is still the one in play: the player has not
// touched it, so leaving saves nothing.
bool OpeningJigsawFlying();

// The Escape rules.
void EscapeKey();

// The turn's frame handler for the current screen.
void RunScreenHandler();

// What a turn starts from, for telling whether it was still (frame_rest.cpp).
struct still_turn_watch {
  still_turn_watch();
  int presented;       // frames presented before the turn
  std::string screen;  // the screen it started on
};
// Pauses the frame timer after a still turn, so the loop waits for input alone; true when it did.
bool RestFrameTimerIfStill(const still_turn_watch& watch);
// Starts a resting frame timer again for the event that has just arrived (not for a pointer
// move that nothing follows); the loop calls it before handling the event.
void WakeFrameTimer();

// Waits until more than ms milliseconds have passed since Millisecs() was t (or the clock went
// back) while the window keeps answering: a close request ends the program and other input
// stays queued for the loop. stop, when given, is asked throughout; true from it ends the wait
// early and is returned.
bool WaitAlive(int t, int ms, bool (*stop)() = nullptr);

// Opens help over the current screen, remembering the pointer for the tidy command.
void OpenHelp();
// Back to the screen help was opened over.
void CloseHelp();
// The help page that explains screen, or -1 when it has none.
int HelpPageOf(const std::string& screen);
// Runs the action of a clicked help letter on page (0..4).
void RunHelpLetter(int page, char letter);

// Commands given both by keys and by help letters.
void ToggleBoxShown(int b);  // box 1..5's loose pieces shown or hidden
void ToggleSwatch();
void ToggleGroupedShown();
void ToggleLooseShown();
void ToggleThumbnail();  // nothing while the jigsaw has no thumbnail
void StartUnrotate();    // the "unrotate" screen turns every group upright
void LeaveBoxView();     // back to the table with the current box's pieces shown
void HideAllAndLeave();  // every piece hidden, then back to the table
// K on screen, the page shown or the one help is shown over: over the killing page it kills
// what is marked; elsewhere it opens that page.
void KillOrOpenDeletePage(const std::string& screen);

// The table's view (view_input.cpp), on the "jigsaw" screen only.
// A zoom, pan, whole-table or overview key: true when k was used so.
bool ViewKey(int k);
// A button press that starts dragging the table (the middle button, or Shift + left button while
// nothing is carried): true when it did, and the press is no click.
bool StartPan(int button);
void EndPan(int button);
// Wheel notches (> 0 in) about the screen point (x, y) on the table; in the box view they turn
// the rows' pages.
void WheelZoom(int steps, int x, int y);
// Once a turn: the dragged table follows the pointer, and a carried piece near an edge of the
// picture scrolls the table that way.
void ViewTurn();

// ---- The window between runs and how it shows the frame ----

// The table's screens fill the window at its own pixels; every other screen, and the table
// while a confirmation waits over it, is laid out at the game's size and scaled into it.
bool ScreenFillsWindow();
// Reads "window.txt" from the player folder (sizes clamped; a missing or refused file changes
// nothing): the size and state the window opens at.
void LoadWindowPlacement();
// Takes the open window's size (unless maximised) and state, in a window only.
void NoteWindowPlacement();
// NoteWindowPlacement for the window start-up opened; without a "window.txt" read, that window
// counts as written, so only a size the player chose is ever kept.
void NoteStartWindow();
// NoteWindowPlacement, then asks the platform to open the next window at that size and state.
void PlaceNextWindow();
// NoteWindowPlacement, then writes "window.txt" when it differs from what the file holds. A
// write that fails is not retried until the size changes again; it shows no notice.
void SaveWindowPlacement();
