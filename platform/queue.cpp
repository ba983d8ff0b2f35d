// The event queue: a ring of 256 events fed by the queue hook, and the current event.
#include "platform/platform.h"
#include "platform/state.h"

namespace {

bool Merges(int id) {
  return id == EVENT_TIMERTICK || id == EVENT_GADGETACTION || id == EVENT_WINDOWMOVE ||
         id == EVENT_WINDOWSIZE;
}

std::shared_ptr<TEvent>& Slot(uint32_t counter) { return platform.queue.ring[counter % kQueueSize]; }

bool QueueEmpty() { return platform.queue.put == platform.queue.get; }

bool IsPointerMove(const TEvent& event) { return event.id == EVENT_MOUSEMOVE; }

void Overwrite(TEvent& queued, const TEvent& event) {
  queued.data = event.data;
  queued.mods = event.mods;
  queued.x = event.x;
  queued.y = event.y;
  queued.extra = event.extra;
}

// Removes the oldest waiting pointer move to make room; false when none waits.
bool DropOldestPointerMove() {
  auto& q = platform.queue;
  for (uint32_t at = q.get; at != q.put; ++at) {
    if (!IsPointerMove(*Slot(at))) continue;
    for (uint32_t next = at + 1; next != q.put; ++next) Slot(next - 1) = std::move(Slot(next));
    --q.put;
    Slot(q.put) = nullptr;
    return true;
  }
  return false;
}

void TakeOldest() {
  auto& q = platform.queue;
  q.current = std::move(Slot(q.get));
  Slot(q.get) = nullptr;
  ++q.get;
}

}  // namespace

std::shared_ptr<TObject> QueueHook(int, std::shared_ptr<TObject> data, std::shared_ptr<TObject>) {
  auto event = std::dynamic_pointer_cast<TEvent>(data);
  if (!event) return nullptr;
  PostEvent(event, Merges(event->id));
  return data;
}

void PostEvent(std::shared_ptr<TEvent> event, bool merge) {
  auto& q = platform.queue;
  if (merge) {
    for (uint32_t at = q.get; at != q.put; ++at) {
      TEvent& queued = *Slot(at);
      if (queued.id == event->id && queued.source == event->source) {
        Overwrite(queued, *event);
        return;
      }
    }
  }
  // A pointer burst shrinks to its latest position; a move behind a key or button stays its
  // own event so the order of clicks, keys and positions is kept.
  if (IsPointerMove(*event) && !QueueEmpty()) {
    TEvent& newest = *Slot(q.put - 1);
    if (IsPointerMove(newest) && newest.source == event->source) {
      Overwrite(newest, *event);
      return;
    }
  }
  if (q.put - q.get == kQueueSize && (IsPointerMove(*event) || !DropOldestPointerMove())) return;
  Slot(q.put) = std::move(event);
  ++q.put;
}

int WaitEvent() {
  while (QueueEmpty()) WaitSystem();
  TakeOldest();
  return platform.queue.current->id;
}

int PollEvent() {
  if (QueueEmpty()) PollSystem();
  if (QueueEmpty()) {
    platform.queue.current = std::make_shared<TEvent>();
    return 0;
  }
  TakeOldest();
  return platform.queue.current->id;
}

std::shared_ptr<TEvent> PeekEvent() {
  if (QueueEmpty()) PollSystem();
  return QueueEmpty() ? nullptr : Slot(platform.queue.get);
}

std::shared_ptr<TEvent> CurrentEvent() { return platform.queue.current; }
int EventID() { return platform.queue.current->id; }
int EventData() { return platform.queue.current->data; }
int EventMods() { return platform.queue.current->mods; }
int EventX() { return platform.queue.current->x; }
int EventY() { return platform.queue.current->y; }
std::shared_ptr<TObject> EventExtra() { return platform.queue.current->extra; }
std::shared_ptr<TObject> EventSource() { return platform.queue.current->source; }
