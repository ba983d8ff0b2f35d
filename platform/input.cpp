// Polled input: the hook that keeps key, button, pointer and character state from emitted
// events, its queries, and the guarded calls into the system driver.
#include <cassert>

#include "platform/platform.h"
#include "platform/state.h"

namespace {

bool ValidKey(int code) { return code >= 0 && code < 256; }
bool ValidButton(int button) { return button >= 0 && button < 4; }

std::shared_ptr<TObject> PolledInputHook(int, std::shared_ptr<TObject> data,
                                         std::shared_ptr<TObject>) {
  auto event = std::dynamic_pointer_cast<TEvent>(data);
  if (!event) return data;
  auto& in = platform.input;
  const int code = event->data;
  switch (event->id) {
    case EVENT_KEYDOWN:
      if (ValidKey(code) && !in.key_down[code]) {
        in.key_down[code] = 1;
        ++in.key_hits[code];
      }
      break;
    case EVENT_KEYUP:
      if (ValidKey(code)) in.key_down[code] = 0;
      break;
    case EVENT_KEYCHAR:
      if (in.char_put - in.char_get < kCharQueueSize) in.chars[in.char_put++ % kCharQueueSize] = code;
      break;
    case EVENT_MOUSEDOWN:
      if (ValidButton(code) && !in.button_down[code]) {
        in.button_down[code] = 1;
        ++in.button_hits[code];
      }
      break;
    case EVENT_MOUSEUP:
      if (ValidButton(code)) in.button_down[code] = 0;
      break;
    case EVENT_MOUSEMOVE:
      in.x = event->x;
      in.y = event->y;
      break;
    case EVENT_MOUSEWHEEL:
      in.z += code;
      break;
    case EVENT_APPSUSPEND:
    case EVENT_APPRESUME:
      FlushKeys();
      FlushMouse();
      in.suspended = event->id == EVENT_APPSUSPEND;
      break;
    case EVENT_APPTERMINATE:
      in.terminate = 1;
      break;
  }
  return data;
}

// Reads and clears the first hit among 1..count-1 without polling; 0 when none.
int TakeLowestHit(int* hits, int count) {
  for (int k = 1; k < count; ++k) {
    if (hits[k]) {
      hits[k] = 0;
      return k;
    }
  }
  return 0;
}

int TakeChar() {
  auto& in = platform.input;
  if (in.char_get == in.char_put) return 0;
  return in.chars[in.char_get++ % kCharQueueSize];
}

// Runs the driver operation unless one is already running (called from inside a hook).
template <typename Action>
void Guarded(Action action) {
  auto& sys = platform.system;
  if (sys.busy || !sys.driver) return;
  struct Busy {
    bool& flag;
    explicit Busy(bool& f) : flag(f) { flag = true; }
    ~Busy() { flag = false; }
  } busy(sys.busy);
  action(*sys.driver);
}

}  // namespace

void SetSystemDriver(std::shared_ptr<TSystemDriver> driver) { platform.system.driver = std::move(driver); }
std::shared_ptr<TSystemDriver> SystemDriver() { return platform.system.driver; }

void PollSystem() { Guarded([](TSystemDriver& d) { d.Poll(); }); }
void WaitSystem() { Guarded([](TSystemDriver& d) { d.Wait(); }); }

void EnablePolledInput() {
  if (platform.input.hook_installed) return;
  FlushKeys();
  FlushMouse();
  AddHook(EmitEventHook, PolledInputHook, nullptr, 0);
  platform.input.hook_installed = true;
}

void DisablePolledInput() {
  if (!platform.input.hook_installed) return;
  RemoveHook(EmitEventHook, PolledInputHook, nullptr);
  platform.input.hook_installed = false;
  FlushKeys();
  FlushMouse();
}

int KeyHit(int code) {
  PollSystem();
  if (!ValidKey(code)) return 0;
  int hits = platform.input.key_hits[code];
  platform.input.key_hits[code] = 0;
  return hits;
}

int KeyIsDown(int code) {
  PollSystem();
  return ValidKey(code) ? platform.input.key_down[code] : 0;
}

int GetChar() {
  PollSystem();
  return TakeChar();
}

void FlushKeys() {
  PollSystem();
  auto& in = platform.input;
  in.char_get = in.char_put;
  in.key_down.fill(0);
  in.key_hits.fill(0);
}

int WaitKey() {
  FlushKeys();
  for (;;) {
    WaitSystem();
    if (int key = TakeLowestHit(platform.input.key_hits.data(), 256)) return key;
  }
}

int WaitChar() {
  FlushKeys();
  for (;;) {
    WaitSystem();
    if (int ch = TakeChar()) return ch;
  }
}

int MouseHit(int button) {
  PollSystem();
  if (!ValidButton(button)) return 0;
  int hits = platform.input.button_hits[button];
  platform.input.button_hits[button] = 0;
  return hits;
}

int MouseButtonDown(int button) {
  PollSystem();
  return ValidButton(button) ? platform.input.button_down[button] : 0;
}

int MouseX() {
  PollSystem();
  return platform.input.x;
}

int MouseY() {
  PollSystem();
  return platform.input.y;
}

int MouseZ() {
  PollSystem();
  return platform.input.z;
}

void FlushMouse() {
  PollSystem();
  auto& in = platform.input;
  in.button_down.fill(0);
  in.button_hits.fill(0);
  in.z = 0;
}

int WaitMouse() {
  FlushMouse();
  for (;;) {
    WaitSystem();
    if (int button = TakeLowestHit(platform.input.button_hits.data(), 4)) return button;
  }
}

int AppSuspended() {
  PollSystem();
  return platform.input.suspended ? 1 : 0;
}

int AppTerminate() {
  PollSystem();
  int requests = platform.input.terminate;
  platform.input.terminate = 0;
  return requests;
}
