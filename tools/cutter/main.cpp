// tesselka-cut: turns a picture (PNG, JPEG, BMP or TGA) into a Tesselka jigsaw folder.
// Depends on tools/jigsaw (reading the picture and cutting it).
#include <signal.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/jigsaw/jigsaw.h"

namespace {

const char* const usage =
    "Usage: tesselka-cut [options] PICTURE FOLDER\n"
    "\n"
    "Cuts PICTURE (PNG, JPEG, BMP or TGA) into a Tesselka jigsaw and writes it to FOLDER,\n"
    "for example jigsaws/5000my_garden in the game's data folder. The picture is scaled to\n"
    "fit the 800 x 600 table and cut into classic pieces, a tab or a blank on every inner edge.\n"
    "\n"
    "Options:\n"
    "  --pieces N       about N pieces, the grid chosen for square pieces (default 100, at most 300)\n"
    "  --rows R         the number of rows    (with --cols: an exact grid, at most 300 pieces)\n"
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

  const picture_result picture = LoadPictureForCut(picture_path);
  if (!picture.pixmap) return Fail(picture_path + " " + picture.problem);
  // Hold Ctrl-C and termination back while the folder is written (under a second): the cutter
  // then always finishes or cleans up its temporary folder before the signal ends it.
  sigset_t held, previous;
  sigemptyset(&held);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
  sigprocmask(SIG_BLOCK, &held, &previous);
  std::string error;
  jigsaw_grid grid;
  bool done = CutJigsawFolder(picture.pixmap, request, folder, error, &grid);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  if (!done) return Fail(error);
  std::printf("tesselka-cut: %d pieces (%d rows, %d columns) written to %s\n", grid.rows * grid.cols,
              grid.rows, grid.cols, folder.c_str());
  return 0;
}
