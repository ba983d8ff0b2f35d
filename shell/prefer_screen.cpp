// The "prefer" screen: seven yes/no rows edited on working copies, OK and Cancel.
// Depends on draw/ and play/ (the table colour behind the page).
#include "draw/draw.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

constexpr int kRows = 7;
constexpr int kYesX = 400, kNoX = 462, kFirstRowY = 44, kRowStep = 56;

void LoadPreferImages() {
  auto& images = shell.images;
  if (images.prefer_loaded) return;
  images.prefer_loaded = true;
  images.prefer = LoadImage("images/prefer.png", 0);
  images.yes = LoadImage("images/yes.png", 0);
  images.no = LoadImage("images/no.png", 0);
  images.yes_grey = LoadImage("images/yes_grey.png", 0);
  images.no_grey = LoadImage("images/no_grey.png", 0);
}

// Rows 0..4 edit the working copies; rows 5 and 6 edit their preferences at once.
int& RowValue(int r) {
  auto& prefs = game.prefs;
  if (r < 5) return prefs.prefer_working[r + 1];
  return r == 5 ? prefs.pref_save_message : prefs.pref_keep_colour;
}

void TakeWorkingCopies() {
  auto& prefs = game.prefs;
  prefs.prefer_working = {0, prefs.pref_show_help, prefs.pref_large, prefs.sound_on, prefs.pref_windowed, prefs.pref_hint};
}

void KeepWorkingCopies() {
  auto& prefs = game.prefs;
  prefs.pref_show_help = prefs.prefer_working[1];
  prefs.pref_large = prefs.prefer_working[2];
  prefs.sound_on = prefs.prefer_working[3];
  prefs.pref_windowed = prefs.prefer_working[4];
  prefs.pref_hint = prefs.prefer_working[5];
}

int Width(const std::shared_ptr<TImage>& image) { return image ? ImageWidth(image) : 0; }
int Height(const std::shared_ptr<TImage>& image) { return image ? ImageHeight(image) : 0; }

// OK, Cancel or a row's Yes or No, at their places on the centred page.
void Click() {
  game.click_pending = false;
  const auto& images = shell.images;
  if (MouseInCentred(images.prefer, 202, 443, 256, 476)) {
    KeepWorkingCopies();
    SavePreferences();
    game.screen = "jigsaw";
    return;
  }
  if (MouseInCentred(images.prefer, 273, 443, 348, 476)) {
    game.prefs.prefer_working[1] = -1;
    game.screen = "jigsaw";
    return;
  }
  int yes_width = Width(images.yes), row_height = Height(images.no);
  for (int r = 0; r < kRows; ++r) {
    int y = kFirstRowY + kRowStep * r;
    if (MouseInCentred(images.prefer, kYesX, y, kYesX + yes_width, y + row_height)) {
      RowValue(r) = 1;
      return;
    }
    if (MouseInCentred(images.prefer, kNoX, y, kNoX + yes_width, y + row_height)) {
      RowValue(r) = 0;
      return;
    }
  }
}

}  // namespace

void DrawYesNo(int x, int y, int gap, int value) {
  const auto& images = shell.images;
  DrawImage(value ? images.yes : images.yes_grey, static_cast<float>(x), static_cast<float>(y));
  DrawImage(value ? images.no_grey : images.no, static_cast<float>(x + gap), static_cast<float>(y));
}

void PreferFrame() {
  if (game.prefs.prefer_working[1] == -1) TakeWorkingCopies();
  SetClsColor(play.table_colour.r, play.table_colour.g, play.table_colour.b);
  Cls();
  LoadPreferImages();
  const auto& page = shell.images.prefer;
  DrawCentred(page, true);
  int left = (GraphicsWidth() - Width(page)) / 2, top = (GraphicsHeight() - Height(page)) / 2;
  for (int r = 0; r < kRows; ++r) DrawYesNo(left + kYesX, top + kFirstRowY + kRowStep * r, kNoX - kYesX, RowValue(r));
  if (game.click_pending) Click();
}
