// Preferences ("prefer.txt", "refresh.txt" in the player folder) and the display choice.
// Depends on files/ (text lines, numbers), platform/ (display modes), library/ (player
// folder), play/ (the table colour the kept colour feeds) and box/ (rows laid out per size).
#include <algorithm>
#include <vector>

#include "box/box.h"
#include "files/files.h"
#include "library/library.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

int ReadInt(const std::shared_ptr<TStream>& stream) { return TextToInt(stream->ReadLine()); }

// Values are brought into their ranges as they are read, so nothing the game writes back from
// them (prefer.txt, a progress file's table colour) is one its own reading would refuse.
int ReadFlag(const std::shared_ptr<TStream>& stream) { return ReadInt(stream) != 0 ? 1 : 0; }
int ReadColour(const std::shared_ptr<TStream>& stream) { return std::clamp(ReadInt(stream), 0, 255); }
// No display refreshes faster.
constexpr int kHighestHertz = 1000;

// Opens the display and reports whether it opened.
bool Open(int width, int height, int depth, int hertz, int flags) {
  return Graphics(width, height, depth, hertz, flags) != nullptr;
}

}  // namespace

void LoadPreferences() {
  const std::string& folder = library.player_folder;
  // A file holding a line far longer than any number is not a preferences file: it is passed
  // over as a missing one is.
  if (auto refresh = ReadShortLines(folder + "refresh.txt")) {
    const int rate = std::clamp(ReadInt(refresh), 0, kHighestHertz);
    CloseStream(refresh);
    if (!refresh->overlong) game.display.refresh_rate = rate;
  }
  auto file = ReadShortLines(folder + "prefer.txt");
  if (!file) return;
  game_prefs_type prefs = game.prefs;
  prefs.pref_show_help = ReadFlag(file);
  prefs.pref_large = ReadFlag(file);
  prefs.sound_on = ReadFlag(file);
  for (int* pref : {&prefs.pref_windowed, &prefs.pref_hint, &prefs.pref_save_message, &prefs.pref_keep_colour})
    if (!file->Eof()) *pref = ReadFlag(file);
  if (prefs.pref_keep_colour) {
    prefs.kept_colour.r = ReadColour(file);
    prefs.kept_colour.g = ReadColour(file);
    prefs.kept_colour.b = ReadColour(file);
  }
  CloseStream(file);
  if (file->overlong) return;
  game.prefs = prefs;
  if (prefs.pref_keep_colour) play.table_colour = {prefs.kept_colour.r, prefs.kept_colour.g, prefs.kept_colour.b};
}

void SavePreferences() {
  auto& prefs = game.prefs;
  std::vector<int> values = {prefs.pref_show_help, prefs.pref_large,        prefs.sound_on,
                             prefs.pref_windowed,  prefs.pref_hint,         prefs.pref_save_message,
                             prefs.pref_keep_colour};
  if (prefs.pref_keep_colour) {
    prefs.kept_colour = {play.table_colour.r, play.table_colour.g, play.table_colour.b};
    values.insert(values.end(), {prefs.kept_colour.r, prefs.kept_colour.g, prefs.kept_colour.b});
  }
  std::string path = library.player_folder + "prefer.txt";
  // Written whole or not at all, so that a full disk cannot leave half a file; a write that
  // fails is reported like a file that would not open.
  bool written = WriteFileAtomically(path, [&](const std::shared_ptr<TStream>& file) {
    for (int value : values)
      if (!file->WriteLine(IntToText(value))) return false;
    return true;
  });
  if (!written) ShowErrorAndWait("Unable to save to " + path + SystemReason());
}

bool ChooseMode(int width, int height) {
  if (game.display.windowed) {
    PlaceNextWindow();
    return Open(width, height, 0, 60, 0);
  }
  // Full screen keeps the desktop's own mode: a laid-out picture is scaled into it, the table
  // fills it. The window's size was noted as it changed ("WindowSize").
  return Open(width, height, 32, game.display.refresh_rate, GRAPHICS_DESKTOPMODE);
}

bool ReopenDisplay() {
  return game.display.display_large ? ChooseMode(1024, 768) : ChooseMode(800, 600);
}

namespace {

// Flips one display flag and reopens; when the new display cannot be had, the flag goes
// back and the old display is reopened if the attempt closed it.
void ToggleDisplayFlag(bool& flag) {
  flag = !flag;
  if (ReopenDisplay()) return;
  flag = !flag;
  if (GraphicsWidth() == 0) ReopenDisplay();
}

}  // namespace

void ToggleLargeDisplay() {
  ResetPagesForNewDisplaySize();
  ToggleDisplayFlag(game.display.display_large);
  BuildBoxTable();  // the box view's rows are laid out for the display size
}

void ToggleWindowed() { ToggleDisplayFlag(game.display.windowed); }
