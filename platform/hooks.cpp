// Hook chains: 256 chains of (priority, function, context), run in descending priority.
#include <cassert>

#include "platform/platform.h"
#include "platform/state.h"

int AllocHookId() {
  if (platform.hooks.next_id >= kHookChains) throw TRuntimeException("Too many hook ids");
  return platform.hooks.next_id++;
}

void AddHook(int id, THookFunc func, std::shared_ptr<TObject> context, int priority) {
  assert(id >= 0 && id < kHookChains && func);
  auto chain = *platform.hooks.chains[id];
  auto at = chain.begin();
  while (at != chain.end() && at->priority >= priority) ++at;
  chain.insert(at, {priority, func, std::move(context)});
  platform.hooks.chains[id] = std::make_shared<const std::vector<hook_entry>>(std::move(chain));
}

std::shared_ptr<TObject> RunHooks(int id, std::shared_ptr<TObject> data) {
  assert(id >= 0 && id < kHookChains);
  const auto chain = platform.hooks.chains[id];
  for (const auto& entry : *chain) data = entry.func(id, std::move(data), entry.context);
  return data;
}

void RemoveHook(int id, THookFunc func, std::shared_ptr<TObject> context) {
  assert(id >= 0 && id < kHookChains);
  const auto& chain = *platform.hooks.chains[id];
  for (auto at = chain.begin(); at != chain.end(); ++at) {
    if (at->func == func && at->context == context) {
      auto shorter = chain;
      shorter.erase(shorter.begin() + (at - chain.begin()));
      platform.hooks.chains[id] = std::make_shared<const std::vector<hook_entry>>(std::move(shorter));
      return;
    }
  }
}
