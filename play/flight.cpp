// Scattering a jigsaw, the flight of every piece to its home position on the "anim" screen, the
// auto-solve, setting ten pieces aside, and the list shuffle. Depends on platform/platform.h
// (Rand, Millisecs) and game/game.h (screen, click, display size, notices, sounds, hooks).
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "game/game.h"
#include "platform/platform.h"
#include "play/play.h"

void ScatterPieces() {
  NoteTableMoved();
  for (int i = 1; i <= play.piece_count; i++) {
    piece_type& piece = play.pieces[i];
    // The draws happen in this order for every piece: x, y, turn.
    piece.x = Rand(piece.wd / 2, play.table_width - piece.wd / 2);
    piece.y = Rand(piece.ht / 2, play.table_height - piece.ht / 2);
    piece.a = Rand(0, 3);
    piece.gp = 0;
    piece.visible = 1;
    piece.box = 0;
  }
  play.last_group = 0;
}

void StartFlight() {
  ShowAllPieces();
  ViewHome();  // the flight ends in the whole finished picture
  game.screen = "anim";
  play.flight_state = 1;
}

namespace {

// Milliseconds from `from` to `to` on the wrapping 32-bit clock; negative when `to` is earlier.
int ClockDiff(int to, int from) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(to) -
                                   static_cast<std::uint32_t>(from));
}

void SetUpFlight() {
  for (int i = 1; i <= play.piece_count; i++) {
    piece_type& piece = play.pieces[i];
    piece_anim_type& f = play.flight[i];
    piece.a = 0;
    f.anim = 1;
    f.x1 = static_cast<float>(piece.x);
    f.y1 = static_cast<float>(piece.y);
    f.x2 = static_cast<float>(piece.x0);
    f.y2 = static_cast<float>(piece.y0);
    f.dx = (f.x2 - f.x1) / flight_steps;
    f.dy = (f.y2 - f.y1) / flight_steps;
  }
  play.flight_start = static_cast<int>(static_cast<std::uint32_t>(Millisecs()) + flight_step_ms);
  play.flight_skipped = 0;
  play.flight_step_count = 0;
}

// Truncates toward zero, held inside the int range (a far-off saved position must not overflow).
int TruncateToInt(float v) {
  constexpr float kLimit = 2147483520.0f;  // the largest float below 2^31
  return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

// One step of every piece still under way; false when none was. Every piece is home after
// flight_steps steps: far-off positions lose the precision that would let them arrive by distance.
bool StepFlight() {
  NoteTableMoved();
  bool moving = false;
  const bool last_step = ++play.flight_step_count >= flight_steps;
  for (int i = 1; i <= play.piece_count; i++) {
    piece_anim_type& f = play.flight[i];
    if (f.anim != 1) continue;
    moving = true;
    piece_type& piece = play.pieces[i];
    f.x1 += f.dx;
    f.y1 += f.dy;
    piece.x = TruncateToInt(f.x1);
    piece.y = TruncateToInt(f.y1);
    if ((std::fabs(f.x1 - f.x2) < 1 && std::fabs(f.y1 - f.y2) < 1) || last_step) {
      f.anim = 0;
      piece.x = TruncateToInt(f.x2);
      piece.y = TruncateToInt(f.y2);
    }
  }
  return moving;
}

}  // namespace

// One state per frame; a click jumps to state 3, which puts every piece home in the same frame.
void FlightFrame() {
  if (play.flight.size() != play.pieces.size()) play.flight.resize(play.pieces.size());
  if (game.click_pending) {
    play.flight_state = 3;
    game.click_pending = false;
    StopMusic();
    play.flight_skipped = 1;
  }
  switch (play.flight_state) {
    case 1:
      SetUpFlight();
      play.flight_state = 2;
      break;
    case 2: {
      // Steps wait only in the frames from 20 to 40 ms after the set-up (T is never moved).
      const int since = ClockDiff(Millisecs(), play.flight_start);
      if ((since > flight_step_ms || since < 0) && !StepFlight()) play.flight_state = 3;
      break;
    }
    case 3:
      PlaceAllHome();
      play.flight_state = 4;
      break;
    default:
      break;
  }
}

void PlaceAllHome() {
  NoteTableMoved();
  for (int i = 1; i <= play.piece_count; i++) {
    piece_type& piece = play.pieces[i];
    piece.x = piece.x0;
    piece.y = piece.y0;
    piece.a = 0;
    piece.gp = 1;
  }
}

void CountSevenKey() {
  play.seven_count++;
  if (play.seven_count < 3) return;
  play.seven_count = 0;
  play.completion_handled = 1;  // an auto-solve is not celebrated
  StartFlight();
}

namespace {

// Lays set-aside pieces out in a column at x 850, 75 pixels apart from y 30, beside the 800-wide
// table. A piece that would reach past the bottom of the 1024 x 768 display starts another column
// to the right, and every piece is kept wholly on the display (tall pieces overlap).
struct set_aside_column {
  static constexpr int kWidth = 1024, kHeight = 768;
  int x = 850, row = 0;

  void Place(piece_type& piece) {
    // The image reaches half its size (rounded up) either side of its centre.
    const int half_wd = (piece.wd + 1) / 2, half_ht = (piece.ht + 1) / 2;
    if (row > 0 && 30 + 75 * row + half_ht > kHeight) {
      x += std::max(75, piece.wd);
      row = 0;
    }
    piece.x = std::clamp(x, half_wd, std::max(half_wd, kWidth - half_wd));
    piece.y = std::clamp(30 + 75 * row, half_ht, std::max(half_ht, kHeight - half_ht));
    row++;
  }
};

}  // namespace

void SetAsideTen() {
  if (!game.display.display_large) game_hooks.toggle_large_display.Call();
  // The column at x 850 lies outside an 800-wide display: without the large display the pieces
  // would be out of reach, so the jigsaw is left as it is.
  if (!game.display.display_large) return;
  ShowBusy("please wait");
  StopMusic();
  ResetPlayState();
  ScatterPieces();
  play_hooks.boxes_emptied.Call();
  std::vector<int> order(play.piece_count);
  std::iota(order.begin(), order.end(), 1);
  ShuffleList(order, 0);  // entry 0 stays, so piece 1 is always set aside
  set_aside_column column;
  NoteTableMoved();
  for (int k = 0; k < play.piece_count; k++) {
    piece_type& piece = play.pieces[order[k]];
    piece.a = 0;
    if (k < 10) {
      column.Place(piece);
    } else {
      piece.x = piece.x0;
      piece.y = piece.y0;
      piece.gp = 1;
    }
  }
  play.last_group = 1;
  DrawTable();
}

void ShuffleList(std::span<int> list, int n) {
  if (n == 0) n = static_cast<int>(list.size()) - 1;
  assert(n < static_cast<int>(list.size()));
  for (int round = 0; round < n * 100; round++) {
    const int i = Rand(n, 1);
    const int j = Rand(n, 1);
    std::swap(list[i], list[j]);
  }
}
