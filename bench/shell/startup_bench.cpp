// Start-up of the installed game to its first frame, beside its floor measured in the same run:
// an empty window's first frame (bench/draw/empty_window.cpp). The game is installed into a
// temporary prefix (DESTDIR) and started with a data folder that an earlier start prepared, and
// as the first start after installing, which fills the data folder first.
// A frame counts as shown when the pixel at the centre of the screen stops being what it was
// before the start. Depends on Xlib, POSIX and the ratio reporter.
// Needs a display: run it under xvfb-run.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "bench/support/ratio_reporter.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The installed game: the temporary folder holding it, its program and its data folder; all ""
// when it could not be installed.
struct installed_game {
  std::string root, program, data;
};

const installed_game& Installed() {
  static const installed_game game = [] {
    const fs::path root =
        fs::temp_directory_path() / ("tesselka-startup-" + std::to_string(getpid()));
    const std::string command = "DESTDIR=" + (root / "dest").string() + " cmake --install " +
                                TESSELKA_BUILD_DIR + " --prefix /usr >/dev/null";
    if (std::system(command.c_str()) != 0) return installed_game{};
    return installed_game{root.string(), (root / "dest/usr/bin/tesselka").string(),
                          (root / "data").string()};
  }();
  return game;
}

unsigned long CentrePixel(Display* display) {
  const int screen = DefaultScreen(display);
  XImage* image = XGetImage(display, RootWindow(display, screen), DisplayWidth(display, screen) / 2,
                            DisplayHeight(display, screen) / 2, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return pixel;
}

// Seconds from starting the program to its first frame on screen; negative when none shows
// within ten seconds.
double TimeToFirstFrame(Display* display, const std::string& program) {
  const unsigned long before = CentrePixel(display);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  setenv("TESSELKA_HOME", Installed().data.c_str(), 1);
  char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) return -1;
  double seconds = -1;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
    if (CentrePixel(display) != before) {
      seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  // Until the window is gone from the screen, the next start would see it.
  while (CentrePixel(display) != before) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return seconds;
}

// fresh_data: every start finds no data folder (the first start after installing), rather than
// the one an earlier start prepared.
void MeasureStart(benchmark::State& state, const std::string& program, bool fresh_data = false) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return state.SkipWithError("no display");
  if (program.empty() || TimeToFirstFrame(display, program) < 0) {  // also prepares the data
    XCloseDisplay(display);
    return state.SkipWithError("the program shows no frame");
  }
  for (auto _ : state) {
    if (fresh_data) fs::remove_all(Installed().data);
    const double seconds = TimeToFirstFrame(display, program);
    if (seconds < 0) {
      state.SkipWithError("no frame within ten seconds");
      break;
    }
    state.SetIterationTime(seconds);
  }
  XCloseDisplay(display);
}

void BM_Floor_EmptyWindowFirstFrame(benchmark::State& state) {
  MeasureStart(state, EMPTY_WINDOW_PROGRAM);
}
BENCHMARK(BM_Floor_EmptyWindowFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(15);

void BM_InstalledGameFirstFrame(benchmark::State& state) {
  MeasureStart(state, Installed().program);
}
BENCHMARK(BM_InstalledGameFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(15);

void BM_InstalledGameFirstStartFirstFrame(benchmark::State& state) {
  MeasureStart(state, Installed().program, true);
}
BENCHMARK(BM_InstalledGameFirstStartFirstFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  const int status =
      RunWithRatios(argc, argv,
                    {{"BM_InstalledGameFirstFrame", "BM_InstalledGameFirstFrame",
                      "BM_Floor_EmptyWindowFirstFrame"},
                     {"BM_InstalledGameFirstStartFirstFrame",
                      "BM_InstalledGameFirstStartFirstFrame", "BM_Floor_EmptyWindowFirstFrame"}},
                    ratio_time::real);
  if (!Installed().root.empty()) fs::remove_all(Installed().root);
  return status;
}
