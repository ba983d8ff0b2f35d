// The pointer the X server shows now, asked through XFixes, for the tests of pointer pictures.
#pragma once

#include <cstdint>
#include <vector>

struct shown_pointer {
  int width = 0, height = 0, hot_x = 0, hot_y = 0;
  std::vector<uint32_t> argb;  // premultiplied, row by row; empty when the server cannot say
  // No pixel with any alpha: the pointer is hidden.
  bool Invisible() const;
};

shown_pointer ShownPointer();
