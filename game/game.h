// What every module of the game shares, at the bottom of the game: the turn's input, the screen,
// the display flags, the preferences, the fonts, the banner and blocking notices, the sounds and
// the hooks through which a lower module tells a higher one what happened.
// Depends on platform/, draw/ and platform/audio.h only; every other game module builds on it.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

class TImage;
class TImageFont;
class TSound;
class TChannel;

struct game_colour_type {
  int r = 0, g = 0, b = 0;
};

// The seven preferences of "prefer.txt" and the working copies of the "prefer" screen.
struct game_prefs_type {
  int pref_show_help = 0;
  int pref_large = 0;
  int sound_on = 1;
  int pref_windowed = 1;
  int pref_hint = 1;
  int pref_save_message = 1;
  int pref_keep_colour = 0;
  game_colour_type kept_colour;
  // Entries 1..5 copy preferences 1..5 while the "prefer" screen is open; entry 1 is -1
  // while no copies are taken. Entry 0 is unused.
  std::array<int, 6> prefer_working = {0, -1, 0, 0, 0, 0};
};

struct game_display_type {
  bool display_large = false;  // 1024 x 768 rather than 800 x 600
  bool windowed = false;
  int refresh_rate = 0;  // Hz asked of full-screen modes
};

// Fonts shared by every screen; nullptr when "fonts/Tahoma.ttf" could not be loaded.
struct game_fonts_type {
  std::shared_ptr<TImageFont> large;  // Tahoma 22
  std::shared_ptr<TImageFont> small;  // Tahoma 14
};

// Sounds are loaded on first use with sound_on; a sound that fails to load stays nullptr
// and is skipped, and its load is not retried.
struct game_sounds_type {
  std::shared_ptr<TSound> click, magic, music;
  bool click_tried = false, magic_tried = false, music_tried = false;
  std::shared_ptr<TChannel> music_channel;
};

// The key that answers a blocking notice is the notice's alone: from its press to its release
// none of its events is queued for the key table.
struct game_notice_keys_type {
  bool waiting = false;          // a notice waits for its key
  bool answered = false;         // a key has ended the wait
  std::array<bool, 256> held{};  // keys that answered a notice and are not released yet
};

struct game_state {
  std::string screen = "title";
  std::string previous_screen;
  std::string status_message;  // banner text, "" for none
  // Blocking notices raised before the display could show them, oldest first; start-up shows
  // each once the display and fonts are ready, dropping it when the player has seen it.
  std::vector<std::string> startup_notices;
  bool hint_visible = false;
  bool leaving = false;  // EndProgram has begun
  // The turn's input: requests left by the last event for the next frame handler, and the
  // pointer sampled right after each flip.
  bool click_pending = false;
  bool turn_pending = false;
  bool ctrl_down = false;
  int pointer_x = 0, pointer_y = 0;
  game_prefs_type prefs;
  game_display_type display;
  game_fonts_type fonts;
  game_sounds_type sounds;
  game_notice_keys_type notice_keys;
};

extern game_state game;

// Puts every field of `game` back to its start value (drops loaded fonts and sounds too).
void ResetGameState();

// ---- Hooks: a lower module telling the higher ones what happened ----

// The functions higher modules registered for one event, called in the order registered.
// Registering a function again keeps one entry, so a module may register on every reset.
class hook_list {
 public:
  void Add(void (*hook)());
  void Call() const;

 private:
  std::vector<void (*)()> hooks_;
};

// The hooks are wiring, not state: no reset clears them.
struct game_hooks_type {
  // Asked to switch between 800 x 600 and 1024 x 768 as key F does; registered by the module
  // that opens the display, which also lays out for the new size what depends on it.
  hook_list toggle_large_display;
  // The program is about to end (EndProgram); registered by the module that keeps the player's
  // progress, which saves it.
  hook_list leaving;
};

extern game_hooks_type game_hooks;

// ---- Pointer and drawing helpers, the banner and the blocking notice ----

// Live pointer inside [x1, x2] x [y1, y2], all sides inclusive.
bool MouseIn(int x1, int y1, int x2, int y2);
// Draws image centred on the display, with a half-transparent shadow 7 pixels down-right
// when shadow. Nothing for nullptr.
void DrawCentred(const std::shared_ptr<TImage>& image, bool shadow);
// MouseIn of a rectangle relative to the top-left corner DrawCentred would use; a nullptr
// image counts as 0 x 0.
bool MouseInCentred(const std::shared_ptr<TImage>& image, int x1, int y1, int x2, int y2);
// Text with its left edge at x (or centred on x) and its top at y (or centred on y), in the
// current font.
void DrawTextCentred(const std::string& text, int x, int y, bool centre_x, bool centre_y);
// Framed translucent box with text, centred horizontally; y 0 means the display's centre,
// text "" means status_message. Alpha exactly 1 gives a navy inner box, otherwise cyan.
void DrawBanner(const std::string& text, int y, double alpha);
// The first display row below the frame DrawBanner(text, y, ...) draws (text "" is not
// status_message here). Leaves the large font set.
int BannerBottom(const std::string& text, int y);
// path with the home folder ($HOME) written as "~", for text shown to the player only: files
// are never opened by it.
std::string ShownPath(const std::string& path);
// Draws the banner, flips, draws it again so it stays visible during slow work.
void ShowBusy(const std::string& text);
// Blocking notice: text + " - press any key" on black, then waits for a key. That key is used up:
// its press, repeats and release never reach the key table (other input stays queued). Before
// the display opens the notice goes to stderr and waits in startup_notices.
void ShowErrorAndWait(const std::string& text);
// The "press H at any time for Help" banner while pref_hint and hint_visible.
void DrawHelpHint();
// Ends the process with status 0 through the platform's end function, after the leaving hooks.
[[noreturn]] void EndProgram();

// ---- Sounds (all obey sound_on except StopMusic; missing sounds are skipped) ----

void PlayClick();
void PlayMagic();
// Starts the music unless it is still playing, at full volume.
void PlayMusic();
void StopMusic();
