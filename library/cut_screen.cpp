// The cutting screen: a picture file read for cutting on the worker thread, shown as it will be
// cut with the outlines of the chosen piece count, its name, and the cut itself on the worker
// with a progress bar, after which the new jigsaw starts scattered.
// Depends on tools/jigsaw (reading and cutting), draw/, platform/ (the worker) and game/.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>

#include "draw/draw.h"
#include "game/game.h"
#include "library/internal.h"
#include "platform/platform.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

constexpr uint32_t kOutlineColour = 0xFFFFFFF0;
constexpr int kChoiceWidth = 58, kChoiceHeight = 30, kChoiceGap = 6, kButtonWidth = 120, kButtonHeight = 40;

// The cutting screen's picture and what is chosen; empty while the screen is not shown.
struct cut_screen_type {
  std::string path, name, came_from;
  picture_to_cut read;
  std::shared_ptr<TPixmap> fitted;  // the picture at its size on the table
  std::vector<std::shared_ptr<TImage>> outlined;  // per choice, made when first shown
  int progress = 0, total = 0;  // pieces written while a cut runs
} cut_screen;

// The table's offset on the display: the 800 x 600 table centred.
int TableLeft() { return (GraphicsWidth() - table_width) / 2; }
int TableTop() { return (GraphicsHeight() - table_height) / 2; }

// Waits for the work given to the worker while the window keeps answering: every few
// milliseconds draw() and a flip, input polled (and left queued), a close request ending the
// program at once (the worker's stop flag then ends a cut, which leaves nothing behind).
void WaitForWorker(const std::function<void()>& draw) {
  while (WorkOutstanding() > 0) {
    draw();
    Flip(1);
    PollSystem();
    if (AppTerminate()) EndProgram();
    TakeFinishedWork();
    Delay(10);
  }
}

// A one-pixel line from a to b into an RGB pixmap, clipped to it.
void PlotLine(TPixmap& pixmap, vec2 a, vec2 b) {
  const int steps = std::max(1, int(std::max(std::abs(b.x - a.x), std::abs(b.y - a.y))));
  for (int k = 0; k <= steps; ++k) {
    const int x = int(a.x + (b.x - a.x) * k / steps), y = int(a.y + (b.y - a.y) * k / steps);
    if (x < 0 || y < 0 || x >= pixmap.width || y >= pixmap.height) continue;
    uint8_t* p = pixmap.PixelPtr(x, y);
    p[0] = ARGBRed(kOutlineColour), p[1] = ARGBGreen(kOutlineColour), p[2] = ARGBBlue(kOutlineColour);
  }
}

// The fitted picture with the inner edges of the cut the choice makes (the same seed as the cut).
std::shared_ptr<TImage> Outlined(size_t choice) {
  if (cut_screen.outlined[choice]) return cut_screen.outlined[choice];
  auto pixmap = CopyPixmap(cut_screen.fitted);
  const jigsaw_cut cut = MakeCut(pixmap->width, pixmap->height, cut_screen.read.choices[choice], cut_request{}.seed);
  for (const auto* paths : {&cut.across_paths, &cut.down_paths})
    for (const std::vector<vec2>& path : *paths)
      for (size_t k = 1; k < path.size(); ++k) PlotLine(*pixmap, path[k - 1], path[k]);
  cut_screen.outlined[choice] = TImage::Load(pixmap, 0, 0, 0, 0);
  return cut_screen.outlined[choice];
}

int ChoiceCount(size_t choice) {
  const jigsaw_grid grid = cut_screen.read.choices[choice];
  return grid.rows * grid.cols;
}

// The row of piece counts along the bottom, centred, then the Cut button at its right.
int ChoicesLeft() {
  const int n = static_cast<int>(cut_screen.read.choices.size());
  return (GraphicsWidth() - n * (kChoiceWidth + kChoiceGap) - kButtonWidth) / 2;
}
int ChoicesTop() { return GraphicsHeight() - kButtonHeight - 8; }
int ButtonLeft() {
  return ChoicesLeft() + static_cast<int>(cut_screen.read.choices.size()) * (kChoiceWidth + kChoiceGap);
}

void DrawChoices() {
  SetImageFont(game.fonts.small);
  for (size_t k = 0; k < cut_screen.read.choices.size(); ++k) {
    const int x = ChoicesLeft() + static_cast<int>(k) * (kChoiceWidth + kChoiceGap), y = ChoicesTop() + 5;
    const bool chosen = k == cut_screen.read.chosen;
    SetColor(16, 24, 70);
    DrawRect(static_cast<float>(x), static_cast<float>(y), kChoiceWidth, kChoiceHeight);
    if (chosen) SetColor(255, 214, 90);
    else SetColor(104, 140, 228);
    DrawRect(static_cast<float>(x + 2), static_cast<float>(y + 2), kChoiceWidth - 4, kChoiceHeight - 4);
    if (chosen) SetColor(16, 24, 70);
    else SetColor(255, 255, 224);
    DrawTextCentred(std::to_string(ChoiceCount(k)), x + kChoiceWidth / 2, y + kChoiceHeight / 2, true, true);
  }
  SetColor(255, 255, 255);
  DrawImage(library.cut_button, static_cast<float>(ButtonLeft()), static_cast<float>(ChoicesTop()), 0);
}

void DrawPicture() {
  SetClsColor(40, 44, 52);
  Cls();
  int w = 0, h = 0;
  FitOnTable(cut_screen.fitted->width, cut_screen.fitted->height, w, h);
  DrawImage(Outlined(cut_screen.read.chosen), static_cast<float>(TableLeft() + (table_width - w) / 2),
            static_cast<float>(TableTop() + (table_height - h) / 2), 0);
}

void DrawCutScreen() {
  DrawPicture();
  const jigsaw_grid grid = cut_screen.read.choices[cut_screen.read.chosen];
  DrawBanner(cut_screen.name + ": " + std::to_string(grid.rows * grid.cols) + " pieces", 30, 1);
  DrawChoices();
}

void DrawProgress() {
  DrawPicture();
  const int w = 400, h = 24, x = (GraphicsWidth() - w) / 2, y = GraphicsHeight() / 2;
  DrawBanner("Cutting " + cut_screen.name, y - 40, 1);
  SetColor(16, 24, 70);
  DrawRect(static_cast<float>(x - 3), static_cast<float>(y - 3), w + 6, h + 6);
  SetColor(255, 214, 90);
  const int done = cut_screen.total > 0 ? w * cut_screen.progress / cut_screen.total : 0;
  DrawRect(static_cast<float>(x), static_cast<float>(y), static_cast<float>(done), h);
  SetColor(255, 255, 255);
}

void Choose(size_t choice) {
  cut_screen.read.chosen = choice;
  game.click_pending = false;
}

}  // namespace

bool OpenPictureToCut(const std::string& path, const std::string& came_from) {
  ShowBusy("please wait");
  auto read = std::make_shared<picture_to_cut>();
  auto error = std::make_shared<std::string>();
  bool ok = false;
  RunInBackground([=, &ok](const std::atomic<bool>& stop) -> TWorkDone {
    const bool done = ReadPictureToCut(path, *read, *error, &stop);
    return [&ok, done] { ok = done; };
  });
  WaitForWorker([] {});
  if (!ok) {
    // The problem text begins with the path; the player reads it with the home folder as "~".
    const bool named = error->rfind(path, 0) == 0;
    ShowErrorAndWait(named ? ShownPath(path) + error->substr(path.size()) : *error);
    return false;
  }
  if (!library.cut_button) library.cut_button = LoadImage("images/cut.png", -1);
  cut_screen = {};
  cut_screen.path = path;
  cut_screen.came_from = came_from;
  cut_screen.read = std::move(*read);
  int w = 0, h = 0;
  FitOnTable(cut_screen.read.picture->width, cut_screen.read.picture->height, w, h);
  cut_screen.fitted = ScalePicture(cut_screen.read.picture, w, h);
  cut_screen.outlined.assign(cut_screen.read.choices.size(), nullptr);
  cut_screen.name = JigsawNameForPicture(path, "jigsaws");
  game.screen = "cut";
  return true;
}

void CutFrame() {
  if (!cut_screen.fitted) {
    game.screen = "jigsaw";
    return;
  }
  DrawCutScreen();
  if (!game.click_pending) return;
  for (size_t k = 0; k < cut_screen.read.choices.size(); ++k) {
    const int x = ChoicesLeft() + static_cast<int>(k) * (kChoiceWidth + kChoiceGap), y = ChoicesTop() + 5;
    if (MouseIn(x, y, x + kChoiceWidth - 1, y + kChoiceHeight - 1)) Choose(k);
  }
  if (MouseIn(ButtonLeft(), ChoicesTop(), ButtonLeft() + kButtonWidth - 1, ChoicesTop() + kButtonHeight - 1)) {
    game.click_pending = false;
    CutChosen();
  }
}

void CutScreenKey(int k) {
  const size_t chosen = cut_screen.read.chosen, last = cut_screen.read.choices.size() - 1;
  if ((k == KEY_LEFT || k == KEY_DOWN) && chosen > 0) Choose(chosen - 1);
  if ((k == KEY_RIGHT || k == KEY_UP) && chosen < last) Choose(chosen + 1);
  if (k == KEY_RETURN) CutChosen();
}

void CutChosen() {
  if (!cut_screen.fitted) return;
  const jigsaw_grid grid = cut_screen.read.choices[cut_screen.read.chosen];
  // Named again: the library may have changed since the screen opened.
  const std::string name = JigsawNameForPicture(cut_screen.path, "jigsaws");
  cut_screen.name = name;
  cut_screen.progress = 0;
  cut_screen.total = grid.rows * grid.cols;
  auto progress = std::make_shared<std::atomic<int>>(0);
  bool ok = false;
  std::string error;
  const std::shared_ptr<TPixmap> picture = cut_screen.read.picture;
  RunInBackground([=, &ok, &error](const std::atomic<bool>& stop) -> TWorkDone {
    cut_request request;
    request.rows = grid.rows;
    request.cols = grid.cols;
    request.cancel = &stop;
    request.progress = [progress](int done, int) { *progress = done; };
    std::string message;
    const bool done = CutJigsawFolder(picture, request, "jigsaws/" + name, message);
    return [&ok, &error, done, message] { ok = done, error = message; };
  });
  WaitForWorker([&] {
    cut_screen.progress = *progress;
    DrawProgress();
  });
  if (!ok) {
    ShowErrorAndWait(ShownPath(cut_screen.path) + ": " + error);
    return;
  }
  library.library_list.page = 0;  // the new jigsaw joins the library page
  cut_screen = {};
  ShowBusy("please wait");
  StartNewJigsaw(name);
  game.screen = "jigsaw";
}

void ResetCutScreen() { cut_screen = {}; }

void LeaveCutScreen() {
  game.screen = cut_screen.came_from.empty() ? "jigsaw" : cut_screen.came_from;
  cut_screen = {};
}
