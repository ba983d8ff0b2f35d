// Polled input: the hook that keeps key, button, pointer and character state from emitted
// events, its queries, and the guarded calls into the system driver.
#include <array>
#include <utility>

#include "platform/platform.h"
#include "platform/state.h"

namespace {

// The entry of a key or button table, or nullptr for a code outside it.
template <size_t N>
int* Entry(std::array<int, N>& table, int index) {
  return index >= 0 && index < static_cast<int>(N) ? &table[index] : nullptr;
}

// Marks a key or button held; a press counts only when it was up.
template <size_t N>
void Press(std::array<int, N>& down, std::array<int, N>& hits, int index) {
  int* held = Entry(down, index);
  if (held && !*held) {
    *held = 1;
    ++hits[index];
  }
}

template <size_t N>
void Release(std::array<int, N>& down, int index) {
  if (int* held = Entry(down, index)) *held = 0;
}

std::shared_ptr<TObject> PolledInputHook(int, std::shared_ptr<TObject> data,
                                         std::shared_ptr<TObject>) {
  auto event = std::dynamic_pointer_cast<TEvent>(data);
  if (!event) return data;
  auto& in = platform.input;
  const int code = event->data;
  switch (event->id) {
    case EVENT_KEYDOWN:
      Press(in.key_down, in.key_hits, code);
      break;
    case EVENT_KEYUP:
      Release(in.key_down, code);
      break;
    case EVENT_KEYCHAR:
      if (in.char_put - in.char_get < kCharQueueSize) in.chars[in.char_put++ % kCharQueueSize] = code;
      break;
    case EVENT_MOUSEDOWN:
      Press(in.button_down, in.button_hits, code);
      break;
    case EVENT_MOUSEUP:
      Release(in.button_down, code);
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

// Reads and clears the first hit among 1..N-1 without polling; 0 when none.
template <size_t N>
int TakeLowestHit(std::array<int, N>& hits) {
  for (size_t k = 1; k < N; ++k) {
    if (hits[k]) {
      hits[k] = 0;
      return static_cast<int>(k);
    }
  }
  return 0;
}

template <size_t N>
int ReadHits(std::array<int, N>& hits, int index) {
  PollSystem();
  int* count = Entry(hits, index);
  return count ? std::exchange(*count, 0) : 0;
}

template <size_t N>
int ReadDown(std::array<int, N>& down, int index) {
  PollSystem();
  int* held = Entry(down, index);
  return held ? *held : 0;
}

// Waits for the system until take() finds something (nonzero) and returns it.
template <typename Take>
int WaitFor(Take take) {
  for (;;) {
    WaitSystem();
    if (int found = take()) return found;
  }
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

int KeyHit(int code) { return ReadHits(platform.input.key_hits, code); }
int KeyIsDown(int code) { return ReadDown(platform.input.key_down, code); }

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
  return WaitFor([] { return TakeLowestHit(platform.input.key_hits); });
}

int WaitChar() {
  FlushKeys();
  return WaitFor(TakeChar);
}

int MouseHit(int button) { return ReadHits(platform.input.button_hits, button); }
int MouseButtonDown(int button) { return ReadDown(platform.input.button_down, button); }

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
  return WaitFor([] { return TakeLowestHit(platform.input.button_hits); });
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
