// Benchmarks of the boxes and tidying beside their floors, measured in the same run:
//   entering the box view (BuildBoxTable and the first DrawBoxView) with 300 loose pieces
//     vs drawing the same 300 pieces with bare OpenGL (bench/draw/gl_floor.h);
//   TidyPieces of 300 single shown pieces vs shuffling their list alone.
// Depends on box/, play/, draw/, platform/, shell/ and the play benchmark's jigsaw and floor.
// Needs a display: run it under xvfb-run.
#include <benchmark/benchmark.h>

#include <numeric>
#include <vector>

#include "bench/draw/gl_floor.h"
#include "bench/play/bench_jigsaw.h"
#include "bench/support/ratio_reporter.h"
#include "box/box.h"
#include "draw/draw.h"
#include "play/play.h"
#include "shell/shell.h"

namespace {

// The benchmark game in the box view with every piece loose (the border flag cleared, so all
// 300 enter the rows).
bool GameReady() {
  if (!StartBenchGame()) return false;
  for (int i = 1; i <= play.piece_count; i++) play.pieces[i].edge = 0;
  game.screen = "box";
  return true;
}

void BM_Floor_BareGL300Quads(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  MeasureTableFloor(state);
}
BENCHMARK(BM_Floor_BareGL300Quads)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_EnterBoxView300(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  for (auto _ : state) {
    BuildBoxTable();
    DrawBoxView();
    FinishDrawing();  // the layer records until then: without it no drawing is timed
  }
  if (box.box_table_count != 300) state.SkipWithError("not every piece was laid out");
}
BENCHMARK(BM_EnterBoxView300)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Floor_Shuffle300(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  std::vector<int> list(301);
  std::iota(list.begin(), list.end(), 0);
  for (auto _ : state) {
    ShuffleList(list, 300);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_Floor_Shuffle300)->Unit(benchmark::kMicrosecond);

void BM_TidyPieces300(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  for (auto _ : state) TidyPieces(400, 300);
  if (play.tidy_label.k == 0) state.SkipWithError("the centre should pile most pieces");
}
BENCHMARK(BM_TidyPieces300)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(argc, argv,
                       {{"EnterBoxView300", "BM_EnterBoxView300", "BM_Floor_BareGL300Quads"},
                        {"TidyPieces300", "BM_TidyPieces300", "BM_Floor_Shuffle300"}},
                       ratio_time::real);
}
