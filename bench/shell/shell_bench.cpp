// One whole turn of the frame loop on the table of 300 scattered, visible pieces, beside its
// floor measured in the same run: the same 300 textured quads drawn with bare OpenGL
// (bench/draw/gl_floor.h). Depends on shell/, play/, draw/ (its GL frame type, to hand the
// floor the pieces' own textures), platform/ and the play benchmark's jigsaw writer.
// Needs a display: run it under xvfb-run.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/draw/gl_floor.h"
#include "bench/play/bench_jigsaw.h"
#include "draw/draw.h"
#include "draw/gl/gl2d.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"

namespace {

// The program started in the benchmark folder with the 300-piece jigsaw scattered on the table;
// false without a display.
bool GameReady() {
  static const bool ready = [] {
    const std::string name = WriteBenchJigsaw();
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

// The quad of each visible piece in drawing order: its texture, its corners turned by whole
// quarter turns about its centre.
std::vector<floor_quad_type> TableQuads() {
  std::vector<floor_quad_type> quads;
  for (int k = 1; k <= play.piece_count; k++) {
    const piece_type& piece = play.pieces[play.draw_order[k]];
    auto frame = std::static_pointer_cast<TGLImageFrame>(piece.img->Frame(0));
    floor_quad_type q{frame->name, frame->u1, frame->v1};
    int cx[4] = {-piece.wd / 2, piece.wd / 2, piece.wd / 2, -piece.wd / 2};
    int cy[4] = {-piece.ht / 2, -piece.ht / 2, piece.ht / 2, piece.ht / 2};
    for (int c = 0; c < 4; c++) {
      int x = cx[c], y = cy[c];
      for (int t = 0; t < piece.a; t++) std::swap(x, y), x = -x;  // (x, y) -> (-y, x): clockwise on screen
      q.x[c] = float(piece.x + x);
      q.y[c] = float(piece.y + y);
    }
    quads.push_back(q);
  }
  return quads;
}

void BM_Floor_BareGL300Quads(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  DrawTable();  // uploads the textures
  const auto quads = TableQuads();
  FloorBegin();
  for (auto _ : state) FloorFrame(quads);
  SetGraphics(T2DGraphics::Current());  // gives the drawing layer its GL state back
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
