// The five help pages: every command letter of a screen on its own clickable row, 302 x 29,
// at x 15 (first column) and 327 (second column), rows going down by 29 from the page's
// first-row offset. The letter strings and column sizes must match the game's help table. A
// page may end its second column with a note in two small lines, which no click runs.
// Depends on assetgen.h.
#include <cstring>

#include "tools/assetgen/assetgen.h"

namespace {

constexpr int page_width = 644;
constexpr int row_width = 302, row_height = 29;
constexpr int first_column_x = 15, second_column_x = 327;

struct help_line {
  char letter;
  const char* text;
};

struct help_page {
  const char* title;
  const char* letters;
  int first_column;
  int offset;
  std::vector<help_line> lines;
  std::vector<const char*> note = {};  // at most two lines in the first free row
};

const help_line common[] = {
    {'D', "start the next jigsaw not saved yet"},
    {'F', "switch to the other display size"},
    {'H', "close this help"},
    {'K', "kill jigsaws from the library"},
    {'L', "load a jigsaw you saved"},
    {'N', "choose a new jigsaw from the library"},
    {'Q', "start a jigsaw picked at random"},
    {'S', "save this jigsaw"},
};

std::vector<help_line> With(std::vector<help_line> own) {
  for (const help_line& c : common) {
    bool taken = false;
    for (const help_line& o : own) taken = taken || o.letter == c.letter;
    if (!taken) own.push_back(c);
  }
  return own;
}

const char* TextOf(const help_page& page, char letter) {
  for (const help_line& l : page.lines)
    if (l.letter == letter) return l.text;
  return nullptr;
}

// The key a row's letter stands for: its own, except "-", whose key is Escape.
std::string KeyLabel(char letter) { return letter == '-' ? "Esc" : std::string(1, letter); }

void Row(canvas& c, asset_fonts& fonts, int x, int y, char letter, const char* text, bool shaded) {
  // A one-character cap is 25 wide in the large face; a longer key name gets a wider cap in the
  // small face, and the text moves along with it.
  const std::string key = KeyLabel(letter);
  text_face& key_face = key.size() == 1 ? fonts.large : fonts.small;
  const int cap_width = key.size() == 1 ? 25 : key_face.Width(key) + 12;
  const int text_x = x + cap_width + 11;
  if (text_x - x + fonts.small.Width(text) > row_width - 6)
    throw TRuntimeException(std::string("the help text of ") + letter + " is too wide: " + text);
  c.Rect(float(x), float(y), row_width, row_height - 1, shaded ? RGB(46, 62, 108) : RGB(38, 52, 94));
  c.RoundRect(float(x + 2), float(y + 2), float(cap_width), 24, 4, RGB(240, 230, 196));
  c.Rect(float(x + 4), float(y + 22), float(cap_width - 4), 2, RGB(196, 180, 140));
  key_face.DrawCentred(c, key, x + 2 + cap_width / 2.f, y + 13.5f, RGB(30, 30, 60));
  fonts.small.Draw(c, text, float(text_x), y + (row_height - 1 - fonts.small.Height()) / 2.f,
                   RGB(255, 255, 224));
}

// The note's lines in the row at (x, y), in the footer hint's colour: it is read, not clicked.
void Note(canvas& c, asset_fonts& fonts, int x, int y, const std::vector<const char*>& lines, bool shaded) {
  text_face face(fonts.tahoma_path, 11);
  c.Rect(float(x), float(y), row_width, row_height - 1, shaded ? RGB(46, 62, 108) : RGB(38, 52, 94));
  const float line_height = (row_height - 1) / 2.f;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (face.Width(lines[i]) > row_width - 12)
      throw TRuntimeException(std::string("the help note is too wide: ") + lines[i]);
    face.Draw(c, lines[i], float(x + 6), y + line_height * i + (line_height - face.Height()) / 2.f,
              RGB(200, 210, 236));
  }
}

void Page(const std::string& path, const help_page& page, asset_fonts& fonts) {
  int count = int(std::strlen(page.letters));
  int height = page.offset + page.first_column * row_height + 34;
  canvas c(page_width, height);
  Panel(c, 0, 0, page_width, float(height));
  for (int i = 0; i < count; ++i) {
    char letter = page.letters[i];
    const char* text = TextOf(page, letter);
    if (!text) throw TRuntimeException(std::string("no help text for ") + letter);
    bool second = i >= page.first_column;
    int row = second ? i - page.first_column : i;
    Row(c, fonts, second ? second_column_x : first_column_x, page.offset + row * row_height,
        letter, text, row % 2 == 0);
  }
  if (!page.note.empty()) {
    const int row = count - page.first_column;
    if (page.note.size() > 2 || row >= page.first_column)
      throw TRuntimeException(std::string("no room for the note of ") + page.title);
    Note(c, fonts, second_column_x, page.offset + row * row_height, page.note, row % 2 == 0);
  }
  float footer = float(height - 17);
  fonts.small.Draw(c, page.title, first_column_x, footer - 8, RGB(255, 255, 192));
  std::string hint = "click a row or press its key - click outside to close";
  fonts.small.Draw(c, hint, float(page_width - 15 - fonts.small.Width(hint)), footer - 8,
                   RGB(170, 184, 220));
  SavePNG(c.ToRGB(), path);
}

}  // namespace

void WriteHelpPages(const std::string& images, asset_fonts& fonts) {
  const help_page pages[5] = {
      {"Help - the table", "ABCDEFGHIJKLMNO=PQRSTUVWZ12345-", 16, 12,
       With({{'A', "show all the pieces"},
             {'B', "open the box view to sort pieces"},
             {'C', "show or hide the table colours"},
             {'E', "show or hide the border pieces"},
             {'G', "show or hide the joined groups"},
             {'I', "preferences"},
             {'J', "spread the border pieces to the edges"},
             {'M', "put the top-left corner in its place"},
             {'O', "show or hide the loose pieces"},
             {'=', "fetch the jigsaw you saved last"},
             {'P', "show or hide the picture"},
             {'R', "restart this jigsaw"},
             {'T', "tidy loose pieces where you clicked"},
             {'U', "turn every group upright"},
             {'V', "practice: all but ten pieces in place"},
             {'W', "switch between window and full screen"},
             {'Z', "hide all the pieces"},
             {'1', "show or hide the pieces in box 1"},
             {'2', "show or hide the pieces in box 2"},
             {'3', "show or hide the pieces in box 3"},
             {'4', "show or hide the pieces in box 4"},
             {'5', "show or hide the pieces in box 5"},
             {'-', "leave the game"}}),
       {"Zoom: wheel, PageUp PageDown, + -   Home: all",
        "Move: middle or Shift drag, arrows   Tab: map"}},
      {"Help - the box view", "BDFHIKLMNPQSZ012345-", 10, 14,
       With({{'B', "lay the loose pieces out again"},
             {'I', "preferences"},
             {'M', "fill the box with pieces of its colour"},
             {'P', "show or hide the picture"},
             {'Z', "hide all the pieces, back to the table"},
             {'0', "empty this box"},
             {'1', "open box 1"},
             {'2', "open box 2"},
             {'3', "open box 3"},
             {'4', "open box 4"},
             {'5', "open box 5"},
             {'-', "to the table; a click shows this box"}})},
      {"Help - saved jigsaws", "DFHKNQS-", 4, 16, With({{'-', "back to the table"}})},
      {"Help - the library", "DFHKLQS-", 4, 16, With({{'-', "back to the table"}})},
      {"Help - killing jigsaws", "ADFHKLNQSU-", 6, 16,
       With({{'A', "mark every jigsaw on this page"},
             {'K', "kill the marked jigsaws"},
             {'U', "unmark every jigsaw on this page"},
             {'-', "back to the table"}})},
  };
  for (int k = 0; k < 5; ++k) Page(images + "/help" + std::to_string(k) + ".png", pages[k], fonts);
}
