// Library and persistence: the folder tree below the working directory and the player folder.
// Depends on files/ (folders, modes) and shell/ (the blocking notice).
#pragma once

#include <string>

struct library_state {
  // "players/" + player name + "/" once OpenPlayerFolder has run; "" before.
  std::string player_folder;
};

extern library_state library;

// Puts `library` back to its start values.
void ResetLibraryState();

// Makes one folder ready: lists it, or creates it (no parents) with mode 0777 and lists it
// again. When it can be neither listed nor created, shows the blocking notice
// "Unable to access " + path and returns.
void EnsureFolder(const std::string& path);

// Makes "players" and "players/" + player name ready and sets library.player_folder.
// Does nothing when the player folder is already set. The folder string is set even when a
// folder could not be made; later reads and writes then fail with their own messages.
void OpenPlayerFolder();
