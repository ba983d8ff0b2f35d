// The help screen: five pages of clickable command letters, each drawn over the screen it
// explains, and the zoom that opens the first one after the opening flight.
// Depends on draw/, platform/ and the modules whose screens lie beneath the pages (play/, box/,
// library/).
#include <cstring>

#include "box/box.h"
#include "draw/draw.h"
#include "library/library.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

constexpr int kRowWidth = 302, kRowHeight = 29;
constexpr int kFirstColumnX = 15, kSecondColumnX = 327;

struct help_page_type {
  const char* screen;  // shown over
  const char* letters;  // row order: down the first column, then down the second
  int first_column;     // rows in the first column
  int offset;           // y of the first row below the page's top
  void (*beneath)();    // draws the screen under the page
};

void DrawTableBeneath() {
  DrawTable();
  if (play.swatch_shown) DrawImage(play.swatch, 10, 463);
  DrawThumbnailIfShown();
}

void DrawBoxViewBeneath() {
  DrawBoxView();
  DrawThumbnailIfShown();
}

void DrawNewPageBeneath() { DrawLibraryPage("new1"); }
void DrawDeletePageBeneath() { DrawLibraryPage("delete1"); }

const help_page_type kPages[5] = {
    {"jigsaw", "ABCDEFGHIJKLMNO=PQRSTUVWZ12345-", 16, 12, DrawTableBeneath},
    {"box", "BDFHIKLMNPQSZ012345-", 10, 14, DrawBoxViewBeneath},
    {"load1", "DFHKNQS-", 4, 16, DrawSavedPage},
    {"new1", "DFHKLQS-", 4, 16, DrawNewPageBeneath},
    {"delete1", "ADFHKLNQSU-", 6, 16, DrawDeletePageBeneath},
};

// The page's picture, loaded the first time it is shown; nullptr when it cannot be loaded (the
// file is not tried again).
const std::shared_ptr<TImage>& Page(int k) {
  auto& images = shell.images;
  if (!images.help_tried[k]) {
    images.help_tried[k] = true;
    images.help_pages[k] = LoadImage("images/help" + std::to_string(k) + ".png", 0);
  }
  return images.help_pages[k];
}

struct row_type {
  int x, y;  // top-left corner on the display
};

// Row i of page k (drawn centred): down the first column, then down the second.
row_type Row(int k, const TImage& page, int i) {
  const help_page_type& p = kPages[k];
  bool first = i < p.first_column;
  return {(GraphicsWidth() - page.width) / 2 + (first ? kFirstColumnX : kSecondColumnX),
          (GraphicsHeight() - page.height) / 2 + p.offset + kRowHeight * (first ? i : i - p.first_column)};
}

// Index into the page's letters of the first row under the pointer, or -1.
int RowUnderPointer(int k, const TImage& page) {
  int count = static_cast<int>(std::strlen(kPages[k].letters));
  for (int i = 0; i < count; ++i) {
    row_type row = Row(k, page, i);
    if (MouseIn(row.x, row.y, row.x + kRowWidth, row.y + kRowHeight)) return i;
  }
  return -1;
}

void HighlightRow(int k, const TImage& page, int i) {
  row_type row = Row(k, page, i);
  SetColor(0, 255, 0);
  DrawFrame(row.x - 5, row.y - 5, kRowWidth + 5, kRowHeight + 5, 3);
  SetColor(255, 255, 255);
}

// The zoom ends the program on Escape and stops at a left click.
bool ZoomInterrupted() {
  if (KeyHit(KEY_ESCAPE)) EndProgram();
  return MouseHit(1) != 0;
}

}  // namespace

int HelpPageOf(const std::string& screen) {
  for (int k = 0; k < 5; ++k)
    if (screen == kPages[k].screen) return k;
  return -1;
}

void OpenHelp() {
  game.previous_screen = game.screen;
  game.screen = "help";
  shell.help_pointer_x = game.pointer_x;
  shell.help_pointer_y = game.pointer_y;
}

void CloseHelp() { game.screen = game.previous_screen; }

void HelpFrame() {
  int k = HelpPageOf(game.previous_screen);
  if (k < 0) return;
  kPages[k].beneath();
  const auto& page = Page(k);
  // A page that cannot be loaded shows only what lies beneath and offers no letters.
  if (!page) return;
  DrawCentred(page, true);
  int row = RowUnderPointer(k, *page);
  if (row < 0) return;
  if (shell.pending_confirm.empty()) HighlightRow(k, *page, row);
  if (game.click_pending) {
    game.click_pending = false;
    RunHelpLetter(k, kPages[k].letters[row]);
  }
}

void HelpZoom() {
  Flip(1);
  SetWindowFill(false);  // the page grows where the help screen will show it
  DrawTable();
  auto page = LoadImage("images/help0.png", 0);
  if (!page) return;
  MidHandleImage(page);
  for (int i = 1; i <= 200; ++i) {
    int t = Millisecs();
    float scale = static_cast<float>(i) / 200;
    SetScale(scale, scale);
    DrawImage(page, 400, 300);
    Flip(1);
    // The click that stops the zoom stays queued and is handled on the help screen.
    if (WaitAlive(t, 10, ZoomInterrupted)) break;
  }
  SetScale(1, 1);
}
