// tesselka-cut: turns a picture (PNG, JPEG, BMP or TGA) into a Tesselka jigsaw folder.
// Depends on tools/jigsaw (reading the picture and cutting it).
#include <signal.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/jigsaw/jigsaw.h"

namespace {

const char* const usage =
    "Usage: tesselka-cut [options] PICTURE FOLDER\n"
    "\n"
    "Cuts PICTURE (PNG, JPEG, BMP or TGA) into a Tesselka jigsaw and writes it to FOLDER,\n"
    "for example jigsaws/5000my_garden in the game's data folder. Up to 300 pieces the picture\n"
    "is scaled to fit the 800 x 600 table; past that its pieces are about 64 pixels across (never\n"
    "more than the picture's own pixels) on a bigger table, and each needs at least 40 x 40\n"
    "pixels of the picture. Pieces are classic, a tab or a blank on every inner edge.\n"
    "\n"
    "Options:\n"
    "  --pieces N       about N pieces, the grid chosen for square pieces (default 100, at most 2000)\n"
    "  --rows R         the number of rows    (with --cols: an exact grid, at most 2000 pieces)\n"
    "  --cols C         the number of columns\n"
    "  --seed S         the seed of the piece shapes; the same seed gives the same jigsaw (default 1)\n"
    "  --force          replace FOLDER if it is a jigsaw folder (pieces.txt and piece pictures)\n"
    "  --help           show this text\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "tesselka-cut: %s\n", message.c_str());
  return 1;
}

// A whole non-negative decimal number, or -1.
long long Number(const char* text) {
  if (!*text) return -1;
  long long value = 0;
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9' || value > 1000000000000LL) return -1;
    value = value * 10 + (*p - '0');
  }
  return value;
}

// Ctrl-C and termination stop the read or the cut at its next step (a cut then leaves nothing
// behind); the signal then ends the process as it would have.
std::atomic<bool> stop{false};
std::atomic<int> stop_signal{0};

void RequestStop(int signal) {
  stop_signal = signal;
  stop = true;
}

void StopOnSignals() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(signal, &action, nullptr);
}

// Ends the process by the signal that stopped it, if one did.
void EndIfStopped() {
  if (const int signal = stop_signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
}

}  // namespace

int main(int argc, char** argv) {
  IgnoreFileSizeSignal();  // a file-size limit then fails the cut with a message
  cut_request request;
  std::string picture_path, folder;
  bool pieces_given = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(usage, stdout);
      return 0;
    }
    if (arg == "--force") {
      request.force = true;
      continue;
    }
    if (arg == "--pieces" || arg == "--rows" || arg == "--cols" || arg == "--seed") {
      if (i + 1 >= argc) return Fail(arg + " needs a number (see --help)");
      long long value = Number(argv[++i]);
      bool seed = arg == "--seed";
      if (value < 0 || (!seed && value > 100000))
        return Fail(arg + " needs a whole number, not '" + argv[i] + "'");
      if (arg == "--pieces") request.pieces = int(value), pieces_given = true;
      else if (arg == "--rows") request.rows = int(value);
      else if (arg == "--cols") request.cols = int(value);
      else request.seed = uint64_t(value);
      continue;
    }
    if (arg.size() > 1 && arg[0] == '-') return Fail("unknown option " + arg + " (see --help)");
    if (picture_path.empty()) picture_path = arg;
    else if (folder.empty()) folder = arg;
    else return Fail("unexpected argument '" + arg + "' (see --help)");
  }
  if (folder.empty()) {
    std::fputs(usage, stderr);
    return 1;
  }
  if ((request.rows != 0) != (request.cols != 0)) return Fail("--rows and --cols go together");
  if (request.rows != 0 && pieces_given) return Fail("give either --pieces or --rows and --cols");

  StopOnSignals();
  request.cancel = &stop;
  picture_result picture = LoadPictureForCut(picture_path, &stop);
  EndIfStopped();
  if (!picture.pixmap) return Fail(picture_path + " " + picture.problem);
  // A grid past 300 pieces is checked against the picture's own size, then cut from the picture
  // read again at the size it takes.
  const jigsaw_grid asked = request.rows != 0 ? jigsaw_grid{request.rows, request.cols}
                            : request.pieces >= 2 && request.pieces <= max_pieces
                                ? ChooseGrid(picture.pixmap->width, picture.pixmap->height, request.pieces)
                                : jigsaw_grid{};
  if (int64_t{asked.rows} * asked.cols > table_pieces && int64_t{asked.rows} * asked.cols <= max_pieces) {
    const std::string problem = GridProblem(picture.full_width, picture.full_height, asked);
    if (!problem.empty()) return Fail(picture_path + ": " + problem);
    picture = PictureForGrid(picture_path, picture.pixmap, picture.full_width, picture.full_height, asked, &stop);
    EndIfStopped();
    if (!picture.pixmap) return Fail(picture_path + " " + picture.problem);
    request.rows = asked.rows;
    request.cols = asked.cols;
  }
  std::string error;
  jigsaw_grid grid;
  const bool done = CutJigsawFolder(picture.pixmap, request, folder, error, &grid);
  EndIfStopped();
  if (!done) return Fail(error);
  std::printf("tesselka-cut: %d pieces (%d rows, %d columns) written to %s\n", grid.rows * grid.cols,
              grid.rows, grid.cols, folder.c_str());
  return 0;
}
