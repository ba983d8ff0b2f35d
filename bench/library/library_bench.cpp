// Benchmarks of saving and resuming and of the library page, beside their floors measured in
// the same run:
//   SaveJigsaw of 300 pieces         vs encoding one 264 x 198 thumbnail at level 5 and writing
//                                       2105 lines (plain stdio, no fsync), and vs what a save
//                                       cannot avoid: drawing and grabbing the table and the same
//                                       writes with each of the three files synced to the disk;
//   ResumeJigsaw of 300 pieces       vs LoadJigsawFolder of the same folder;
//   the first drawing of a page of 56 thumbnails vs decoding the 56 tn.png files with bare libpng.
// Depends on library/, play/, draw/, files/, platform/, libpng and the benchmark jigsaw. Needs a
// display (run under xvfb-run).
#include <benchmark/benchmark.h>
#include <png.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/play/bench_jigsaw.h"
#include "bench/support/libpng_floor.h"
#include "bench/support/ratio_reporter.h"
#include "draw/draw.h"
#include "files/files.h"
#include "library/library.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"

namespace {

constexpr int kPageThumbnails = 56;

std::string jigsaw;
std::shared_ptr<TGraphics> window;

// The table in the back buffer, scaled as a save scales it.
std::shared_ptr<TPixmap> TableThumbnail() { return ResizePixmap(GrabPixmap(0, 0, 800, 600), 264, 198); }

// As many lines as a 300-piece progress file, with plain stdio.
void WriteProgressLikeLines(const char* path) {
  FILE* file = std::fopen(path, "wb");
  for (int i = 0; i < 2105; ++i) std::fprintf(file, "%d\r\n", i * 7);
  std::fclose(file);
}

// Opens the window, writes the 300-piece jigsaw, scatters it, saves it once (so that there is
// progress to resume) and writes 56 library folders holding a thumbnail of the table.
bool Ready() {
  static const bool ready = [] {
    jigsaw = WriteBenchJigsaw();
    if (!StartPlatform()) return false;
    InitDrawing();
    window = Graphics(800, 600, 0, 60, 0);
    if (!window) return false;
    game.prefs.sound_on = 0;
    std::filesystem::create_directories("players/bench");
    library.player_folder = "players/bench/";
    if (!StartNewJigsaw(jigsaw)) return false;
    SaveJigsaw();
    DrawTable();
    auto thumbnail = TableThumbnail();
    for (int i = 0; i < kPageThumbnails; ++i) {
      const std::string folder = "jigsaws/page" + std::to_string(100 + i);
      std::filesystem::create_directories(folder);
      if (!SavePNGPixmap(thumbnail, folder + "/tn.png", 5)) return false;
    }
    return true;
  }();
  return ready;
}

void BM_SaveJigsaw(benchmark::State& state) {
  if (!Ready()) return state.SkipWithError("no display");
  for (auto _ : state) SaveJigsaw();
}
BENCHMARK(BM_SaveJigsaw)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_Floor_Png264AndLines(benchmark::State& state) {
  if (!Ready()) return state.SkipWithError("no display");
  DrawTable();
  const auto thumbnail = TableThumbnail();
  for (auto _ : state) {
    SavePNGPixmap(thumbnail, "floor.png", 5);
    WriteProgressLikeLines("floor.txt");
  }
}
BENCHMARK(BM_Floor_Png264AndLines)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

// What a save cannot avoid: drawing the table to picture it, grabbing and scaling it, and the
// same writes flushed to the disk as an atomic save flushes them (three files, each synced).
void BM_Floor_TableAndSyncedWrites(benchmark::State& state) {
  if (!Ready()) return state.SkipWithError("no display");
  // fsync through any descriptor of a file flushes that file.
  auto sync = [](const char* path) {
    const int fd = open(path, O_RDONLY);
    fsync(fd);
    close(fd);
  };
  for (auto _ : state) {
    DrawTable();
    SavePNGPixmap(TableThumbnail(), "floor.png", 5);
    sync("floor.png");
    WriteProgressLikeLines("floor.txt");
    sync("floor.txt");
    FILE* file = std::fopen("floor_name.txt", "wb");
    std::fprintf(file, "bench300\r\n");
    std::fclose(file);
    sync("floor_name.txt");
  }
}
BENCHMARK(BM_Floor_TableAndSyncedWrites)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_ResumeJigsaw(benchmark::State& state) {
  if (!Ready()) return state.SkipWithError("no display");
  for (auto _ : state)
    if (!ResumeJigsaw(jigsaw)) return state.SkipWithError("the jigsaw did not resume");
}
BENCHMARK(BM_ResumeJigsaw)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_Floor_LoadJigsawFolder(benchmark::State& state) {
  if (!Ready()) return state.SkipWithError("no display");
  for (auto _ : state)
    if (!LoadJigsawFolder(jigsaw)) return state.SkipWithError("the jigsaw did not load");
}
BENCHMARK(BM_Floor_LoadJigsawFolder)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_FirstLibraryPage(benchmark::State& state) {
  if (!Ready()) return state.SkipWithError("no display");
  game.screen = "new1";
  for (auto _ : state) {
    state.PauseTiming();
    BuildLibraryList();  // thumbnails not yet loaded
    state.ResumeTiming();
    DrawLibraryPage("new1");
    FinishDrawing();  // the layer records until then: without it no drawing is timed
  }
  if (library.library_list.drawn.size() != kPageThumbnails) state.SkipWithError("not 56 thumbnails drawn");
}
BENCHMARK(BM_FirstLibraryPage)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

void BM_Floor_Decode56Thumbnails(benchmark::State& state) {
  if (!Ready()) return state.SkipWithError("no display");
  std::vector<std::string> paths;
  for (int i = 0; i < kPageThumbnails; ++i)
    paths.push_back("jigsaws/page" + std::to_string(100 + i) + "/tn.png");
  std::vector<unsigned char> pixels;
  for (auto _ : state) {
    if (!DecodeWithLibpng(paths, PNG_FORMAT_RGB, pixels)) return state.SkipWithError("libpng failed");
  }
}
BENCHMARK(BM_Floor_Decode56Thumbnails)->Unit(benchmark::kMillisecond)->MinTime(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(argc, argv,
                       {{"SaveJigsaw of 300 pieces / PNG 264x198 level 5 + 2105 lines", "BM_SaveJigsaw",
                         "BM_Floor_Png264AndLines"},
                        {"SaveJigsaw of 300 pieces / table drawn, grabbed, same writes synced", "BM_SaveJigsaw",
                         "BM_Floor_TableAndSyncedWrites"},
                        {"ResumeJigsaw of 300 pieces / LoadJigsawFolder", "BM_ResumeJigsaw", "BM_Floor_LoadJigsawFolder"},
                        {"first library page of 56 thumbnails / bare libpng decodes", "BM_FirstLibraryPage",
                         "BM_Floor_Decode56Thumbnails"}},
                       ratio_time::real);
}
