// Library and persistence: the folder tree and the player folder, saved progress, the browser
// pages of the library and of saved jigsaws, killing and the quick picks. Owns the player's name
// and folder, the two browser lists and their pictures.
// Depends on box/, play/, game/ (the turn's input, screen, display size, preferences, notices,
// sounds, hooks) and the framework (files/ for folders, streams and atomic writes, draw/).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/files.h"

class TFolderLock;
class TImage;
class TTimer;
struct save_job_type;

// One browser entry.
struct tn3_type {
  std::string tk;               // the jigsaw name
  std::shared_ptr<TImage> img;  // the thumbnail; loaded when first drawn, nullptr until then
  int page = 0;                 // never set
  int x = 0, y = 0;             // top-left corner where the thumbnail was drawn last
  int n = 0;                    // position in the list, from 1
  int marked = 0;               // 1 = marked for killing (library list only)
  // A thumbnail refused or failed is not tried again while its file keeps this stamp.
  bool failed = false;
  file_stamp failed_stamp;
};

// The library list or the saved list with its page integers.
struct browser_list_type {
  std::vector<tn3_type> entries;  // entry k - 1 has n = k
  int page = 0;                   // current page from 1; 0 = build the list before drawing it
  int count = 0;
  int page_count = 0;             // set by each drawing of a page
  std::vector<int> drawn;         // indices into entries drawn by the last drawing of a page
};

struct library_state {
  std::string player_name = "default";
  // "players/" + player name + "/" once OpenPlayerFolder has run; "" before.
  std::string player_folder;
  // Held while this game plays in the player folder; nullptr when another game holds it (then
  // player_folder_busy is set) or no lock file could be made there.
  std::shared_ptr<TFolderLock> player_lock;
  bool player_folder_busy = false;
  browser_list_type library_list;  // "new1", "delete1"
  browser_list_type saved_list;    // "load1"
  browser_list_type pictures_list;  // "pictures": entries name picture files by path
  std::shared_ptr<TImage> cross;   // the kill mark, loaded when "delete1" first runs
  // The My pictures button of "new1" and the Cut button of "cut", loaded when first shown.
  std::shared_ptr<TImage> pictures_button, cut_button;
  std::array<std::shared_ptr<TImage>, 5> arrows;  // the page buttons, slots 1..4, loaded at start-up
  // Saving: the save the worker has not handed back yet, when the next save while playing
  // falls due (Millisecs), the wake-up set for it, and whether the last save failed.
  std::shared_ptr<save_job_type> saving;
  int next_save_due = 0;
  std::shared_ptr<TTimer> save_wake;
  int save_wake_due = 0;
  bool save_failing = false;
};

extern library_state library;

// Puts `library` back to its start values.
void ResetLibraryState();

// The jigsaw that start-up loads and flies together, always the last library entry.
inline const std::string kStartUpJigsaw = "0000vorna";

// ---- Player folder ------------------------------------------------------------------------------

// Makes one folder ready: lists it, or creates it (no parents; its mode is 0777 masked by the
// umask) and lists it again. When it can be neither listed nor created, shows the blocking notice
// "Unable to access " + path and returns. Never changes the mode of anything it did not create.
void EnsureFolder(const std::string& path);

// Makes "players" and "players/" + player name ready and sets library.player_folder. Does
// nothing when the player folder is already set. A player name that cannot name a folder below
// "players" (see PlayerNameFault) is refused with its notice and "default" is used instead. The folder
// string is set even when a folder could not be made; later reads and writes then fail with
// their own messages. The player folder is locked for the rest of the run and the temporaries
// that killed saves left in it are removed; when another game holds it, a notice says so,
// player_folder_busy is set and nothing in the folder is touched.
void OpenPlayerFolder();

// A jigsaw name that names a folder right below "jigsaws/": not empty, not beginning with "."
// (hidden folders, "." and ".." are never jigsaws), no NUL and no "/" or "\".
bool IsPlainJigsawName(const std::string& name);
// Why name cannot name a player's folder below "players/", as a notice ending "; playing as
// default"; "" when it can. Refused: empty, "." itself, a NUL, a component ("/" or "\"
// separated) that is "..", and a name longer than the file system takes for one file name
// (pathconf, else 255 bytes). Slashes name nested folders.
std::string PlayerNameFault(const std::string& name);

// ---- Saved progress -----------------------------------------------------------------------------

// What a progress file holds, checked against the jigsaw it is read for.
struct progress_type {
  struct piece_state {
    int x = 0, y = 0, a = 0, visible = 0, gp = 0, draw_order = 0, box = 0;
  };
  std::vector<piece_state> pieces;  // entry i - 1 for piece i
  std::array<int, 3> table_colour{};
  int display_large = 0;
  int last_group = 0;
};

// Key S: writes "working_on.txt", draws the whole table (through a view that fits it into the
// top-left 800 x 600; the shown thumbnail at its place) into the back buffer, saves progress, the
// view and the thumbnail, and once all are written says "jigsaw saved" (when that
// preference is on) and plays the magic sound. A failed write shows "Unable to save to " + path
// and says nothing of a save. Nothing happens while no jigsaw is loaded. Waits until the files
// are written.
void SaveJigsaw();
// The files of SaveJigsaw without its message and sound: "working_on.txt", the progress file
// (7 x piece_count + 5 lines), the view file (name + ".view": ViewValues, three lines) and the
// thumbnail (the folder's tn.png for a complete jigsaw), each replaced whole, written on the
// worker thread after any save before it. When the progress file cannot be written, shows
// "Unable to save to " + path, keeps the old files and writes no view or thumbnail; when the view
// or thumbnail cannot, the same notice names it and the old one stays (an unwritten view leaves
// the jigsaw counting as changed). Marks
// the saved list stale and the jigsaw unchanged once the progress file is written. True when
// every file was written.
bool SaveProgress();
// Writes the top-left 800 x 600 pixels of the back buffer, scaled by `scale` (when below 1) to
// scale x width by scale x height, as a PNG at path. False when it cannot be written.
bool MakeThumbnail(const std::string& path, double scale, int width, int height);

// Milliseconds of play without a save after which a changed jigsaw is saved.
constexpr int kSaveInterval = 120000;
// The longest a save may hold up leaving the jigsaw.
constexpr int kLeavingWait = 2000;

// Before another jigsaw replaces the one in play (a pick from the library or saved pages, Q, D,
// =, a jigsaw made from a picture): saves it as SaveProgress does when it has changed, waiting
// at most kLeavingWait ms for the files (a slower save goes on in the background). Call it
// before loading the next jigsaw's folder.
void SaveBeforeLeaving();
// When the program ends: saves a changed jigsaw and waits for every save under way,
// at most 2 seconds in all; a save still unfinished then is abandoned (its temporary file
// removed when it returns, the old files kept). Failures go to the standard error.
void SaveOnExit();
// Once per turn: takes back finished saves, and saves a changed jigsaw when kSaveInterval ms
// have passed since the last save (or its start); sets a wake-up for that moment while the
// jigsaw is changed, so a still table is saved too.
void SaveWhenDue();
// The jigsaw in play has just been started, restarted or loaded: it counts as unchanged and
// the next save while playing falls due kSaveInterval from now.
void NoteJigsawStarted();
// The banner after the opening flight when "working_on.txt" names a jigsaw with saved
// progress: how to fetch it. "" when it names none.
std::string GoOnMessage();

// The progress file at path for a jigsaw of piece_count pieces. A file that cannot be opened
// gives the notice "Unable to access " + path; one that does not describe such a jigsaw (line
// count other than 7 x piece_count + 5, a drawing order that is not a permutation of
// 1..piece_count, a turn outside 0..3, visibility outside 0..1, a box outside 0..5, a negative or
// huge group, a position far off the table, a colour outside 0..255, a display flag outside 0..1,
// or more bytes than such lines can hold) gives a notice naming the file. Both give nothing.
std::optional<progress_type> ReadProgress(const std::string& path, int piece_count);
// Puts progress into the piece tables of the jigsaw just loaded (it must have as many pieces):
// pieces, drawing order, table colour, grouped_shown, last_group (raised to the highest group so
// new joins never reuse a number); switches the display size as key F does when it was saved in
// the other size; then rebuilds the boxes and the edge flags.
void LoadProgress(const progress_type& progress);
// Makes name the current jigsaw with its saved state and view (the home view when its view file
// is missing or damaged) and goes to the table. When the name is
// not a plain jigsaw name, its progress file is missing or damaged, or its folder does not load,
// a notice says so and the jigsaw in play, its name and every file stay as they were.
bool ResumeJigsaw(const std::string& name);
// The fetch command: ResumeJigsaw of the name in "working_on.txt"; without that file the
// status message says "I can't find any saved jigsaws to fetch"; one that is a link (never
// followed), not a plain file, unreadable or longer than 4096 bytes is refused with a notice
// saying so.
void FetchWorkingOn();

// ---- Browser lists and pages ------------------------------------------------------------------

// Lists the folders below "jigsaws" whose names are plain jigsaw names (so no hidden ones),
// sorted by byte order, then "0000vorna"; page 1.
void BuildLibraryList();
// Lists the player's thumbnails (names ending exactly in ".png", the ending cut, plain jigsaw
// names only, sorted, with "0000vorna" moved last); page 1.
void BuildSavedList();
// Draw a whole page: clear, thumbnails (loaded on first use), arrows, title. A thumbnail's size
// is read from its header first: one over 1024 x 768, or one that would take the page's
// thumbnails past 48 MiB of pixels, is refused like one that does not load (no cell). Only the
// thumbnails of the page shown and of its neighbours stay loaded.
void DrawLibraryPage(const std::string& screen);
void DrawSavedPage();
// The name under the pointer among the entries the last drawing showed, or "". On "delete1"
// a click also toggles the mark of an entry whose name does not begin with "0000".
std::string HitLibraryPage();
std::string HitSavedPage();
// True (after "please wait") when the pointer is on one of the four page buttons, drawn or not;
// the page has then been changed.
bool ClickPageArrows();
void DrawPageArrows();
// "Page p of m" for the list that screen shows, with "Saved Jigsaws" before it on "load1" and
// the kill count after it on "delete1" while something is marked.
std::string PageTitle(const std::string& screen);
void DrawPageTitle(const std::string& screen);
// Cursor left / right: the page of the current page screen; nothing on other screens.
void PreviousPage();
void NextPage();
// Keys A (1) and U (0) on "delete1": marks or unmarks the current library page.
void MarkPage(int value);
int CountMarked();
// The library page's entries per page for the current display size.
int LibraryEntriesPerPage();
// Switching the display size: every page above 0 goes back to 1; the lists stay.
void ResetPagesForNewDisplaySize();

// ---- The player's own pictures and the cutting screen ------------------------------------------

// Lists the picture files of the player's pictures folder and the data folder's "pictures/",
// newest first; page 1.
void BuildPicturesList();
// The "pictures" page: picture thumbnails, page buttons and title (built when stale).
void DrawPicturesPage();
// The picture file under the pointer among the thumbnails the last drawing showed, or "".
std::string HitPicturesPage();
// Frame handler of "pictures": a click on a thumbnail opens the cutting screen.
void PicturesFrame();
// Reads the picture file for cutting on the worker thread (the window keeps answering) and
// shows the cutting screen, which Escape leaves for came_from. A file that cannot be cut gives a
// blocking notice naming it and what is wrong; the screen then stays as it was. True when the
// cutting screen is shown.
bool OpenPictureToCut(const std::string& path, const std::string& came_from);
// Frame handler of "cut": the picture as it will be cut with the chosen count's outlines, the
// jigsaw's name, the counts offered and the Cut button, each clickable.
void CutFrame();
// Keys of the "cut" screen: cursor left and down choose fewer pieces, right and up more,
// Return cuts.
void CutScreenKey(int k);
// Cuts the picture into "jigsaws/" + its name on the worker thread, a progress bar showing
// while the window keeps answering (a close request ends the program, leaving no folder), then
// starts the new jigsaw scattered as a pick from the library page does. A cut that fails gives
// a notice and leaves the cutting screen as it was.
void CutChosen();
// Escape on "cut": back to the screen the cutting screen was opened from.
void LeaveCutScreen();

// Frame handlers of "new1", "delete1" and "load1".
void NewFrame();
void DeleteFrame();
void LoadFrame();
// Makes "0000vorna" the current jigsaw and scatters it; a failed load keeps the old jigsaw.
void ShowOpeningJigsaw();
// Starts a library jigsaw afresh, scattered with empty boxes. A failed load keeps the jigsaw in
// play. True when it started.
bool StartNewJigsaw(const std::string& name);

// ---- Killing and quick picks ------------------------------------------------------------------

// Key K on "delete1": kills every marked jigsaw, then shows the start-up jigsaw.
void KillMarked();
// Deletes "jigsaws/" + name (a link is removed as a link) and every player's name + ".png",
// name + ".txt" and name + ".view"; player folders that are links are passed over. Stops with
// "Unable to delete " + path at the first failure.
void KillJigsaw(const std::string& name);
// Starts a random library jigsaw other than the current one (nothing when there is none).
void PickRandomJigsaw();
// Starts the first library jigsaw that the player has not saved.
void PickNextUnsaved();
