// Frames of 2000 piece images through DrawImage, each printed at the end as a ratio to its
// bare-OpenGL floor (the same quads from one texture in one vertex array, clear included):
//   whole: the table of 2000 pieces drawn at a scale of 0.3 so that it fits 800 x 600, turned
//   by quarter turns, a group of 20 drawn again on top (a carried group);
//   zoomed: the same pieces at scale 1 over a table 4 x 4 times the window, about a sixteenth
//   of them in view; the floor draws only those.
// Run under Xvfb: xvfb-run -a -s "-screen 0 1280x1024x24" pieces_bench
//   --benchmark_repetitions=12 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/draw/gl_floor.h"
#include "bench/support/ratio_reporter.h"
#include "draw/draw.h"
#include "draw/gl/gl2d.h"
#include "platform/platform.h"

namespace {

constexpr int kPieces = 2000;
constexpr int kCarried = 20;
constexpr float kWholeScale = 0.3f;
constexpr int kWidth = 800, kHeight = 600;

struct bench_piece {
  std::shared_ptr<TImage> image;
  float x = 0, y = 0;  // centre on the table, in table pixels (the table is 4 x 4 windows)
  int turns = 0;
};

// A piece-like picture: a blob with a bump, textured colour, on the black mask colour.
std::shared_ptr<TPixmap> PiecePixmap(int w, int h, int seed) {
  auto p = TPixmap::Create(w, h, PF_RGB888, 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int dx = 2 * x - w, dy = 2 * y - h, bx = x - w / 2, by = y - h / 8;
      const bool body = dx * dx * 10 < w * w * 6 && dy * dy * 10 < h * h * 6;
      const bool bump = bx * bx + by * by < w * h / 40;
      p->WritePixel(x, y, body || bump ? MakeARGB(255, 40 + (x + seed) % 200, 60 + (y * 3 + seed) % 180, 90) : 0xFF000000u);
    }
  }
  return p;
}

struct bench_world {
  std::shared_ptr<TGraphics> graphics;
  std::vector<bench_piece> pieces;
  std::vector<floor_vertex_type> whole, zoomed;  // the floors' quads
  unsigned floor_texture = 0;
};

// The quad DrawImage sends for the piece at scale s with the table's origin at (ox, oy).
void AddQuad(std::vector<floor_vertex_type>& out, const bench_piece& p, const TGLImageFrame& frame, float s, float ox,
             float oy) {
  SetRotation(static_cast<float>(p.turns * 90));
  SetScale(s, s);
  const T2DGraphics& g = *T2DGraphics::Current();
  const float hx = static_cast<float>(p.image->width) / 2, hy = static_cast<float>(p.image->height) / 2;
  const float lx[4] = {-hx, hx, hx, -hx}, ly[4] = {-hy, -hy, hy, hy};
  const float u[4] = {frame.u0, frame.u1, frame.u1, frame.u0}, v[4] = {frame.v0, frame.v0, frame.v1, frame.v1};
  const float cx = p.x * s + ox, cy = p.y * s + oy;
  for (int k = 0; k < 4; ++k)
    out.push_back({lx[k] * g.tform_ix + ly[k] * g.tform_iy + cx, lx[k] * g.tform_jx + ly[k] * g.tform_jy + cy, u[k], v[k]});
  SetScale(1, 1);
  SetRotation(0);
}

bench_world& World() {
  static bench_world world = [] {
    bench_world w;
    if (!StartPlatform()) {
      std::fprintf(stderr, "pieces_bench needs a display; run it under xvfb-run\n");
      std::exit(1);
    }
    InitDrawing();
    w.graphics = Graphics(kWidth, kHeight, 0, 0, 0);
    SeedRnd(25);
    std::vector<std::shared_ptr<TPixmap>> masked;
    for (int i = 0; i < kPieces; ++i) {
      bench_piece p;
      p.image = TImage::Load(PiecePixmap(Rand(60, 130), Rand(60, 130), i), MaskedImage | FilteredImage, 0, 0, 0);
      MidHandleImage(p.image);
      p.x = static_cast<float>(Rand(70, 4 * kWidth - 70));
      p.y = static_cast<float>(Rand(70, 4 * kHeight - 70));
      p.turns = Rand(0, 3);
      w.pieces.push_back(p);
    }
    {  // the process with its pieces on their pages, before the floor's texture
      std::ifstream status("/proc/self/status");
      for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS")) std::fprintf(stderr, "pieces on their pages: %s\n", line.c_str());
    }
    // The floor's one texture holds every piece where its own page has it (pages overlap there).
    std::vector<floor_picture_type> pictures;
    for (const auto& p : w.pieces) {
      const auto& frame = static_cast<const TGLImageFrame&>(*p.image->Frame(0));
      const auto& pixmap = p.image->pixmaps[0];
      pictures.push_back({pixmap->pixels, static_cast<int>(frame.u0 / frame.uscale),
                          static_cast<int>(frame.v0 / frame.vscale), pixmap->width, pixmap->height});
    }
    const auto& first = static_cast<const TGLImageFrame&>(*w.pieces[0].image->Frame(0));
    w.floor_texture = FloorTexture(static_cast<int>(1 / first.uscale + 0.5f), pictures);
    const float whole_x = (kWidth - 4 * kWidth * kWholeScale) / 2, whole_y = (kHeight - 4 * kHeight * kWholeScale) / 2;
    for (size_t i = 0; i < w.pieces.size(); ++i) {
      const auto& p = w.pieces[i];
      const auto& frame = static_cast<const TGLImageFrame&>(*p.image->Frame(0));
      AddQuad(w.whole, p, frame, kWholeScale, whole_x, whole_y);
      const float r = static_cast<float>(std::max(p.image->width, p.image->height)) / 2;
      const float x = p.x - kWidth, y = p.y - kHeight;  // the view shows the table's second window
      if (x + r > 0 && x - r < kWidth && y + r > 0 && y - r < kHeight) AddQuad(w.zoomed, p, frame, 1, -kWidth, -kHeight);
    }
    for (int i = 0; i < kCarried; ++i)
      AddQuad(w.whole, w.pieces[static_cast<size_t>(i)], static_cast<const TGLImageFrame&>(*w.pieces[static_cast<size_t>(i)].image->Frame(0)),
              kWholeScale, whole_x + 40, whole_y + 30);
    return w;
  }();
  return world;
}

// The layer's GL state cache forgets what the floor set; the recorded frame is dropped once run.
void Settle() {
  std::static_pointer_cast<TGL2DDriver>(GetGraphicsDriver())->ResetGLContext(*T2DGraphics::Current());
}

void DrawTableThroughLayer(const bench_world& w, float scale, float ox, float oy, bool carried) {
  SetClsColor(40, 50, 60);
  Cls();
  SetScale(scale, scale);
  const int drawn = carried ? kPieces + kCarried : kPieces;
  for (int k = 0; k < drawn; ++k) {
    const bench_piece& p = w.pieces[static_cast<size_t>(k < kPieces ? k : k - kPieces)];
    const float lift = k < kPieces ? 0 : 1;
    SetRotation(static_cast<float>(p.turns * 90));
    DrawImage(p.image, p.x * scale + ox + 40 * lift, p.y * scale + oy + 30 * lift);
  }
  SetRotation(0);
  SetScale(1, 1);
  FinishDrawing();
  gl2d_state.frame.Clear();
}

void BM_Whole2000_DrawImage(benchmark::State& state) {
  auto& w = World();
  Settle();
  const float ox = (kWidth - 4 * kWidth * kWholeScale) / 2, oy = (kHeight - 4 * kHeight * kWholeScale) / 2;
  for (auto _ : state) DrawTableThroughLayer(w, kWholeScale, ox, oy, true);
}
BENCHMARK(BM_Whole2000_DrawImage)->Unit(benchmark::kMillisecond)->MinTime(1);

void BM_Whole2000_Floor(benchmark::State& state) {
  auto& w = World();
  FloorArrayBegin(w.floor_texture, true);
  for (auto _ : state) FloorArrayFrame(w.whole);
  Settle();
}
BENCHMARK(BM_Whole2000_Floor)->Unit(benchmark::kMillisecond)->MinTime(1);

void BM_Zoomed2000_DrawImage(benchmark::State& state) {
  auto& w = World();
  Settle();
  for (auto _ : state) DrawTableThroughLayer(w, 1, -kWidth, -kHeight, false);
  state.counters["in_view"] = static_cast<double>(w.zoomed.size() / 4);
}
BENCHMARK(BM_Zoomed2000_DrawImage)->Unit(benchmark::kMillisecond)->MinTime(1);

void BM_Zoomed2000_Floor(benchmark::State& state) {
  auto& w = World();
  FloorArrayBegin(w.floor_texture, false);
  for (auto _ : state) FloorArrayFrame(w.zoomed);
  Settle();
}
BENCHMARK(BM_Zoomed2000_Floor)->Unit(benchmark::kMillisecond)->MinTime(1);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(argc, argv,
                       {{"BM_Whole2000_DrawImage", "BM_Whole2000_DrawImage", "BM_Whole2000_Floor"},
                        {"BM_Zoomed2000_DrawImage", "BM_Zoomed2000_DrawImage", "BM_Zoomed2000_Floor"}},
                       ratio_time::real);
}
