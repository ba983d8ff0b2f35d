// The seeded random source, the grid choice, the size a picture is cut at and the table it lies
// on. Depends on jigsaw.h only.
#include <algorithm>
#include <cmath>

#include "tools/jigsaw/jigsaw.h"

uint64_t seeded_random::Next() {
  state_ += 0x9e3779b97f4a7c15ull;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

double seeded_random::Unit() { return double(Next() >> 11) * 0x1.0p-53; }

double seeded_random::Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

int seeded_random::Int(int lo, int hi) {
  return lo + int(Next() % uint64_t(int64_t(hi) - lo + 1));
}

jigsaw_grid ChooseGrid(int width, int height, int pieces) {
  jigsaw_grid best{1, 2};
  double best_score = 1e30;
  const int most = pieces <= table_pieces ? table_pieces : max_pieces;
  for (int rows = 1; rows <= most; ++rows) {
    for (int cols = 1; rows * cols <= most; ++cols) {
      if (rows * cols < 2) continue;
      // Relative miss of the count, plus how far the cells are from square (log of the ratio).
      double miss = std::abs(rows * cols - pieces) / double(std::max(pieces, 1));
      double shape = std::abs(std::log((double(width) / cols) / (double(height) / rows)));
      double score = miss * 4 + shape;
      if (score < best_score) {
        best_score = score;
        best = {rows, cols};
      }
    }
  }
  return best;
}

std::string GridProblem(int width, int height, jigsaw_grid grid) {
  const std::string pieces = std::to_string(grid.rows) + " x " + std::to_string(grid.cols);
  const std::string size = std::to_string(width) + " x " + std::to_string(height);
  if (int64_t{grid.rows} * grid.cols > table_pieces) {
    if (int64_t(width) < int64_t(grid.cols) * min_big_cell ||
        int64_t(height) < int64_t(grid.rows) * min_big_cell)
      return "the picture is " + size + " pixels, too small to cut into " + pieces +
             " pieces (past " + std::to_string(table_pieces) + " pieces each needs at least " +
             std::to_string(min_big_cell) + " x " + std::to_string(min_big_cell) +
             " pixels of the picture)";
    int cut_width = 0, cut_height = 0, table_w = 0, table_h = 0;
    CutSize(width, height, grid, cut_width, cut_height);
    TableSize(cut_width, cut_height, table_w, table_h);
    if (table_w > max_table_side || table_h > max_table_side)
      return "the table for " + pieces + " pieces of this picture would be over " +
             std::to_string(max_table_side) + " pixels across; choose fewer rows or columns";
    return "";
  }
  if (int64_t(width) < int64_t(grid.cols) * min_source_cell ||
      int64_t(height) < int64_t(grid.rows) * min_source_cell)
    return "the picture is " + size + " pixels, too small to cut into " + pieces +
           " pieces (each piece needs at least " + std::to_string(min_source_cell) + " x " +
           std::to_string(min_source_cell) + " pixels)";
  int fitted_width = 0, fitted_height = 0;
  FitOnTable(width, height, fitted_width, fitted_height);
  if (fitted_width < grid.cols * min_table_cell || fitted_height < grid.rows * min_table_cell)
    return "the pieces of a " + pieces + " grid would be smaller than " +
           std::to_string(min_table_cell) + " x " + std::to_string(min_table_cell) +
           " pixels on the table; choose fewer rows or columns";
  return "";
}

void FitOnTable(int width, int height, int& fitted_width, int& fitted_height) {
  double scale = std::min(double(picture_max_width) / width, double(picture_max_height) / height);
  fitted_width = std::max(1, int(std::lround(width * scale)));
  fitted_height = std::max(1, int(std::lround(height * scale)));
  fitted_width = std::min(fitted_width, picture_max_width);
  fitted_height = std::min(fitted_height, picture_max_height);
}

void CutSize(int width, int height, jigsaw_grid grid, int& cut_width, int& cut_height) {
  if (int64_t{grid.rows} * grid.cols <= table_pieces) return FitOnTable(width, height, cut_width, cut_height);
  const double cell = std::sqrt((double(width) / grid.cols) * (double(height) / grid.rows));
  const double scale = std::min(1.0, big_cell / cell);
  cut_width = std::clamp(int(std::lround(width * scale)), 1, width);
  cut_height = std::clamp(int(std::lround(height * scale)), 1, height);
}

void TableSize(int width, int height, int& table_w, int& table_h) {
  table_w = table_width;
  table_h = table_height;
  if (width <= picture_max_width && height <= picture_max_height) return;
  // Width from the area, then from the picture with an eighth to spare on each side; a multiple
  // of 4, so that the height is exactly three quarters of it.
  double w = std::sqrt(big_table_area * double(width) * height * 4 / 3);
  w = std::max({w, width * 1.25, height * 1.25 * 4 / 3, double(table_width)});
  const int64_t whole = (int64_t(std::ceil(w)) + 3) / 4 * 4;
  table_w = int(std::min<int64_t>(whole, int64_t{1} << 30));
  table_h = table_w / 4 * 3;
}
