// What a front end offers before a cut: the piece counts for a picture's shape and a safe, unused
// name for the new jigsaw. Depends on jigsaw.h and POSIX lstat.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "tools/jigsaw/jigsaw.h"

namespace {

// Counts up to table_pieces are grids of the picture as read; past that, of its own size.
constexpr int offered_counts[] = {12, 24, 48, 70, 100, 150, 200, 300, 500, 750, 1000, 1500, 2000};
// Left out in this order while more than max_offered counts would be offered (a row of them
// must fit the cutting screen).
constexpr int thinned_counts[] = {70, 150, 24, 750, 1500};
constexpr size_t max_offered = 8;
constexpr int default_count = 100;
constexpr size_t max_name_bytes = 64;

// The file name without its folder and its last extension.
std::string Stem(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

// At most max bytes, cut before a UTF-8 continuation byte, never inside a character.
void CutAtCharacter(std::string& text, size_t max) {
  if (text.size() <= max) return;
  size_t end = max;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

bool Exists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::vector<jigsaw_grid> PieceCountChoices(int width, int height, int full_width, int full_height) {
  std::vector<jigsaw_grid> choices;
  std::vector<int> targets;  // the count each choice was chosen for; 0 for the finest grid
  const auto offer = [&](jigsaw_grid grid, int target) {
    const int64_t count = int64_t{grid.rows} * grid.cols;
    const bool big = count > table_pieces;
    const bool repeat = !choices.empty() && int64_t{choices.back().rows} * choices.back().cols >= count;
    if (repeat || !GridProblem(big ? full_width : width, big ? full_height : height, grid).empty()) return;
    choices.push_back(grid);
    targets.push_back(target);
  };
  for (int count : offered_counts)
    offer(count <= table_pieces ? ChooseGrid(width, height, count) : ChooseGrid(full_width, full_height, count), count);
  // The finest grid the picture carries, when well past the last count offered.
  const jigsaw_grid finest{full_height / min_big_cell, full_width / min_big_cell};
  const int64_t finest_count = int64_t{finest.rows} * finest.cols;
  const int64_t last = choices.empty() ? 0 : int64_t{choices.back().rows} * choices.back().cols;
  if (finest_count > table_pieces && finest_count <= max_pieces && finest_count * 5 > last * 6) offer(finest, 0);
  for (int count : thinned_counts) {
    if (choices.size() <= max_offered) break;
    const auto at = std::find(targets.begin(), targets.end(), count);
    if (at == targets.end()) continue;
    choices.erase(choices.begin() + (at - targets.begin()));
    targets.erase(at);
  }
  return choices;
}

size_t DefaultCountChoice(const std::vector<jigsaw_grid>& choices) {
  size_t best = 0;
  for (size_t k = 1; k < choices.size(); ++k)
    if (std::abs(choices[k].rows * choices[k].cols - default_count) <
        std::abs(choices[best].rows * choices[best].cols - default_count))
      best = k;
  return best;
}

std::string JigsawNameForPicture(const std::string& path, const std::string& library) {
  std::string name;
  for (char c : Stem(path)) {
    const unsigned char u = static_cast<unsigned char>(c);
    name += u < 0x20 || u == 0x7F || c == '/' || c == '\\' ? '_' : c;
  }
  name.erase(0, name.find_first_not_of(". "));
  CutAtCharacter(name, max_name_bytes);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) name = "picture";
  std::string unique = name;
  for (int k = 2; Exists(library + "/" + unique); ++k) unique = name + " " + std::to_string(k);
  return unique;
}
