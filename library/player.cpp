// The player folder below "players/": made ready once at start-up.
// Depends on files/ (listing, creating folders, modes) and shell/ (the blocking notice).
#include "files/files.h"
#include "library/library.h"
#include "shell/shell.h"

library_state library;

void ResetLibraryState() { library = library_state{}; }

namespace {

// True when path can be opened for listing; the listing is closed again at once.
bool CanList(const std::string& path) {
  auto dir = ReadDir(path);
  if (!dir) return false;
  CloseDir(dir);
  return true;
}

}  // namespace

void EnsureFolder(const std::string& path) {
  if (CanList(path)) return;
  CreateDir(path, false);
  SetFileMode(path, 0777);
  if (CanList(path)) return;
  ShowErrorAndWait("Unable to access " + path);
}

void OpenPlayerFolder() {
  if (!library.player_folder.empty()) return;
  EnsureFolder("players");
  EnsureFolder("players/" + shell.player_name);
  library.player_folder = "players/" + shell.player_name + "/";
}
