// The window's own size and whether it was maximised, kept between runs in "window.txt" in the
// player folder (three lines of numbers: width, height, maximised), and the turn's choice of
// how the window shows the frame. Depends on files/, platform/, library/ (the player folder).
#include <algorithm>

#include "files/files.h"
#include "library/library.h"
#include "platform/platform.h"
#include "shell/internal.h"

namespace {

// No desktop is wider or taller; the window opens no larger than the desktop anyway.
constexpr int kLargestWindow = 16384;

std::string WindowFile() { return library.player_folder + "window.txt"; }

int ReadSize(const std::shared_ptr<TStream>& stream) {
  return std::clamp(TextToInt(stream->ReadLine()), 0, kLargestWindow);
}

bool SameWindow(const shell_window_type& a, const shell_window_type& b) {
  return a.width == b.width && a.height == b.height && a.maximised == b.maximised;
}

}  // namespace

bool ScreenFillsWindow() {
  const std::string& s = game.screen;
  const bool table = s == "jigsaw" || s == "anim" || s == "unrotate" || s == "title";
  // A waiting confirmation is laid out like every other picture: the table beneath it is
  // drawn laid out too for as long as it waits.
  return table && shell.pending_confirm.empty();
}

void LoadWindowPlacement() {
  if (library.player_folder.empty()) return;
  auto file = ReadShortLines(WindowFile());
  if (!file) return;
  shell_window_type read;
  read.width = ReadSize(file);
  read.height = ReadSize(file);
  read.maximised = TextToInt(file->ReadLine()) != 0;
  CloseStream(file);
  if (file->overlong) return;
  shell.window = shell.window_saved = read;
}

void NoteWindowPlacement() {
  if (!game.display.windowed) return;
  int width = 0, height = 0;
  bool maximised = false;
  if (!GetWindowPlacement(width, height, maximised)) return;
  // A maximised window comes back to the size it had before.
  if (!maximised) {
    shell.window.width = width;
    shell.window.height = height;
  }
  shell.window.maximised = maximised;
}

void NoteStartWindow() {
  NoteWindowPlacement();
  // A window that opened as it would without the file needs no file written.
  if (shell.window_saved.width == 0) shell.window_saved = shell.window;
}

void PlaceNextWindow() {
  NoteWindowPlacement();
  SetWindowPlacement(shell.window.width, shell.window.height, shell.window.maximised);
}

void SaveWindowPlacement() {
  NoteWindowPlacement();
  if (library.player_folder.empty() || shell.window.width == 0 || SameWindow(shell.window, shell.window_saved))
    return;
  const shell_window_type window = shell.window;
  // Tried once per change: a folder that refuses it costs no write at every rest.
  shell.window_saved = window;
  WriteFileAtomically(WindowFile(), [&](const std::shared_ptr<TStream>& file) {
    for (int value : {window.width, window.height, window.maximised ? 1 : 0})
      if (!file->WriteLine(IntToText(value))) return false;
    return true;
  });
}
