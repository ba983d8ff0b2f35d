// One whole turn of the frame loop on the table of 300 scattered, visible pieces, beside its
// floor measured in the same run: the same 300 textured quads drawn with bare OpenGL
// (bench/draw/gl_floor.h). Depends on shell/, play/, draw/, platform/ and the play benchmark's
// jigsaw and its floor.
// Needs a display: run it under xvfb-run.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/play/bench_jigsaw.h"
#include "draw/draw.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"

namespace {

// The benchmark game on the table, the opening flight over.
bool GameReady() {
  static const bool ready = [] {
    if (!StartBenchGame()) return false;
    shell.screen = "jigsaw";
    shell.opening_flight = false;
    shell.pointer_visible = true;
    return true;
  }();
  return ready;
}

void BM_Floor_BareGL300Quads(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  MeasureTableFloor(state);
}
BENCHMARK(BM_Floor_BareGL300Quads)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_LoopTurn300Pieces(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  for (auto _ : state) {
    // Something to take, so the turn does not sit out a timer period in WaitEvent.
    TEvent::Create(EVENT_APPIDLE)->Emit();
    LoopTurn();
  }
}
BENCHMARK(BM_LoopTurn300Pieces)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
