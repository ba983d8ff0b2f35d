// Jigsaw cutting shared by the asset generator and tesselka-cut: a seeded random source, the
// grid choice, tab-and-blank piece shapes, and the writer of a jigsaw folder (pieces.txt, one
// PNG per piece, tn.png). Depends on draw/pixmap.h and files/files.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "draw/pixmap.h"
#include "files/files.h"

// ---- Random numbers ---------------------------------------------------------------------------

// A small deterministic generator (SplitMix64): the same seed gives the same sequence on every
// machine, so generated assets and cut jigsaws are reproducible.
class seeded_random {
 public:
  explicit seeded_random(uint64_t seed) : state_(seed) {}
  uint64_t Next();
  double Unit();                      // uniform in [0, 1)
  double Range(double lo, double hi);  // uniform in [lo, hi)
  int Int(int lo, int hi);             // uniform in lo..hi, both included (lo <= hi)

 private:
  uint64_t state_;
};

// ---- Table and grid ---------------------------------------------------------------------------

constexpr int max_pieces = 2000;   // the most pieces a jigsaw holds
constexpr int table_pieces = 300;  // jigsaws of up to this many pieces fit the 800 x 600 table
constexpr int table_width = 800;
constexpr int table_height = 600;
// The finished picture is fitted into this area, centred on the table, so that a band of
// table colour stays visible around it.
constexpr int picture_max_width = 760;
constexpr int picture_max_height = 560;
// Every cell needs at least this many pixels on each side of the source picture, and this
// many on the table (so that its piece can be seen, picked and given a tab).
constexpr int min_source_cell = 8;
constexpr int min_table_cell = 12;
// Past table_pieces the picture is not squeezed onto the 800 x 600 table: it is cut with cells
// of about big_cell pixels across (never above its own size), and only a picture whose cells
// hold at least min_big_cell pixels across at its own size is cut so finely. Its table has
// about big_table_area times the picture's area, in the 4:3 shape, at most max_table_side.
constexpr int big_cell = 64;
constexpr int min_big_cell = 40;
constexpr double big_table_area = 2.5;
constexpr int max_table_side = 32768;

struct jigsaw_grid {
  int rows = 0;
  int cols = 0;
};

// The grid of at least 2 cells whose count is closest to pieces and whose cells on a width x
// height picture are closest to square: at most table_pieces cells for pieces up to
// table_pieces (so those grids stay what they always were), else at most max_pieces.
jigsaw_grid ChooseGrid(int width, int height, int pieces);

// What keeps grid from cutting a width x height picture (a message for the player), or "".
// Up to table_pieces cells every piece needs min_source_cell pixels of the picture and
// min_table_cell pixels on the table; past that, min_big_cell pixels of the picture across,
// and the table must stay within max_table_side.
std::string GridProblem(int width, int height, jigsaw_grid grid);

// The size a width x height picture takes on the table: scaled to fit picture_max_width x
// picture_max_height with its aspect kept (up or down), each side at least 1.
void FitOnTable(int width, int height, int& fitted_width, int& fitted_height);

// The size a width x height picture is cut at into grid: FitOnTable up to table_pieces cells;
// past that, scaled down so that a cell is about big_cell pixels across (never up).
void CutSize(int width, int height, jigsaw_grid grid, int& cut_width, int& cut_height);

// The table a picture cut at width x height lies on: 800 x 600 when it fits picture_max_width x
// picture_max_height; else big_table_area times its area in the 4:3 shape, grown (still 4:3)
// until the picture fits with an eighth of its size to spare on each axis.
void TableSize(int width, int height, int& table_w, int& table_h);

// ---- Piece shapes -----------------------------------------------------------------------------

struct vec2 {
  double x = 0;
  double y = 0;
};

// The tab of one inner edge, in units of the edge (centre) and of the smaller cell side.
struct tab_shape {
  int side = 1;        // +1: the tab bulges to the left of the edge's direction, -1 to the right
  double centre = 0.5;  // position of the tab along the edge, fraction of its length
  double radius = 0.15;  // head radius, fraction of the smaller cell side
  double neck = 0.5;     // neck half-width at the shoulders, fraction of the head radius
  double reach = 0.05;   // neck length, fraction of the smaller cell side
  double bow = 0;        // sideways bow of the whole edge, fraction of the smaller cell side
};

// A cut of a width x height picture into rows x cols classic pieces. Column k spans
// xs[k] .. xs[k + 1], row j spans ys[j] .. ys[j + 1] (0-based); every inner edge carries one
// tab, the border edges are straight.
struct jigsaw_cut {
  int width = 0;
  int height = 0;
  int rows = 0;
  int cols = 0;
  std::vector<int> xs;  // cols + 1 column boundaries
  std::vector<int> ys;  // rows + 1 row boundaries
  // Edge between row j and j + 1 in column k: entry j * cols + k, running left to right.
  std::vector<tab_shape> across;
  std::vector<std::vector<vec2>> across_paths;
  // Edge between column k and k + 1 in row j: entry j * (cols - 1) + k, running top to bottom.
  std::vector<tab_shape> down;
  std::vector<std::vector<vec2>> down_paths;
};

// Draws the tab of every inner edge from seed (varied position, size, neck and bow) and shrinks
// tabs that would cross or pinch each other inside a cell, so that every piece outline is simple
// and every piece one region. rows, cols >= 1 and cells at least min_table_cell pixels.
jigsaw_cut MakeCut(int width, int height, jigsaw_grid grid, uint64_t seed);

// The closed outline of the piece in row j, column k (0-based), clockwise on screen, without
// the closing point repeated. Neighbouring pieces share their edge points exactly.
std::vector<vec2> PiecePolygon(const jigsaw_cut& cut, int row, int col);

// For every pixel of the picture (row by row) the number of the piece whose outline holds the
// pixel centre, pieces numbered row by row from 1. The outlines partition the picture: every
// pixel gets exactly one piece.
std::vector<uint16_t> LabelPieces(const jigsaw_cut& cut);

// ---- Jigsaw folders ---------------------------------------------------------------------------

// Told how far a cut has come: done of total pieces written. Called on the thread that cuts.
using cut_progress = std::function<void(int done, int total)>;

struct cut_request {
  int rows = 0;      // with cols: the grid; 0 = choose it from pieces
  int cols = 0;
  int pieces = 100;  // the target piece count when no grid is given
  uint64_t seed = 1;
  bool force = false;  // replace an existing jigsaw folder (never any other folder or file)
  cut_progress progress;                      // optional
  const std::atomic<bool>* cancel = nullptr;  // when set, the cut stops and writes nothing
};

// The picture at width x height in PF_RGB888, any input format: halved with 2 x 2 averages while
// it is over twice too large (bilinear resizing alone would skip detail), then ResizePixmap.
// Always a new pixmap.
std::shared_ptr<TPixmap> ScalePicture(const std::shared_ptr<TPixmap>& picture, int width,
                                      int height);

// A table colour that sets the picture off: the complementary hue of its average colour, dark
// behind a bright picture and light behind a dark one. Writes 0..255 values.
void ContrastingColour(const std::shared_ptr<TPixmap>& picture, int& r, int& g, int& b);

// Cuts the picture into a jigsaw folder at path: the picture is scaled to its cut size (CutSize),
// cut, and written as pieces.txt (rows, cols, cell width, cell height, the home position of every piece,
// a contrasting table colour), 1.png .. n.png (RGB, black surround, even sizes, home position
// at the image centre; picture pixels of pure black become 1, 1, 1) and a 264 x 198 tn.png. On a
// table other than 800 x 600 (TableSize, the picture's home in its middle) table.txt holds its
// width and height, a line each.
// Everything is written into a hidden sibling folder (".tesselka-cut-" + process id) that is
// moved or, with force, swapped into place in one step at the end: a failure or a kill leaves no
// half folder at path, and the old or the new folder stands there at every moment. Such hidden
// folders of ended processes are removed by the next cut into the same parent.
// Returns true on success (with the grid used in *grid_used when given); on failure false with a
// message for the player in error.
bool CutJigsawFolder(const std::shared_ptr<TPixmap>& picture, const cut_request& request,
                     const std::string& path, std::string& error,
                     jigsaw_grid* grid_used = nullptr);

// True for the name of a hidden folder a cut is written into (or a killed cut left behind):
// no jigsaw, whatever it holds.
bool IsCutTemporary(const std::string& name);

// ---- Pictures files to jigsaws: what both front ends (tesselka-cut, the game) call ------------

// What reading and decoding a picture for cutting may take (the file's bytes, the decoded
// pixels, libjpeg's working memory, each): a 50-megapixel progressive JPEG fits. The cap on
// jigsaw piece files, read by the game, stays far lower.
constexpr int64_t cut_memory_budget = int64_t{384} << 20;

// The picture file read for cutting: a JPEG at the smallest DCT scale that still covers
// fit_width x fit_height (by default its fit on the table), upright by its EXIF orientation
// (see LoadPicture).
picture_result LoadPictureForCut(const std::string& path, const std::atomic<bool>* cancel = nullptr,
                                 int fit_width = picture_max_width, int fit_height = picture_max_height);

// The picture a cut into grid takes, from picture, the file at path as LoadPictureForCut read it,
// whose own size is full_width x full_height: picture itself up to table_pieces cells or when it
// covers the size the cut takes (CutSize of its own size); else the file read again to cover
// that size. A failed read gives no pixmap and the problem.
picture_result PictureForGrid(const std::string& path, const std::shared_ptr<TPixmap>& picture,
                              int full_width, int full_height, jigsaw_grid grid,
                              const std::atomic<bool>* cancel = nullptr);

// The grids offered for a picture read at width x height whose own size (upright) is
// full_width x full_height: the grids closest to square pieces for about 12, 24, 48, 70, 100,
// 150, 200 and 300 pieces at the size read, and 500, 750, 1000, 1500 and 2000 (and the finest
// grid it carries) at its own size, without repeats and without grids whose pieces would be too
// small (see GridProblem), fewest pieces first. At most 8: past that 70, 150, 24, 750 and 1500
// are left out in this order, so the counts stay spread up to the most the picture carries.
// Empty when the picture is too small for any jigsaw.
std::vector<jigsaw_grid> PieceCountChoices(int width, int height, int full_width, int full_height);
// The choice offered first: the one nearest 100 pieces. choices must not be empty.
size_t DefaultCountChoice(const std::vector<jigsaw_grid>& choices);

// A jigsaw folder name for the picture file at path, unique in the library folder: the file's
// name without folder and extension, with control characters, "/" and "\" made "_", leading
// dots and blanks dropped, at most 64 bytes (whole UTF-8 characters); "picture" when nothing is
// left. When the name is taken, " 2", " 3", ... is added. Never ".", ".." or empty.
std::string JigsawNameForPicture(const std::string& path, const std::string& library);

// A picture read for a cutting screen: decoded for the table, with the grids offered for its
// shape and the one offered first.
struct picture_to_cut {
  std::shared_ptr<TPixmap> picture;
  int full_width = 0, full_height = 0;  // its own size, upright
  std::vector<jigsaw_grid> choices;  // never empty once read
  size_t chosen = 0;
};
// Reads the picture file at path for cutting (LoadPictureForCut, then PieceCountChoices). Safe on
// a worker thread: it touches nothing but the file and its arguments. false with error, a
// message naming the file ("photo.jpg is damaged", "tiny.png is too small or too narrow for a jigsaw: 20 x 15 pixels"),
// when the file is no picture or too small for any jigsaw. The cut itself is CutJigsawFolder
// into the library with one of the choices and its PictureForGrid, which are as safe on a worker
// thread.
bool ReadPictureToCut(const std::string& path, picture_to_cut& result, std::string& error,
                      const std::atomic<bool>* cancel = nullptr);

// ---- The player's pictures --------------------------------------------------------------------

// The folders a player's pictures are looked for in: the XDG pictures folder (XDG_PICTURES_DIR
// in $XDG_CONFIG_HOME/user-dirs.dirs, ~/.config by default, as xdg-user-dirs writes it; else
// $HOME/Pictures), then extra (the game's own pictures/ folder), each once.
std::vector<std::string> PictureFolders(const std::string& extra);

struct picture_file {
  std::string path;
  int64_t modified = 0;  // seconds since the epoch
};
// The regular files (links followed) in the folders whose names end in .jpg, .jpeg, .png, .bmp
// or .tga in any case, newest first (then by path); folders and other files are left out.
std::vector<picture_file> ListPictures(const std::vector<std::string>& folders);

// A thumbnail of the picture file fitted into width x height with its shape kept, for a page of
// pictures to cut: a JPEG photo decodes at 1/8 of its size. nullptr when the file cannot be read
// as a picture or is too small or too narrow for any jigsaw (ReadPictureToCut would refuse it).
std::shared_ptr<TPixmap> PictureThumbnail(const std::string& path, int width, int height);
