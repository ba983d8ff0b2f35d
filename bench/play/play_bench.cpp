// Benchmarks of puzzle play beside their floors, measured in the same run:
//   loading a 300-piece jigsaw         vs decoding its 300 piece PNGs with bare libpng;
//   loading a 2000-piece jigsaw cut from a 12-megapixel picture
//                                      vs decoding its 2000 piece PNGs with bare libpng;
//   drawing the table of 300 pieces    vs the same textured quads drawn with bare OpenGL (the
//                                      drawing layer's floor, bench/draw/gl_floor.h), and vs
//                                      the same 300 DrawImage calls without the table logic;
//   picking among 300 scattered pieces vs the same 300 collision tests made directly.
// Depends on play/, draw/, files/, platform/, libpng and the benchmark jigsaw with its floor.
// Drawing and picking need a display (run under xvfb-run); without one they are skipped.
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/play/bench_jigsaw.h"
#include "bench/support/libpng_floor.h"
#include "bench/support/ratio_reporter.h"
#include "draw/draw.h"
#include "platform/platform.h"
#include "play/play.h"
#include "shell/shell.h"
#include "tools/jigsaw/jigsaw.h"

namespace {

const std::string& Jigsaw() {
  static const std::string name = WriteBenchJigsaw();
  return name;
}

// A 12-megapixel picture of smooth colour with fine noise, cut as the cutting screen cuts its
// most pieces, into the benchmark folder beside the 300-piece jigsaw.
const std::string& BigJigsaw() {
  static const std::string name = [] {
    Jigsaw();  // the working folder
    auto picture = CreatePixmap(4000, 3000, PF_RGB888);
    seeded_random random(5);
    for (int y = 0; y < picture->height; y++) {
      uint8_t* row = picture->PixelPtr(0, y);
      for (int x = 0; x < picture->width; x++) {
        const int noise = random.Int(-12, 12);
        row[3 * x] = static_cast<uint8_t>(std::clamp(40 + x * 180 / 4000 + noise, 1, 255));
        row[3 * x + 1] = static_cast<uint8_t>(std::clamp(60 + y * 150 / 3000 + noise, 1, 255));
        row[3 * x + 2] = static_cast<uint8_t>(((x / 9 + y / 7) & 127) + 60);
      }
    }
    cut_request request;
    request.pieces = max_pieces;
    std::string error;
    if (!CutJigsawFolder(picture, request, "jigsaws/bench2000", error)) throw std::runtime_error(error);
    return std::string("bench2000");
  }();
  return name;
}

void DecodePieces(benchmark::State& state, const std::string& name) {
  const std::string folder = "jigsaws/" + name + "/";
  std::vector<std::string> paths;
  for (int i = 1; std::filesystem::exists(folder + std::to_string(i) + ".png"); i++)
    paths.push_back(folder + std::to_string(i) + ".png");
  std::vector<unsigned char> pixels;
  for (auto _ : state) {
    if (!DecodeWithLibpng(paths, PNG_FORMAT_RGB, pixels))
      return state.SkipWithError("libpng cannot read a piece");
  }
}

void LoadFolder(benchmark::State& state, const std::string& name) {
  for (auto _ : state) {
    if (!LoadJigsawFolder(name)) {
      state.SkipWithError("the benchmark jigsaw did not load");
      return;
    }
  }
}

void BM_Floor_DecodePiecesWithLibpng(benchmark::State& state) { DecodePieces(state, Jigsaw()); }
BENCHMARK(BM_Floor_DecodePiecesWithLibpng)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_LoadJigsawFolder(benchmark::State& state) { LoadFolder(state, Jigsaw()); }
BENCHMARK(BM_LoadJigsawFolder)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Floor_Decode2000PiecesWithLibpng(benchmark::State& state) { DecodePieces(state, BigJigsaw()); }
BENCHMARK(BM_Floor_Decode2000PiecesWithLibpng)->Unit(benchmark::kMillisecond)->MinTime(4);

void BM_LoadJigsawFolder2000(benchmark::State& state) { LoadFolder(state, BigJigsaw()); }
BENCHMARK(BM_LoadJigsawFolder2000)->Unit(benchmark::kMillisecond)->MinTime(4);

std::shared_ptr<TGraphics> window;

// Opens the 800 x 600 window once and lays the 300 pieces out as a fresh jigsaw; false without
// a display.
bool TableReady() {
  static const bool ready = [] {
    if (!StartPlatform()) return false;
    InitDrawing();
    window = Graphics(800, 600, 0, 60, 0);
    if (!window) return false;
    if (!LoadJigsawFolder(Jigsaw())) return false;
    SeedRnd(1);
    ScatterPieces();
    auto probe = CreatePixmap(4, 4, PF_RGB888);
    probe->ClearPixels(MakeARGB(255, 255, 255, 255));
    play.probe = TImage::Load(probe, 0, 0, 0, 0);
    return true;
  }();
  return ready;
}

void BM_Floor_BareGL300Quads(benchmark::State& state) {
  if (!TableReady()) return state.SkipWithError("no display");
  MeasureTableFloor(state);
}
BENCHMARK(BM_Floor_BareGL300Quads)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_Floor_Draw300Images(benchmark::State& state) {
  if (!TableReady()) return state.SkipWithError("no display");
  for (auto _ : state) {
    SetClsColor(play.table_colour.r, play.table_colour.g, play.table_colour.b);
    Cls();
    for (int i = 1; i <= 300; i++) {
      const piece_type& piece = play.pieces[i];
      SetRotation(static_cast<float>(piece.a * 90));
      DrawImage(piece.img, static_cast<float>(piece.x), static_cast<float>(piece.y), 0);
    }
    SetRotation(0);
    FinishDrawing();
  }
}
BENCHMARK(BM_Floor_Draw300Images)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_DrawTable(benchmark::State& state) {
  if (!TableReady()) return state.SkipWithError("no display");
  for (auto _ : state) {
    DrawTable();
    FinishDrawing();
  }
}
BENCHMARK(BM_DrawTable)->Unit(benchmark::kMillisecond)->MinTime(2);

// A pointer position where no piece is opaque, found once.
bool FindEmptySpot() {
  for (int y = 5; y < 600; y += 7) {
    for (int x = 5; x < 800; x += 7) {
      game.pointer_x = x;
      game.pointer_y = y;
      if (PieceUnderPointer() == 0) return true;
    }
  }
  return false;
}

void BM_Floor_300CollisionTests(benchmark::State& state) {
  if (!TableReady()) return state.SkipWithError("no display");
  game.pointer_x = play.pieces[play.draw_order[1]].x;
  game.pointer_y = play.pieces[play.draw_order[1]].y;
  for (auto _ : state) {
    int hits = 0;
    for (int i = 1; i <= 300; i++) {
      const piece_type& piece = play.pieces[i];
      hits += ImagesCollide(piece.img, static_cast<float>(piece.x), static_cast<float>(piece.y), 0,
                            play.probe, static_cast<float>(game.pointer_x),
                            static_cast<float>(game.pointer_y), 0);
    }
    benchmark::DoNotOptimize(hits);
  }
}
BENCHMARK(BM_Floor_300CollisionTests)->Unit(benchmark::kMicrosecond);

void BM_PieceUnderPointer_EmptyTable(benchmark::State& state) {
  if (!TableReady()) return state.SkipWithError("no display");
  if (!FindEmptySpot()) return state.SkipWithError("the scattered pieces cover the whole table");
  for (auto _ : state) benchmark::DoNotOptimize(PieceUnderPointer());
}
BENCHMARK(BM_PieceUnderPointer_EmptyTable)->Unit(benchmark::kMicrosecond);

void BM_PieceUnderPointer_BottomPiece(benchmark::State& state) {
  if (!TableReady()) return state.SkipWithError("no display");
  // The bottom piece, with every other piece stacked above it placed so that only
  // their transparent corners lie under the pointer: every test scans, none hits before the last.
  const int bottom = play.draw_order[1];
  game.pointer_x = 400 - kBenchPieceSide / 2 + 3;
  game.pointer_y = 300 - kBenchPieceSide / 2 + 3;
  for (int i = 1; i <= 300; i++) {
    piece_type& piece = play.pieces[i];
    piece.a = 0;
    piece.x = i == bottom ? game.pointer_x : 400;
    piece.y = i == bottom ? game.pointer_y : 300;
  }
  if (PieceUnderPointer() != bottom)
    return state.SkipWithError("the pointer is not over the bottom piece");
  for (auto _ : state) benchmark::DoNotOptimize(PieceUnderPointer());
}
BENCHMARK(BM_PieceUnderPointer_BottomPiece)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // CPU time: the load is compared with its floor on a machine others share.
  return RunWithRatios(
      argc, argv,
      {{"BM_LoadJigsawFolder", "BM_LoadJigsawFolder", "BM_Floor_DecodePiecesWithLibpng"},
       {"BM_LoadJigsawFolder2000", "BM_LoadJigsawFolder2000", "BM_Floor_Decode2000PiecesWithLibpng"},
       {"BM_DrawTable", "BM_DrawTable", "BM_Floor_BareGL300Quads"},
       {"BM_PieceUnderPointer_BottomPiece", "BM_PieceUnderPointer_BottomPiece",
        "BM_Floor_300CollisionTests"}},
      ratio_time::cpu);
}
