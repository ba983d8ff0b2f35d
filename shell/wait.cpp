// Waiting inside one turn (the celebration, the help zoom) without the window going dead.
// Depends on platform/.
#include "platform/platform.h"
#include "shell/internal.h"

bool WaitAlive(int t, int ms, bool (*stop)()) {
  for (;;) {
    // Polling moves new input into the queue, where the loop finds it afterwards.
    PollSystem();
    if (AppTerminate()) EndProgram();
    if (stop && stop()) return true;
    int since = Millisecs() - t;  // wraps like the clock
    if (since > ms || since < 0) return false;
    Delay(1);
  }
}
