// The start-up notices, frames drawn around help rows and the display's settings banner.
// Depends on game/ (notices, banner), draw/ and platform/.
#include "draw/draw.h"
#include "platform/platform.h"
#include "shell/shell.h"

void ShowStartUpNotices() {
  auto& notices = game.startup_notices;
  if (notices.empty()) return;
  while (!notices.empty()) {
    ShowErrorAndWait(notices.front());
    notices.erase(notices.begin());
  }
  // The opening flight has not begun: nothing given while the notices showed may end or skip it.
  while (PollEvent()) {
  }
  FlushKeys();
}

void DrawFrame(int x, int y, int w, int h, int t) {
  DrawRect(x, y, w, t);
  DrawRect(x, y, t, h);
  DrawRect(x, y + h - t, w, t);
  DrawRect(x + w - t, y, t, h);
}

void ShowGraphicsInfo() {
  game.status_message = "width:" + std::to_string(GraphicsWidth()) + " height:" + std::to_string(GraphicsHeight()) +
                        " depth:" + std::to_string(GraphicsDepth()) + " freq:" + std::to_string(GraphicsHertz());
}
