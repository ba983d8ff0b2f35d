// The one-off celebration of "4975red_mixer": the finished picture dimmed to dark blue and a
// line of text flashed in letter by letter. Depends on draw/ and platform/.
#include <array>
#include <vector>

#include "draw/draw.h"
#include "platform/platform.h"
#include "shell/internal.h"

namespace {

constexpr int kFrameMs = 50;
constexpr int kPauseMs = 5000;
constexpr int kFlashFrames = 7;

// Frames 1..7 with centred handles; a missing frame stays nullptr and is not drawn.
std::array<std::shared_ptr<TImage>, kFlashFrames + 1> LoadFlashFrames() {
  std::array<std::shared_ptr<TImage>, kFlashFrames + 1> frames;
  for (int i = 1; i <= kFlashFrames; ++i) {
    frames[i] = LoadImage("images/flash/1/" + std::to_string(i) + ".png", -1);
    if (frames[i]) MidHandleImage(frames[i]);
  }
  return frames;
}

// The screen as it is now, as an image the size of the display.
std::shared_ptr<TImage> GrabScreen(int flags) {
  auto back = CreateImage(GraphicsWidth(), GraphicsHeight(), 1, flags);
  GrabImage(back, 0, 0);
  return back;
}

void DrawLetter(const std::string& letter, int x, int y, int tw, int th) {
  SetColor(255, 255, 128);
  DrawText(letter, static_cast<float>(x - tw / 2), static_cast<float>(y - th / 2));
  SetColor(255, 255, 255);
}

// The text split into characters (a UTF-8 sequence stays whole).
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80 && !characters.empty())
      characters.back() += c;
    else
      characters.emplace_back(1, c);
  }
  return characters;
}

}  // namespace

int FlashLetter(const std::string& letter, int x, int y) {
  int tw = TextWidth(letter), th = TextHeight(letter);
  if (letter == " ") return tw;  // before any loading, so that a space takes no time
  auto frames = LoadFlashFrames();
  int blend = GetBlend();
  auto back = GrabScreen(0);
  const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
  for (int i = 1; i <= kFlashFrames; ++i) {
    int t = Millisecs();
    DrawImage(back, 0, 0);
    SetBlend(AdditiveBlend);
    DrawImage(frames[i], fx, fy);
    SetBlend(blend);
    Flip(-1);
    WaitAlive(t, kFrameMs);
  }
  float alpha = 0.25f;
  for (int i = kFlashFrames; i >= kFlashFrames - 2; --i) {
    int t = Millisecs();
    DrawImage(back, 0, 0);
    SetBlend(AlphaBlend);
    SetAlpha(alpha);
    alpha += 0.25f;
    DrawLetter(letter, x, y, tw, th);
    SetAlpha(1);
    SetBlend(AdditiveBlend);
    DrawImage(frames[i], fx, fy);
    SetBlend(blend);
    Flip(-1);
    if (i > kFlashFrames - 2) WaitAlive(t, kFrameMs);
  }
  for (int twice = 0; twice < 2; ++twice) {  // both buffers
    DrawImage(back, 0, 0);
    SetBlend(AlphaBlend);
    DrawLetter(letter, x, y, tw, th);
    SetBlend(blend);
    Flip(-1);
  }
  return tw;
}

void Celebrate(const std::string& text) {
  int cx = GraphicsWidth() / 2, cy = GraphicsHeight() / 2;
  // Without its own font the celebration speaks in the default font.
  auto font = LoadImageFont("fonts/courbi.ttf", 28, SmoothFont);
  auto back = GrabScreen(-1);
  for (int twice = 0; twice < 2; ++twice) {  // both buffers
    SetColor(0, 0, 150);
    DrawImage(back, 0, 0);
    SetColor(255, 255, 255);
    Flip(-1);
  }
  SetImageFont(font);
  int half_w = TextWidth(text) / 2, half_h = TextHeight(text) / 2;
  int x = cx;
  for (const std::string& c : Characters(text)) x += FlashLetter(c, x - half_w, cy - half_h);
  WaitAlive(Millisecs(), kPauseMs);
}
