// Opening the help and preferences screens and the celebration's frames, beside floors measured
// in the same run:
//   the first help frame (decode, upload, table and page drawn, presented) vs decoding
//                                    "images/help0.png" with bare libpng;
//                                    (and the same frame once the page is loaded);
//   the first preferences frame       vs decoding its five pictures with bare libpng;
//   one celebration letter            beside its nine 50 ms frame waits alone, with the longest
//                                    stretch of work between two sleeps (the slowest frame).
// The ratios compare the main thread's CPU time: the software renderer's threads and the X
// server carry the whole machine's load, which wall time on a shared machine mostly measures.
// The celebration is paced by the clock, so its figures are wall time, read from the table.
// Depends on shell/, play/, draw/, platform/ and libpng; uses the built runtime pictures
// (TESSELKA_RUNTIME). Needs a display: run it under xvfb-run.
#include <benchmark/benchmark.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/libpng_floor.h"
#include "bench/support/ratio_reporter.h"
#include "draw/draw.h"
#include "library/library.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

namespace fs = std::filesystem;

// A scratch working folder that sees the runtime's pictures, fonts and jigsaws; removed at exit.
struct scratch_folder {
  fs::path path;
  scratch_folder() {
    const char* runtime = std::getenv("TESSELKA_RUNTIME");
    fs::path from = runtime ? runtime : TESSELKA_DEFAULT_RUNTIME;
    path = fs::temp_directory_path() / ("tesselka_screens_bench_" + std::to_string(::getpid()));
    fs::create_directories(path);
    for (const char* tree : {"images", "fonts", "sounds", "jigsaws"})
      fs::create_directory_symlink(fs::absolute(from / tree), path / tree);
    fs::current_path(path);
  }
  ~scratch_folder() {
    std::error_code ignored;
    fs::current_path(path.parent_path(), ignored);
    fs::remove_all(path, ignored);
  }
};

// The program started with the opening jigsaw finished on the table; false without a display.
bool GameReady() {
  static scratch_folder folder;
  static const bool ready = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!StartUp({})) return false;
    ShowOpeningJigsaw();
    PlaceAllHome();
    game.screen = "jigsaw";
    shell.opening_flight = false;
    shell.pointer_visible = true;
    return play.piece_count > 0;
  }();
  return ready;
}

const std::vector<std::string> kPreferPictures = {"images/prefer.png", "images/yes.png",
                                                  "images/no.png", "images/yes_grey.png",
                                                  "images/no_grey.png"};

void BM_Floor_LibpngHelpPage(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  std::vector<unsigned char> pixels;
  for (auto _ : state) {
    if (!DecodeWithLibpng({"images/help0.png"}, PNG_FORMAT_RGBA, pixels))
      return state.SkipWithError("no help page");
  }
}
BENCHMARK(BM_Floor_LibpngHelpPage)->Unit(benchmark::kMillisecond)->MinTime(2);

// One help frame over the table, drawn and presented.
void ShowHelpFrame() {
  game.previous_screen = "jigsaw";
  game.screen = "help";
  HelpFrame();
  Flip(1);
}

void BM_HelpFirstOpen(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  for (auto _ : state) {
    shell.images.help_pages = {};  // as if never shown
    shell.images.help_tried = {};
    ShowHelpFrame();
  }
}
BENCHMARK(BM_HelpFirstOpen)->Unit(benchmark::kMillisecond)->MinTime(2);

// The same frame with the page already loaded: what the first open costs beyond the decode.
void BM_HelpLoadedFrame(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  for (auto _ : state) ShowHelpFrame();
}
BENCHMARK(BM_HelpLoadedFrame)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Floor_LibpngPreferPictures(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  std::vector<unsigned char> pixels;
  for (auto _ : state) {
    if (!DecodeWithLibpng(kPreferPictures, PNG_FORMAT_RGBA, pixels))
      return state.SkipWithError("no preferences pictures");
  }
}
BENCHMARK(BM_Floor_LibpngPreferPictures)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_PreferFirstOpen(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  for (auto _ : state) {
    shell.images.prefer_loaded = false;  // as if never shown
    game.screen = "prefer";
    PreferFrame();
    Flip(1);
  }
  game.prefs.prefer_working[1] = -1;
}
BENCHMARK(BM_PreferFirstOpen)->Unit(benchmark::kMillisecond)->MinTime(2);

using bench_clock = std::chrono::steady_clock;

void BM_Floor_NineFrameWaits(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  for (auto _ : state)
    for (int i = 0; i < 9; ++i) WaitAlive(Millisecs(), 50);
}
BENCHMARK(BM_Floor_NineFrameWaits)->Unit(benchmark::kMillisecond)->Iterations(10);

// The letter's frames sleep between them; the longest time awake between two sleeps bounds the
// heaviest stretch of a frame's work (the first one includes loading the flash frames and
// grabbing the screen), which must stay well inside its 50 ms.
void BM_CelebrationLetter(benchmark::State& state) {
  if (!GameReady()) return state.SkipWithError("no display");
  static bench_clock::time_point last_wake;
  static double longest_awake_ms = 0;
  SetClock(nullptr, [](int ms) {
    longest_awake_ms =
        std::max(longest_awake_ms,
                 std::chrono::duration<double, std::milli>(bench_clock::now() - last_wake).count());
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    last_wake = bench_clock::now();
  });
  for (auto _ : state) {
    state.PauseTiming();
    DrawTable();
    state.ResumeTiming();
    last_wake = bench_clock::now();
    FlashLetter("W", 400, 300);
  }
  SetClock(nullptr, nullptr);
  state.counters["longest_awake_ms"] = longest_awake_ms;
}
BENCHMARK(BM_CelebrationLetter)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(argc, argv,
                       {{"help, first open / libpng decode of its page", "BM_HelpFirstOpen",
                         "BM_Floor_LibpngHelpPage"},
                        {"preferences, first open / libpng decode of its pictures",
                         "BM_PreferFirstOpen", "BM_Floor_LibpngPreferPictures"}},
                       ratio_time::cpu);
}
