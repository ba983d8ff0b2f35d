// The player folder below "players/", made ready once at start-up, and the checks that keep
// names from files and the command line inside the data folders.
// Depends on files/ (listing and creating folders), game/ (the notice) and POSIX (pathconf).
#include <unistd.h>

#include "files/files.h"
#include "game/game.h"
#include "library/internal.h"

library_state library;

void ResetLibraryState() {
  library = library_state{};
  ResetCutScreen();
}

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

std::string PlayerNameFault(const std::string& name) {
  const std::string playing = "; playing as default";
  if (name.empty()) return "The player name is empty" + playing;
  if (name == ".") return "\".\" names the players folder itself, not a player" + playing;
  if (HasNul(name)) return "That player name holds a NUL byte" + playing;
  // The files module reads "\" as "/", so both separate components.
  for (size_t start = 0;;) {
    const size_t end = name.find_first_of("/\\", start);
    if (name.substr(start, end - start) == "..")
      return "That player name would reach outside the players folder" + playing;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  // Whole, so that no folder on the way is longer than the file system takes either.
  long longest = pathconf(".", _PC_NAME_MAX);
  if (longest <= 0) longest = 255;
  if (name.size() > static_cast<size_t>(longest)) {
    return "That player name is " + std::to_string(name.size()) +
           " bytes long; a player name has at most " + std::to_string(longest) + playing;
  }
  return "";
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
  if (const std::string fault = PlayerNameFault(library.player_name); !fault.empty()) {
    ShowErrorAndWait(fault);
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
