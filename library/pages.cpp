// Drawing the browser pages (the library, saved jigsaws, the player's own pictures): the
// thumbnail grid for both display sizes, the page buttons and the title, and hit-testing a click
// against what was drawn. Depends on draw/ (images, scale), files/ (thumbnail headers and
// decoding), game/ (banner, busy notice, pointer) and tools/jigsaw (the pictures' thumbnails).
#include <algorithm>
#include <array>
#include <functional>

#include "draw/draw.h"
#include "files/files.h"
#include "game/game.h"
#include "library/internal.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

constexpr int kGridTop = 66, kArrowTop = 12, kArrowBottom = 52, kArrowWidth = 84, kArrowGap = 87;

struct page_geometry {
  int rows, cols;
  int step_x, step_y;  // also the click rectangle's size
  float scale;         // of the thumbnail
};

int GridLeft() { return game.display.display_large ? 23 : 8; }

page_geometry LibraryGeometry() {
  return game.display.display_large ? page_geometry{9, 10, 98, 74, 0.36f} : page_geometry{7, 8, 98, 74, 0.36f};
}

// Picture thumbnails up to 184 x 128: four rows of four, five of five on the large display.
page_geometry PicturesGeometry() {
  return game.display.display_large ? page_geometry{5, 5, 196, 133, 1.0f} : page_geometry{4, 4, 196, 133, 1.0f};
}
constexpr int kPictureThumbnailWidth = 184, kPictureThumbnailHeight = 128;

page_geometry SavedGeometry() {
  return game.display.display_large ? page_geometry{4, 5, 196, 149, 0.73f} : page_geometry{3, 4, 196, 149, 0.73f};
}

bool OnSavedPage(const std::string& screen) { return screen == "load1"; }

// The page screen on display: help shows its page over the screen it was opened from.
const std::string& ShownScreen() { return game.screen == "help" ? game.previous_screen : game.screen; }

// The list that a page screen shows.
browser_list_type& ListOf(const std::string& screen) {
  if (screen == "pictures") return library.pictures_list;
  return OnSavedPage(screen) ? library.saved_list : library.library_list;
}

// The library page's My pictures button, right of the first two page buttons.
constexpr int kPicturesButtonWidth = 130;
int PicturesButtonLeft();

// The four buttons' left edges: first, previous, next, last page.
std::array<int, 4> ArrowLefts() {
  const int first = game.display.display_large ? 23 : 9;
  const int next = first + (game.display.display_large ? 806 : 610);
  return {first, first + kArrowGap, next, next + kArrowGap};
}

// A thumbnail far over its slot is refused before any pixel is decoded, and a page's
// thumbnails together stay within a budget, so hostile files cannot exhaust memory.
constexpr int kThumbnailMaxWidth = 1024, kThumbnailMaxHeight = 768;
constexpr int64_t kPageThumbnailBudget = int64_t{48} << 20;  // bytes of RGBA pixels

int64_t PixelBytes(int64_t width, int64_t height) { return width * height * 4; }


// A thumbnail file as the game writes it: its header is read first, and one declaring more than
// the slot or than `bytes_left` is refused without decoding.
std::shared_ptr<TPixmap> LoadThumbnailFile(const std::string& path, int64_t bytes_left) {
  const std::shared_ptr<TStream> stream = ReadFile(path);
  int32_t width = 0, height = 0;
  std::shared_ptr<TPixmap> pixmap;
  if (stream && ReadPixmapSize(*stream, width, height) && width <= kThumbnailMaxWidth &&
      height <= kThumbnailMaxHeight && PixelBytes(width, height) <= bytes_left)
    pixmap = LoadPixmap(stream);
  CloseStream(stream);
  return pixmap;
}

// A picture of the player's, reduced to a page cell while it is read.
std::shared_ptr<TPixmap> LoadPictureThumbnail(const std::string& path, int64_t bytes_left) {
  std::shared_ptr<TPixmap> pixmap = PictureThumbnail(path, kPictureThumbnailWidth, kPictureThumbnailHeight);
  return pixmap && PixelBytes(pixmap->width, pixmap->height) <= bytes_left ? pixmap : nullptr;
}

using thumbnail_loader = std::shared_ptr<TPixmap> (*)(const std::string& path, int64_t bytes_left);

// Loads entry's thumbnail unless it failed before and its file has not changed since.
void LoadThumbnail(tn3_type& entry, const std::string& path, int64_t bytes_left, thumbnail_loader load) {
  if (entry.failed) {
    if (FileStamp(path) == entry.failed_stamp) return;
    entry.failed = false;
  }
  if (std::shared_ptr<TPixmap> pixmap = load(path, bytes_left)) entry.img = TImage::Load(pixmap, 0, 0, 0, 0);
  if (!entry.img) {
    entry.failed = true;
    entry.failed_stamp = FileStamp(path);
  }
}

// Frees the thumbnails of every entry outside [keep_first, keep_last].
void FreeThumbnailsOutside(browser_list_type& list, size_t keep_first, size_t keep_last) {
  for (size_t k = 0; k < list.entries.size(); ++k)
    if (k < keep_first || k > keep_last) list.entries[k].img.reset();
}

int PicturesButtonLeft() { return ArrowLefts()[1] + kArrowWidth + 6; }

// The thumbnails of one page, from the entry numbered `first`. An entry whose thumbnail does not
// load takes no cell, so later entries move up (and show again on the next page).
void DrawGrid(browser_list_type& list, const page_geometry& geometry, bool crosses,
              const std::function<std::string(const tn3_type&)>& thumbnail_path,
              thumbnail_loader load = LoadThumbnailFile) {
  const int per_page = geometry.rows * geometry.cols;
  // An empty list still shows its one empty page.
  list.page_count = std::max(1, (list.count + per_page - 1) / per_page);
  list.drawn.clear();
  const size_t first = static_cast<size_t>(list.page - 1) * per_page;
  int row = 0, col = 0;
  int64_t page_bytes = 0;
  size_t k = first;
  for (; k < list.entries.size() && row < geometry.rows; ++k) {
    tn3_type& entry = list.entries[k];
    if (!entry.img) LoadThumbnail(entry, thumbnail_path(entry), kPageThumbnailBudget - page_bytes, load);
    if (!entry.img) continue;
    page_bytes += PixelBytes(ImageWidth(entry.img), ImageHeight(entry.img));
    entry.x = GridLeft() + col * geometry.step_x;
    entry.y = kGridTop + row * geometry.step_y;
    // Pictures come in every shape: each sits in the middle of its cell.
    const bool centred = load == LoadPictureThumbnail;
    const int dx = centred ? (kPictureThumbnailWidth - ImageWidth(entry.img)) / 2 : 0;
    const int dy = centred ? (kPictureThumbnailHeight - ImageHeight(entry.img)) / 2 : 0;
    SetScale(geometry.scale, geometry.scale);
    DrawImage(entry.img, static_cast<float>(entry.x + dx), static_cast<float>(entry.y + dy), 0);
    SetScale(1, 1);
    if (crosses && entry.marked) DrawImage(library.cross, static_cast<float>(entry.x), static_cast<float>(entry.y), 0);
    list.drawn.push_back(static_cast<int>(k));
    if (++col == geometry.cols) {
      col = 0;
      ++row;
    }
  }
  // The neighbouring pages stay loaded for paging back and forth; the rest is freed.
  FreeThumbnailsOutside(list, first >= static_cast<size_t>(per_page) ? first - per_page : 0,
                        k + per_page - 1);
}

// The first drawn entry of list under the pointer, or nullptr.
tn3_type* Hit(browser_list_type& list, const page_geometry& geometry) {
  for (int k : list.drawn) {
    tn3_type& entry = list.entries[k];
    if (MouseIn(entry.x, entry.y, entry.x + geometry.step_x, entry.y + geometry.step_y)) return &entry;
  }
  return nullptr;
}

// Builds the list first when its page is 0.
void BuildIfStale(browser_list_type& list, void (*build)()) {
  if (list.page != 0) return;
  ShowBusy("please wait");
  build();
}

}  // namespace

int LibraryEntriesPerPage() {
  const page_geometry geometry = LibraryGeometry();
  return geometry.rows * geometry.cols;
}

void DrawLibraryPage(const std::string& screen) {
  const bool killing = screen == "delete1";
  if (killing)
    SetClsColor(255, 0, 0);
  else
    SetClsColor(224, 255, 255);
  Cls();
  BuildIfStale(library.library_list, BuildLibraryList);
  DrawGrid(library.library_list, LibraryGeometry(), killing,
           [](const tn3_type& entry) { return "jigsaws/" + entry.tk + "/tn.png"; });
  DrawPageArrows();
  DrawPageTitle(screen);
  if (!killing) {
    if (!library.pictures_button) library.pictures_button = LoadImage("images/pictures.png", -1);
    DrawImage(library.pictures_button, static_cast<float>(PicturesButtonLeft()), kArrowTop, 0);
  }
}

bool ClickPicturesButton() {
  return MouseIn(PicturesButtonLeft(), kArrowTop, PicturesButtonLeft() + kPicturesButtonWidth - 1, kArrowBottom);
}

void DrawPicturesPage() {
  SetClsColor(224, 255, 255);
  Cls();
  BuildIfStale(library.pictures_list, BuildPicturesList);
  DrawGrid(library.pictures_list, PicturesGeometry(), false, [](const tn3_type& entry) { return entry.tk; },
           LoadPictureThumbnail);
  DrawPageArrows();
  DrawPageTitle("pictures");
  // The first page draws nothing only when no picture at all can be offered.
  const browser_list_type& list = library.pictures_list;
  if (list.page == 1 && list.drawn.empty())
    DrawBanner(std::string(list.count == 0 ? "No pictures yet"
                                           : "None of your pictures can become a jigsaw") +
                   ": put some in " + ShownPath(PictureFolders("pictures").front()),
               0, 1);
}

std::string HitPicturesPage() {
  tn3_type* entry = Hit(library.pictures_list, PicturesGeometry());
  return entry ? entry->tk : "";
}

void DrawSavedPage() {
  SetClsColor(224, 255, 255);
  Cls();
  BuildIfStale(library.saved_list, BuildSavedList);
  DrawGrid(library.saved_list, SavedGeometry(), false,
           [](const tn3_type& entry) { return library.player_folder + entry.tk + ".png"; });
  DrawPageArrows();
  DrawPageTitle("load1");
}

std::string HitLibraryPage() {
  tn3_type* entry = Hit(library.library_list, LibraryGeometry());
  if (!entry) return "";
  if (game.screen == "delete1" && entry->tk.rfind("0000", 0) != 0) entry->marked = entry->marked ? 0 : 1;
  return entry->tk;
}

std::string HitSavedPage() {
  tn3_type* entry = Hit(library.saved_list, SavedGeometry());
  return entry ? entry->tk : "";
}

bool ClickPageArrows() {
  browser_list_type& list = ListOf(ShownScreen());
  int page = list.page;
  bool hit = false;
  const std::array<int, 4> lefts = ArrowLefts();
  auto on = [&](int button) { return MouseIn(lefts[button], kArrowTop, lefts[button] + kArrowWidth, kArrowBottom); };
  if (on(0)) hit = true, page = 1;
  if (on(1)) hit = true, page = page > 1 ? page - 1 : page;
  if (on(2)) hit = true, page = page < list.page_count ? page + 1 : page;
  if (on(3)) hit = true, page = list.page_count;
  list.page = page;
  if (hit) ShowBusy("please wait");
  return hit;
}

void DrawPageArrows() {
  const browser_list_type& list = ListOf(ShownScreen());
  const std::array<int, 4> lefts = ArrowLefts();
  for (int button = 0; button < 4; ++button) {
    const bool shown = button < 2 ? list.page > 1 : list.page < list.page_count;
    if (shown) DrawImage(library.arrows[button + 1], static_cast<float>(lefts[button]), kArrowTop, 0);
  }
}

std::string PageTitle(const std::string& screen) {
  const browser_list_type& list = ListOf(screen);
  std::string title = "Page " + std::to_string(list.page) + " of " + std::to_string(list.page_count);
  if (screen == "load1") title = "Saved Jigsaws    " + title;
  if (screen == "pictures") title = "My Pictures    " + title;
  if (const int marked = CountMarked(); screen == "delete1" && marked > 0)
    title += "   Press K to Kill " + std::to_string(marked) + " jigsaw" + (marked == 1 ? "" : "s");
  return title;
}

void DrawPageTitle(const std::string& screen) { DrawBanner(PageTitle(screen), 30, 1); }

namespace {

// The list that the arrow keys page through: only on the three page screens.
browser_list_type* PagedList() {
  const std::string& screen = game.screen;
  if (screen != "new1" && screen != "delete1" && screen != "load1" && screen != "pictures") return nullptr;
  return &ListOf(screen);
}

}  // namespace

void PreviousPage() {
  browser_list_type* list = PagedList();
  if (!list || list->page <= 1) return;
  --list->page;
  ShowBusy("please wait");
}

void NextPage() {
  browser_list_type* list = PagedList();
  if (!list || list->page >= list->page_count) return;
  ++list->page;
  ShowBusy("please wait");
}

void ResetPagesForNewDisplaySize() {
  for (browser_list_type* list : {&library.library_list, &library.saved_list, &library.pictures_list})
    if (list->page > 0) list->page = 1;
}
