// Test fixtures of the play tests (see play_fixture.h).
// Depends on play/, box/, shell/, files/, draw/ and platform/.
#include "tests/play/play_fixture.h"

#include <filesystem>
#include <fstream>

#include "box/box.h"
#include "draw/draw.h"
#include "files/files.h"
#include "platform/platform.h"
#include "shell/shell.h"

jigsaw_spec Grid(int rows, int cols, int wd, int ht) {
  jigsaw_spec spec;
  spec.rows = rows;
  spec.cols = cols;
  spec.wd = wd;
  spec.ht = ht;
  return spec;
}

void WriteJigsaw(const std::string& name, const jigsaw_spec& spec) {
  const std::filesystem::path folder = std::filesystem::path("jigsaws") / name;
  std::filesystem::create_directories(folder);
  std::ofstream list(folder / "pieces.txt", std::ios::binary);
  list << (spec.rows_line.empty() ? std::to_string(spec.rows) : spec.rows_line) << "\r\n"
       << (spec.cols_line.empty() ? std::to_string(spec.cols) : spec.cols_line) << "\r\n"
       << "0\r\n0\r\n";
  for (int j = 1; j <= spec.rows; j++) {
    for (int k = 1; k <= spec.cols; k++) {
      const int i = (j - 1) * spec.cols + k;
      list << 100 + spec.spacing * (k - 1) << "\r\n" << 100 + spec.spacing * (j - 1) << "\r\n";
      if (i == spec.missing_piece) continue;
      auto pixmap = CreatePixmap(spec.wd, spec.ht, PF_RGB888);
      for (int y = spec.margin; y < spec.ht - spec.margin; y++)
        for (int x = spec.margin; x < spec.wd - spec.margin; x++)
          pixmap->WritePixel(x, y, MakeARGB(255, (10 * i) % 256, 100, 200));
      const std::string path = (folder / (std::to_string(i) + ".png")).string();
      ASSERT_EQ(SavePNGPixmap(pixmap, path, 1), 1) << path;
    }
  }
  if (spec.colour)
    list << spec.colour->r << "\r\n" << spec.colour->g << "\r\n" << spec.colour->b << "\r\n";
  if (spec.thumbnail) {
    auto thumb = CreatePixmap(24, 18, PF_RGB888);
    thumb->ClearPixels(MakeARGB(255, 20, 40, 60));
    ASSERT_EQ(SavePNGPixmap(thumb, (folder / "tn.png").string(), 1), 1);
  }
}

void ResetGameModules() {
  ResetPlatform();
  ResetPlayStateModule();
  ResetBoxState();
  ResetGameState();
  ResetShellState();
  game.prefs.sound_on = 0;
  SeedRnd(0);
}

void PlayTest::LoadGrid(const jigsaw_spec& spec, const std::string& name) {
  WriteJigsaw(name, spec);
  ASSERT_TRUE(LoadJigsawFolder(name));
}

void PlayWindowTest::SetUp() {
  ASSERT_TRUE(StartPlatform()) << "these tests need an X display (run them under xvfb-run)";
  InitDrawing();
  game.display.windowed = true;
  ASSERT_NE(Graphics(800, 600, 0, 60, 0), nullptr);
}

void PlayWindowTest::TearDown() {
  ResetPlatform();
  ResetDrawing();
}

void Place(int p, int x, int y, int a) {
  play.pieces[p].x = x;
  play.pieces[p].y = y;
  play.pieces[p].a = a;
  NoteTableMoved();
}

::testing::AssertionResult At(int p, int x, int y) {
  const piece_type& piece = play.pieces[p];
  if (piece.x == x && piece.y == y) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "piece " << p << " lies at (" << piece.x << ", "
                                       << piece.y << "), not (" << x << ", " << y << ")";
}

void PlaceBeside(int p, int beside, int dx, int dy) {
  const piece_type& anchor = play.pieces[beside];
  int ox = play.pieces[p].x0 - anchor.x0, oy = play.pieces[p].y0 - anchor.y0;
  // The fitted offset turns with the anchor (clockwise on a y-down screen).
  for (int t = 0; t < anchor.a; t++) {
    const int turned = -oy;
    oy = ox;
    ox = turned;
  }
  Place(p, anchor.x + ox + dx, anchor.y + oy + dy, anchor.a);
}

void MakeGroup(std::initializer_list<int> members, int gp) {
  for (int p : members) play.pieces[p].gp = gp;
  LayOutGroup(*members.begin());
}

void PointAt(int x, int y) {
  game.pointer_x = x;
  game.pointer_y = y;
  EnablePolledInput();
  TEvent::Create(EVENT_MOUSEMOVE, nullptr, 0, 0, x, y)->Emit();
}

std::shared_ptr<TImage> MakeProbe() {
  auto pixmap = CreatePixmap(1, 1, PF_RGB888);
  pixmap->WritePixel(0, 0, MakeARGB(255, 255, 255, 255));
  return TImage::Load(pixmap, 0, 0, 0, 0);
}
