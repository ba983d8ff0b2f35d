// Helpers of the tools tests. Depends on jigsaw_fixture.h.
#include "tests/tools/jigsaw_fixture.h"

#include <cmath>
#include <cstdlib>

#include "files/files.h"
#include "tools/jigsaw/jigsaw.h"

std::shared_ptr<TPixmap> TestPicture(int width, int height) {
  auto p = CreatePixmap(width, height, PF_RGB888);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* q = p->PixelPtr(x, y);
      q[0] = uint8_t(128 + 120 * std::sin(x * 0.05 + y * 0.01));
      q[1] = uint8_t(128 + 120 * std::sin(y * 0.07));
      q[2] = uint8_t((x * 7 ^ y * 13) & 255);
      if (x < width / 6 && y < height / 6) q[0] = q[1] = q[2] = 0;
    }
  return p;
}

std::string RuntimeFolder() {
  const char* runtime = std::getenv("TESSELKA_RUNTIME");
  return runtime ? runtime : "runtime";
}

loaded_jigsaw LoadJigsaw(const std::string& folder) {
  loaded_jigsaw j;
  auto stream = ReadFile(folder + "/pieces.txt");
  if (!stream) return j;
  std::vector<std::string> lines;
  while (!stream->Eof()) lines.push_back(stream->ReadLine());
  CloseStream(stream);
  j.line_count = int(lines.size());
  auto line = [&](size_t i) { return i < lines.size() ? TextToInt(lines[i]) : 0; };
  j.rows = line(0);
  j.cols = line(1);
  int count = j.rows * j.cols;
  for (int i = 0; i < count && i <= max_pieces; ++i) {
    j.homes.push_back({line(4 + 2 * size_t(i)), line(5 + 2 * size_t(i))});
    j.pieces.push_back(LoadPixmap(folder + "/" + IntToText(i + 1) + ".png"));
  }
  size_t colour_line = 4 + 2 * size_t(count);
  if (lines.size() >= colour_line + 3)
    for (int c = 0; c < 3; ++c) j.colour[c] = line(colour_line + size_t(c));
  j.thumbnail = LoadPixmap(folder + "/tn.png");
  return j;
}

table_layout LayOut(const loaded_jigsaw& jigsaw) {
  table_layout t;
  t.table = CreatePixmap(table_width, table_height, PF_RGB888);
  t.table->ClearPixels(0);
  t.owner.assign(size_t(table_width) * table_height, 0);
  for (size_t i = 0; i < jigsaw.pieces.size(); ++i) {
    const auto& piece = jigsaw.pieces[i];
    if (!piece) continue;
    int left = jigsaw.homes[i].first - piece->width / 2, top = jigsaw.homes[i].second - piece->height / 2;
    for (int v = 0; v < piece->height; ++v)
      for (int u = 0; u < piece->width; ++u) {
        uint32_t argb = piece->ReadPixel(u, v);
        if ((argb & 0xffffff) == 0) continue;
        int x = left + u, y = top + v;
        if (x < 0 || y < 0 || x >= table_width || y >= table_height) {
          ++t.outside;
          continue;
        }
        int& owner = t.owner[size_t(y) * table_width + x];
        owner = owner == 0 ? int(i) + 1 : -1;
        t.table->WritePixel(x, y, argb);
      }
  }
  return t;
}

table_rect PictureRect(int width, int height) {
  int w = 0, h = 0;
  FitOnTable(width, height, w, h);
  return {(table_width - w) / 2, (table_height - h) / 2, w, h};
}
