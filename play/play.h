// Puzzle play, the lowest module of the game above game/: the pieces of the jigsaw in play, drawing
// the table and picking pieces, carrying and joining, turning, scatter and the flight animation,
// the show/hide filters. Owns the piece records, the drawing order and the tidy pile label.
// Depends on game/ (the turn's input, screen, display size, fonts, notices, sounds, hooks) and the
// framework (draw/, files/, platform/).
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "game/game.h"

class TImage;
class TPixmap;

constexpr int kMaxPieces = 2000;    // a jigsaw has 1..2000 pieces
constexpr int snap_tolerance = 10;  // a neighbour joins when less than this many screen pixels off on each axis
constexpr int flight_steps = 200;   // steps of a flight from scatter to home
constexpr int flight_step_ms = 20;

// One piece. A new record has no image and every other field 0.
struct piece_type {
  std::shared_ptr<TImage> img;     // handle at the image centre
  int x0 = 0, y0 = 0;              // home position of the image centre
  int x = 0, y = 0;                // current position of the image centre
  int a = 0;                       // quarter turns clockwise, 0..3
  int n = 0, e = 0, w = 0, s = 0;  // neighbours above, right, left, below; 0 on the border
  int gp = 0;                      // group number; 0 = none
  int edge = 0;                    // 1 for a border piece or a member of a group holding one
  int visible = 0;
  int box = 0;              // box 1..5, 0 = none
  int wd = 0, ht = 0;       // image size
  int r = 0, g = 0, b = 0;  // median colour
};

// One piece's flight towards its home position.
struct piece_anim_type {
  float x1 = 0, y1 = 0;  // current flight position
  float x2 = 0, y2 = 0;  // target (home)
  float dx = 0, dy = 0;  // distance per step
  int anim = 0;          // 1 while under way
};

// Which part of the table the picture shows: the table point at the picture's top-left corner and
// the screen pixels per table pixel. At home a table that fits the picture shows at its own size
// in the middle (at the layout size, the identity).
struct view_type {
  double zoom = 1;
  double left = 0, top = 0;
  int screen_width = 0, screen_height = 0;  // the picture size the view was fitted to; 0 before
};

// The spatial index of the pieces (piece_index.cpp): a grid of cells, each listing the pieces
// whose square reaches it, with every piece's place in the drawing order.
struct piece_index_type {
  int built_at = -1;  // table_moves when built; -1 never
  int count = 0;      // piece_count when built
  int cell = 1, origin_x = 0, origin_y = 0, columns = 1, rows = 1;
  std::vector<int> starts{0, 0};  // cell c lists pieces[starts[c]] .. pieces[starts[c + 1] - 1]
  std::vector<int> pieces;
  std::vector<int> rank;   // rank[p]: p's place in draw_order
  std::vector<int> found;  // what the last question found, kept so picking allocates nothing
};

// A rectangle in table space.
struct table_rect {
  double left = 0, top = 0, width = 0, height = 0;
};

struct colour_type {
  int r = 0, g = 0, b = 0;
};

// The tidy pile label; k = 0 means no label is drawn.
struct tidy_type {
  int k = 0;
  int x = 0;  // centre of the drawn number
  int y = 0;
};

// Play module state. Tables are indexed from 1; entry 0 stays empty. Flags hold 0 or 1.
struct play_state {
  // The jigsaw in play. The tables hold at least 300 pieces and grow with the jigsaw.
  std::vector<piece_type> pieces = std::vector<piece_type>(301);
  std::vector<int> draw_order = std::vector<int>(301);  // entries 1..piece_count; the last on top
  int rows = 0, cols = 0, piece_count = 0;
  view_type view;
  // Counts the changes of piece places and drawing order (NoteTableMoved) that the index follows.
  int table_moves = 0;
  piece_index_type index;
  int last_group = 0;  // highest group number handed out; a new join uses last_group + 1
  colour_type table_colour{115, 8, 33};
  // The table the pieces lie on, in pixels of the pieces: the 800 x 600 window unless the
  // jigsaw folder's table.txt gives a bigger one.
  int table_width = 800, table_height = 600;
  std::string jigsaw_folder;  // "jigsaws/" + name
  std::string jigsaw_name;    // the current jigsaw; "" until one has loaded

  // Thumbnail of the finished picture (top-left handle) and its drag state.
  std::shared_ptr<TImage> thumb;
  int thumb_width = 0, thumb_height = 0;
  int thumb_x = 10, thumb_y = 10;
  int thumb_shown = 0, thumb_dragging = 0;
  int thumb_grab_dx = 0, thumb_grab_dy = 0;

  // Shared images loaded at start-up; nullptr when missing.
  std::shared_ptr<TImage> probe;           // stands for the pointer in hit tests
  std::shared_ptr<TImage> swatch;          // drawn at (10, 463)
  std::shared_ptr<TPixmap> swatch_pixmap;  // the same picture, for reading colours
  int swatch_shown = 0;

  // Carrying.
  int dragged = 0;  // carried piece, 0 = none
  int drag_dx = 0, drag_dy = 0;
  int completion_handled = 1;

  // Flight animation.
  std::vector<piece_anim_type> flight;  // empty until the first FlightFrame, then kMaxPieces + 1 entries
  int flight_state = 1;                 // 1 set up, 2 flying, 3 all arrived, 4 all home
  int flight_skipped = 0;               // 1 when a click ended the flight
  int flight_start = 0;                 // Millisecs() at which stepping starts
  int flight_step_count = 0;            // steps taken in this flight
  int seven_count = 0;                  // consecutive presses of key 7

  // Unrotate screen.
  int unrotate_state = 1;  // 1..4
  int unrotate_next = 1;

  // Show/hide filters.
  int grouped_shown = 0, loose_shown = 0;
  std::array<int, 6> box_shown{};  // entries 1..5

  // The count of the pile a tidy left, drawn on the table until a piece is picked up.
  tidy_type tidy_label;

  // The overview: drawn while part of the table is out of view, unless the player hid it (Tab).
  int overview_shown = 1;
  // Its map of the pieces and what the map was drawn from: remade only when that changes, so a
  // still table draws the same texture.
  std::shared_ptr<TImage> overview_map;
  std::vector<int> overview_key;

  // What the progress file of the jigsaw named unchanged_name held when that jigsaw was last
  // started, restarted, loaded or saved (see JigsawChanged).
  std::string unchanged_name;
  std::vector<int> unchanged_values;
  std::array<int, 3> unchanged_view{};  // ViewValues then
};

extern play_state play;

// Puts every field of `play` back to its start values (for tests).
void ResetPlayStateModule();

// What play tells the modules above it, which register here (no reset clears them).
struct play_hooks_type {
  hook_list jigsaw_reset;   // ResetPlayState ran: a jigsaw is starting afresh
  hook_list boxes_emptied;  // every piece left its box (setting ten pieces aside)
};

extern play_hooks_type play_hooks;

// True when piece p is in no group, no box and not on the border (gp <= 0, box <= 0, edge = 0).
// p must be 1..piece_count.
bool IsLoose(int p);

// --- Piece model and jigsaw folder -------------------------------------------------------------

// Loads "jigsaws/" + name into the tables. On any failure (no pieces.txt, a piece count outside
// 1..2000, a table.txt that cannot be read or gives a side over 32768, a home position more than
// 4096 pixels off the table on an axis, a missing or undecodable piece image, a piece picture
// over 1024 x 768, pieces holding together over 16 Ki pixels a piece (at least 8 million) or
// piece files over 64 KiB a piece (at least 64 MiB): the sizes are read from the headers before
// any pixel is decoded) shows the message with ShowErrorAndWait, returns false and leaves the
// jigsaw that was in play exactly as it was. table.txt (width, then height) is optional: without
// it the table is 800 x 600, and smaller sides count as 800 and 600. Table colour values are kept
// within 0..255. A missing tn.png is reported the same way but the load succeeds without a
// thumbnail. After a successful load nothing is carried.
// Positions, turns and boxes are not set: callers scatter or restore saved progress afterwards.
bool LoadJigsawFolder(const std::string& name);

// Piece number of grid row j, column k (both from 1), or 0 outside the grid.
int CellPiece(int j, int k);

// The per-channel median of the non-black pixels of a piece picture: for m such pixels, the
// floor(m/2)-th smallest value of each channel; 0 when fewer than two pixels count.
colour_type PieceMedianColour(const TPixmap& pixmap);

// Clears the flags of play before a jigsaw starts: music, thumbnail, swatch, carried piece,
// completion; calls the jigsaw_reset hooks; recomputes edge from the grid; shows groups and loose
// pieces.
void ResetPlayState();

// --- Changes since the jigsaw was started, loaded or saved ------------------------------------------

// What the progress file holds, in its order: per piece x, y, a, visible, gp, draw_order[i], box;
// then the table colour, display_large (1 or 0) and last_group.
std::vector<int> ProgressValues();
// True when a jigsaw is in play and ProgressValues or ViewValues differ from those recorded by the
// last MarkJigsawUnchanged or MarkJigsawSavedAs for it (a jigsaw never marked counts as changed).
bool JigsawChanged();
// The jigsaw as it is now counts as unchanged: called when it is started, restarted or loaded.
void MarkJigsawUnchanged();
// Records values and view as saved for name: a save taken at an earlier moment marks exactly what
// it wrote.
void MarkJigsawSavedAs(const std::string& name, std::vector<int> values, std::array<int, 3> view);

// --- The view: table space (piece positions) and screen space (the picture) --------------------

// The table: what the jigsaw folder records, at least the display's layout size (800 x 600 or
// 1024 x 768), so a jigsaw that fits the display has today's table.
int TableWidth();
int TableHeight();
// The smallest zoom: the whole table in the picture, never above 1.
double MinZoom();
// Home: a table that fits the picture at its own size in its middle, a bigger one wholly in view.
void ViewHome();
bool ViewAtHome();
// Follows a change of the picture's size, keeping the table point in its middle there.
void FollowScreenSize();
// Zooms steps notches in (> 0) or out (< 0) on a ladder of 1.25 about a screen point, which keeps
// the table point under it, between MinZoom() and 2.
void ZoomView(int steps, int screen_x, int screen_y);
// Moves the table by (dx, dy) screen pixels, as far as the table reaches.
void PanView(double dx, double dy);
// Puts a table point in the middle of the picture, as far as the table allows.
void CentreViewOn(double table_x, double table_y);
void ScreenToTable(double screen_x, double screen_y, double& table_x, double& table_y);
void TableToScreen(double table_x, double table_y, double& screen_x, double& screen_y);
// The turn's pointer (game.pointer_x, pointer_y) in table space.
int TablePointerX();
int TablePointerY();
// The part of the table the picture shows.
table_rect VisibleTable();
// The view as whole numbers, as saves keep it: the zoom in thousandths and the table point in the
// middle of the picture; all 0 at home, so a window of another size shows its own home.
std::array<int, 3> ViewValues();
// Puts back a view that ViewValues gave, fitted to the picture now: the zoom kept within its
// range, the place within the table. A zoom of 0 or below is the home view. Any values are safe.
void SetViewValues(const std::array<int, 3>& values);
// A view showing the whole table in a width x height picture from its top-left corner, at most at
// the pieces' own size. A table of the display's layout size keeps the identity (its top-left
// width x height at its own size, as saved thumbnails have always shown it).
view_type TopLeftView(int width, int height);
// How far off (table pixels, on each axis) neighbours a and b may lie and still join: the same
// number of screen pixels at every zoom, zoomed out never more than a quarter of their spacing.
double SnapTolerance(int a, int b);

// Pieces were moved, added or reordered other than by play's own commands (a tidy, restored
// progress): the spatial index is rebuilt when next asked. Anything that changes x, y or
// draw_order calls it.
void NoteTableMoved();

// --- Table drawing and picking -----------------------------------------------------------------

// Frame handler of the "jigsaw" screen: drop, thumbnail, swatch, pick-up, turn, then draw.
void JigsawFrame();
// Clears to table_colour and draws the visible pieces in draw order, the tidy label and the hint.
void DrawTable();
// DrawTable through the given view instead of the player's, which is left as it was.
void DrawTableInView(const view_type& view);
// Draws the carried piece or its whole group again on top (and makes it visible).
void DrawCarried();
// Topmost visible piece whose opaque pixels meet the probe at the pointer, or 0.
int PieceUnderPointer();
// 1 when piece p's image, centred at table (x, y) and turned `turn` quarter turns, meets the probe
// at (pointer_x, pointer_y) as the view shows them; else 0. 0 when the piece image or the probe is
// missing.
int PieceHitAt(int p, int x, int y, int turn);
int PieceHitAt(int p);  // at p's own x, y, a
// Draws the piece's image centred at table (x, y) through the view, turned by its own a; nothing
// without an image.
void DrawPieceAt(const piece_type& piece, int x, int y);
// The same on screens that are not the table: centred at screen (x, y), at scale times its size.
void DrawPieceOnScreen(const piece_type& piece, double x, double y, double scale);
int PieceHitOnScreen(int p, double x, double y, int turn, double scale);
// Draws the jigsaw's thumbnail at its place on the table when it is shown.
void DrawThumbnailIfShown();
// Moves p to the top of draw_order.
void RaiseToTop(int p);
// Raises p, or every member of its group in ascending number (highest number ends topmost).
void RaisePieceOrGroup(int p);
// Draws n in white outlined in black, centred on (x, y), in the large font. Leaves colour white.
void DrawOutlinedNumber(int n, int x, int y);
// A pending click on the shown thumbnail picks it up or puts it down (and consumes the click).
void ThumbClick();
// A pending click on the shown swatch sets table_colour from the swatch pixel (and consumes it).
void SwatchClick();

// --- The overview: a map of the whole table in the picture's bottom-right corner -----------------

// The overview's map on the screen (a one-pixel frame lies around it) and the screen pixels it
// gives a table pixel.
struct overview_place {
  int x = 0, y = 0, width = 0, height = 0;
  double scale = 0;
};
overview_place OverviewPlace();
// True while overview_shown is set and part of the table lies out of view.
bool OverviewShown();
// When shown: the table colour darkened in a frame, every shown piece as a small rectangle of its
// median colour at its place, the view as an outline. The map is one image, remade only when the
// pieces or the table colour change.
void DrawOverview();
// A pending click on the shown overview centres the view on the table point under the pointer,
// as far as the table allows, and consumes the click.
void OverviewClick();

// --- Carrying and joining ------------------------------------------------------------------------

// Picks up the piece (and group) under the pointer for a pending click, unless the jigsaw is
// complete.
void PickUp();
// Moves the carried piece after the pointer and lays its group out around it.
void FollowPointer();
// Places every member of p's group around p, turned like p. Nothing when p is in no group.
void LayOutGroup(int p);
// 1 when pieces a and b have the same turn and lie less than snap_tolerance off their fitted
// relative place on each axis; else 0.
int NeighboursFit(int a, int b);
// Puts the carried piece down and joins every fitting visible neighbour into one new group.
// Clicks once per passing link. The caller then sets dragged to 0.
void DropAndJoin();
// Marks every member of a group holding an edge piece as edge.
void SpreadEdgeFlag();
// 1 when every piece is in piece 1's group and piece 1 is unturned; else 0.
int IsComplete();
// Once per loop turn: when the jigsaw has just become complete, scatter it and start the
// celebration flight with music.
void CompletionStep();

// --- Turning and unrotate
// --------------------------------------------------------------------------

// Turns p (and its group about p) a quarter turn clockwise.
void TurnPiece(int p);
// Frame handler of the "unrotate" screen; unrotate_state reaches 4 when done.
void UnrotateFrame();
// Turns every group upright once.
void UnrotateGroups();
// Turns group g upright about the piece in the middle cell of its grid bounding box.
void UnrotateGroup(int g);

// --- Scatter and flight
// ----------------------------------------------------------------------------

// Every piece to a random place on the table (table_width x table_height) at a random turn,
// ungrouped, shown, unboxed.
void ScatterPieces();
// Shows every piece and switches to the "anim" screen with flight_state 1.
void StartFlight();
// Frame handler of the "anim" screen; flight_state reaches 4 when every piece is home.
void FlightFrame();
// Every piece home, unturned, in group 1.
void PlaceAllHome();
// Key 7 on the table: the third press in a row flies every piece home without a celebration.
// (Any other key resets play.seven_count to 0.)
void CountSevenKey();
// Restarts the jigsaw with ten pieces in a column at x 850 of the large display and the rest home.
// Pieces too tall for one column continue in a second; each lies wholly on the display.
void SetAsideTen();
// Shuffles entries 1..n of list (n = 0 means its whole length - 1); entry 0 never moves.
void ShuffleList(std::span<int> list, int n);

// --- Show and hide filters
// -------------------------------------------------------------------------

void ShowAllPieces();
void HideAllPieces();
// Every edge piece (and its group) takes the opposite of piece 1's visibility.
void ToggleEdgePieces();
// Grouped non-edge pieces take grouped_shown.
void ApplyGroupedShown();
// Loose pieces take loose_shown.
void ApplyLooseShown();
// Boxed single pieces take box_shown of their box; the carried piece stays visible.
void ApplyBoxShown();
// Throws the border pieces out to the screen edges, unless pieces 1 and 2 already fit.
void SpreadEdgePieces();
// Piece 1 home and unturned, its group laid out around it.
void PlaceFirstPieceHome();
