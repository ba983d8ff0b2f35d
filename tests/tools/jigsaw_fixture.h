// Helpers of the tools tests: a test picture, reading a jigsaw folder back through the game's
// loaders and laying its pieces out at their home positions.
// Depends on files/files.h and tools/jigsaw/jigsaw.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "draw/pixmap.h"

// An RGB picture with smooth colour, fine detail and a block of pure black in its top-left.
std::shared_ptr<TPixmap> TestPicture(int width, int height);

// The runtime tree the build generated (TESSELKA_RUNTIME).
std::string RuntimeFolder();

struct loaded_jigsaw {
  int rows = 0, cols = 0;
  int line_count = 0;                        // lines of pieces.txt
  std::vector<std::pair<int, int>> homes;    // x0, y0 of pieces 1..n (index 0 = piece 1)
  std::vector<std::shared_ptr<TPixmap>> pieces;  // as LoadPixmap gives them; nullptr if unreadable
  int colour[3] = {-1, -1, -1};              // table colour, -1 when absent
  std::shared_ptr<TPixmap> thumbnail;
};
// Reads a jigsaw folder the way the game does (text-to-integer lines, LoadPixmap).
loaded_jigsaw LoadJigsaw(const std::string& folder);

// Every piece's non-black pixels placed so that the image centre lies on its home position.
struct table_layout {
  std::shared_ptr<TPixmap> table;  // 800 x 600 RGB, black where no piece lies
  std::vector<int> owner;          // per table pixel: piece number, 0 = none, -1 = two or more
  int outside = 0;                 // piece pixels that fell off the table
};
table_layout LayOut(const loaded_jigsaw& jigsaw);

// The rectangle the cutter places a width x height picture in on the table.
struct table_rect {
  int x, y, w, h;
};
table_rect PictureRect(int width, int height);
