// The shared libjpeg decoding floor (see libjpeg_floor.h). Depends on libjpeg and Google Benchmark.
#include "bench/support/libjpeg_floor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

#include <jpeglib.h>

bool DecodeWithLibjpeg(const std::string& path, unsigned denom, std::vector<unsigned char>& pixels) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fseek(file, 0, SEEK_END);
  std::vector<unsigned char> bytes(static_cast<size_t>(std::max(0L, std::ftell(file))));
  std::fseek(file, 0, SEEK_SET);
  const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  if (bytes.empty() || read != bytes.size()) return false;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr error;
  cinfo.err = jpeg_std_error(&error);  // the benchmark's files are sound: errors end the run
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.scale_num = 1;
  cinfo.scale_denom = denom;
  jpeg_start_decompress(&cinfo);
  const size_t stride = size_t{cinfo.output_width} * cinfo.output_components;
  pixels.resize(stride * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  benchmark::DoNotOptimize(pixels.data());
  return true;
}
