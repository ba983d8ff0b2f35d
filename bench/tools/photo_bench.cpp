// Benchmarks of jigsaws from photos, each beside its floor measured in the same run: a 12-megapixel
// JPEG read and cut into 300 pieces against bare libjpeg's decoding of the file at the same DCT
// scale plus writing the same 300 piece files; the same JPEG cut into 2000 pieces (read for the
// screen, then again at the size the cut takes, the progress told piece by piece) against bare
// libjpeg's decoding at that scale plus writing the same 2000 piece files; a page of 16 picture thumbnails from 12-megapixel
// JPEGs against bare libjpeg's decoding of the files at 1/8; and the peak memory of tesselka-cut
// cutting a 50-megapixel progressive JPEG (a counter, in MB).
// Depends on tools/jigsaw, files/files.h, the test fixtures' JPEG writer and bench/support.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/support/libjpeg_floor.h"
#include "bench/support/ratio_reporter.h"
#include "files/files.h"
#include "tests/files/fixtures.h"
#include "tools/jigsaw/jigsaw.h"

extern char** environ;

namespace {

constexpr int kPageThumbnails = 16;
constexpr int kThumbnailWidth = 160, kThumbnailHeight = 120;

// The pictures, written once per run into a temporary folder that goes at the end.
struct photo_files {
  std::string root;
  std::string photo;  // 4000 x 3000 baseline JPEG
  std::vector<std::string> page;  // kPageThumbnails 12-megapixel JPEGs
  std::vector<std::shared_ptr<TPixmap>> pieces;  // the 300 pieces of the photo's cut, as written
  std::vector<std::shared_ptr<TPixmap>> big_pieces;  // the pieces of its cut into about 2000

  photo_files() {
    root = (std::filesystem::temp_directory_path() / "tk-photo-bench-XXXXXX").string();
    if (!mkdtemp(root.data())) return;
    photo = root + "/photo.jpg";
    WriteWholeBytes(photo, PhotoJpegFile(4000, 3000, false, 90));
    for (int k = 0; k < kPageThumbnails; ++k) {
      page.push_back(root + "/page" + std::to_string(k) + ".jpg");
      std::filesystem::copy_file(photo, page.back());
    }
    std::string error;
    int count = 0;
    if (!CutPhoto(root + "/reference", false, error, count)) return;
    for (int i = 1; i <= count; ++i) pieces.push_back(LoadPixmap(root + "/reference/" + std::to_string(i) + ".png"));
    if (!CutPhoto(root + "/big_reference", true, error, count)) return;
    for (int i = 1; i <= count; ++i)
      big_pieces.push_back(LoadPixmap(root + "/big_reference/" + std::to_string(i) + ".png"));
  }
  ~photo_files() {
    if (!root.empty()) std::filesystem::remove_all(root);
  }

  static void WriteWholeBytes(const std::string& path, const std::string& bytes) {
    auto stream = WriteFile(path);
    stream->WriteBytes(bytes.data(), static_cast<int64_t>(bytes.size()));
    CloseStream(stream);
  }

  // What the game does from the Return: the picture read for cutting and cut into 300 pieces, or
  // into the most it offers (about 2000), read again for that; the pieces written in count.
  bool CutPhoto(const std::string& folder, bool most, std::string& error, int& count) const {
    picture_to_cut read;
    if (!ReadPictureToCut(photo, read, error)) return false;
    const jigsaw_grid grid = most ? read.choices.back() : ChooseGrid(read.picture->width, read.picture->height, table_pieces);
    const picture_result source = PictureForGrid(photo, read.picture, read.full_width, read.full_height, grid);
    if (!source.pixmap) {
      error = source.problem;
      return false;
    }
    cut_request request;
    request.rows = grid.rows;
    request.cols = grid.cols;
    int told = 0;
    request.progress = [&told](int done, int) { told = done; };
    count = grid.rows * grid.cols;
    if (!CutJigsawFolder(source.pixmap, request, folder, error)) return false;
    if (told != count) error = "the progress stopped at " + std::to_string(told);
    return told == count;
  }
};

const photo_files& Photos() {
  static const photo_files files;
  return files;
}

void CutPhoto(benchmark::State& state, bool most) {
  const photo_files& files = Photos();
  for (auto _ : state) {
    std::string error;
    int count = 0;
    if (!files.CutPhoto(files.root + "/cut", most, error, count)) state.SkipWithError(error.c_str());
    state.PauseTiming();
    std::filesystem::remove_all(files.root + "/cut");
    state.ResumeTiming();
  }
}

// Bare libjpeg at 1/denom, then the pieces written as PNG files.
void DecodeAndWrite(benchmark::State& state, unsigned denom, const std::vector<std::shared_ptr<TPixmap>>& pieces) {
  const photo_files& files = Photos();
  std::vector<unsigned char> pixels;
  for (auto _ : state) {
    if (!DecodeWithLibjpeg(files.photo, denom, pixels)) state.SkipWithError("cannot decode the photo");
    std::filesystem::create_directory(files.root + "/floor");
    for (size_t i = 0; i < pieces.size(); ++i)
      SavePNGPixmap(pieces[i], files.root + "/floor/" + std::to_string(i + 1) + ".png", 5);
    state.PauseTiming();
    std::filesystem::remove_all(files.root + "/floor");
    state.ResumeTiming();
  }
}

void BM_CutPhoto300(benchmark::State& state) { CutPhoto(state, false); }
BENCHMARK(BM_CutPhoto300)->Unit(benchmark::kMillisecond);

void BM_Floor_DecodeQuarterAndWrite300(benchmark::State& state) { DecodeAndWrite(state, 4, Photos().pieces); }
BENCHMARK(BM_Floor_DecodeQuarterAndWrite300)->Unit(benchmark::kMillisecond);

void BM_CutPhoto2000(benchmark::State& state) { CutPhoto(state, true); }
BENCHMARK(BM_CutPhoto2000)->Unit(benchmark::kMillisecond)->MinTime(5);

// The 2000-piece cut takes the photo at about 3300 x 2500: libjpeg decodes it whole for that.
void BM_Floor_DecodeWholeAndWrite2000(benchmark::State& state) { DecodeAndWrite(state, 1, Photos().big_pieces); }
BENCHMARK(BM_Floor_DecodeWholeAndWrite2000)->Unit(benchmark::kMillisecond)->MinTime(5);

void BM_PictureThumbnailPage(benchmark::State& state) {
  const photo_files& files = Photos();
  for (auto _ : state)
    for (const std::string& path : files.page) {
      auto thumbnail = PictureThumbnail(path, kThumbnailWidth, kThumbnailHeight);
      if (!thumbnail) state.SkipWithError("no thumbnail");
      benchmark::DoNotOptimize(thumbnail);
    }
}
BENCHMARK(BM_PictureThumbnailPage)->Unit(benchmark::kMillisecond);

void BM_Floor_DecodeEighth16(benchmark::State& state) {
  const photo_files& files = Photos();
  std::vector<unsigned char> pixels;
  for (auto _ : state)
    for (const std::string& path : files.page)
      if (!DecodeWithLibjpeg(path, 8, pixels)) state.SkipWithError("cannot decode");
}
BENCHMARK(BM_Floor_DecodeEighth16)->Unit(benchmark::kMillisecond);

// tesselka-cut's peak resident memory (its own process) while it cuts a 50-megapixel progressive
// JPEG into 300 pieces.
void BM_CutterPeak50MegapixelProgressive(benchmark::State& state) {
  const photo_files& files = Photos();
  const std::string big = files.root + "/big.jpg";
  if (!std::filesystem::exists(big)) photo_files::WriteWholeBytes(big, PhotoJpegFile(8660, 5773, true, 85));
  double peak_mb = 0;
  for (auto _ : state) {
    std::filesystem::remove_all(files.root + "/big");
    const std::string cutter = TESSELKA_CUT, pieces = "--pieces", count = "300", out = files.root + "/big";
    char* argv[] = {const_cast<char*>(cutter.c_str()), const_cast<char*>(pieces.c_str()),
                    const_cast<char*>(count.c_str()), const_cast<char*>(big.c_str()),
                    const_cast<char*>(out.c_str()), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, cutter.c_str(), nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("cannot start tesselka-cut");
      return;
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("tesselka-cut failed");
    peak_mb = std::max(peak_mb, usage.ru_maxrss / 1024.0);  // kilobytes on Linux
  }
  state.counters["peak_MB"] = peak_mb;
}
BENCHMARK(BM_CutterPeak50MegapixelProgressive)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  return RunWithRatios(argc, argv,
                       {{"300 pieces cut from a 12 MP JPEG / libjpeg at 1/4 + the same 300 PNG writes",
                         "BM_CutPhoto300", "BM_Floor_DecodeQuarterAndWrite300"},
                        {"2000 pieces cut from a 12 MP JPEG / libjpeg whole + the same 2000 PNG writes",
                         "BM_CutPhoto2000", "BM_Floor_DecodeWholeAndWrite2000"},
                        {"16 picture thumbnails from 12 MP JPEGs / libjpeg at 1/8", "BM_PictureThumbnailPage",
                         "BM_Floor_DecodeEighth16"}},
                       ratio_time::real);
}
