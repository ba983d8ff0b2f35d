// Fixtures of the library tests: a temporary data folder with the player "default" and small
// jigsaw folders, with and without a window, and helpers that read what a save wrote.
// Depends on the shell test fixtures (tiny assets and jigsaws written byte by byte).
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "library/library.h"
#include "tests/shell/fixture.h"

namespace library_test {

using namespace shell_test;

// The lines of a text file as the game reads them (LF ends a line, CR dropped).
inline std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> lines;
  auto stream = ReadFile(path);
  if (!stream) return lines;
  while (!stream->Eof()) lines.push_back(stream->ReadLine());
  CloseStream(stream);
  return lines;
}

// A progress file for a jigsaw of n pieces lying in a row, in drawing order 1..n: what a save of
// that state writes.
inline std::vector<int> PlainProgress(int n) {
  std::vector<int> values;
  for (int i = 1; i <= n; ++i) values.insert(values.end(), {100 + 10 * i, 200, 0, 1, 0, i, 0});
  values.insert(values.end(), {10, 20, 30, 0, 0});
  return values;
}

inline void WriteProgress(const std::string& path, const std::vector<int>& values) {
  std::string text;
  for (int v : values) text += std::to_string(v) + "\r\n";
  WriteWholeFile(path, text);
}

// Without a window: modules reset, sound off, a data folder with "players/default/".
class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGame();
    game.prefs.sound_on = 0;
    std::filesystem::create_directories("players/default");
    library.player_folder = "players/default/";
  }
  void TearDown() override { ResetGame(); }
  temp_working_folder dir_;
};

// With a real 800 x 600 window, the pictures and fonts the pages draw missing (skipped).
class LibraryDisplayTest : public LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    ASSERT_TRUE(StartPlatform()) << "these tests need an X display (run them under xvfb-run)";
    InitDrawing();
    game.display.windowed = true;
    ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
    InterceptEnd();
  }
  // Runs f while a timer answers every blocking notice with a key; the keys are gone afterwards.
  template <typename F>
  static void AnsweringNotices(F&& f) {
    auto timer = CreateTimer(50, TEvent::Create(EVENT_KEYDOWN, nullptr, KEY_SPACE));
    f();
    timer->Stop();
    FlushKeys();
    while (PollEvent() != 0) {
    }
  }
  // The pointer moves to (x, y) as a real "MouseMove" would put it.
  static void PointAt(int x, int y) { Emit(EVENT_MOUSEMOVE, 0, x, y); }
};

// The pieces' places and the names a failed load must leave alone.
struct table_snapshot {
  std::string name;
  int piece_count;
  std::vector<std::array<int, 5>> pieces;  // x, y, a, gp, box
  std::array<int, kMaxPieces + 1> draw_order;

  static table_snapshot Take() {
    table_snapshot s{play.jigsaw_name, play.piece_count, {}, play.draw_order};
    for (int i = 1; i <= play.piece_count; ++i) {
      const piece_type& p = play.pieces[i];
      s.pieces.push_back({p.x, p.y, p.a, p.gp, p.box});
    }
    return s;
  }
  bool operator==(const table_snapshot&) const = default;
};

}  // namespace library_test
