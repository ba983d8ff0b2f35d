// Writing a jigsaw folder: checks of the request, the piece images, pieces.txt, table.txt and
// tn.png, written into a hidden sibling folder that is swapped into place only when complete.
// Depends on jigsaw.h and files/files.h.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "files/files.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

constexpr int thumb_width = 264;
constexpr int thumb_height = 198;
constexpr int png_level = 5;

struct piece_box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;  // inclusive pixel bounds
};

std::string Parent(const std::string& path) {
  std::filesystem::path p(path);
  std::string parent = p.parent_path().string();
  return parent.empty() ? "." : parent;
}

// Hidden folders a cut is written into, named by the process: ".tesselka-cut-" + its id.
const char* const temporary_prefix = ".tesselka-cut-";

// Hidden temporaries that a killed cut left in parent (their process has ended) go.
void RemoveAbandonedTemporaries(const std::string& parent) {
  const auto listing = ReadDir(parent);
  for (std::string entry = NextFile(listing); !entry.empty(); entry = NextFile(listing)) {
    if (!IsCutTemporary(entry)) continue;
    const std::string id = entry.substr(std::strlen(temporary_prefix));
    if (id.empty() || id.size() > 9 || id.find_first_not_of("0123456789") != std::string::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(id));
    struct stat info;
    const std::string full = parent + "/" + entry;
    if (lstat(full.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) continue;
    if (pid == getpid() || (kill(pid, 0) != 0 && errno == ESRCH)) DeleteDir(full, true);
  }
  CloseDir(listing);
}

// True when what stands at target (lstat gave info) is a jigsaw folder that --force may replace:
// a real folder holding pieces.txt and nothing but numbered piece pictures, table.txt and tn.png.
bool IsJigsawFolder(const std::string& target, const struct stat& info, std::string& error) {
  error = target + " is not a jigsaw folder, so --force does not replace it";
  if (S_ISLNK(info.st_mode)) {
    error = target + " is a link; --force replaces only a jigsaw folder itself";
    return false;
  }
  if (!S_ISDIR(info.st_mode)) {
    error = target + " exists and is not a folder";
    return false;
  }
  const auto listing = ReadDir(target);
  if (!listing) return false;
  bool pieces_txt = false, others = false;
  for (std::string entry = NextFile(listing); !entry.empty(); entry = NextFile(listing)) {
    if (entry == "." || entry == "..") continue;
    struct stat entry_info;
    const bool file =
        lstat((target + "/" + entry).c_str(), &entry_info) == 0 && S_ISREG(entry_info.st_mode);
    const std::string stem = entry.size() > 4 ? entry.substr(0, entry.size() - 4) : "";
    const bool piece = entry.ends_with(".png") && !stem.empty() && stem[0] != '0' &&
                       stem.find_first_not_of("0123456789") == std::string::npos;
    if (file && entry == "pieces.txt")
      pieces_txt = true;
    else if (!file || (entry != "tn.png" && entry != "table.txt" && !piece))
      others = true;
  }
  CloseDir(listing);
  if (!pieces_txt || others) return false;
  error.clear();
  return true;
}

// Puts the complete folder fresh at target. An old target is swapped with it in one step, so
// the old or the new folder stands there at every moment; the old one then goes with fresh.
bool MoveIntoPlace(const std::string& fresh, const std::string& target, bool exists,
                   std::string& error) {
  if (exists) {
    if (renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
      DeleteDir(fresh, true);
      return true;
    }
    error = errno == EINVAL
                ? "cannot replace " + target +
                      ": its file system cannot swap folders in one step; remove it first"
                : "cannot replace " + target + ": " + std::strerror(errno);
    return false;
  }
  int moved = renameat2(AT_FDCWD, fresh.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE);
  if (moved != 0 && errno == EINVAL) moved = rename(fresh.c_str(), target.c_str());
  if (moved == 0) return true;
  error = "cannot create " + target + ": " + std::strerror(errno);
  return false;
}

// A text file of one number a line.
bool WriteNumbers(const std::string& path, const std::vector<int>& values) {
  auto stream = WriteFile(path);
  if (!stream) return false;
  bool ok = true;
  for (int value : values) ok = stream->WriteLine(IntToText(value)) && ok;
  stream->Flush();
  auto file = std::dynamic_pointer_cast<TCStream>(stream);
  if (file && file->Failed()) ok = false;
  CloseStream(stream);
  return ok;
}

std::vector<int> PiecesTxt(const jigsaw_cut& cut, const std::vector<std::pair<int, int>>& homes,
                           int r, int g, int b) {
  // Lines 3 and 4, which the game reads and ignores: the cell size, for the player's information.
  std::vector<int> values{cut.rows, cut.cols, int(std::lround(double(cut.width) / cut.cols)),
                          int(std::lround(double(cut.height) / cut.rows))};
  for (const auto& [x0, y0] : homes) values.push_back(x0), values.push_back(y0);
  values.insert(values.end(), {r, g, b});
  return values;
}

// One RGB image per piece: its pixels inside the outline, exact black around them, one black
// pixel of margin and even sizes, so that the image centre is a whole pixel.
std::shared_ptr<TPixmap> PieceImage(const std::shared_ptr<TPixmap>& picture,
                                    const std::vector<uint16_t>& labels, uint16_t piece,
                                    const piece_box& box, int& left, int& top) {
  int w = box.right - box.left + 3, h = box.bottom - box.top + 3;
  w += w & 1;
  h += h & 1;
  left = box.left - 1;
  top = box.top - 1;
  auto image = CreatePixmap(w, h, PF_RGB888);  // cleared: black around the piece
  for (int v = 0; v < h; ++v) {
    int y = top + v;
    if (y < 0 || y >= picture->height) continue;
    const uint16_t* row = &labels[size_t(y) * picture->width];
    const uint8_t* src = picture->PixelPtr(0, y);
    uint8_t* dst = image->PixelPtr(0, v);
    for (int u = 0; u < w; ++u) {
      int x = left + u;
      if (x < 0 || x >= picture->width || row[x] != piece) continue;
      const uint8_t* s = src + 3 * x;
      uint8_t* d = dst + 3 * u;
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
      // Pure black is the mask colour: keep picture pixels out of it.
      if ((d[0] | d[1] | d[2]) == 0) d[0] = d[1] = d[2] = 1;
    }
  }
  return image;
}

std::shared_ptr<TPixmap> Thumbnail(const std::shared_ptr<TPixmap>& picture, int r, int g, int b) {
  double scale = std::min(double(thumb_width) / picture->width, double(thumb_height) / picture->height);
  int w = std::clamp(int(std::lround(picture->width * scale)), 1, thumb_width);
  int h = std::clamp(int(std::lround(picture->height * scale)), 1, thumb_height);
  auto thumb = CreatePixmap(thumb_width, thumb_height, PF_RGB888);
  thumb->ClearPixels(MakeARGB(255, r, g, b));  // letterbox bars in the table colour
  thumb->Paste(ScalePicture(picture, w, h), (thumb_width - w) / 2, (thumb_height - h) / 2);
  return thumb;
}

// Writes into folder; messages name shown, the folder the user asked for.
// The picture lies in the middle of a table_w x table_h table.
bool WriteFolder(const std::string& folder, const std::string& shown,
                 const std::shared_ptr<TPixmap>& picture, const jigsaw_cut& cut, int table_w,
                 int table_h, const cut_request& request, std::string& error) {
  const int offset_x = (table_w - cut.width) / 2, offset_y = (table_h - cut.height) / 2;
  std::vector<uint16_t> labels = LabelPieces(cut);
  int count = cut.rows * cut.cols;
  std::vector<piece_box> boxes(size_t(count) + 1);
  for (int y = 0; y < cut.height; ++y)
    for (int x = 0; x < cut.width; ++x) {
      piece_box& box = boxes[labels[size_t(y) * cut.width + x]];
      box.left = std::min(box.left, x), box.right = std::max(box.right, x);
      box.top = std::min(box.top, y), box.bottom = std::max(box.bottom, y);
    }
  std::vector<std::pair<int, int>> homes;
  for (int i = 1; i <= count; ++i) {
    if (request.cancel && *request.cancel) {
      error = "the cut of " + shown + " was stopped";
      return false;
    }
    if (request.progress) request.progress(i - 1, count);
    int left = 0, top = 0;
    auto image = PieceImage(picture, labels, uint16_t(i), boxes[i], left, top);
    homes.emplace_back(offset_x + left + image->width / 2, offset_y + top + image->height / 2);
    std::string name = "/" + IntToText(i) + ".png";
    errno = 0;
    if (!SavePNGPixmap(image, folder + name, png_level)) {
      error = "cannot write " + shown + name + SystemReason();
      return false;
    }
  }
  int r = 0, g = 0, b = 0;
  ContrastingColour(picture, r, g, b);
  errno = 0;
  if (!WriteNumbers(folder + "/pieces.txt", PiecesTxt(cut, homes, r, g, b))) {
    error = "cannot write " + shown + "/pieces.txt" + SystemReason();
    return false;
  }
  errno = 0;
  // A folder without table.txt lies on the 800 x 600 table, as every folder always has.
  if ((table_w != table_width || table_h != table_height) &&
      !WriteNumbers(folder + "/table.txt", {table_w, table_h})) {
    error = "cannot write " + shown + "/table.txt" + SystemReason();
    return false;
  }
  errno = 0;
  if (!SavePNGPixmap(Thumbnail(picture, r, g, b), folder + "/tn.png", png_level)) {
    error = "cannot write " + shown + "/tn.png" + SystemReason();
    return false;
  }
  return true;
}

bool CheckRequest(const std::shared_ptr<TPixmap>& picture, const cut_request& request,
                  jigsaw_grid& grid, std::string& error) {
  if (request.rows != 0 || request.cols != 0) {
    if (request.rows < 1 || request.cols < 1) {
      error = "rows and columns must both be at least 1";
      return false;
    }
    grid = {request.rows, request.cols};
  } else {
    if (request.pieces < 2) {
      error = "a jigsaw needs at least 2 pieces";
      return false;
    }
    if (request.pieces > max_pieces) {
      error = IntToText(request.pieces) + " pieces asked for; a jigsaw holds at most " +
              IntToText(max_pieces) + " pieces";
      return false;
    }
    grid = ChooseGrid(picture->width, picture->height, request.pieces);
  }
  int64_t count = int64_t(grid.rows) * grid.cols;
  if (count > max_pieces) {
    error = "a grid of " + IntToText(grid.rows) + " x " + IntToText(grid.cols) + " makes " +
            std::to_string(count) + " pieces; a jigsaw holds at most " + IntToText(max_pieces) +
            " pieces";
    return false;
  }
  if (count < 2) {
    error = "a jigsaw needs at least 2 pieces";
    return false;
  }
  error = GridProblem(picture->width, picture->height, grid);
  return error.empty();
}

}  // namespace

bool IsCutTemporary(const std::string& name) { return name.rfind(temporary_prefix, 0) == 0; }

bool CutJigsawFolder(const std::shared_ptr<TPixmap>& picture, const cut_request& request,
                     const std::string& path, std::string& error, jigsaw_grid* grid_used) {
  jigsaw_grid grid;
  if (!CheckRequest(picture, request, grid, error)) return false;
  std::string target = path;
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  struct stat info;
  const bool exists = lstat(target.c_str(), &info) == 0;
  if (exists && !request.force) {
    error = target + " already exists (use --force to replace it)";
    return false;
  }
  if (exists && !IsJigsawFolder(target, info, error)) return false;
  std::string parent = Parent(target);
  if (!CreateDir(parent, true)) {
    error = "cannot create the folder " + parent + SystemReason();
    return false;
  }
  RemoveAbandonedTemporaries(parent);
  // A short hidden name, so that any name the file system takes for the target works here too.
  const std::string fresh = parent + "/" + temporary_prefix + std::to_string(getpid());
  if (!CreateDir(fresh, false)) {
    error = "cannot create " + target + SystemReason();
    return false;
  }

  int width = 0, height = 0, table_w = 0, table_h = 0;
  CutSize(picture->width, picture->height, grid, width, height);
  TableSize(width, height, table_w, table_h);
  auto fitted = ScalePicture(picture, width, height);
  jigsaw_cut cut = MakeCut(width, height, grid, request.seed);
  if (!WriteFolder(fresh, target, fitted, cut, table_w, table_h, request, error) ||
      !MoveIntoPlace(fresh, target, exists, error)) {
    DeleteDir(fresh, true);
    return false;
  }
  if (grid_used) *grid_used = grid;
  if (request.progress) request.progress(grid.rows * grid.cols, grid.rows * grid.cols);
  return true;
}
