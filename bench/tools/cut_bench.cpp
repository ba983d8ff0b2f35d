// Benchmark of the jigsaw cutter: a 3000 x 2000 picture cut into 300 pieces and written as a
// jigsaw folder, against its floor measured in the same run: writing the same 300 piece
// images as PNG files (work no cutter can skip). The counter "ratio" is cut / floor.
// Depends on tools/jigsaw, files/files.h and Google Benchmark.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "files/files.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

// A photograph-like picture: smooth colour with fine noise, which compresses like a photo.
std::shared_ptr<TPixmap> Photo(int width, int height) {
  auto p = CreatePixmap(width, height, PF_RGB888);
  seeded_random random(3);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = p->PixelPtr(0, y);
    for (int x = 0; x < width; ++x) {
      int noise = random.Int(-16, 15);
      row[3 * x] = uint8_t(std::clamp(x * 255 / width + noise, 0, 255));
      row[3 * x + 1] = uint8_t(std::clamp(120 + (y * 97 / height) + noise, 0, 255));
      row[3 * x + 2] = uint8_t(((x + y) >> 4) & 255);
    }
  }
  return p;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_CutJigsaw300(benchmark::State& state) {
  std::string root = (std::filesystem::temp_directory_path() / "tk-cut-bench-XXXXXX").string();
  if (!mkdtemp(root.data())) {
    state.SkipWithError("cannot make a temporary folder");
    return;
  }
  auto picture = Photo(3000, 2000);
  cut_request request;
  request.pieces = 300;
  request.force = true;
  double cut_total = 0, floor_total = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    std::string error;
    if (!CutJigsawFolder(picture, request, root + "/cut", error)) state.SkipWithError(error.c_str());
    double cut = Seconds(start);
    state.SetIterationTime(cut);
    cut_total += cut;

    // The floor: the pieces just written, written again as PNG files.
    std::vector<std::shared_ptr<TPixmap>> pieces;
    for (int i = 1; i <= 300; ++i)
      if (auto piece = LoadPixmap(root + "/cut/" + std::to_string(i) + ".png")) pieces.push_back(piece);
    std::filesystem::create_directories(root + "/floor");
    start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < pieces.size(); ++i)
      SavePNGPixmap(pieces[i], root + "/floor/" + std::to_string(i + 1) + ".png", 5);
    floor_total += Seconds(start);
  }
  state.counters["floor_ms"] = floor_total * 1000 / double(state.iterations());
  state.counters["ratio"] = cut_total / floor_total;
  std::filesystem::remove_all(root);
}
BENCHMARK(BM_CutJigsaw300)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
