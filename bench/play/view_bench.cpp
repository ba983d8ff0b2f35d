// Benchmarks of the table's view beside their floors, measured in the same run:
//   picking among 2000 pieces on a big table, the whole table in view  vs picking among 300 on
//                                                                         today's table;
//   picking among the same 2000 at their own size (a part in view)     vs the same 300.
// The 2000 pieces share the benchmark jigsaw's 300 images and lie as densely as its 300 on their
// table, so the figures show what the count alone costs. Depends on play/, platform/ and the
// benchmark jigsaw; needs a display (run under xvfb-run), else the figures are skipped.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench/play/bench_jigsaw.h"
#include "bench/support/ratio_reporter.h"
#include "platform/platform.h"
#include "play/play.h"

namespace {

constexpr int kBig = 2000;

// One pick per iteration at the next of 64 pointer places spread over the picture.
void Pick(benchmark::State& state, int count, double zoom) {
  if (!StartBenchGame()) return state.SkipWithError("no display");
  SpreadBenchPieces(count, zoom);
  int found = 0, k = 0;
  for (auto _ : state) {
    game.pointer_x = 50 + 100 * (k % 8);
    game.pointer_y = 37 + 75 * (k / 8 % 8);
    k++;
    found += PieceUnderPointer() != 0;
  }
  state.counters["hits"] = static_cast<double>(found) / std::max(k, 1);
}

void BM_Floor_Pick300(benchmark::State& state) { Pick(state, 300, 0); }
BENCHMARK(BM_Floor_Pick300)->Unit(benchmark::kMicrosecond);

void BM_Pick2000WholeTable(benchmark::State& state) { Pick(state, kBig, 0); }
BENCHMARK(BM_Pick2000WholeTable)->Unit(benchmark::kMicrosecond);

void BM_Pick2000OwnSize(benchmark::State& state) { Pick(state, kBig, 1); }
BENCHMARK(BM_Pick2000OwnSize)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(argc, argv,
                       {{"BM_Pick2000WholeTable", "BM_Pick2000WholeTable", "BM_Floor_Pick300"},
                        {"BM_Pick2000OwnSize", "BM_Pick2000OwnSize", "BM_Floor_Pick300"}},
                       ratio_time::cpu);
}
