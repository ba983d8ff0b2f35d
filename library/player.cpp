// The player folder below "players/", made ready once at start-up, and the checks that keep
// names from files and the command line inside the data folders.
// Depends on files/ (listing and creating folders) and game/ (the notice).
#include "files/files.h"
#include "game/game.h"
#include "library/library.h"

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

bool HasNul(const std::string& name) { return name.find('\0') != std::string::npos; }

}  // namespace

bool IsPlainJigsawName(const std::string& name) {
  // Hidden folders (a cut still in progress, ".", "..") are never jigsaws.
  return !name.empty() && name[0] != '.' && !HasNul(name) &&
         name.find_first_of("/\\") == std::string::npos;
}

bool IsSafePlayerName(const std::string& name) {
  if (name.empty() || name == "." || HasNul(name)) return false;
  // The files module reads "\" as "/", so both separate components.
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("/\\", start);
    if (name.substr(start, end - start) == "..") return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

void EnsureFolder(const std::string& path) {
  if (CanList(path)) return;
  // The folder is made with 0777 masked by the umask, so other users get only what the player
  // allows; nothing is chmod-ed, least of all a file that stands where the folder should be.
  CreateDir(path, false);
  if (CanList(path)) return;
  ShowErrorAndWait("Unable to access " + path);
}

void OpenPlayerFolder() {
  if (!library.player_folder.empty()) return;
  if (!IsSafePlayerName(library.player_name)) {
    ShowErrorAndWait("That player name would reach outside the players folder; playing as default");
    library.player_name = "default";
  }
  EnsureFolder("players");
  EnsureFolder("players/" + library.player_name);
  library.player_folder = "players/" + library.player_name + "/";
  // Two games saving into one folder would each replace the other's files.
  library.player_lock = LockFolder(library.player_folder, library.player_folder_busy);
  if (library.player_folder_busy) {
    ShowErrorAndWait("Tesselka is already running for the player " + library.player_name +
                     "; this second game ends");
    return;
  }
  if (library.player_lock) RemoveStaleTemporaries(library.player_folder);
}
