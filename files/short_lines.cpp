// Text files of numbers or names read with a bound on their lines, so that one endless line is
// refused after a few KB instead of being held whole. Depends on files/files.h, files/line_rule.h.
#include "files/files.h"
#include "files/line_rule.h"

int32_t TShortLineStream::Eof() { return overlong ? 1 : TStreamWrapper::Eof(); }

std::string TShortLineStream::ReadLine() {
  if (overlong || !_stream) return "";
  return ReadLineWithin(*_stream, kLongestLine, overlong);
}

std::shared_ptr<TShortLineStream> TShortLineStream::Create(std::shared_ptr<TStream> stream) {
  auto lines = std::make_shared<TShortLineStream>();
  lines->SetStream(std::move(stream));
  return lines;
}

std::shared_ptr<TShortLineStream> ReadShortLines(const std::string& path) {
  std::shared_ptr<TStream> file = ReadFile(path);
  return file ? TShortLineStream::Create(std::move(file)) : nullptr;
}
