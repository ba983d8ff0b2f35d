// Benchmarks of the files and pixmap modules, each beside the floor it is judged against,
// measured in the same run and reported as a ratio at the end:
//   loading 300 piece PNGs through LoadPixmap   vs  decoding them with bare libpng calls;
//   ResizePixmap 800 x 600 -> 264 x 198        vs  copying the 800 x 600 source once;
//   MaskPixmap of a 90 x 90 piece                vs  copying the piece once.
// Depends on files/files.h, draw/pixmap.h, libpng and Google Benchmark.
#include <benchmark/benchmark.h>
#include <png.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "files/files.h"

namespace {

constexpr int kPieces = 300;

// A piece-like picture: an opaque patterned blob inside a transparent black surround.
std::shared_ptr<TPixmap> Piece(int seed, int width = 90, int height = 90) {
  auto p = CreatePixmap(width, height, PF_RGBA8888);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int dx = x - width / 2, dy = y - height / 2;
      const bool inside = dx * dx + dy * dy < (width / 2 - 4) * (height / 2 - 4);
      p->WritePixel(x, y, inside ? MakeARGB(255, x * 3 + seed, y * 2 + seed * 7, (x ^ y) + seed) : 0);
    }
  }
  return p;
}

// The 300 piece files, written once into a temporary folder that is removed at exit.
const std::vector<std::string>& PieceFiles() {
  static const std::vector<std::string> files = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "tesselka-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) abort();
    static const std::string remove_at_exit = folder;
    atexit([] { std::filesystem::remove_all(remove_at_exit); });
    std::vector<std::string> names;
    for (int i = 1; i <= kPieces; ++i) {
      names.push_back(folder + "/" + std::to_string(i) + ".png");
      if (SavePNGPixmap(Piece(i, 80 + i % 20, 80 + i % 17), names.back(), 5) != 1) abort();
    }
    return names;
  }();
  return files;
}

[[noreturn]] void PngFails(png_structp, png_const_charp message) {
  std::cerr << "libpng: " << message << "\n";  // the benchmark's own files never fail
  abort();
}

// The floor: what any PNG loader must do, with libpng's own stdio reader and no pixmap.
void DecodeWithLibpng(const std::string& path, std::vector<uint8_t>& pixels) {
  FILE* file = fopen(path.c_str(), "rb");
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngFails, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_read_info(png, info);
  png_set_strip_16(png);
  png_set_expand(png);
  png_read_update_info(png, info);
  const size_t row_bytes = png_get_rowbytes(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  pixels.resize(row_bytes * height);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = &pixels[y * row_bytes];
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  fclose(file);
}

void BM_PiecesBareLibpng(benchmark::State& state) {
  const auto& files = PieceFiles();
  std::vector<uint8_t> pixels;
  for (auto _ : state) {
    for (const auto& file : files) DecodeWithLibpng(file, pixels);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_PiecesBareLibpng)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PiecesLoadPixmap(benchmark::State& state) {
  const auto& files = PieceFiles();
  for (auto _ : state) {
    for (const auto& file : files) {
      auto p = LoadPixmap(file);
      if (!p) abort();
      benchmark::DoNotOptimize(p->pixels);
    }
  }
}
BENCHMARK(BM_PiecesLoadPixmap)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CopyPhoto(benchmark::State& state) {
  const auto photo = Piece(1, 800, 600);
  for (auto _ : state) benchmark::DoNotOptimize(photo->Copy()->pixels);
}
BENCHMARK(BM_CopyPhoto)->Unit(benchmark::kMicrosecond);

void BM_ResizePhoto(benchmark::State& state) {
  const auto photo = Piece(1, 800, 600);
  for (auto _ : state) benchmark::DoNotOptimize(ResizePixmap(photo, 264, 198)->pixels);
}
BENCHMARK(BM_ResizePhoto)->Unit(benchmark::kMicrosecond);

void BM_CopyPiece(benchmark::State& state) {
  const auto piece = Piece(1);
  for (auto _ : state) benchmark::DoNotOptimize(piece->Copy()->pixels);
}
BENCHMARK(BM_CopyPiece)->Unit(benchmark::kMicrosecond);

void BM_MaskPiece(benchmark::State& state) {
  const auto piece = Piece(1);
  for (auto _ : state) benchmark::DoNotOptimize(MaskPixmap(piece, 0, 0, 0)->pixels);
}
BENCHMARK(BM_MaskPiece)->Unit(benchmark::kMicrosecond);

}  // namespace

// In CPU time: the machine is shared, so wall time carries other people's load.
int main(int argc, char** argv) {
  return RunWithRatios(
      argc, argv,
      {{"LoadPixmap of 300 pieces / bare libpng", "BM_PiecesLoadPixmap", "BM_PiecesBareLibpng"},
       {"ResizePixmap 800x600 -> 264x198 / copy of the source", "BM_ResizePhoto", "BM_CopyPhoto"},
       {"MaskPixmap of a 90x90 piece / copy of the piece", "BM_MaskPiece", "BM_CopyPiece"}},
      ratio_time::cpu);
}
