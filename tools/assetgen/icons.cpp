// The desktop icon: one jigsaw piece with two tabs and two blanks, on a transparent ground,
// painted at each size of the hicolor theme.
// Depends on assetgen.h and files/files.h.
#include <algorithm>
#include <cmath>

#include "files/files.h"
#include "tools/assetgen/assetgen.h"

namespace {

// Signed distance to the piece in a picture of side 1: a rounded square with tabs on its top
// and right sides and blanks in its left and bottom sides.
float PieceDistance(float x, float y) {
  auto circle = [&](float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; };
  const float dx = std::abs(x - 0.5f) - 0.27f, dy = std::abs(y - 0.52f) - 0.27f;
  const float body =
      std::hypot(std::max(dx, 0.f), std::max(dy, 0.f)) + std::min(std::max(dx, dy), 0.f) - 0.04f;
  float d = std::min({body, circle(0.5f, 0.16f, 0.105f), circle(0.88f, 0.52f, 0.105f)});
  d = std::max({d, -circle(0.17f, 0.52f, 0.1f), -circle(0.5f, 0.85f, 0.1f)});
  return d;
}

canvas PaintIcon(int size) {
  canvas icon(size, size);
  const float s = float(size);
  auto at = [s](float grow, float shift) {
    return [=](float x, float y) {
      return PieceDistance((x + shift) / s, (y + shift) / s) * s - grow;
    };
  };
  const float outline = std::max(1.f, s / 32);
  icon.Shape(0, 0, s, s, at(outline, 0), RGB(40, 44, 92));
  icon.Shape(0, 0, s, s, at(0, 0), RGB(236, 132, 36));
  icon.Shape(0, 0, s, s, at(-s * 0.09f, s * 0.03f), RGB(252, 196, 96), 0.8f);
  return icon;
}

}  // namespace

void WriteIcons(const std::string& icons) {
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string folder =
        icons + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
    if (!CreateDir(folder, true)) throw TRuntimeException("cannot create the folder " + folder);
    SavePNG(PaintIcon(size).ToRGBA(), folder + "/tesselka.png");
  }
}
