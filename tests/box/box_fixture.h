// Fixture of the box tests: pieces made in memory (sizes, colours, classes) without image files,
// boxes filled directly, and readers of the slots and rows. Depends on the play test fixture.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "box/box.h"
#include "play/play.h"
#include "tests/play/play_fixture.h"

class BoxTest : public PlayTest {
 protected:
  // count single, shown, unboxed pieces of wd x ht, not on the border.
  static void MakePieces(int count, int wd = 40, int ht = 30) {
    if (static_cast<int>(play.pieces.size()) <= count) play.pieces.resize(count + 1);
    play.piece_count = count;
    for (int i = 1; i <= count; i++) {
      piece_type& piece = play.pieces[i];
      piece.wd = wd;
      piece.ht = ht;
      piece.visible = 1;
      piece.gp = piece.box = piece.edge = 0;
      piece.x = piece.y = 0;
    }
  }
  // Box b holds these pieces in this order, as the box view would have put them in.
  static void FillBox(int b, std::initializer_list<int> members) {
    box.box_count[b] = 0;
    for (int p : members) {
      box.box_slot[b][++box.box_count[b]].n = p;
      play.pieces[p].box = b;
    }
  }
  static std::vector<int> Slots(int b) {
    std::vector<int> pieces;
    for (int s = 1; s <= box.box_count[b]; s++) pieces.push_back(box.box_slot[b][s].n);
    return pieces;
  }
  // The rows' pieces in entry order; 0 for a hole.
  static std::vector<int> Rows() {
    std::vector<int> pieces;
    for (int j = 1; j <= box.box_table_count; j++) pieces.push_back(box.box_table[j].n);
    return pieces;
  }
  static void SetRows(std::initializer_list<pce_type> entries) {
    box.box_table_count = 0;
    for (const pce_type& entry : entries) box.box_table[++box.box_table_count] = entry;
  }
};
