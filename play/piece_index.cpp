// The spatial index of the table: a uniform grid of cells about twice a piece, each listing the
// pieces whose square reaches it, so picking asks a few cells instead of walking every piece.
// Built when first asked after the pieces moved (NoteTableMoved). Depends on play/play.h.
#include <algorithm>
#include <cmath>

#include "play/play.h"
#include "play/play_internal.h"

namespace {

int CellOf(int v, int origin, int cell, int count) {
  return std::clamp((v - origin) / cell, 0, count - 1);
}

void BuildIndex() {
  piece_index_type& index = play.index;
  const int n = play.piece_count;
  int reach = 1, min_x = 0, min_y = 0, max_x = 1, max_y = 1;
  for (int i = 1; i <= n; i++) {
    const piece_type& piece = play.pieces[i];
    reach = std::max(reach, PieceReach(piece));
    min_x = std::min(min_x, piece.x);
    min_y = std::min(min_y, piece.y);
    max_x = std::max(max_x, piece.x);
    max_y = std::max(max_y, piece.y);
  }
  index.cell = 4 * reach;
  index.origin_x = min_x - reach;
  index.origin_y = min_y - reach;
  // A hostile saved position far off the table must not make millions of cells: past 256 on an
  // axis the cells grow instead.
  const auto cells_on = [&](int low, int high) {
    return static_cast<int>(std::min<int64_t>(256, (int64_t(high) + reach - low) / index.cell + 1));
  };
  index.columns = cells_on(index.origin_x, max_x);
  index.rows = cells_on(index.origin_y, max_y);
  index.cell = std::max<int64_t>(index.cell, std::max((int64_t(max_x) + reach - index.origin_x) / index.columns + 1,
                                                      (int64_t(max_y) + reach - index.origin_y) / index.rows + 1));
  // Counting sort into one array: starts[c] .. starts[c + 1] list the pieces reaching cell c.
  const size_t cells = static_cast<size_t>(index.columns) * index.rows;
  index.starts.assign(cells + 1, 0);
  const auto for_each_cell = [&](const piece_type& piece, auto&& visit) {
    const int r = PieceReach(piece);
    const int c0 = CellOf(piece.x - r, index.origin_x, index.cell, index.columns);
    const int c1 = CellOf(piece.x + r, index.origin_x, index.cell, index.columns);
    const int r0 = CellOf(piece.y - r, index.origin_y, index.cell, index.rows);
    const int r1 = CellOf(piece.y + r, index.origin_y, index.cell, index.rows);
    for (int row = r0; row <= r1; row++)
      for (int col = c0; col <= c1; col++) visit(static_cast<size_t>(row) * index.columns + col);
  };
  for (int i = 1; i <= n; i++) for_each_cell(play.pieces[i], [&](size_t c) { index.starts[c + 1]++; });
  for (size_t c = 0; c < cells; c++) index.starts[c + 1] += index.starts[c];
  index.pieces.assign(index.starts[cells], 0);
  std::vector<int> fill(index.starts.begin(), index.starts.end() - 1);
  for (int i = 1; i <= n; i++) for_each_cell(play.pieces[i], [&](size_t c) { index.pieces[fill[c]++] = i; });
  index.rank.assign(play.pieces.size(), 0);
  for (int k = 1; k <= n; k++) index.rank[play.draw_order[k]] = k;
  index.count = n;
  index.built_at = play.table_moves;
}

}  // namespace

int PieceReach(const piece_type& piece) {
  return (std::max(piece.wd, piece.ht) + 1) / 2;
}

void NoteTableMoved() {
  play.table_moves++;
}

const std::vector<int>& PiecesNear(int x, int y, int margin) {
  piece_index_type& index = play.index;
  if (index.built_at != play.table_moves || index.count != play.piece_count) BuildIndex();
  std::vector<int>& found = index.found;
  found.clear();
  const int c0 = CellOf(x - margin, index.origin_x, index.cell, index.columns);
  const int c1 = CellOf(x + margin, index.origin_x, index.cell, index.columns);
  const int r0 = CellOf(y - margin, index.origin_y, index.cell, index.rows);
  const int r1 = CellOf(y + margin, index.origin_y, index.cell, index.rows);
  for (int row = r0; row <= r1; row++) {
    for (int col = c0; col <= c1; col++) {
      const size_t c = static_cast<size_t>(row) * index.columns + col;
      for (int k = index.starts[c]; k < index.starts[c + 1]; k++) {
        const int p = index.pieces[k];
        const piece_type& piece = play.pieces[p];
        const int reach = PieceReach(piece) + margin;
        if (std::abs(piece.x - x) <= reach && std::abs(piece.y - y) <= reach) found.push_back(p);
      }
    }
  }
  // Topmost first; a piece reaching several cells is listed once.
  std::sort(found.begin(), found.end(), [&](int a, int b) { return index.rank[a] > index.rank[b]; });
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}
