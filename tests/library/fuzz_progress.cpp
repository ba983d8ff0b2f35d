// Fuzz entry for progress files: ReadProgress on any bytes, then LoadProgress of what it accepts,
// checked against the rules every later table walk relies on. Depends on library/, play/, box/.
#include "tests/library/fuzz_progress.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "box/box.h"
#include "library/library.h"
#include "play/play.h"
#include "shell/shell.h"

void FuzzProgress(const uint8_t* data, size_t size) {
  if (size == 0) return;
  const int n = 1 + data[0] % kMaxPieces;
  static const std::string path = (std::filesystem::temp_directory_path() / "tk-fuzz-progress.txt").string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  const auto progress = ReadProgress(path, n);
  if (!progress) return;
  if (progress->pieces.size() != static_cast<size_t>(n)) abort();
  ResetPlayStateModule();
  ResetBoxState();
  play.piece_count = n;
  play.rows = 1;
  play.cols = n;
  // No display here: keep the saved size, so that loading does not switch it.
  game.display.display_large = progress->display_large != 0;
  LoadProgress(*progress);
  std::vector<bool> seen(n + 1, false);
  for (int i = 1; i <= n; ++i) {
    const int d = play.draw_order[i];
    if (d < 1 || d > n || seen[d]) abort();
    seen[d] = true;
    const piece_type& p = play.pieces[i];
    if (p.a < 0 || p.a > 3 || p.box < 0 || p.box > 5 || p.gp < 0 || p.gp > play.last_group) abort();
  }
}
