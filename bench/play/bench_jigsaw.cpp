// The 300-piece benchmark jigsaw and the floor of drawing its table (see bench_jigsaw.h). Depends
// on files/, play/, draw/, shell/ and the bare-OpenGL floor.
#include "bench/play/bench_jigsaw.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "bench/draw/gl_floor.h"
#include "draw/draw.h"
#include "draw/gl/gl2d.h"
#include "draw/pixmap.h"
#include "files/files.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"

namespace {

// The two pictures without which start-up stops at a notice (the decoders go by content, so a
// PNG does for a .bmp name).
void WriteNeededImages() {
  std::filesystem::create_directories("images");
  auto white = CreatePixmap(2, 2, PF_RGBA8888);
  white->ClearPixels(0xFFFFFFFF);
  SavePNGPixmap(white, "images/pointer.bmp", 1);
  SavePNGPixmap(white, "images/white.bmp", 1);
}

// The quads DrawTable sends for the visible pieces, from the pieces' own textures and turns.
std::vector<floor_quad_type> TableQuads() {
  std::vector<floor_quad_type> quads;
  for (int k = 1; k <= play.piece_count; k++) {
    const piece_type& piece = play.pieces[play.draw_order[k]];
    SetRotation(static_cast<float>(piece.a * 90));
    const T2DGraphics& g = *T2DGraphics::Current();
    auto frame = std::static_pointer_cast<TGLImageFrame>(piece.img->Frame(0));
    floor_quad_type q;
    q.texture = frame->name;
    q.u0 = frame->u0;
    q.v0 = frame->v0;
    q.u1 = frame->u1;
    q.v1 = frame->v1;
    const float hx = piece.wd / 2.0f, hy = piece.ht / 2.0f;
    const float lx[4] = {-hx, hx, hx, -hx}, ly[4] = {-hy, -hy, hy, hy};
    for (int c = 0; c < 4; c++) {
      q.x[c] = lx[c] * g.tform_ix + ly[c] * g.tform_iy + static_cast<float>(piece.x);
      q.y[c] = lx[c] * g.tform_jx + ly[c] * g.tform_jy + static_cast<float>(piece.y);
    }
    quads.push_back(q);
  }
  SetRotation(0);
  return quads;
}

std::filesystem::path bench_folder;

// The jigsaw is 300 PNG files: remove them when the benchmark ends.
void RemoveBenchFolder() {
  std::error_code ignored;
  std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
  std::filesystem::remove_all(bench_folder, ignored);
}

}  // namespace

std::string WriteBenchJigsaw() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tk-play-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot make a temporary folder");
  bench_folder = pattern;
  std::atexit(RemoveBenchFolder);
  std::filesystem::current_path(pattern);
  const std::string name = "bench300";
  const std::filesystem::path folder = std::filesystem::path("jigsaws") / name;
  std::filesystem::create_directories(folder);
  const int rows = 15, cols = 20, side = kBenchPieceSide, cell = 40;
  std::ofstream list(folder / "pieces.txt", std::ios::binary);
  list << rows << "\r\n" << cols << "\r\n0\r\n0\r\n";
  for (int j = 1; j <= rows; j++) {
    for (int k = 1; k <= cols; k++) {
      const int i = (j - 1) * cols + k;
      list << 20 + cell * (k - 1) << "\r\n" << 20 + cell * (j - 1) << "\r\n";
      // A gradient with noise, inside a black surround whose corners are cut like tabs.
      auto pixmap = CreatePixmap(side, side, PF_RGB888);
      for (int y = 0; y < side; y++) {
        for (int x = 0; x < side; x++) {
          const bool surround = (x < 20 || x >= side - 20) && (y < 20 || y >= side - 20);
          if (surround) continue;
          const uint32_t noise = static_cast<uint32_t>((x * 7919 + y * 104729 + i * 31) % 23);
          pixmap->WritePixel(
              x, y, MakeARGB(255, (x * 2 + i) & 255, (y * 2 + noise) & 255, (i * 5 + x + y) & 255));
        }
      }
      SavePNGPixmap(pixmap, (folder / (std::to_string(i) + ".png")).string(), 6);
    }
  }
  auto thumb = CreatePixmap(160, 120, PF_RGB888);
  thumb->ClearPixels(MakeARGB(255, 90, 120, 150));
  SavePNGPixmap(thumb, (folder / "tn.png").string(), 6);
  return name;
}

void MeasureTableFloor(benchmark::State& state) {
  DrawTable();  // uploads the textures
  const auto quads = TableQuads();
  FloorBegin();
  for (auto _ : state) FloorFrame(quads);
  SetGraphics(T2DGraphics::Current());
}

bool StartBenchGame() {
  static const bool ready = [] {
    const std::string name = WriteBenchJigsaw();
    WriteNeededImages();
    if (!StartUp({})) return false;
    if (!LoadJigsawFolder(name)) return false;
    SeedRnd(1);
    ScatterPieces();
    return true;
  }();
  return ready;
}

void SpreadBenchPieces(int count, double zoom) {
  const size_t records = static_cast<size_t>(std::max(count, 300)) + 1;
  play.pieces.resize(records);
  play.draw_order.resize(records);
  for (int i = 301; i <= count; i++) play.pieces[i] = play.pieces[(i - 1) % 300 + 1];
  const double side = std::sqrt(count / 300.0);
  play.table_width = static_cast<int>(800 * side);
  play.table_height = static_cast<int>(600 * side);
  play.piece_count = count;
  std::iota(play.draw_order.begin() + 1, play.draw_order.begin() + count + 1, 1);
  SeedRnd(1);
  ScatterPieces();
  ViewHome();
  if (zoom > 0)
    ZoomView(static_cast<int>(std::lround(std::log(zoom / play.view.zoom) / std::log(1.25))), GraphicsWidth() / 2,
             GraphicsHeight() / 2);
}
