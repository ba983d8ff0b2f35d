// The cutting screen: a picture file read for cutting on the worker thread, shown as it will be
// cut with the outlines of the chosen piece count between its name and the row of counts, and
// the cut itself on the worker with a progress bar, after which the new jigsaw starts scattered.
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
constexpr int kBannerY = 30;  // the centre of the name banner

// Space kept between the picture and the banner, the row of counts and the window's sides.
constexpr int kPictureGap = 6, kPictureSide = 10;

// The cutting screen's picture and what is chosen; empty while the screen is not shown.
struct cut_screen_type {
  std::string path, name, came_from;
  picture_to_cut read;
  // The picture fitted between the banner and the row of counts, laid out for a display of
  // layout_width x layout_height, with its top-left corner at (left, top).
  std::shared_ptr<TPixmap> fitted;
  int layout_width = 0, layout_height = 0, left = 0, top = 0;
  std::vector<std::shared_ptr<TImage>> outlined;  // per choice, made when first shown
  std::string limit;  // said above the row of counts; "" when the picture carries the most pieces
  int progress = 0, total = 0;  // pieces written while a cut runs
} cut_screen;

int ChoiceCount(size_t choice) {
  const jigsaw_grid grid = cut_screen.read.choices[choice];
  return grid.rows * grid.cols;
}

std::string BannerText(size_t choice) {
  return cut_screen.name + ": " + std::to_string(ChoiceCount(choice)) + " pieces";
}

// Said under the picture when it is too small for about as many pieces as a jigsaw holds; ""
// otherwise.
std::string LimitText(const picture_to_cut& read) {
  const jigsaw_grid most = ChooseGrid(read.full_width, read.full_height, max_pieces);
  if (GridProblem(read.full_width, read.full_height, most).empty()) return "";
  const jigsaw_grid offered = read.choices.back();
  return "This picture is big enough for at most " + std::to_string(offered.rows * offered.cols) + " pieces";
}

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

// The fitted picture with the inner edges of the cut the choice makes (the same seed as the cut),
// drawn on the size the cut takes and scaled down onto the fitted picture.
std::shared_ptr<TImage> Outlined(size_t choice) {
  if (cut_screen.outlined[choice]) return cut_screen.outlined[choice];
  auto pixmap = CopyPixmap(cut_screen.fitted);
  const picture_to_cut& read = cut_screen.read;
  const jigsaw_grid grid = read.choices[choice];
  const bool big = int64_t{grid.rows} * grid.cols > table_pieces;
  int width = 0, height = 0;
  CutSize(big ? read.full_width : read.picture->width, big ? read.full_height : read.picture->height, grid,
          width, height);
  const jigsaw_cut cut = MakeCut(width, height, grid, cut_request{}.seed);
  const double sx = double(pixmap->width) / width, sy = double(pixmap->height) / height;
  const auto scaled = [&](vec2 p) { return vec2{p.x * sx, p.y * sy}; };
  for (const auto* paths : {&cut.across_paths, &cut.down_paths})
    for (const std::vector<vec2>& path : *paths)
      for (size_t k = 1; k < path.size(); ++k) PlotLine(*pixmap, scaled(path[k - 1]), scaled(path[k]));
  cut_screen.outlined[choice] = TImage::Load(pixmap, 0, 0, 0, 0);
  return cut_screen.outlined[choice];
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

// Top of the line of text above the row of counts.
int LimitTextTop() {
  SetImageFont(game.fonts.small);
  return ChoicesTop() - 4 - TextHeight("0");
}

// Fits the picture between the banner (as tall as the widest count makes it) and the row of
// counts with the line above it, for the display as it is now; outlines made for another
// display size go.
void LayOutPicture() {
  if (cut_screen.layout_width == GraphicsWidth() && cut_screen.layout_height == GraphicsHeight()) return;
  cut_screen.layout_width = GraphicsWidth();
  cut_screen.layout_height = GraphicsHeight();
  const int top = BannerBottom(BannerText(cut_screen.read.choices.size() - 1), kBannerY) + kPictureGap;
  const int bottom = (cut_screen.limit.empty() ? ChoicesTop() : LimitTextTop()) - kPictureGap;
  const int room_width = GraphicsWidth() - 2 * kPictureSide, room_height = std::max(1, bottom - top);
  const std::shared_ptr<TPixmap>& picture = cut_screen.read.picture;
  const double scale = std::min(double(room_width) / picture->width, double(room_height) / picture->height);
  const int w = std::clamp(int(std::lround(picture->width * scale)), 1, room_width);
  const int h = std::clamp(int(std::lround(picture->height * scale)), 1, room_height);
  cut_screen.fitted = ScalePicture(picture, w, h);
  cut_screen.left = (GraphicsWidth() - w) / 2;
  cut_screen.top = top + (room_height - h) / 2;
  cut_screen.outlined.assign(cut_screen.read.choices.size(), nullptr);
}

void DrawPicture() {
  SetClsColor(40, 44, 52);
  Cls();
  LayOutPicture();
  DrawImage(Outlined(cut_screen.read.chosen), static_cast<float>(cut_screen.left),
            static_cast<float>(cut_screen.top), 0);
}

void DrawCutScreen() {
  DrawPicture();
  DrawBanner(BannerText(cut_screen.read.chosen), kBannerY, 1);
  if (!cut_screen.limit.empty()) {
    const int top = LimitTextTop();  // sets the small font
    SetColor(255, 255, 224);
    DrawTextCentred(cut_screen.limit, GraphicsWidth() / 2, top, true, false);
  }
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
  cut_screen.name = JigsawNameForPicture(path, "jigsaws");
  cut_screen.limit = LimitText(cut_screen.read);
  LayOutPicture();
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
  const std::string path = cut_screen.path;
  const int full_width = cut_screen.read.full_width, full_height = cut_screen.read.full_height;
  RunInBackground([=, &ok, &error](const std::atomic<bool>& stop) -> TWorkDone {
    cut_request request;
    request.rows = grid.rows;
    request.cols = grid.cols;
    request.cancel = &stop;
    request.progress = [progress](int done, int) { *progress = done; };
    std::string message;
    // Past 300 pieces the picture is read again at the size the cut takes.
    const picture_result source = PictureForGrid(path, picture, full_width, full_height, grid, &stop);
    const bool done = source.pixmap && CutJigsawFolder(source.pixmap, request, "jigsaws/" + name, message);
    if (!source.pixmap) message = "the picture file " + source.problem;
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
