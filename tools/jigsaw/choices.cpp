// What a front end offers before a cut: the piece counts for a picture's shape and a safe, unused
// name for the new jigsaw. Depends on jigsaw.h and POSIX lstat.
#include <sys/stat.h>

#include <cstdlib>

#include "tools/jigsaw/jigsaw.h"

namespace {

constexpr int offered_counts[] = {12, 24, 48, 70, 100, 150, 200, 300};
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

std::vector<jigsaw_grid> PieceCountChoices(int width, int height) {
  std::vector<jigsaw_grid> choices;
  for (int count : offered_counts) {
    const jigsaw_grid grid = ChooseGrid(width, height, count);
    const bool repeat = !choices.empty() && choices.back().rows * choices.back().cols >= grid.rows * grid.cols;
    if (!repeat && GridProblem(width, height, grid).empty()) choices.push_back(grid);
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
