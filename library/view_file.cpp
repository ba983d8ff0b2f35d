// The view file beside a saved jigsaw's progress file: the zoom in thousandths and the table point
// in the middle of the picture, one number a line, all 0 for the home view. Saves made before the
// view was kept have none; the progress file never changes its form for it. Depends on files/.
#include "files/files.h"
#include "library/internal.h"

bool WriteViewLines(TStream& stream, const std::array<int, 3>& view) {
  bool ok = true;
  for (int value : view) ok = stream.WriteLine(IntToText(value)) == 1 && ok;
  return ok;
}

std::array<int, 3> ReadViewFile(const std::string& path) {
  std::array<int, 3> view{};
  const std::shared_ptr<TShortLineStream> stream = ReadShortLines(path);
  if (!stream) return view;
  bool whole = true;
  for (int& value : view) {
    whole = whole && !stream->Eof();
    if (whole) value = TextToInt(stream->ReadLine());
  }
  CloseStream(stream);
  // A short file, or an endless line (which ends the data), is damaged: the view goes home.
  if (!whole || stream->overlong) return {};
  return view;
}
