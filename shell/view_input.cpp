// Zooming and panning the table: the wheel zooms about the pointer, the middle button or Shift +
// left button drags the table, keys zoom, pan and show the whole table, Tab hides or shows the
// overview, and a carried piece near an edge of the picture scrolls the table that way; the wheel
// turns the box view's pages. Depends on box/ (its pages), play/ (the view) and platform/.
#include <algorithm>

#include "box/box.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/internal.h"

namespace {

constexpr int kLeftButton = 1, kMiddleButton = 3;
constexpr int kKeyPan = 64;      // screen pixels a cursor key moves the table
constexpr int kEdge = 24;        // a carried piece this close to an edge scrolls the table
constexpr int kEdgeSpeed = 12;   // screen pixels a turn at the very edge

bool OnTable() { return game.screen == "jigsaw"; }

bool ShiftHeld() { return KeyIsDown(KEY_LSHIFT) || KeyIsDown(KEY_RSHIFT); }

void ZoomAtCentre(int steps) {
  ZoomView(steps, GraphicsWidth() / 2, GraphicsHeight() / 2);
}

// How far a turn scrolls for a pointer at p on an axis of the given size: faster the nearer the
// edge, nothing outside the band.
int EdgeScroll(int p, int size) {
  if (p < kEdge) return kEdgeSpeed * (kEdge - std::max(p, 0)) / kEdge;
  if (p >= size - kEdge) return -kEdgeSpeed * (p - (size - kEdge) + 1) / kEdge;
  return 0;
}

}  // namespace

bool ViewKey(int k) {
  if (!OnTable()) return false;
  switch (k) {
    case KEY_PAGEUP:
    case KEY_NUMADD: ZoomAtCentre(1); return true;
    case KEY_PAGEDOWN:
    case KEY_NUMSUBTRACT: ZoomAtCentre(-1); return true;
    // Ctrl with + or - zooms as in every viewer; = alone keeps its meaning.
    case KEY_EQUALS:
    case KEY_MINUS:
      if (!game.ctrl_down) return false;
      ZoomAtCentre(k == KEY_EQUALS ? 1 : -1);
      return true;
    case KEY_HOME: ViewHome(); return true;
    case KEY_TAB: play.overview_shown = play.overview_shown ? 0 : 1; return true;
    case KEY_LEFT: PanView(kKeyPan, 0); return true;
    case KEY_RIGHT: PanView(-kKeyPan, 0); return true;
    case KEY_UP: PanView(0, kKeyPan); return true;
    case KEY_DOWN: PanView(0, -kKeyPan); return true;
    default: return false;
  }
}

bool StartPan(int button) {
  if (!OnTable() || shell.pan_button != 0) return false;
  if (button != kMiddleButton && !(button == kLeftButton && ShiftHeld() && play.dragged == 0)) return false;
  shell.pan_button = button;
  shell.pan_x = MouseX();
  shell.pan_y = MouseY();
  return true;
}

void EndPan(int button) {
  if (button == shell.pan_button) shell.pan_button = 0;
}

void WheelZoom(int steps, int x, int y) {
  if (OnTable() && steps != 0) ZoomView(steps, x, y);
  // In the box view the wheel turns the rows' pages (away from the player: back).
  if (game.screen == "box") TurnBoxPage(-steps);
}

void ViewTurn() {
  if (!OnTable()) {
    shell.pan_button = 0;
    return;
  }
  if (shell.pan_button != 0) {
    const int x = MouseX(), y = MouseY();
    PanView(x - shell.pan_x, y - shell.pan_y);
    shell.pan_x = x;
    shell.pan_y = y;
  }
  if (play.dragged != 0) {
    const int dx = EdgeScroll(game.pointer_x, GraphicsWidth());
    const int dy = EdgeScroll(game.pointer_y, GraphicsHeight());
    if (dx != 0 || dy != 0) PanView(dx, dy);
  }
}
