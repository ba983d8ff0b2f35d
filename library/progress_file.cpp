// The progress file: reading it back with every value checked against the jigsaw it is read
// for, and putting it into the piece tables. Depends on files/ (lines, numbers), play/, box/
// and game/ (the display switch, the notice).
#include <algorithm>

#include "box/box.h"
#include "files/files.h"
#include "game/game.h"
#include "library/library.h"
#include "play/play.h"

namespace {

constexpr int kLinesPerPiece = 7, kTrailingLines = 5;
// A saved line is at most 13 bytes ("-2147483648" and CR LF); a file far longer than its lines
// allow is refused before it is read, so one endless line cannot exhaust memory.
constexpr int64_t kLongestLine = 64;
// Positions stay within a few table widths, so every later sum and difference fits an int.
constexpr int kPositionLimit = 10000;
// Group numbers grow by one per join; far below the int limit, so last_group + 1 never wraps.
constexpr int kGroupLimit = 1 << 30;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

// The file's lines as numbers; nullopt once it holds more than `expected` lines.
std::optional<std::vector<int>> ReadNumbers(TStream& stream, size_t expected) {
  std::vector<int> numbers;
  numbers.reserve(expected);
  while (!stream.Eof()) {
    if (numbers.size() == expected) return std::nullopt;
    numbers.push_back(TextToInt(stream.ReadLine()));
  }
  return numbers;
}

// The values in file order, or nullopt when they cannot describe a jigsaw of n pieces.
std::optional<progress_type> Describe(const std::vector<int>& v, int n) {
  if (v.size() != static_cast<size_t>(kLinesPerPiece * n + kTrailingLines)) return std::nullopt;
  progress_type progress;
  progress.pieces.resize(n);
  std::vector<bool> drawn(n + 1, false);
  for (int i = 0; i < n; ++i) {
    const int* line = &v[static_cast<size_t>(kLinesPerPiece) * i];
    progress_type::piece_state piece{line[0], line[1], line[2], line[3], line[4], line[5], line[6]};
    if (!InRange(piece.x, -kPositionLimit, kPositionLimit) || !InRange(piece.y, -kPositionLimit, kPositionLimit) ||
        !InRange(piece.a, 0, 3) || !InRange(piece.visible, 0, 1) || !InRange(piece.gp, 0, kGroupLimit) ||
        !InRange(piece.draw_order, 1, n) || drawn[piece.draw_order] || !InRange(piece.box, 0, 5))
      return std::nullopt;
    drawn[piece.draw_order] = true;
    progress.pieces[i] = piece;
  }
  const int* tail = &v[static_cast<size_t>(kLinesPerPiece) * n];
  for (int c = 0; c < 3; ++c) {
    if (!InRange(tail[c], 0, 255)) return std::nullopt;
    progress.table_colour[c] = tail[c];
  }
  progress.display_large = tail[3];
  progress.last_group = tail[4];
  if (!InRange(progress.display_large, 0, 1) || !InRange(progress.last_group, 0, kGroupLimit)) return std::nullopt;
  return progress;
}

}  // namespace

std::optional<progress_type> ReadProgress(const std::string& path, int piece_count) {
  const size_t expected = static_cast<size_t>(kLinesPerPiece * piece_count + kTrailingLines);
  int64_t size = 0;
  const std::shared_ptr<TMemoryStream> stream =
      TMemoryStream::ReadFile(path, static_cast<int64_t>(expected) * kLongestLine, size);
  if (size < 0) {
    ShowErrorAndWait("Unable to access " + path);
    return std::nullopt;
  }
  std::optional<std::vector<int>> numbers;
  if (stream) {
    TShortLineStream lines;
    lines.SetStream(stream);
    numbers = ReadNumbers(lines, expected);
    if (lines.overlong) numbers.reset();
  }
  std::optional<progress_type> progress;
  if (numbers) progress = Describe(*numbers, piece_count);
  if (!progress)
    ShowErrorAndWait(path + " is damaged or was saved for a different jigsaw of that name; it is not used");
  return progress;
}

void LoadProgress(const progress_type& progress) {
  const int n = static_cast<int>(progress.pieces.size());
  int highest_group = 0;
  NoteTableMoved();
  for (int i = 1; i <= n; ++i) {
    const progress_type::piece_state& saved = progress.pieces[i - 1];
    piece_type& piece = play.pieces[i];
    piece.x = saved.x;
    piece.y = saved.y;
    piece.a = saved.a;
    piece.visible = saved.visible;
    piece.gp = saved.gp;
    if (saved.gp > 0) play.grouped_shown = saved.visible;
    play.draw_order[i] = saved.draw_order;
    piece.box = saved.box;
    highest_group = std::max(highest_group, saved.gp);
  }
  play.table_colour = {progress.table_colour[0], progress.table_colour[1], progress.table_colour[2]};
  // Positions are screen coordinates of the layout they were saved in: switch as key F does.
  if ((progress.display_large != 0) != game.display.display_large)
    game_hooks.toggle_large_display.Call();
  play.last_group = std::max(progress.last_group, highest_group);
  // What the file does not hold: the box slots, the box view's rows, the spread border flag.
  RebuildBoxes();
  RelayoutBoxTable();
  SpreadEdgeFlag();
}
