// The preferences page and its yes/no buttons. The game draws the buttons of row r at
// (400, 44 + 56 r) and (462, 44 + 56 r) of the page and takes clicks on OK and Cancel.
// Depends on assetgen.h.
#include "tools/assetgen/assetgen.h"

namespace {

constexpr int page_width = 560, page_height = 500;
constexpr int first_row_y = 44, row_step = 56;
constexpr int button_width = 58, button_height = 40;  // yes.png and no.png, 4 pixels apart

void YesNo(const std::string& images, asset_fonts& fonts) {
  struct picture {
    const char* file;
    const button_style* style;
    const char* label;
  };
  for (const picture& p : {picture{"yes.png", &yes_style, "Yes"}, picture{"no.png", &no_style, "No"},
                           picture{"yes_grey.png", &grey_style, "Yes"},
                           picture{"no_grey.png", &grey_style, "No"}}) {
    canvas c(button_width, button_height);
    Button(c, 0, 0, button_width, button_height, 0, *p.style, fonts.large, p.label);
    SavePNG(c.ToRGB(), images + "/" + p.file);
  }
}

}  // namespace

void WritePreferencePictures(const std::string& images, asset_fonts& fonts) {
  const char* const rows[7][2] = {
      {"Show help at start", "the help page opens once the jigsaw has flown together"},
      {"Start in the large display", "1024 x 768 instead of 800 x 600, from the next start"},
      {"Sound and music", "the click of joining pieces, the chime and the tune"},
      {"Start in a window", "a window instead of the full screen, from the next start"},
      {"Show the hint", "\"press H at any time for Help\" when the game starts"},
      {"Show \"jigsaw saved\"", "a message after every save"},
      {"Keep my own table colour", "the colour picked with C stays for every jigsaw"}};
  canvas c(page_width, page_height);
  Panel(c, 0, 0, page_width, page_height);
  fonts.large.DrawCentred(c, "Preferences", page_width / 2.f, 20, RGB(255, 255, 192));
  for (int r = 0; r < 7; ++r) {
    float y = float(first_row_y + row_step * r);
    if (r % 2 == 0) c.Rect(8, y - 6, page_width - 16, row_step, RGB(255, 255, 255), 0.05f);
    fonts.large.Draw(c, rows[r][0], 20, y - 2, RGB(255, 255, 192));
    fonts.small.Draw(c, rows[r][1], 22, y + 24, RGB(170, 184, 220));
  }
  Button(c, 202, 443, 55, 34, 6, yes_style, fonts.large, "OK");
  Button(c, 273, 443, 76, 34, 6, no_style, fonts.large, "Cancel");
  SavePNG(c.ToRGB(), images + "/prefer.png");
  YesNo(images, fonts);
}
