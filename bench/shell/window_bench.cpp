// The table in a window of any size: one turn of the real loop drawing the 300-piece table
// filling a 1920 x 1080 window, beside the bare-OpenGL floor drawing the same pieces in the same
// window; and the turns around a resize (the window switching between 1920 x 1080 and
// 1600 x 900 under a real X request), the slower of the two each time, beside a normal turn.
// Depends on shell/, play/, draw/, platform/, the play benchmark's jigsaw and its floor, and
// the ratio report. Needs a display of at least 1920 x 1080 and xdotool: run it under
// xvfb-run -s '-screen 0 1920x1080x24'.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

#include <time.h>

#include "bench/play/bench_jigsaw.h"
#include "bench/support/ratio_reporter.h"
#include "draw/draw.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"

namespace {

constexpr int kWide = 1920, kHigh = 1080;

// CPU time of the whole process (the software renderer's threads included), in milliseconds.
double CpuMillis() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

void RunTurn() {
  TEvent::Create(EVENT_APPIDLE)->Emit();  // something to take, so no turn waits for a tick
  LoopTurn();
}

// The benchmark game on the table in a 1920 x 1080 window that the table fills.
bool GameReady() {
  static const bool ready = [] {
    shell.window = {kWide, kHigh, false};
    if (!StartBenchGame()) return false;
    game.screen = "jigsaw";
    shell.opening_flight = false;
    shell.pointer_visible = true;
    for (int i = 0; i < 3; ++i) RunTurn();
    return GraphicsWidth() == kWide && GraphicsHeight() == kHigh;
  }();
  return ready;
}

void BM_Floor_BareGL300Quads1920(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no 1920 x 1080 display");
  MeasureTableFloor(state);
}
BENCHMARK(BM_Floor_BareGL300Quads1920)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_LoopTurn300Pieces1920(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no 1920 x 1080 display");
  SetFrameReuse(false);  // a turn that draws and presents the whole table
  double cpu_total = 0;
  for (auto _ : state) {
    const double cpu = CpuMillis();
    RunTurn();
    cpu_total += CpuMillis() - cpu;
  }
  state.counters["turn_cpu_ms"] = cpu_total / state.iterations();
  SetFrameReuse(true);
}
BENCHMARK(BM_LoopTurn300Pieces1920)->Unit(benchmark::kMillisecond)->MinTime(2);

double Millis(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

// Each iteration resizes the window with a real X request, waits (untimed) until SDL has told
// the game, then times the two turns that take the event and draw at the new size; the
// iteration's time is the slower of them (wall time; the counters give each turn's wall and the
// slower turn's CPU time, since a loaded X server's wait for its own share shows in wall time).
void BM_ResizeTurn300Pieces(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no 1920 x 1080 display");
  SetFrameReuse(false);
  const std::string window = "$(xdotool search --name '^" + shell.app_title + "$' | head -n1)";
  bool wide = true;
  double longest = 0, first = 0, second = 0, cpu_total = 0;
  for (auto _ : state) {
    wide = !wide;
    const int w = wide ? kWide : 1600, h = wide ? kHigh : 900;
    const std::string command = "xdotool windowsize " + window + " " + std::to_string(w) + " " + std::to_string(h);
    if (std::system(command.c_str()) != 0) return state.SkipWithError("xdotool failed");
    while (!PeekEvent() || PeekEvent()->id != EVENT_WINDOWSIZE) {
      if (PeekEvent()) PollEvent();  // what else waits is of no interest here
      Delay(1);
    }
    double slowest = 0, slowest_cpu = 0;
    for (int turn = 0; turn < 2; ++turn) {
      const auto start = std::chrono::steady_clock::now();
      const double cpu = CpuMillis();
      RunTurn();
      const double took = Millis(start);
      slowest = std::max(slowest, took);
      slowest_cpu = std::max(slowest_cpu, CpuMillis() - cpu);
      (turn == 0 ? first : second) += took;
    }
    cpu_total += slowest_cpu;
    if (GraphicsWidth() != w) return state.SkipWithError("the new size was not drawn");
    longest = std::max(longest, slowest);
    state.SetIterationTime(slowest / 1000);
  }
  state.counters["longest_ms"] = longest;
  state.counters["first_ms"] = first / state.iterations();
  state.counters["second_ms"] = second / state.iterations();
  state.counters["slower_cpu_ms"] = cpu_total / state.iterations();
  SetFrameReuse(true);
}
BENCHMARK(BM_ResizeTurn300Pieces)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(40);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(argc, argv,
                       {{"a 1920 x 1080 table turn / bare-GL same window", "BM_LoopTurn300Pieces1920",
                         "BM_Floor_BareGL300Quads1920"},
                        {"slower turn around a resize / a normal turn", "BM_ResizeTurn300Pieces",
                         "BM_LoopTurn300Pieces1920"}},
                       ratio_time::real);
}
