// Benchmarks of the drawing layer, each printed at the end as a ratio to its floor measured in
// the same run:
//   a frame of 300 masked piece images with quarter turns through DrawImage, against the same
//   quads and textures drawn with bare OpenGL calls in the same iterations;
//   ImagesCollide of a piece against a 1 x 1 probe (a hit and a miss inside the piece's box),
//   against reading the one texel under the probe;
//   TextWidth of a 40-character line, against summing 40 cached advances.
// Run under Xvfb: xvfb-run -a -s "-screen 0 1280x1024x24" draw_bench --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/draw/gl_floor.h"
#include "bench/support/ratio_reporter.h"
#include "draw/draw.h"
#include "draw/gl/gl2d.h"
#include "platform/platform.h"

namespace {

constexpr int kPieces = 300;
constexpr int kPieceSize = 90;
const char* const kTahoma = "/usr/share/wine/fonts/tahoma.ttf";
const char* const kLine = "The quick brown fox jumps over the lazy d";  // 40 characters + 1

struct piece_type {
  std::shared_ptr<TImage> image;
  float x = 0, y = 0;
  int turns = 0;
};

// A piece-like picture: an opaque body with bumps, a transparent surround.
std::shared_ptr<TPixmap> PiecePixmap(int seed) {
  auto p = TPixmap::Create(kPieceSize, kPieceSize, PF_RGBA8888, 4);
  const uint32_t colour = MakeARGB(255, 40 + seed * 7 % 200, 60 + seed * 13 % 180, 90);
  for (int y = 0; y < kPieceSize; ++y) {
    for (int x = 0; x < kPieceSize; ++x) {
      const bool body = x >= 15 && x < 75 && y >= 15 && y < 75;
      const int dx = x - 45, dy = y - 8;
      const bool bump = dx * dx + dy * dy < 100;
      p->WritePixel(x, y, body || bump ? colour : 0);
    }
  }
  return p;
}

struct bench_world_type {
  std::shared_ptr<TGraphics> graphics;
  std::vector<piece_type> pieces;
  std::vector<floor_quad_type> floor_quads;
  std::shared_ptr<TImage> probe;
  std::shared_ptr<TImageFont> font;
};

bench_world_type& World() {
  static bench_world_type world = [] {
    bench_world_type w;
    if (!StartPlatform()) {
      std::fprintf(stderr, "draw_bench needs a display; run it under xvfb-run\n");
      std::exit(1);
    }
    InitDrawing();
    w.graphics = Graphics(800, 600, 0, 0, 0);
    for (int i = 0; i < kPieces; ++i) {
      piece_type piece;
      piece.image = TImage::Load(PiecePixmap(i), MaskedImage | FilteredImage, 0, 0, 0);
      MidHandleImage(piece.image);
      piece.x = static_cast<float>(45 + (i * 97) % 710);
      piece.y = static_cast<float>(45 + (i * 53) % 510);
      piece.turns = i % 4;
      w.pieces.push_back(piece);
    }
    w.probe = TImage::Load(TPixmap::Create(1, 1, PF_RGBA8888, 4), 0, 0, 0, 0);
    w.probe->pixmaps[0]->WritePixel(0, 0, 0xFFFFFFFFu);
    w.font = LoadImageFont(kTahoma, 14, SmoothFont);
    return w;
  }();
  return world;
}

void DrawPieces(const bench_world_type& w) {
  Cls();
  for (const auto& piece : w.pieces) {
    SetRotation(static_cast<float>(piece.turns * 90));
    DrawImage(piece.image, piece.x, piece.y);
  }
  SetRotation(0);
}

// The quads DrawImage sends, built from the layer's own textures and matrices.
std::vector<floor_quad_type> FloorQuads(const bench_world_type& w) {
  std::vector<floor_quad_type> quads;
  for (const auto& piece : w.pieces) {
    SetRotation(static_cast<float>(piece.turns * 90));
    const auto* g = T2DGraphics::Current().get();
    auto frame = std::static_pointer_cast<TGLImageFrame>(piece.image->Frame(0));
    floor_quad_type q;
    q.texture = frame->name;
    q.u0 = frame->u0;
    q.v0 = frame->v0;
    q.u1 = frame->u1;
    q.v1 = frame->v1;
    const float h = kPieceSize / 2.0f;
    const float lx[4] = {-h, h, h, -h}, ly[4] = {-h, -h, h, h};
    for (int k = 0; k < 4; ++k) {
      q.x[k] = lx[k] * g->tform_ix + ly[k] * g->tform_iy + piece.x;
      q.y[k] = lx[k] * g->tform_jx + ly[k] * g->tform_jy + piece.y;
    }
    quads.push_back(q);
  }
  SetRotation(0);
  return quads;
}

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each iteration draws the frame both ways, the floor first, so that the shifting load of a
// shared machine falls on both alike. The reported time is the layer's; the floor's mean is
// the counter floor_ms.
void BM_Frame300_DrawImage(benchmark::State& state) {
  auto& w = World();
  SetGraphics(w.graphics);
  DrawPieces(w);  // uploads the textures once
  const auto quads = FloorQuads(w);
  double floor_seconds = 0;
  for (auto _ : state) {
    FloorBegin();
    auto start = Clock::now();
    FloorFrame(quads);
    floor_seconds += SecondsSince(start);
    SetGraphics(w.graphics);  // the floor left GL state the layer's cache does not know
    start = Clock::now();
    DrawPieces(w);
    FinishDrawing();
    state.SetIterationTime(SecondsSince(start));
  }
  state.counters["floor_ms"] =
      benchmark::Counter(floor_seconds * 1000, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Frame300_DrawImage)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);

// The probe at the piece's centre (hit) or in its transparent corner (miss), turned 90 degrees.
void CollideProbe(benchmark::State& state, float dx, float dy, int expected) {
  auto& w = World();
  const auto& piece = w.pieces[0];
  SetRotation(90);
  int result = 0;
  for (auto _ : state) {
    result =
        ImagesCollide(piece.image, piece.x, piece.y, 0, w.probe, piece.x + dx, piece.y + dy, 0);
    benchmark::DoNotOptimize(result);
  }
  SetRotation(0);
  if (result != expected) state.SkipWithError("unexpected collision result");
}

void BM_CollideHit_ImagesCollide(benchmark::State& state) {
  CollideProbe(state, 0, 0, 1);
}
void BM_CollideMiss_ImagesCollide(benchmark::State& state) {
  CollideProbe(state, -40, -40, 0);
}
BENCHMARK(BM_CollideHit_ImagesCollide);
BENCHMARK(BM_CollideMiss_ImagesCollide);

// Reading the one texel under the probe: the least any pixel-exact test must do.
void BM_Collide_Floor_ReadTexel(benchmark::State& state) {
  const auto pixmap = World().pieces[0].image->pixmaps[0];
  int x = 45;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ARGBAlpha(pixmap->ReadPixel(x, 45)) >= 128);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Collide_Floor_ReadTexel);

void BM_TextWidth40_TextWidth(benchmark::State& state) {
  SetImageFont(World().font);
  const std::string line(kLine, 40);
  for (auto _ : state) benchmark::DoNotOptimize(TextWidth(line));
  SetImageFont(nullptr);
}
BENCHMARK(BM_TextWidth40_TextWidth);

void BM_TextWidth40_Floor_SumAdvances(benchmark::State& state) {
  auto& font = *World().font;
  std::vector<float> advances(128, 0);
  for (int c = 32; c < 128; ++c) {
    const int n = font.CharToGlyph(c);
    if (n >= 0) advances[c] = font.LoadGlyph(n)->Advance();
  }
  const std::string line(kLine, 40);
  for (auto _ : state) {
    int width = 0;
    for (const char c : line)
      width = static_cast<int>(width + advances[static_cast<unsigned char>(c)]);
    benchmark::DoNotOptimize(width);
  }
}
BENCHMARK(BM_TextWidth40_Floor_SumAdvances);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(
      argc, argv,
      {{"BM_Frame300_DrawImage", "BM_Frame300_DrawImage", "BM_Frame300_DrawImage/floor"},
       {"BM_CollideHit_ImagesCollide", "BM_CollideHit_ImagesCollide", "BM_Collide_Floor_ReadTexel"},
       {"BM_CollideMiss_ImagesCollide", "BM_CollideMiss_ImagesCollide",
        "BM_Collide_Floor_ReadTexel"},
       {"BM_TextWidth40_TextWidth", "BM_TextWidth40_TextWidth",
        "BM_TextWidth40_Floor_SumAdvances"}},
      ratio_time::real);
}
