// The thumbnail of a saved jigsaw: the table as it is in the back buffer, scaled down and
// written as a PNG. Depends on draw/ (grabbing the back buffer, resizing) and files/.
#include "draw/draw.h"
#include "files/files.h"
#include "library/internal.h"

bool WriteThumbnail(const std::string& path, const std::shared_ptr<TPixmap>& pixmap) {
  return WriteFileAtomically(path, [&](const std::shared_ptr<TStream>& stream) {
    return SavePNGPixmap(pixmap, stream, 5) == 1;
  });
}

std::shared_ptr<TPixmap> GrabThumbnail(double scale, int width, int height) {
  // The grab is always the top-left 800 x 600, whatever width and height say.
  std::shared_ptr<TPixmap> pixmap = GrabPixmap(0, 0, 800, 600);
  if (pixmap && scale < 1)
    pixmap = ResizePixmap(pixmap, static_cast<int>(scale * width), static_cast<int>(scale * height));
  return pixmap;
}

bool MakeThumbnail(const std::string& path, double scale, int width, int height) {
  const std::shared_ptr<TPixmap> pixmap = GrabThumbnail(scale, width, height);
  return pixmap && WriteThumbnail(path, pixmap);
}
