// Ending the process: exit handlers run newest first, then exit status 0.
#include <cstdlib>

#include "platform/platform.h"
#include "platform/state.h"

void AddExitHandler(std::function<void()> handler) {
  platform.exit.handlers.push_back(std::move(handler));
}

void End() {
  auto& handlers = platform.exit.handlers;
  while (!handlers.empty()) {
    auto handler = std::move(handlers.back());
    handlers.pop_back();
    handler();
  }
  std::exit(0);
}
