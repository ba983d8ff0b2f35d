// The 300-piece benchmark jigsaw (see bench_jigsaw.h). Depends on files/ and draw/pixmap.h.
#include "bench/play/bench_jigsaw.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "draw/pixmap.h"
#include "files/files.h"

std::string WriteBenchJigsaw() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tk-play-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot make a temporary folder");
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
