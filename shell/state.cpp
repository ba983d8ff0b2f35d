// The shell's module state and its reset. Depends on shell.h only.
#include "shell/shell.h"

shell_state shell;

void ResetShellState() { shell = shell_state{}; }
