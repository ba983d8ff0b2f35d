// The shared libpng decoding floor (see libpng_floor.h). Depends on libpng and Google Benchmark.
#include "bench/support/libpng_floor.h"

#include <benchmark/benchmark.h>
#include <png.h>

bool DecodeWithLibpng(const std::vector<std::string>& paths, uint32_t format,
                      std::vector<unsigned char>& pixels) {
  for (const std::string& path : paths) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = format;
    pixels.resize(PNG_IMAGE_SIZE(image));
    const bool read = png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    png_image_free(&image);
    if (!read) return false;
    benchmark::DoNotOptimize(pixels.data());
  }
  return true;
}
