// One whole turn of the frame loop on the table of 300 scattered, visible pieces, beside its
// floor measured in the same run: the same 300 textured quads drawn with bare OpenGL
// (bench/draw/gl_floor.h). Depends on shell/, play/, draw/, platform/ and the play benchmark's
// jigsaw and its floor.
// Needs a display: run it under xvfb-run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/play/bench_jigsaw.h"
#include "draw/draw.h"
#include "files/files.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"

namespace {

// The two pictures without which start-up stops at a notice (the decoders go by content, so a
// PNG does for a .bmp name).
void WriteNeededImages() {
  std::filesystem::create_directories("images");
  auto white = CreatePixmap(2, 2, PF_RGBA8888);
  white->ClearPixels(0xFFFFFFFF);
  SavePNGPixmap(white, "images/pointer.bmp", 1);
  SavePNGPixmap(white, "images/white.bmp", 1);
}

// The program started in the benchmark folder with the 300-piece jigsaw scattered on the table;
// false without a display.
bool GameReady() {
  static const bool ready = [] {
    const std::string name = WriteBenchJigsaw();
    WriteNeededImages();
    if (!StartUp({})) return false;
    if (!LoadJigsawFolder(name)) return false;
    SeedRnd(1);
    ScatterPieces();
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
