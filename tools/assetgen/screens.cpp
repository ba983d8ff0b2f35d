// Pictures of the table and the browser: pointer, probe, swatch, the five confirmation
// pictures, the box view frame and back button, the page arrows, the kill cross and the buttons
// of the own-pictures route.
// Depends on assetgen.h.
#include <cmath>

#include "tools/assetgen/assetgen.h"

namespace {

// The arrow pointer; its tip is the top-left pixel. Black is transparent (loaded masked).
void Pointer(const std::string& images) {
  canvas c(16, 24);
  std::vector<std::pair<float, float>> arrow = {{0.5f, 0.5f}, {0.5f, 17.5f}, {4.5f, 13.5f}, {7.5f, 20.5f},
                                                {10.5f, 19.3f}, {7.6f, 12.6f}, {12.8f, 12.6f}};
  c.Polygon(arrow, RGB(255, 255, 255));
  for (size_t i = 0; i < arrow.size(); ++i) {
    auto [x0, y0] = arrow[i];
    auto [x1, y1] = arrow[(i + 1) % arrow.size()];
    c.Line(x0, y0, x1, y1, 1.6f, RGB(24, 24, 32));
  }
  SaveBMP(c.ToMasked(), images + "/pointer.bmp");
}

void Probe(const std::string& images) {
  canvas c(1, 1);
  c.Fill(RGB(255, 255, 255));
  SaveBMP(c.ToRGB(), images + "/white.bmp");
}

// Table colours in tiles; the gaps are a dark grey that is a useful colour too.
void Swatch(const std::string& images) {
  const int colours[4][12][3] = {
      {{0, 90, 40}, {20, 110, 60}, {40, 70, 30}, {60, 100, 60}, {0, 80, 80}, {30, 120, 110},
       {90, 120, 70}, {120, 150, 90}, {20, 50, 30}, {10, 60, 50}, {70, 90, 50}, {150, 170, 120}},
      {{20, 30, 90}, {30, 60, 130}, {60, 90, 160}, {100, 130, 190}, {10, 20, 50}, {50, 40, 110},
       {80, 60, 140}, {120, 100, 170}, {40, 70, 100}, {70, 110, 140}, {140, 170, 200}, {180, 200, 230}},
      {{115, 8, 33}, {140, 30, 30}, {170, 60, 40}, {200, 110, 60}, {90, 50, 30}, {120, 80, 50},
       {160, 120, 80}, {200, 170, 120}, {80, 20, 50}, {130, 50, 90}, {180, 90, 120}, {220, 160, 170}},
      {{10, 10, 10}, {40, 40, 40}, {70, 70, 70}, {100, 100, 100}, {130, 130, 130}, {160, 160, 160},
       {190, 190, 190}, {220, 220, 220}, {245, 245, 240}, {60, 55, 45}, {110, 100, 80}, {230, 220, 190}}};
  canvas c(12 * 30 + 2, 4 * 32 + 2);
  c.Fill(RGB(48, 48, 48));
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 12; ++col) {
      const int* rgb = colours[row][col];
      c.Rect(2 + col * 30.f, 2 + row * 32.f, 28, 30, RGB(rgb[0], rgb[1], rgb[2]));
    }
  SaveBMP(c.ToRGB(), images + "/swatch.bmp");
}

// A question with Yes at (154, 68)-(239, 99), the game's click area, and No beside it.
void Question(const std::string& path, const std::string& question, asset_fonts& fonts) {
  canvas c(494, 146);
  Panel(c, 0, 0, 494, 146);
  fonts.large.DrawCentred(c, question, 247, 35, RGB(255, 255, 192));
  Button(c, 154, 68, 86, 32, 6, yes_style, fonts.large, "Yes");
  Button(c, 254, 68, 86, 32, 6, no_style, fonts.large, "No");
  fonts.small.DrawCentred(c, "Press Y for yes - N or any other key for no", 247, 124, RGB(200, 210, 236));
  SavePNG(c.ToRGB(), path);
}

// Leave the game? Yes at (149, 29)-(226, 79). Escape answers yes here, Y does not.
void ExitQuestion(const std::string& images, asset_fonts& fonts) {
  canvas c(332, 112);
  Panel(c, 0, 0, 332, 112);
  fonts.large.DrawCentred(c, "Leave", 77, 42, RGB(255, 255, 192));
  fonts.large.DrawCentred(c, "Tesselka?", 77, 66, RGB(255, 255, 192));
  Button(c, 149, 29, 78, 51, 8, yes_style, fonts.large, "Yes");
  Button(c, 240, 29, 78, 51, 8, no_style, fonts.large, "No");
  fonts.small.DrawCentred(c, "Esc again for yes - any other key for no", 166, 96, RGB(200, 210, 236));
  SavePNG(c.ToRGB(), images + "/exit.png");
}

// The frame around the box view's strip: 6 pixels of wood around a transparent interior.
void BoxFrame(const std::string& path, int strip_width) {
  int w = strip_width + 12, h = 70;
  canvas c(w, h);
  c.RoundRect(0, 0, float(w), float(h), 5, RGB(70, 40, 18));
  c.Paint([&](float x, float y) {
    float grain = Fractal(x * 0.02f, y * 0.35f, 3, 11);
    colour wood = Mix(RGB(120, 72, 34), RGB(176, 118, 62), grain);
    float edge = std::min({x, y, w - x, h - y});
    return edge < 1 ? RGB(70, 40, 18) : edge < 2.5f ? Scale(wood, 1.25f) : wood;
  });
  // Paint covered the round corners too: cut them out again.
  canvas frame(w, h);
  frame.RoundRect(0, 0, float(w), float(h), 5, RGB(255, 255, 255));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (frame.At(x, y)[3] < 0.5f) c.Erase(x, y, 1, 1);
  c.Rect(5, 5, float(strip_width + 2), 60, RGB(50, 28, 12));  // inner shadow line
  c.Erase(6, 6, strip_width, 58);                             // the strip shows through
  SavePNG(c.ToMasked(), path);
}

// The box view's back button at (7, 41): within x < 70 and y < 77 on screen.
void BackButton(const std::string& images, asset_fonts& fonts) {
  canvas c(60, 34);
  c.Fill(RGB(20, 28, 60));
  Button(c, 0, 0, 60, 34, 0, blue_style, fonts.small, "");
  // A small piece as the icon, then the word.
  c.Rect(5, 13, 11, 11, RGB(255, 214, 90));
  c.Circle(10.5f, 11, 3.2f, RGB(255, 214, 90));
  c.Circle(17.5f, 18.5f, 3.2f, RGB(255, 214, 90));
  fonts.small.DrawCentred(c, "Table", 40, 17, RGB(255, 255, 224));
  SavePNG(c.ToRGB(), images + "/jigsaw.png");
}

// The kill mark over a 95 x 71 thumbnail: a bold red cross outlined in white.
void Cross(const std::string& images) {
  canvas c(95, 71);
  for (auto [width, tint] : {std::pair{17.f, RGB(255, 255, 255)}, std::pair{11.f, RGB(214, 24, 24)}}) {
    c.Line(12, 10, 83, 61, width, tint);
    c.Line(83, 10, 12, 61, width, tint);
  }
  SavePNG(c.ToMasked(), images + "/cross.png");
}

// Page arrows, 84 x 40: first, previous, next, last.
void Arrows(const std::string& images, asset_fonts& fonts) {
  for (int n = 1; n <= 4; ++n) {
    canvas c(84, 40);
    Button(c, 0, 0, 84, 40, 10, blue_style, fonts.small, "");
    colour ink = RGB(255, 255, 224);
    bool right = n >= 3;
    float dir = right ? 1.f : -1.f, cx = 42;
    if (n == 1 || n == 4) {
      c.Rect(cx + dir * 12 - 2.5f, 11, 5, 18, ink);
      cx -= dir * 4;
    }
    c.Polygon({{cx - dir * 9, 9.f}, {cx + dir * 9, 20.f}, {cx - dir * 9, 31.f}}, ink);
    SavePNG(c.ToMasked(), images + "/arrow" + std::to_string(n) + ".png");
  }
}

// The library page's way to the player's own pictures, 130 x 40 in the page arrows' style: a
// small framed landscape, then the words.
void PicturesButton(const std::string& images, asset_fonts& fonts) {
  canvas c(130, 40);
  Button(c, 0, 0, 130, 40, 10, blue_style, fonts.small, "");
  const colour ink = RGB(255, 255, 224);
  c.Rect(8, 11, 24, 18, ink);
  c.Rect(10, 13, 20, 14, RGB(90, 150, 230));
  c.Polygon({{10.f, 27.f}, {17.f, 18.f}, {23.f, 24.f}, {26.f, 21.f}, {30.f, 27.f}}, RGB(60, 130, 60));
  c.Circle(26, 16, 2.f, RGB(255, 214, 90));
  fonts.small.DrawCentred(c, "My pictures", 81, 20, ink);
  SavePNG(c.ToMasked(), images + "/pictures.png");
}

// The cutting screen's Cut button, 120 x 40: a pair of scissors and the word.
void CutButton(const std::string& images, asset_fonts& fonts) {
  canvas c(120, 40);
  Button(c, 0, 0, 120, 40, 10, blue_style, fonts.small, "");
  const colour ink = RGB(255, 255, 224);
  c.Line(14, 12, 34, 26, 2.5f, ink);
  c.Line(14, 28, 34, 14, 2.5f, ink);
  for (float y : {12.f, 28.f}) {
    c.Circle(12, y, 4.5f, ink);
    c.Circle(12, y, 2.3f, blue_style.bottom);
  }
  fonts.small.DrawCentred(c, "Cut", 74, 20, ink);
  SavePNG(c.ToMasked(), images + "/cut.png");
}

}  // namespace

void WriteScreenPictures(const std::string& images, asset_fonts& fonts) {
  Pointer(images);
  Probe(images);
  Swatch(images);
  Question(images + "/do_new.png", "Start the next jigsaw you have not saved?", fonts);
  Question(images + "/quick_pick.png", "Start a jigsaw picked at random?", fonts);
  Question(images + "/reload.png", "Start this jigsaw again from the beginning?", fonts);
  Question(images + "/fetch.png", "Fetch the jigsaw you saved last?", fonts);
  ExitQuestion(images, fonts);
  BoxFrame(images + "/box.png", 712);
  BoxFrame(images + "/boxf.png", 936);
  BackButton(images, fonts);
  Cross(images);
  Arrows(images, fonts);
  PicturesButton(images, fonts);
  CutButton(images, fonts);
}
