// From a picture file to what a cut needs: the picture read for cutting, read again at the size a
// big cut takes, and the grids offered. Depends on jigsaw.h (files/files.h).
#include "tools/jigsaw/jigsaw.h"

picture_result LoadPictureForCut(const std::string& path, const std::atomic<bool>* cancel,
                                 int fit_width, int fit_height) {
  picture_request request;
  request.fit_width = fit_width;
  request.fit_height = fit_height;
  request.memory_budget = cut_memory_budget;
  request.cancel = cancel;
  return LoadPicture(path, request);
}

picture_result PictureForGrid(const std::string& path, const std::shared_ptr<TPixmap>& picture,
                              int full_width, int full_height, jigsaw_grid grid,
                              const std::atomic<bool>* cancel) {
  int width = 0, height = 0;
  CutSize(full_width, full_height, grid, width, height);
  // A picture read whole (any but a reduced JPEG) already holds what the cut takes.
  if (int64_t{grid.rows} * grid.cols > table_pieces && (picture->width < width || picture->height < height))
    return LoadPictureForCut(path, cancel, width, height);
  picture_result same;
  same.pixmap = picture;
  same.full_width = full_width;
  same.full_height = full_height;
  return same;
}

bool ReadPictureToCut(const std::string& path, picture_to_cut& result, std::string& error,
                      const std::atomic<bool>* cancel) {
  const picture_result read = LoadPictureForCut(path, cancel);
  if (!read.pixmap) {
    error = path + " " + read.problem;
    return false;
  }
  result.choices = PieceCountChoices(read.pixmap->width, read.pixmap->height, read.full_width,
                                     read.full_height);
  if (result.choices.empty()) {
    error = path + " is too small or too narrow for a jigsaw: " + std::to_string(read.full_width) +
            " x " + std::to_string(read.full_height) + " pixels";
    return false;
  }
  result.picture = read.pixmap;
  result.full_width = read.full_width;
  result.full_height = read.full_height;
  result.chosen = DefaultCountChoice(result.choices);
  return true;
}
