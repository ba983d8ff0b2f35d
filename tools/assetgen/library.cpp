// The built-in library: every procedural picture cut at its own size, from 2 x 2 up to the
// full 300 pieces. Names sort in the browser by a four-digit prefix. Depends on assetgen.h.
#include <functional>

#include "tools/assetgen/assetgen.h"

namespace {

struct library_entry {
  const char* name;
  int aspect_width, aspect_height;  // the picture's proportions
  int rows, cols;
  std::function<canvas(int, int)> paint;
};

}  // namespace

void WriteLibrary(const std::string& jigsaws, asset_fonts& fonts) {
  const library_entry entries[] = {
      // The start-up jigsaw: the title picture, assembled at every start.
      {"0000vorna", 760, 560, 5, 6, [&](int w, int h) { return PaintTitle(w, h, fonts); }},
      {"1000meadow", 4, 3, 2, 2, PaintMeadow},
      {"1100harbour", 4, 3, 3, 4, PaintHarbour},
      {"1200balloons", 4, 3, 4, 5, PaintBalloons},
      {"1300quilt", 4, 3, 5, 7, PaintQuilt},
      {"1400autumn", 760, 560, 6, 8, PaintAutumn},
      {"1500reef", 760, 560, 7, 10, PaintReef},
      {"1600mosaic", 4, 3, 8, 11, PaintMosaic},
      {"1700city", 760, 560, 9, 13, PaintCity},
      {"1800fruit", 4, 3, 10, 14, PaintFruit},
      {"1900mandala", 1, 1, 12, 12, PaintMandala},
      {"2000mountains", 760, 560, 12, 16, PaintMountains},
      {"2100tulips", 760, 560, 13, 18, PaintTulips},
      // Its completion is celebrated as the thousandth jigsaw: the full 300 pieces.
      {"4975red_mixer", 4, 3, 15, 20, PaintMixer},
  };
  for (const library_entry& entry : entries) {
    int w = 0, h = 0;
    FitOnTable(entry.aspect_width, entry.aspect_height, w, h);
    auto picture = entry.paint(w, h).ToRGB();
    cut_request request;
    request.rows = entry.rows;
    request.cols = entry.cols;
    request.seed = 4975;
    request.force = true;
    std::string error;
    if (!CutJigsawFolder(picture, request, jigsaws + "/" + entry.name, error))
      throw TRuntimeException(error);
  }
}
