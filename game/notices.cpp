// The shared drawing and pointer helpers, the banner, the blocking notice and the way out.
// Depends on draw/ (drawing state, images, text) and platform/ (display size, pointer, keys).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw/draw.h"
#include "game/game.h"
#include "platform/platform.h"

namespace {

// Space kept clear at the window's sides beside a notice's lines.
constexpr int kNoticeMargin = 12;

// Top-left corner that centres an image of w x h on the display.
int CentredLeft(int w) { return (GraphicsWidth() - w) / 2; }
int CentredTop(int h) { return (GraphicsHeight() - h) / 2; }

// Before the polled-input hook and the queue: the events of a key that answered a notice reach
// neither until its release, so the answer does not act again on the screen beneath.
constexpr int kNoticeKeyHookPriority = 1;

bool IsKeyEvent(int id) {
  return id == EVENT_KEYDOWN || id == EVENT_KEYREPEAT || id == EVENT_KEYUP;
}

std::shared_ptr<TObject> NoticeKeyHook(int, std::shared_ptr<TObject> data,
                                       std::shared_ptr<TObject>) {
  auto event = std::dynamic_pointer_cast<TEvent>(data);
  if (!event || !IsKeyEvent(event->id) || event->data < 0 || event->data >= 256) return data;
  auto& keys = game.notice_keys;
  bool& held = keys.held[static_cast<size_t>(event->data)];
  if (event->id == EVENT_KEYDOWN) {
    // A new press: it answers a waiting notice, and otherwise acts as any key does (its
    // release was lost, as when the keyboard went to another window).
    held = keys.waiting;
    if (keys.waiting) keys.answered = true;
  } else if (held) {
    if (event->id == EVENT_KEYUP) held = false;
    return nullptr;
  }
  return held ? nullptr : data;
}

// WaitKey, except that a close request ends the program as it does everywhere else instead
// of being held until a key arrives, and the answering key is used up.
void WaitKeyOrClose() {
  // Input that came before the notice was shown stays queued and does not answer it.
  PollSystem();
  RemoveHook(EmitEventHook, NoticeKeyHook, nullptr);
  AddHook(EmitEventHook, NoticeKeyHook, nullptr, kNoticeKeyHookPriority);
  auto& keys = game.notice_keys;
  keys.waiting = true;
  keys.answered = false;
  struct stop_waiting {
    ~stop_waiting() { game.notice_keys.waiting = false; }
  } stop;
  while (!keys.answered) {
    WaitSystem();
    if (AppTerminate()) EndProgram();
  }
}

}  // namespace

bool MouseIn(int x1, int y1, int x2, int y2) {
  int x = MouseX(), y = MouseY();
  return x >= x1 && x <= x2 && y >= y1 && y <= y2;
}

void DrawCentred(const std::shared_ptr<TImage>& image, bool shadow) {
  if (!image) return;
  int left = CentredLeft(ImageWidth(image)), top = CentredTop(ImageHeight(image));
  if (shadow) {
    int blend = GetBlend();
    SetBlend(AlphaBlend);
    SetAlpha(0.5);
    SetColor(0, 0, 0);
    DrawImage(image, left + 7, top + 7, 0);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(blend);
  }
  DrawImage(image, left, top, 0);
}

bool MouseInCentred(const std::shared_ptr<TImage>& image, int x1, int y1, int x2, int y2) {
  int left = CentredLeft(image ? ImageWidth(image) : 0), top = CentredTop(image ? ImageHeight(image) : 0);
  return MouseIn(left + x1, top + y1, left + x2, top + y2);
}

void DrawTextCentred(const std::string& text, int x, int y, bool centre_x, bool centre_y) {
  if (centre_x) x -= TextWidth(text) / 2;
  if (centre_y) y -= TextHeight(text) / 2;
  DrawText(text, x, y);
}

namespace {

// Where DrawBanner puts text: its lines, their height, the first line's top and the widest line.
struct banner_layout {
  std::vector<std::string> lines;
  int line_height = 0, top = 0, text_width = 0;
};

// In the large font, which it leaves set.
banner_layout LayOutBanner(const std::string& text, int y) {
  SetImageFont(game.fonts.large);
  banner_layout layout;
  // The frame takes 12 pixels on each side. Lines of a text too wide for the window stack in
  // one frame, centred on y as far as the window allows.
  layout.lines = FitText(text, *GetImageFont(), GraphicsWidth() - 24);
  for (const std::string& line : layout.lines) layout.text_width = std::max(layout.text_width, TextWidth(line));
  layout.line_height = TextHeight(text);
  const int count = static_cast<int>(layout.lines.size()), height = layout.line_height * count;
  if (y == 0) y = GraphicsHeight() / 2;
  layout.top = y - height / 2;
  if (count > 1) layout.top = std::max(12, std::min(layout.top, GraphicsHeight() - 12 - height));
  return layout;
}

}  // namespace

int BannerBottom(const std::string& text, int y) {
  const banner_layout layout = LayOutBanner(text, y);
  return layout.top + layout.line_height * static_cast<int>(layout.lines.size()) + 12;
}

void DrawBanner(const std::string& text_in, int y, double alpha) {
  const std::string& text = text_in.empty() ? game.status_message : text_in;
  int blend = GetBlend();
  const banner_layout layout = LayOutBanner(text, y);
  const int tw = layout.text_width, th = layout.line_height, top = layout.top;
  const int count = static_cast<int>(layout.lines.size()), height = th * count;
  const int cx = GraphicsWidth() / 2, left = cx - tw / 2;
  SetBlend(AlphaBlend);
  SetAlpha(static_cast<float>(alpha));
  SetColor(64, 64, 255);
  DrawRect(left - 12, top - 12, tw + 24, height + 24);
  if (alpha == 1)
    SetColor(0, 0, 128);
  else
    SetColor(0, 255, 255);
  DrawRect(left - 10, top - 10, tw + 20, height + 20);
  SetAlpha(1);
  for (int i = 0; i < count; ++i) {
    int line_top = top + th * i;
    SetColor(0, 0, 0);
    DrawTextCentred(layout.lines[i], cx + 1, line_top + 1, true, false);
    SetColor(255, 255, 192);
    DrawTextCentred(layout.lines[i], cx, line_top, true, false);
  }
  SetColor(255, 255, 255);
  SetBlend(blend);
}

std::string ShownPath(const std::string& path) {
  const char* env = std::getenv("HOME");
  std::string home = env ? env : "";
  while (!home.empty() && home.back() == '/') home.pop_back();
  const bool inside = !home.empty() && path.starts_with(home) &&
                      (path.size() == home.size() || path[home.size()] == '/');
  return inside ? "~" + path.substr(home.size()) : path;
}

void ShowBusy(const std::string& text) {
  DrawBanner(text, 0, 0.5);
  Flip(1);
  DrawBanner(text, 0, 0.5);
}

void ShowErrorAndWait(const std::string& message) {
  std::string text = message + " - press any key";
  // Before the display opens no key can arrive to end the wait: the notice waits for it.
  if (GraphicsWidth() == 0) {
    std::fprintf(stderr, "tesselka: %s\n", message.c_str());
    game.startup_notices.push_back(message);
    return;
  }
  // Laid out like every screen but the table's, whatever the turn showed.
  SetWindowFill(false);
  SetClsColor(0, 0, 0);
  Cls();
  SetImageFont(game.fonts.small);
  SetColor(255, 255, 255);
  SetBlend(AlphaBlend);
  // A text too wide for the window becomes lines stacked around the middle of the display.
  const auto lines = FitText(text, *GetImageFont(), GraphicsWidth() - 2 * kNoticeMargin);
  int th = TextHeight(text), count = static_cast<int>(lines.size());
  int top = GraphicsHeight() / 2 - th * (count - 1) / 2;
  for (int i = 0; i < count; ++i)
    DrawText(lines[i], (GraphicsWidth() - TextWidth(lines[i])) / 2, top + th * i);
  Flip(-1);
  WaitKeyOrClose();
}

void DrawHelpHint() {
  if (game.prefs.pref_hint && game.hint_visible) DrawBanner("press H at any time for Help", 0, 0.5);
}

[[noreturn]] void EndProgram() {
  // A notice shown while leaving may itself meet a close request: leave at once then.
  if (!game.leaving) {
    game.leaving = true;
    game_hooks.leaving.Call();
  }
  End();
}
