// TTimer: periodic system timers whose ticks are fired on the main thread by the system
// driver; at most 16 run at once, kept by handle.
#include <algorithm>

#include "platform/platform.h"
#include "platform/state.h"
#include "platform/system.h"

std::shared_ptr<TTimer> TTimer::Create(int hertz, std::shared_ptr<TEvent> event) {
  if (hertz <= 0) return nullptr;
  // Above 1000 Hz the integer period would be 0: run at the fastest period instead.
  return CreateEvery(std::max(1, 1000 / hertz), std::move(event));
}

std::shared_ptr<TTimer> TTimer::CreateEvery(int period_ms, std::shared_ptr<TEvent> event) {
  if (period_ms <= 0 || static_cast<int>(platform.timers.active.size()) >= kMaxTimers) return nullptr;
  const int handle = StartSystemTimer(period_ms);
  if (!handle) return nullptr;
  auto timer = std::make_shared<TTimer>();
  timer->_period_ms = period_ms;
  timer->_event = std::move(event);
  timer->_handle = handle;
  platform.timers.active[handle] = timer;
  return timer;
}

int TTimer::Ticks() const { return _ticks; }

void TTimer::Stop() {
  if (!_handle) return;
  if (!_paused) StopSystemTimer(_handle);
  _paused = false;
  // Keep this object alive until the end of the call: the table may hold the last reference.
  auto self = shared_from_this();
  platform.timers.active.erase(_handle);
  _handle = 0;
  _event = nullptr;
}

void TTimer::Pause() {
  if (!_handle || _paused) return;
  StopSystemTimer(_handle);
  _paused = true;
}

// A new system handle: a tick of the old one still queued is then ignored like a stopped timer's.
void TTimer::Resume() {
  if (!_handle || !_paused) return;
  const int handle = StartSystemTimer(_period_ms);
  if (!handle) return;
  auto entry = platform.timers.active.extract(_handle);
  entry.key() = handle;
  platform.timers.active.insert(std::move(entry));
  _handle = handle;
  _paused = false;
}

void TTimer::Fire() {
  if (!_handle || _paused) return;  // a tick sent before the pause comes late
  ++_ticks;
  auto event = _event ? _event : TEvent::Create(EVENT_TIMERTICK, shared_from_this(), _ticks);
  event->Emit();
}

int TTimer::Wait() {
  if (!_handle) return 0;
  while (_ticks == _wticks && _handle && !_paused) WaitSystem();
  const int fired = _ticks - _wticks;
  _wticks = _ticks;
  return fired;
}

std::shared_ptr<TTimer> CreateTimer(int hertz, std::shared_ptr<TEvent> event) {
  return TTimer::Create(hertz, std::move(event));
}

void FireTimer(int handle) {
  auto found = platform.timers.active.find(handle);
  if (found == platform.timers.active.end()) return;
  auto timer = found->second;  // Fire may stop it from a hook
  timer->Fire();
}
