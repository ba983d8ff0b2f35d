// From a picture file to what a cut needs: the picture read for cutting and the grids offered.
// Depends on jigsaw.h (files/files.h).
#include "tools/jigsaw/jigsaw.h"

picture_result LoadPictureForCut(const std::string& path, const std::atomic<bool>* cancel) {
  picture_request request;
  request.fit_width = picture_max_width;
  request.fit_height = picture_max_height;
  request.memory_budget = cut_memory_budget;
  request.cancel = cancel;
  return LoadPicture(path, request);
}

bool ReadPictureToCut(const std::string& path, picture_to_cut& result, std::string& error,
                      const std::atomic<bool>* cancel) {
  const picture_result read = LoadPictureForCut(path, cancel);
  if (!read.pixmap) {
    error = path + " " + read.problem;
    return false;
  }
  result.choices = PieceCountChoices(read.pixmap->width, read.pixmap->height);
  if (result.choices.empty()) {
    error = path + " is too small or too narrow for a jigsaw: " + std::to_string(read.full_width) +
            " x " + std::to_string(read.full_height) + " pixels";
    return false;
  }
  result.picture = read.pixmap;
  result.chosen = DefaultCountChoice(result.choices);
  return true;
}
