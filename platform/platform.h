// Platform services: the runtime-exception base, ending the process, events and polled input,
// the display module with frame pacing, the timer, the clock and random numbers.
// Depends on the C++ library and pixmaps (draw/pixmap.h, for pointer pictures); the SDL2
// implementation lives in platform/sdl/.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class TPixmap;

// Base of every error the framework raises (stream errors, "Too many hook ids",
// "Unable to calculate tex size"). Expected failures are reported by results instead.
class TRuntimeException : public std::runtime_error {
 public:
  explicit TRuntimeException(const std::string& message) : std::runtime_error(message) {}
  virtual std::string ToString() const { return what(); }
};

// Root of the objects that travel through hooks and events (event sources, payloads, the
// data of a hook chain). Always held by std::shared_ptr.
class TObject : public std::enable_shared_from_this<TObject> {
 public:
  virtual ~TObject() = default;
};

// A text carried as an object (an event's extra payload prints as this text).
class TStringObject : public TObject {
 public:
  explicit TStringObject(std::string text) : value(std::move(text)) {}
  std::string value;
};

// What one drop on a window brought, the extra of "WindowAccept": the paths of the local files
// dropped, in order (value holds the first, "" when there was none), and how many other things
// came with them as text. A web address may come as text or as nothing at all, so a drop without
// files brought only things that are not on this computer.
class TDropObject : public TStringObject {
 public:
  TDropObject(std::vector<std::string> paths, int other_items)
      : TStringObject(paths.empty() ? "" : paths.front()),
        files(std::move(paths)),
        others(other_items) {}
  std::vector<std::string> files;
  int others = 0;
};

// ---------------------------------------------------------------------------------------------
// Start-up and ending the process

// Brings the operating-system side up: SDL video, timer and events, and the SDL system driver
// that feeds the event hook chain. Returns false (and leaves no driver installed) when SDL
// cannot start or would only reach a video driver that shows nothing (no display). Calling it
// again after success does nothing.
bool StartPlatform();

// Takes the system layer down in order, whichever way the process ends: timers stop, every
// OpenGL context and window closes, then SDL itself. StartPlatform registers it with atexit,
// so static destructors find nothing left to free in SDL; graphics objects still held close
// to nothing. Calling it again does nothing; StartPlatform may start afresh afterwards.
void ShutdownPlatform();

// Puts every platform module back to its start values: hook chains (with the queue hook),
// event queue, polled input, display state (the own context is closed and the graphics driver
// forgotten), running timers are stopped, random seed, exit handlers, clock, application
// title. The system driver stays. For tests.
void ResetPlatform();

// Registers a handler that End() runs. Handlers run in reverse order of registration.
void AddExitHandler(std::function<void()> handler);

// Ends the process with exit status 0 after running the exit handlers (newest first). Each
// handler is unregistered before it runs, so an exception thrown by a handler propagates out
// of End() without ending the process, leaving the older handlers registered; tests use this
// to intercept the end.
[[noreturn]] void End();

// The application title, used as the caption of every window opened afterwards (and applied
// to the open windows at once). Empty at start.
void SetAppTitle(const std::string& title);
std::string AppTitle();

// ---------------------------------------------------------------------------------------------
// Clock, sleep and random numbers

// Milliseconds since the platform started; a 32-bit count that wraps.
int Millisecs();
// Blocks the calling thread for millis milliseconds (nothing when millis <= 0).
void Delay(int millis);

// Replaces the clock and sleep used by Millisecs, Delay and frame pacing (tests drive pacing
// with a fake clock). nullptr restores the real one for that function.
void SetClock(std::function<int()> millisecs, std::function<void(int)> delay);

// Park-Miller minimal standard generator (multiplier 48271, Schrage's method).
// seed := value AND 0x7FFFFFFF; 0 and 0x7FFFFFFF become 0x1234, the start value.
void SeedRnd(int value);
int RndSeed();  // the current seed
// A double in [0, 1) built from two steps of the generator.
double Rnd();
// An integer between low and high, both included; the bounds may come in either order.
int Rand(int low, int high);

// ---------------------------------------------------------------------------------------------
// Events

constexpr int EVENT_APPSUSPEND = 0x101;
constexpr int EVENT_APPRESUME = 0x102;
constexpr int EVENT_APPTERMINATE = 0x103;
constexpr int EVENT_APPOPENFILE = 0x104;
constexpr int EVENT_APPIDLE = 0x105;
constexpr int EVENT_KEYDOWN = 0x201;
constexpr int EVENT_KEYUP = 0x202;
constexpr int EVENT_KEYCHAR = 0x203;
constexpr int EVENT_KEYREPEAT = 0x204;
constexpr int EVENT_MOUSEDOWN = 0x401;
constexpr int EVENT_MOUSEUP = 0x402;
constexpr int EVENT_MOUSEMOVE = 0x403;
constexpr int EVENT_MOUSEWHEEL = 0x404;
constexpr int EVENT_MOUSEENTER = 0x405;
constexpr int EVENT_MOUSELEAVE = 0x406;
constexpr int EVENT_TIMERTICK = 0x801;
constexpr int EVENT_HOTKEYHIT = 0x1001;
constexpr int EVENT_GADGETACTION = 0x2001;
constexpr int EVENT_GADGETPAINT = 0x2002;
constexpr int EVENT_GADGETSELECT = 0x2003;
constexpr int EVENT_GADGETMENU = 0x2004;
constexpr int EVENT_GADGETOPEN = 0x2005;
constexpr int EVENT_GADGETCLOSE = 0x2006;
constexpr int EVENT_GADGETDONE = 0x2007;
constexpr int EVENT_GADGETLOSTFOCUS = 0x2008;
constexpr int EVENT_GADGETSHAPE = 0x2009;
constexpr int EVENT_WINDOWMOVE = 0x4001;
constexpr int EVENT_WINDOWSIZE = 0x4002;
constexpr int EVENT_WINDOWCLOSE = 0x4003;
constexpr int EVENT_WINDOWACTIVATE = 0x4004;
constexpr int EVENT_WINDOWACCEPT = 0x4005;  // a drop on the window: extra is a TDropObject
constexpr int EVENT_MENUACTION = 0x8001;
constexpr int EVENT_STREAMEOF = 0x10001;
constexpr int EVENT_STREAMAVAIL = 0x10002;
constexpr int EVENT_PROCESSEXIT = 0x20001;
constexpr int EVENT_WORKDONE = 0x40001;  // background work finished (see RunInBackground)
// User ids are negative: AllocUserId counts up from 0x80000000.
constexpr int EVENT_USEREVENTMASK = static_cast<int>(0x80000000u);

// Modifier bits of TEvent::mods.
constexpr int MODIFIER_SHIFT = 1;
constexpr int MODIFIER_CONTROL = 2;
constexpr int MODIFIER_OPTION = 4;  // Alt
constexpr int MODIFIER_SYSTEM = 8;  // the Windows / Super key

// Virtual-key codes (Windows numbering). Letters are 'A'..'Z' (65-90) and digits '0'..'9'
// (48-57) whatever the Shift state.
constexpr int KEY_BACKSPACE = 8;
constexpr int KEY_TAB = 9;
constexpr int KEY_CLEAR = 12;
constexpr int KEY_RETURN = 13;
constexpr int KEY_PAUSE = 19;
constexpr int KEY_CAPSLOCK = 20;
constexpr int KEY_ESCAPE = 27;
constexpr int KEY_SPACE = 32;
constexpr int KEY_PAGEUP = 33;
constexpr int KEY_PAGEDOWN = 34;
constexpr int KEY_END = 35;
constexpr int KEY_HOME = 36;
constexpr int KEY_LEFT = 37;
constexpr int KEY_UP = 38;
constexpr int KEY_RIGHT = 39;
constexpr int KEY_DOWN = 40;
constexpr int KEY_PRINTSCREEN = 44;
constexpr int KEY_INSERT = 45;
constexpr int KEY_DELETE = 46;
constexpr int KEY_LSYS = 91;
constexpr int KEY_RSYS = 92;
constexpr int KEY_MENU = 93;
constexpr int KEY_NUM0 = 96;  // keypad digits 96..105
constexpr int KEY_NUMMULTIPLY = 106;
constexpr int KEY_NUMADD = 107;
constexpr int KEY_NUMSUBTRACT = 109;
constexpr int KEY_NUMDECIMAL = 110;
constexpr int KEY_NUMDIVIDE = 111;
constexpr int KEY_F1 = 112;  // F1..F12 are 112..123
constexpr int KEY_NUMLOCK = 144;
constexpr int KEY_SCROLLLOCK = 145;
constexpr int KEY_LSHIFT = 160;
constexpr int KEY_RSHIFT = 161;
constexpr int KEY_LCONTROL = 162;
constexpr int KEY_RCONTROL = 163;
constexpr int KEY_LALT = 164;
constexpr int KEY_RALT = 165;
constexpr int KEY_SEMICOLON = 186;
constexpr int KEY_EQUALS = 187;  // the key carrying = and +
constexpr int KEY_COMMA = 188;
constexpr int KEY_MINUS = 189;
constexpr int KEY_PERIOD = 190;
constexpr int KEY_SLASH = 191;
constexpr int KEY_TILDE = 192;
constexpr int KEY_OPENBRACKET = 219;
constexpr int KEY_BACKSLASH = 220;
constexpr int KEY_CLOSEBRACKET = 221;
constexpr int KEY_QUOTES = 222;

// One input or system event. Events are shared: create them with TEvent::Create.
class TEvent : public TObject {
 public:
  int id = 0;
  std::shared_ptr<TObject> source;  // the timer for "TimerTick"; none for input
  int data = 0;                     // key code, button, wheel steps, tick count, character
  int mods = 0;                     // MODIFIER_* bits
  int x = 0;
  int y = 0;
  std::shared_ptr<TObject> extra;  // none for every event of this program

  static std::shared_ptr<TEvent> Create(int id, std::shared_ptr<TObject> source = nullptr,
                                        int data = 0, int mods = 0, int x = 0, int y = 0,
                                        std::shared_ptr<TObject> extra = nullptr);
  // Runs the EmitEventHook chain with this event as data.
  void Emit();
  // name + ": data=" + data + ", mods=" + mods + ", x=" + x + ", y=" + y + ", extra=\"" +
  // extra text + "\"". Ids without a name give "Unknown Event, id=" + id, or for negative ids
  // "UserEvent" + (id - 0x80000000).
  std::string ToString() const;
};

void RegisterId(int id, const std::string& name);
std::string DescriptionForId(int id);  // "" when the id has no name
int AllocUserId();                     // the next user id (negative)

// ---------------------------------------------------------------------------------------------
// Hooks: 256 chains indexed by hook id. A hook function gets (hook id, data, context) and
// returns the data passed to the next entry.

using THookFunc = std::shared_ptr<TObject> (*)(int id, std::shared_ptr<TObject> data,
                                               std::shared_ptr<TObject> context);

// The chain every TEvent::Emit runs; reserved at start.
constexpr int EmitEventHook = 0;

// A new hook id. Throws TRuntimeException "Too many hook ids" when ids reach 256.
int AllocHookId();
// Inserts after every entry of priority >= priority (higher priorities run first, equal
// priorities in the order they were added).
void AddHook(int id, THookFunc func, std::shared_ptr<TObject> context, int priority);
// Runs the chain and returns the last result (data itself for an empty chain).
std::shared_ptr<TObject> RunHooks(int id, std::shared_ptr<TObject> data);
// Removes the first entry with this function and context; nothing when there is none.
void RemoveHook(int id, THookFunc func, std::shared_ptr<TObject> context);

// ---------------------------------------------------------------------------------------------
// Event queue: a ring of 256 events. The queue hook (priority -10000 on EmitEventHook) posts
// every emitted event, merging "TimerTick", "GadgetAction", "WindowMove" and "WindowSize".

// With merge, the oldest queued event of the same id and source takes the new data, mods, x,
// y and extra and nothing is added. Otherwise a full queue drops the new event.
void PostEvent(std::shared_ptr<TEvent> event, bool merge = false);
// Waits (WaitSystem) until an event is queued, makes it current and returns its id.
int WaitEvent();
// Polls once if the queue is empty; returns the id of the event taken, or 0 (the null event
// becomes current).
int PollEvent();
// The next queued event without taking it (polls once if empty), or nullptr.
std::shared_ptr<TEvent> PeekEvent();
// The current event (the null event, all fields zero, before any is taken).
std::shared_ptr<TEvent> CurrentEvent();
int EventID();
int EventData();
int EventMods();
int EventX();
int EventY();
std::shared_ptr<TObject> EventExtra();
std::shared_ptr<TObject> EventSource();

// ---------------------------------------------------------------------------------------------
// System driver and polled input

// The operating-system service. Poll delivers every pending message as emitted events without
// waiting; Wait sleeps until at least one message is pending, then polls.
class TSystemDriver {
 public:
  virtual ~TSystemDriver() = default;
  virtual void Poll() = 0;
  virtual void Wait() = 0;
  virtual void MoveMouse(int x, int y) = 0;  // display (client) coordinates
  virtual void SetMouseVisible(bool visible) = 0;
  // The pointer picture of the frame being drawn (see ShowPointerPicture); a driver without
  // pointers of its own refuses it.
  virtual bool ShowPointerPicture(const std::shared_ptr<TPixmap>& /*picture*/, int /*hot_x*/,
                                  int /*hot_y*/) {
    return false;
  }
  // Called once a frame is presented: shows the pointer that frame asked for, or none.
  virtual void PresentPointer() {}
};

// The installed system driver (nullptr before StartPlatform; then polling does nothing).
void SetSystemDriver(std::shared_ptr<TSystemDriver> driver);
std::shared_ptr<TSystemDriver> SystemDriver();

// The driver's Poll / Wait; a call made while one of them runs (from a hook) does nothing.
void PollSystem();
void WaitSystem();

// Installs (or removes) the polled-input hook on EmitEventHook at priority 0; both flush keys
// and buttons. Graphics installs it; the display's close removes it.
void EnablePolledInput();
void DisablePolledInput();

// Queries poll the system first. Hit counts are reset by reading them.
int KeyHit(int code);
int KeyIsDown(int code);
int GetChar();  // oldest typed character (a code point), 0 when none
void FlushKeys();
int WaitKey();   // lowest key code hit; the key event stays queued
int WaitChar();  // next typed character
int MouseHit(int button);  // buttons 1 left, 2 right, 3 middle
int MouseButtonDown(int button);
int MouseX();
int MouseY();
int MouseZ();  // accumulated wheel steps
void FlushMouse();
int WaitMouse();  // lowest button hit
int AppSuspended();
int AppTerminate();  // close requests since the last call

// ---------------------------------------------------------------------------------------------
// Display

// One display mode.
struct TGraphicsMode {
  int width = 0;
  int height = 0;
  int depth = 0;  // bits per pixel
  int hertz = 0;
  // width + "," + height + "," + depth + " " + hertz + "Hz", e.g. "800,600,32 60Hz".
  std::string ToString() const;
};

class TGraphicsDriver;

// Creation flags of a graphics context.
constexpr int GRAPHICS_BACKBUFFER = 2;
constexpr int GRAPHICS_ALPHABUFFER = 4;
constexpr int GRAPHICS_DEPTHBUFFER = 8;
constexpr int GRAPHICS_STENCILBUFFER = 16;
constexpr int GRAPHICS_ACCUMBUFFER = 32;
// Full screen in the desktop's own mode, whatever modes the screen offers.
constexpr int GRAPHICS_DESKTOPMODE = 64;

// An open display (window or full-screen mode) made by a graphics driver.
class TGraphics : public TObject {
 public:
  virtual std::shared_ptr<TGraphicsDriver> Driver() = 0;
  virtual void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) = 0;
  // Releases the window or mode; the context is unusable afterwards. Closing twice is harmless.
  virtual void Close() = 0;
};

// A factory of graphics contexts.
class TGraphicsDriver : public TObject {
 public:
  virtual std::vector<TGraphicsMode> GraphicsModes() = 0;
  // Wraps a window the caller owns (an SDL_Window* for the OpenGL driver); nullptr on failure.
  virtual std::shared_ptr<TGraphics> AttachGraphics(void* handle, int flags) = 0;
  // depth 0 opens a window, any other depth a full-screen mode; nullptr on failure.
  virtual std::shared_ptr<TGraphics> CreateGraphics(int width, int height, int depth,
                                                    int hertz, int flags) = 0;
  // Makes the context (or none) current for drawing.
  virtual void SetGraphics(std::shared_ptr<TGraphics> graphics) = 0;
  // Presents the current context's back buffer; sync != 0 waits for the vertical blank.
  virtual void Flip(int sync) = 0;
  // The current context's size changed (a resize of a filled window, SetWindowFill): what the
  // driver keeps for drawing at the old size follows. Nothing by default.
  virtual void Resized() {}
};

// The one OpenGL graphics driver: SDL windows with an OpenGL compatibility context, double
// buffered with GRAPHICS_BACKBUFFER. Created on first use; needs StartPlatform for anything
// but construction.
std::shared_ptr<TGraphicsDriver> GLGraphicsDriver();

// The desktop's current refresh rate in Hz; 0 when the system reports none or SDL is down.
int DesktopHertz();

// The pixel size of the current context's window. It differs from GraphicsWidth() x
// GraphicsHeight() where a laid-out picture is scaled into a window of another size (full
// screen in the desktop's mode, a resized window); 0, 0 without a context.
void GraphicsPixelSize(int& width, int& height);
// True once after the current context's window was uncovered, resized or restored: what it
// showed may be gone, so the next frame must be presented even when it repeats the last.
bool GraphicsExposed();

// How frames reach the windows the driver opened. Laid out (the start value): the picture keeps
// the size the display was opened at (GraphicsWidth() x GraphicsHeight()) and is drawn centred
// in a window of any other size, scaled to fit with its aspect kept; pointer positions are
// mapped back into it. Filled: the picture is the window's own pixels, GraphicsWidth() x
// GraphicsHeight() is the window's pixel size and the pointer is in window pixels. The polled
// pointer is mapped into the new mode at once. The size a frame is drawn at is settled here
// (call it as a frame starts) and after each Flip, never in the middle of a frame; a resize
// meanwhile emits "WindowSize" (x, y: the window's new pixel size).
void SetWindowFill(bool fill);
bool WindowFill();
// The scale the desktop asks for on high-density screens: GDK_SCALE where set (1..4), else
// the X resources' Xft.dpi / 96 rounded down (1..4); 1 where neither says more.
int DisplayScale();
// The size (in window pixels) and state the next window opens at; 0 x 0 (the start value)
// opens at the size asked for times DisplayScale(). Either way no smaller than the size asked
// for, which is also the window's minimum size, and no larger than the desktop's usable area.
void SetWindowPlacement(int width, int height, bool maximised);
// The current window's size (window pixels) and whether it is maximised; false, nothing
// changed, without a current window of the driver's own (full screen included).
bool GetWindowPlacement(int& width, int& height, bool& maximised);
// Presenting parts of the current context's back buffer: FlipRegions copies the regions (x, y,
// width, height in GL window pixels, origin bottom-left) to the screen and keeps the back
// buffer as drawn, without waiting for the vertical blank. Only where the platform offers it
// (GLX_MESA_copy_sub_buffer on X11); elsewhere CanFlipRegions is false and FlipRegions does
// nothing and returns false.
bool CanFlipRegions();
bool FlipRegions(const std::vector<std::array<int, 4>>& regions);

// Where a picture of width x height lands in a window of pixel_width x pixel_height: as large
// as fits with its aspect kept, centred, the rest left for black bars.
struct picture_fit {
  int x = 0, y = 0, w = 0, h = 0;
};
picture_fit FitPicture(int width, int height, int pixel_width, int pixel_height);

// Stores the driver and its default flags (ORed into every creation); see Graphics.
void SetGraphicsDriver(std::shared_ptr<TGraphicsDriver> driver, int default_flags);
std::shared_ptr<TGraphicsDriver> GetGraphicsDriver();
// A copy of the driver's mode list, fetched once per driver. Empty without a driver.
std::vector<TGraphicsMode> GraphicsModes();
// Opens a display (depth 0: window) after closing the one Graphics opened before. Returns
// nullptr when the driver cannot make it; no display is open then.
std::shared_ptr<TGraphics> Graphics(int width, int height, int depth, int hertz, int flags);
// Makes a context (or none) current.
void SetGraphics(std::shared_ptr<TGraphics> graphics);
void CloseGraphics(std::shared_ptr<TGraphics> graphics);
// Settings of the current context; 0 when none is current.
int GraphicsWidth();
int GraphicsHeight();
int GraphicsDepth();
int GraphicsHertz();
// Presents the frame: 1 waits for the vertical blank, 0 does not, -1 paces by the display's
// hertz (software pacing in a window, vertical blank in full screen). Needs an open display.
void Flip(int sync);
// Advanced whenever a display is opened or closed or the driver changes; never 0 afterwards.
int GraphicsSeq();

// The system pointer is hidden only while it is over the program's window.
void HideMouse();
void ShowMouse();
// The window system's pointer showing a picture, so that a pointer moving over a still frame
// redraws nothing: asks for the picture, its hot spot at pixel (hot_x, hot_y), as the pointer
// over the program's window of the frame being drawn. It shows from the frame's Flip on, at the
// scale the window shows the frame; a frame flipped without asking shows no pointer there (the
// system's own after ShowMouse). False where the window system cannot show it (no window, no
// colour pointers, a hot spot outside the picture, over 256 pixels a side in the window): the
// caller draws it into the frame then.
// The picture is read when first asked for: a changed picture comes as a new pixmap.
bool ShowPointerPicture(const std::shared_ptr<TPixmap>& picture, int hot_x, int hot_y);
// Moves the pointer to display (client) coordinates.
void MoveMouse(int x, int y);

// ---------------------------------------------------------------------------------------------
// Background work: one worker thread, started on first use. OpenGL, windows and the state of
// every module stay with the main thread: a job gets what it needs as plain values, runs on the
// worker, and returns the step that the main thread runs when it takes the work back.

// Run on the main thread by TakeFinishedWork; nullptr for nothing.
using TWorkDone = std::function<void()>;
// Runs on the worker thread and must not throw. stop is set once the program is ending: a job
// may give up early when it sees it (a job that must finish, such as a save, simply finishes).
using TWorkJob = std::function<TWorkDone(const std::atomic<bool>& stop)>;

// Queues job for the worker; jobs run one at a time in the order given. When one finishes, the
// system driver emits a "WorkDone" event on the main thread, which ends a WaitEvent.
void RunInBackground(TWorkJob job);
// On the main thread: runs the TWorkDone steps of the jobs finished so far, in order; returns
// how many jobs were taken back.
int TakeFinishedWork();
// Jobs given and not yet taken back by TakeFinishedWork.
int WorkOutstanding();
// Blocks the calling (main) thread until every job given has finished; their steps are left
// for TakeFinishedWork.
void WaitForWork();
// Sets the stop flag, lets the worker finish what was given (jobs that look at the flag end
// early), joins the thread and forgets the untaken steps. Registered with atexit when the
// worker starts, so a program ending with work under way never leaves the thread running
// into static destruction. The next RunInBackground starts a fresh worker. When the work
// given does not finish within wait_ms (a job stuck in the system) it returns false and
// leaves the thread to end with the process; later calls then do not wait again until the
// thread has been joined.
bool StopWorker(int wait_ms = 2000);

// ---------------------------------------------------------------------------------------------
// Timer

// A periodic timer. Ticks arrive as messages on the main thread while it polls or waits.
class TTimer : public TObject {
 public:
  int _ticks = 0;
  int _wticks = 0;
  std::shared_ptr<TEvent> _event;
  int _handle = 0;  // system timer handle; 0 when stopped
  int _period_ms = 0;
  bool _paused = false;  // the system timer is stopped until Resume

  // At most 16 timers run at once; nullptr when that many run or the system refuses.
  // Without event, each tick emits a "TimerTick" from this timer carrying the tick count.
  static std::shared_ptr<TTimer> Create(int hertz, std::shared_ptr<TEvent> event = nullptr);
  // The same with a period in milliseconds (a wake-up at a distant moment: stop it after its
  // first tick).
  static std::shared_ptr<TTimer> CreateEvery(int period_ms, std::shared_ptr<TEvent> event = nullptr);
  int Ticks() const;
  void Stop();
  // Pause stops the ticks (and the system's wake-ups for them) but keeps the timer; Resume
  // starts them again a whole period later. Both do nothing on a stopped timer.
  void Pause();
  void Resume();
  void Fire();  // one tick (called on the main thread when the system's message arrives)
  // Waits until at least one tick has fired since the last Wait; returns how many. 0 when
  // stopped or paused.
  int Wait();
};

std::shared_ptr<TTimer> CreateTimer(int hertz, std::shared_ptr<TEvent> event = nullptr);
