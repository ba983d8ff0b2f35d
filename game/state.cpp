// The game's shared state, its reset and the hook lists. Depends on game.h only.
#include <algorithm>

#include "game/game.h"

game_state game;
game_hooks_type game_hooks;

void ResetGameState() { game = game_state{}; }

void hook_list::Add(void (*hook)()) {
  if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
}

void hook_list::Call() const {
  for (auto hook : hooks_) hook();
}
