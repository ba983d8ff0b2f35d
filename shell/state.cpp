// The shell's module state, its reset and its hooks on the modules below.
// Depends on shell.h, box/ (the box view's rows), library/ (the pages, saving) and play/ (its hooks).
#include "library/library.h"
#include "play/play.h"
#include "shell/internal.h"

shell_state shell;

void ResetShellState() {
  shell = shell_state{};
  ConnectShellHooks();
}

void ConnectShellHooks() {
  play_hooks.jigsaw_reset.Add([] { shell.pending_confirm = ""; });
  game_hooks.toggle_large_display.Add(ToggleLargeDisplay);
  game_hooks.leaving.Add([] {
    if (!OpeningJigsawFlying()) SaveOnExit();
  });
  game_hooks.leaving.Add(SaveWindowPlacement);
}

bool OpeningJigsawFlying() { return shell.opening_flight && play.jigsaw_name == kStartUpJigsaw; }
