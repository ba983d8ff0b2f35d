// Application shell, the top of the game: start-up and the frame loop, screens and command keys
// with their confirmations, preferences and display choice, help, the celebration. Owns the
// waiting confirmation, the shell's own pictures and the frame timer.
// Depends on library/, box/, play/, game/ and the framework (platform/, draw/, files/, audio).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "game/game.h"

class TImage;
class TTimer;

// The shell's pictures, loaded once at start-up (help pages on first use); nullptr when missing.
struct shell_images_type {
  std::shared_ptr<TImage> pointer, exit, reload, quick_pick, fetch, do_new;
  std::array<std::shared_ptr<TImage>, 5> help_pages;  // slots 0..4
  std::array<bool, 5> help_tried{};                   // the page's file was read once
  // The "prefer" screen's pictures, loaded the first time it is shown.
  std::shared_ptr<TImage> prefer, yes, no, yes_grey, no_grey;
  bool prefer_loaded = false;
};

// The window's own size (window pixels, as it was before it was maximised; 0 x 0 until known)
// and whether it is maximised.
struct shell_window_type {
  int width = 0, height = 0;
  bool maximised = false;
};

struct shell_state {
  std::string pending_confirm;  // "D", "Q", "R", "=", "X" or "" for none
  bool pointer_visible = false;
  bool opening_flight = true;
  // The picture named by --open, made into a jigsaw instead of the opening flight; "" for none.
  std::string picture_to_open;
  int help_pointer_x = -1, help_pointer_y = 0;
  // Dragging the table: the button held (0 for none) and where the pointer was last turn.
  int pan_button = 0;
  int pan_x = 0, pan_y = 0;
  std::string app_version = "6.4";
  std::string app_title = "Tesselka v6.4";
  shell_images_type images;
  std::shared_ptr<TTimer> frame_timer;  // 50 Hz, keeps events arriving while the player is idle
  shell_window_type window;        // the window now (its last known size while full screen)
  shell_window_type window_saved;  // what "window.txt" holds, as read or last written
};

extern shell_state shell;

// Puts every field of `shell` back to its start value (drops loaded resources too) and
// connects the shell's hooks.
void ResetShellState();
// Registers the shell's hooks with the modules below (clearing the waiting confirmation when
// a jigsaw is reset, switching the display size when asked); StartUp and ResetShellState call it.
void ConnectShellHooks();

// ---- The launcher: options without a window and the player's data folder ----

// Takes every "--open PICTURE" out of the options (the arguments before a "--"), before or after
// the player name, and returns the last PICTURE; "" when none is given ("--open" last, with
// nothing after it, changes nothing).
std::string TakeOpenOption(std::vector<std::string>& args);
// The options, which need no window: prints the answer to "--help" (or "-h") or "--version"
// given first and returns 0; any other argument that begins with "-" (those two after a player
// name included) is an unknown option, refused with the usage on stderr: 1. Otherwise removes
// a "--" that ends the options (so that the player name comes first) and returns -1: play.
int AnswerCommandLine(std::vector<std::string>& args);
// The data folder: $TESSELKA_HOME, else $XDG_DATA_HOME/tesselka (an absolute XDG_DATA_HOME
// only), else $HOME/.local/share/tesselka. "" with problem set (what is wrong and what to do)
// when none can be named.
std::string DataFolderPath(std::string& problem);
// The runtime tree beside the program at path program: <bin>/../share/tesselka when installed,
// <build>/runtime in the build tree. "" when neither holds images/, fonts/, sounds/ and jigsaws/.
std::string RuntimeFolder(const std::string& program);
// Makes data ready to play in from runtime, which is only read: the folder is made if missing,
// the asset files of images/, fonts/ and sounds/ are brought up to runtime's (files an older
// version copied and runtime no longer has are removed; the player's own files stay),
// jigsaws/ is copied only when missing (complete or not at all) and players/ is made. Returns
// "" when ready, else a message saying what is wrong and what to do.
std::string PrepareDataFolder(const std::string& runtime, const std::string& data);
// The runtime beside this program, DataFolderPath and PrepareDataFolder, then makes the data
// folder the working folder. "" when the game can start there, else the message.
std::string EnterDataFolder();

// ---- Start-up and the frame loop ----

// Brings the platform up, reads the player and the preferences, opens the display, loads the
// shared resources and starts the 50 Hz frame timer: every start-up step before the loop.
// args are the command-line arguments after the program's own name. Returns false (after
// saying why on stderr) when no display can be opened at all.
bool StartUp(const std::vector<std::string>& args);
// One turn of the frame loop: draw, flip, handle the unconsumed click and completion, take
// exactly one event (WaitEvent, blocks until one arrives), move the carried piece.
void LoopTurn();
// The program: takes "--open PICTURE" out of the arguments (TakeOpenOption: a picture to make a
// jigsaw of first), answers --help and --version (0), enters the data
// folder (1 with a message on stderr when it cannot), then StartUp and LoopTurn forever. Returns 1
// without a display; otherwise it ends only through EndProgram.
int RunApplication(int argc, char** argv);

// "title" screen: loads the opening jigsaw when none is current and starts the opening flight;
// with a picture to open, shows the jigsaw scattered and the cutting screen instead.
void TitleFrame();

// ---- Keys and confirmations ----

// The key table for one "KeyDown" code in the current screen (global, then one context
// table, then seven_count and ClearStalePending).
void HandleKey(int k);
// Draws the waiting confirmation's picture centred with a shadow; nothing when none waits
// or its picture is missing.
void DrawPendingConfirm();
// With a confirmation waiting, consumes the pending click and runs the Yes action when the
// pointer is inside the picture's Yes area; the confirmation is cleared in every case.
void ConfirmClick();
// Clears a waiting confirmation unless k is its own key.
void ClearStalePending(int k);
// The "R" confirmation's action: scatter the current jigsaw afresh with empty boxes.
void RestartJigsaw();

// ---- Preferences and display choice ----

// Reads "refresh.txt" and "prefer.txt" from the player folder; missing files, and files with a
// line too long for a number (TShortLineStream), keep defaults.
void LoadPreferences();
// Writes the seven preferences (and, with pref_keep_colour, the table colour, which becomes
// kept_colour) to "prefer.txt". A file that cannot be written gives the blocking notice
// "Unable to save to " + path; the preferences in memory stay as they are.
void SavePreferences();
// Frame handler of the "prefer" screen: the page with seven yes/no rows, OK and Cancel.
void PreferFrame();
// One yes/no pair at (x, y) and (x + gap, y), the lit picture showing value.
void DrawYesNo(int x, int y, int gap, int value);
// Opens width x height as a window (windowed: at the window's remembered size, no smaller) or
// full screen in the desktop's own mode. Returns false when the display cannot be opened.
bool ChooseMode(int width, int height);
// ChooseMode for the size display_large asks for.
bool ReopenDisplay();
// Key F: switches between 800 x 600 and 1024 x 768. When the new display cannot be opened
// the flag and the old display are kept (reopened if it was closed). The box view's rows are
// laid out again for the size in use.
void ToggleLargeDisplay();
// Key W: switches between window and full screen, with the same failure rule.
void ToggleWindowed();


// ---- Messages and small drawing helpers ----

// Shows the waiting start-up notices one by one; the keys that dismiss them do nothing else.
void ShowStartUpNotices();
// Outline of (x, y, w, h) with thickness t.
void DrawFrame(int x, int y, int w, int h, int t);
// Key F2: the display's settings as the status message.
void ShowGraphicsInfo();

// ---- Help screen ----

// Frame handler of the "help" screen: the page of previous_screen over that screen, its rows
// lit under the pointer and a click on a row running that letter's command. Nothing for a
// screen without a page; a page that cannot be loaded shows only what lies beneath.
void HelpFrame();
// The first help page growing from the centre of the 800 x 600 display over 200 frames; a
// left click stops it (and stays queued), Escape ends the program. Nothing without the page.
void HelpZoom();

// ---- Celebration ----

// Dims the picture on screen to dark blue and brings text up letter by letter, then pauses
// five seconds. Blocks; a close request still ends the program.
void Celebrate(const std::string& text);
// Flashes one letter in centred on (x, y) over the screen as it is; returns the letter's
// width in the current font. A space is not drawn and takes no time.
int FlashLetter(const std::string& letter, int x, int y);
