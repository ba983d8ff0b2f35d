// The platform module's state: one instance, nested by concern, with the documented start
// values. Private to platform/ (and its tests); depends on platform/platform.h.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

constexpr int kHookChains = 256;
constexpr int kQueueSize = 256;
constexpr int kCharQueueSize = 256;
constexpr int kMaxTimers = 16;
constexpr int kQueueHookPriority = -10000;

struct hook_entry {
  int priority = 0;
  THookFunc func = nullptr;
  std::shared_ptr<TObject> context;
};

// Posts every emitted TEvent to the queue (merging the ids that merge) and passes it on.
std::shared_ptr<TObject> QueueHook(int id, std::shared_ptr<TObject> data,
                                   std::shared_ptr<TObject> context);
std::map<int, std::string> StartEventNames();

struct platform_state {
  struct hooks_state {
    // Copy on write: a running chain keeps its own reference, so hooks may add or remove
    // entries while it runs and emitting an event allocates nothing.
    using chain = std::shared_ptr<const std::vector<hook_entry>>;
    std::array<chain, kHookChains> chains = StartChains();
    int next_id = EmitEventHook + 1;

    static std::array<chain, kHookChains> StartChains() {
      std::array<chain, kHookChains> chains;
      for (auto& c : chains) c = std::make_shared<const std::vector<hook_entry>>();
      chains[EmitEventHook] = std::make_shared<const std::vector<hook_entry>>(
          std::vector<hook_entry>{{kQueueHookPriority, QueueHook, nullptr}});
      return chains;
    }
  } hooks;

  struct event_names_state {
    std::map<int, std::string> names = StartEventNames();
    int next_user_id = EVENT_USEREVENTMASK;
  } event_names;

  struct queue_state {
    std::array<std::shared_ptr<TEvent>, kQueueSize> ring;
    uint32_t put = 0;  // empty when put == get, full when put - get == kQueueSize
    uint32_t get = 0;
    std::shared_ptr<TEvent> current = std::make_shared<TEvent>();  // the null event
  } queue;

  struct input_state {
    std::array<int, 256> key_down{};
    std::array<int, 256> key_hits{};
    std::array<int, kCharQueueSize> chars{};
    uint32_t char_put = 0;
    uint32_t char_get = 0;
    std::array<int, 4> button_down{};  // 1 left, 2 right, 3 middle
    std::array<int, 4> button_hits{};
    int x = 0, y = 0, z = 0;
    bool suspended = false;
    int terminate = 0;
    bool hook_installed = false;
  } input;

  struct system_state {
    std::shared_ptr<TSystemDriver> driver;
    bool busy = false;  // re-entry guard of PollSystem / WaitSystem
  } system;

  struct display_state {
    std::shared_ptr<TGraphicsDriver> driver;
    int default_flags = 0;
    std::optional<std::vector<TGraphicsMode>> modes;  // cache, dropped when the driver changes
    std::shared_ptr<TGraphics> current;
    int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
    std::shared_ptr<TGraphics> own;  // opened by Graphics
    bool fill = false;               // SetWindowFill
    struct placement_state {         // SetWindowPlacement: 0 x 0 for the default size
      int width = 0, height = 0;
      bool maximised = false;
    } placement;
    bool exit_handler_added = false;
    int seq = 0;
    struct pacing_state {
      bool soft_sync = false;
      bool hard_sync = false;
      int sync_rate = 0;
      int period = 0;       // whole milliseconds per frame
      int fraction = 0;     // milliseconds left over per second
      int accumulator = 0;  // 0 <= accumulator < sync_rate
      int next_time = 0;
    } pacing;
  } display;

  struct timers_state {
    std::map<int, std::shared_ptr<TTimer>> active;  // by system handle
  } timers;

  struct random_state {
    int32_t seed = 0x1234;
  } random;

  struct clock_state {
    std::function<int()> millisecs;  // nullptr: the system clock
    std::function<void(int)> delay;
  } clock;

  struct exit_state {
    std::vector<std::function<void()>> handlers;
  } exit;

  std::string app_title;
};

extern platform_state platform;
