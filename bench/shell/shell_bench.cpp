// One whole turn of the frame loop on the table of 300 scattered, visible pieces, beside its
// floor measured in the same run: the same 300 textured quads drawn with bare OpenGL
// (bench/draw/gl_floor.h), and one turn carrying a piece beside the same floor. And the game's
// CPU time and the wake-ups of all its threads over 10 s of the real loop, on the idle table
// and carrying a piece across it while xdotool moves the real pointer 100 times a second, with
// frames reused beside drawing everything every turn; and moving the pointer over the still
// table as fast, the window system showing the pointer beside the pointer drawn into the frame.
// Big tables beside today's: carrying over 2000 pieces beside carrying over 300, dragging the
// table of 2000 along the same path beside carrying over 300, and the turn that takes a wheel
// notch over 2000 pieces beside a carrying turn over 300.
// Depends on shell/, play/, draw/, platform/, the play benchmark's jigsaw and its floor, and the
// ratio report. Needs a display and xdotool: run it under xvfb-run.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <dirent.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "bench/play/bench_jigsaw.h"
#include "bench/support/ratio_reporter.h"
#include "draw/draw.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"

namespace {

// The benchmark game on the table, the opening flight over, with its 300 pieces (laid out
// afresh after a figure of 2000).
bool GameReady() {
  static const bool ready = [] {
    if (!StartBenchGame()) return false;
    game.screen = "jigsaw";
    shell.opening_flight = false;
    shell.pointer_visible = true;
    return true;
  }();
  if (ready && play.piece_count != 300) SpreadBenchPieces(300);
  return ready;
}

void BM_Floor_BareGL300Quads(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  MeasureTableFloor(state);
}
BENCHMARK(BM_Floor_BareGL300Quads)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_LoopTurn300Pieces(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  SetFrameReuse(false);  // a turn that draws and presents the whole table
  for (auto _ : state) {
    // Something to take, so the turn does not sit out a timer period in WaitEvent.
    TEvent::Create(EVENT_APPIDLE)->Emit();
    LoopTurn();
  }
}
BENCHMARK(BM_LoopTurn300Pieces)->Unit(benchmark::kMillisecond)->MinTime(2);

constexpr double kMeasuredSeconds = 10;

double Seconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Context switches of every thread of the process so far: each one is a wake-up (a thread that
// blocks and runs again, or is preempted).
long ContextSwitches() {
  long total = 0;
  DIR* tasks = opendir("/proc/self/task");
  if (!tasks) return 0;
  while (const dirent* task = readdir(tasks)) {
    if (task->d_name[0] == '.') continue;
    std::ifstream status(std::string("/proc/self/task/") + task->d_name + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.find("ctxt_switches:") != std::string::npos) total += std::stol(line.substr(line.find(':') + 1));
    }
  }
  closedir(tasks);
  return total;
}

// Runs the real loop for 10 s of wall time and reports the process's CPU time (every thread,
// the software renderer's included) as the iteration time, its share of one core, the frames
// presented and the wake-ups of all its threads per second.
// A loop that waits for input alone returns from its last turn only with input: the caller
// makes sure some arrives after the 10 s.
void MeasureLoop(benchmark::State& state) {
  const frame_counts before = FrameCounts();
  const long switches = ContextSwitches();
  const double wall = Seconds(CLOCK_MONOTONIC), cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID);
  while (Seconds(CLOCK_MONOTONIC) - wall < kMeasuredSeconds) LoopTurn();
  const double used = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu;
  const double elapsed = Seconds(CLOCK_MONOTONIC) - wall;
  state.SetIterationTime(used);
  state.counters["core_%"] = 100 * used / elapsed;
  state.counters["frames/s"] = (FrameCounts().presented - before.presented) / elapsed;
  state.counters["wakeups/s"] = static_cast<double>(ContextSwitches() - switches) / elapsed;
}

// Runs xdotool on the game's window ("%1") with the commands given; its process id, 0 on failure.
pid_t Xdotool(const std::vector<std::string>& commands) {
  std::vector<std::string> args = {"xdotool", "search", "--name", "^" + shell.app_title + "$", "windowfocus", "%1"};
  args.insert(args.end(), commands.begin(), commands.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  return posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

void EndXdotool(pid_t pid) {
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

void IdleTable(benchmark::State& state, bool reuse) {
  if (!GameReady()) return state.SkipWithError("no display");
  SetFrameReuse(reuse);
  for (auto _ : state) {
    // The pointer nudged to and fro just after the measurement ends its last wait.
    const std::string after = std::to_string(kMeasuredSeconds + 0.1);
    const pid_t nudge = Xdotool({"sleep", after, "mousemove_relative", "1", "0", "mousemove_relative", "--", "-1", "0"});
    if (nudge == 0) return state.SkipWithError("xdotool did not start");
    MeasureLoop(state);
    EndXdotool(nudge);
  }
}
void BM_IdleTable_ReusingFrames(benchmark::State& state) {
  IdleTable(state, true);
}
void BM_IdleTable_DrawingEveryTurn(benchmark::State& state) {
  IdleTable(state, false);
}
BENCHMARK(BM_IdleTable_ReusingFrames)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);
BENCHMARK(BM_IdleTable_DrawingEveryTurn)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// The loop's turns until the queue is empty and `turns` more have passed, each given an event
// to take.
void Settle(int turns) {
  while (PeekEvent()) LoopTurn();
  for (int i = 0; i < turns; ++i) {
    TEvent::Create(EVENT_APPIDLE)->Emit();
    LoopTurn();
  }
}

// The pointer's path to and fro across the table, at t seconds.
void PathPoint(double t, int& x, int& y) {
  x = 400 + static_cast<int>(300 * std::sin(t * 1.3));
  y = 300 + static_cast<int>(220 * std::sin(t * 0.7));
}

// xdotool moving the real pointer over the game's window to and fro across the table, 100
// times a second for a little longer than the measurement. Returns its process id, 0 on failure.
pid_t StartPointerPath() {
  std::vector<std::string> commands;
  const int moves = static_cast<int>(kMeasuredSeconds * 100) + 100;
  for (int i = 0; i < moves; ++i) {
    int x = 0, y = 0;
    PathPoint(i / 100.0, x, y);
    for (const std::string& word :
         {std::string("mousemove"), std::string("--window"), std::string("%1"), std::to_string(x),
          std::to_string(y), std::string("sleep"), std::string("0.01")})
      commands.push_back(word);
  }
  return Xdotool(commands);
}

// Picks the topmost piece up by a click on its centre; false when nothing was picked up.
bool PickUpTopPiece() {
  const piece_type& top = play.pieces[play.draw_order[play.piece_count]];
  double x, y;
  TableToScreen(top.x, top.y, x, y);
  MoveMouse(static_cast<int>(x), static_cast<int>(y));
  Settle(5);
  TEvent::Create(EVENT_MOUSEDOWN, nullptr, 1, 0, MouseX(), MouseY())->Emit();
  Settle(3);
  return play.dragged != 0;
}

void PutDown() {
  TEvent::Create(EVENT_MOUSEDOWN, nullptr, 1, 0, MouseX(), MouseY())->Emit();
  Settle(3);
}

void CarryAcrossTheTable(benchmark::State& state, bool reuse) {
  if (!GameReady()) return state.SkipWithError("no display");
  SetFrameReuse(reuse);
  if (!PickUpTopPiece()) return state.SkipWithError("no piece under the pointer");
  for (auto _ : state) {
    const pid_t path = StartPointerPath();
    if (path == 0) return state.SkipWithError("xdotool did not start");
    MeasureLoop(state);
    EndXdotool(path);
  }
  PutDown();
}
void BM_Carry_ReusingFrames(benchmark::State& state) {
  CarryAcrossTheTable(state, true);
}
void BM_Carry_DrawingEveryTurn(benchmark::State& state) {
  CarryAcrossTheTable(state, false);
}
// The pointer moved over the still table. Drawn into the frame, as where the window system
// cannot show the pointer picture: its hot spot put outside the picture, which no window
// system takes.
void HoverOverTheTable(benchmark::State& state, bool in_the_frame) {
  if (!GameReady()) return state.SkipWithError("no display");
  SetFrameReuse(true);
  auto& pointer = *shell.images.pointer;
  const float hot_x = pointer.handle_x;
  if (in_the_frame) pointer.handle_x = static_cast<float>(pointer.width);
  for (auto _ : state) {
    const pid_t path = StartPointerPath();
    if (path == 0) return state.SkipWithError("xdotool did not start");
    MeasureLoop(state);
    EndXdotool(path);
  }
  pointer.handle_x = hot_x;
}
void BM_Hover_WindowSystemPointer(benchmark::State& state) {
  HoverOverTheTable(state, false);
}
void BM_Hover_PointerInTheFrame(benchmark::State& state) {
  HoverOverTheTable(state, true);
}
BENCHMARK(BM_Hover_WindowSystemPointer)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(BM_Hover_PointerInTheFrame)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

BENCHMARK(BM_Carry_ReusingFrames)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// The same over 2000 pieces (copies of the 300), the whole table in view; and dragging that
// table with the middle button at its pieces' own size, along the same path.
void BM_Carry2000_ReusingFrames(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  SpreadBenchPieces(2000);
  CarryAcrossTheTable(state, true);
}
BENCHMARK(BM_Carry2000_ReusingFrames)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

void BM_Pan2000(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  SetFrameReuse(true);
  SpreadBenchPieces(2000, 1);
  constexpr int kMiddleButton = 3;
  for (auto _ : state) {
    TEvent::Create(EVENT_MOUSEDOWN, nullptr, kMiddleButton, 0, MouseX(), MouseY())->Emit();
    Settle(2);
    const pid_t path = StartPointerPath();
    if (path == 0) return state.SkipWithError("xdotool did not start");
    MeasureLoop(state);
    EndXdotool(path);
    TEvent::Create(EVENT_MOUSEUP, nullptr, kMiddleButton, 0, MouseX(), MouseY())->Emit();
    Settle(2);
  }
}
BENCHMARK(BM_Pan2000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// One turn taking a wheel notch over 2000 pieces, in and out by turns, the whole table in view
// before each notch in: the turn that shows the new zoom, wall time with presenting.
void BM_WheelTurn2000(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  SetFrameReuse(true);
  SpreadBenchPieces(2000);
  MoveMouse(400, 300);
  Settle(2);
  int notch = 1;
  for (auto _ : state) {
    TEvent::Create(EVENT_MOUSEWHEEL, nullptr, notch, 0, 400, 300)->Emit();
    LoopTurn();
    notch = -notch;
  }
  Settle(2);
}
BENCHMARK(BM_WheelTurn2000)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Carry_DrawingEveryTurn)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// One turn while carrying, the pointer moved each turn along the path the measurement above
// follows (the move posted so the turn never waits for the timer), wall time with presenting.
void BM_CarryingTurn(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  SetFrameReuse(true);
  if (!PickUpTopPiece()) return state.SkipWithError("no piece under the pointer");
  int step = 0;
  for (auto _ : state) {
    int x = 0, y = 0;
    PathPoint(++step / 100.0, x, y);
    MoveMouse(x, y);
    TEvent::Create(EVENT_MOUSEMOVE, nullptr, 0, 0, x, y)->Emit();
    LoopTurn();
  }
  Settle(3);
  PutDown();
}
BENCHMARK(BM_CarryingTurn)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(argc, argv,
                       {{"BM_LoopTurn300Pieces", "BM_LoopTurn300Pieces", "BM_Floor_BareGL300Quads"},
                        {"idle table, CPU: reusing / every turn", "BM_IdleTable_ReusingFrames",
                         "BM_IdleTable_DrawingEveryTurn"},
                        {"carrying, CPU: reusing / every turn", "BM_Carry_ReusingFrames",
                         "BM_Carry_DrawingEveryTurn"},
                        {"hovering, CPU: window-system pointer / pointer in the frame",
                         "BM_Hover_WindowSystemPointer", "BM_Hover_PointerInTheFrame"},
                        {"a carrying turn / bare-GL table", "BM_CarryingTurn", "BM_Floor_BareGL300Quads"},
                        {"carrying, CPU: 2000 pieces / 300", "BM_Carry2000_ReusingFrames", "BM_Carry_ReusingFrames"},
                        {"panning 2000 pieces / carrying over 300, CPU", "BM_Pan2000", "BM_Carry_ReusingFrames"},
                        {"a wheel notch's turn over 2000 pieces / a carrying turn over 300", "BM_WheelTurn2000",
                         "BM_CarryingTurn"}},
                       ratio_time::real);
}
