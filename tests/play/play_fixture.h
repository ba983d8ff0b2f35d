// Test fixtures of the play tests: jigsaw folders written into a temporary working folder, and
// helpers that place pieces on the table. Depends on play/, box/, shell/, files/, draw/ and the
// shared test helpers.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "play/play.h"
#include "tests/support/support.h"

class TImage;

// How a test jigsaw folder is written. Piece i of grid cell (j, k) is a wd x ht picture with a
// black surround of `margin` pixels around a solid colour (10 * i % 256, 100, 200); its home lies
// at (100 + spacing * (k - 1), 100 + spacing * (j - 1)).
struct jigsaw_spec {
  int rows = 3, cols = 3;
  int wd = 40, ht = 40, margin = 5, spacing = 30;
  std::optional<colour_type> colour;  // the three colour lines, when given
  bool thumbnail = true;
  int missing_piece = 0;             // this piece's PNG is not written
  std::string rows_line, cols_line;  // override the first two lines of pieces.txt when not ""

  jigsaw_spec& Colour(colour_type c) {
    colour = c;
    return *this;
  }
  jigsaw_spec& Margin(int m) {
    margin = m;
    return *this;
  }
  jigsaw_spec& Missing(int piece) {
    missing_piece = piece;
    return *this;
  }
  jigsaw_spec& NoThumbnail() {
    thumbnail = false;
    return *this;
  }
  jigsaw_spec& Lines(std::string rows_text, std::string cols_text) {
    rows_line = std::move(rows_text);
    cols_line = std::move(cols_text);
    return *this;
  }
};

// A rows x cols jigsaw of wd x ht pieces.
jigsaw_spec Grid(int rows, int cols, int wd = 40, int ht = 40);

// Writes "jigsaws/<name>" below the working folder.
void WriteJigsaw(const std::string& name, const jigsaw_spec& spec);

// Puts every module the play code touches back to its start values (sound off, so that joins
// stay silent and load nothing).
void ResetGameModules();

// Base fixture: reset modules, a temporary working folder.
class PlayTest : public ::testing::Test {
 protected:
  PlayTest() { ResetGameModules(); }
  ~PlayTest() override { ResetGameModules(); }
  // Writes and loads a jigsaw; fails the test when it does not load.
  void LoadGrid(const jigsaw_spec& spec, const std::string& name = "grid");
  temp_working_folder folder_;
};

// PlayTest with an 800 x 600 window, for what draws or picks.
class PlayWindowTest : public PlayTest {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// Moves piece p to (x, y) at turn a.
void Place(int p, int x, int y, int a = 0);
// Succeeds when piece p lies at (x, y).
::testing::AssertionResult At(int p, int x, int y);
// Puts piece p exactly at its fitted place beside piece `beside`, plus (dx, dy), at beside's turn.
void PlaceBeside(int p, int beside, int dx = 0, int dy = 0);
// Makes the listed pieces one group with the given number, laid out around the first of them.
void MakeGroup(std::initializer_list<int> members, int gp);
// Puts the pointer at (x, y): the sampled game.pointer_x/y and the live MouseX/MouseY.
void PointAt(int x, int y);
// A 1 x 1 solid white probe image (like images/white.bmp), handle at its top-left corner.
std::shared_ptr<TImage> MakeProbe();
