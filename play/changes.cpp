// Whether the jigsaw in play differs from what it was when it was started, restarted, loaded or
// last saved: the values its progress file would hold, and the view its save keeps beside it, are
// compared with those recorded then, so no change can slip past a command that forgot to mark it.
// A moved view alone counts: a player who zoomed in on a corner comes back to that corner. A
// resized window does not, since the home view is recorded as home, not as a zoom.
// Depends on play/play.h and game/.
#include "play/play.h"

std::vector<int> ProgressValues() {
  std::vector<int> values;
  values.reserve(7 * static_cast<size_t>(play.piece_count) + 5);
  for (int i = 1; i <= play.piece_count; ++i) {
    const piece_type& piece = play.pieces[i];
    values.insert(values.end(), {piece.x, piece.y, piece.a, piece.visible, piece.gp, play.draw_order[i], piece.box});
  }
  values.insert(values.end(), {play.table_colour.r, play.table_colour.g, play.table_colour.b,
                               game.display.display_large ? 1 : 0, play.last_group});
  return values;
}

bool JigsawChanged() {
  return !play.jigsaw_name.empty() && (play.unchanged_name != play.jigsaw_name || ProgressValues() != play.unchanged_values ||
                                        ViewValues() != play.unchanged_view);
}

void MarkJigsawUnchanged() { MarkJigsawSavedAs(play.jigsaw_name, ProgressValues(), ViewValues()); }

void MarkJigsawSavedAs(const std::string& name, std::vector<int> values, std::array<int, 3> view) {
  play.unchanged_name = name;
  play.unchanged_values = std::move(values);
  play.unchanged_view = view;
}
