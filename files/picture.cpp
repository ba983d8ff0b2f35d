// LoadPicture: a picture file read for reduction, with its own memory budget and a problem text
// that says what is wrong. Depends on files/picture_load.h, files/header_peek.h,
// files/decode_limits.h and POSIX stat.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "files/decode_limits.h"
#include "files/header_peek.h"
#include "files/picture_load.h"

namespace {

const char* const kNotAPicture = "is not a picture (PNG, JPEG, BMP or TGA)";

// What keeps the path from being read as a file, or "".
std::string FileProblem(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? "cannot be found" : std::string("cannot be read: ") + std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return "is a folder, not a picture";
  if (!S_ISREG(info.st_mode)) return "is not a file but a pipe or device";
  return "";
}

bool StartsWith(const std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> head) {
  return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

// The width and height a PNG's IHDR declares, whatever they are; false without an IHDR.
bool PngDeclaredSize(const std::vector<uint8_t>& bytes, uint32_t& width, uint32_t& height) {
  if (bytes.size() < 24 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) return false;
  auto be32 = [&](size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
  };
  width = be32(16);
  height = be32(20);
  return true;
}

// PNG, BMP and TGA: the declared size checked against the limits and the budget, then decoded
// whole by the loader chain.
picture_result LoadWhole(TMemoryStream& memory, const picture_request& request) {
  picture_result result;
  const bool png = StartsWith(memory._bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
  int32_t width = 0, height = 0;
  if (!ReadPixmapSize(memory, width, height)) {
    uint32_t w = 0, h = 0;
    if (png && PngDeclaredSize(memory._bytes, w, h) && w > 0 && h > 0)
      result.problem = TooLargeProblem(w, h);
    else
      result.problem = png ? "is damaged or cut short" : kNotAPicture;
    return result;
  }
  result.full_width = width;
  result.full_height = height;
  // Up to four bytes a pixel, and an RGB copy on the way to the cut.
  if (int64_t{width} * height * 4 > request.memory_budget) {
    result.problem = TooLargeProblem(width, height);
    return result;
  }
  memory.Seek(0);
  try {
    result.pixmap = LoadPixmap(std::shared_ptr<TStream>(&memory, [](TStream*) {}));
  } catch (const TStreamException&) {
  }
  if (!result.pixmap) result.problem = "is damaged or cut short";
  return result;
}

}  // namespace

picture_result LoadPicture(const std::string& path, const picture_request& request) {
  picture_result result;
  result.problem = FileProblem(path);
  if (!result.problem.empty()) return result;
  int64_t size = -1;
  const auto memory = TMemoryStream::ReadFile(path, request.memory_budget, size);
  if (!memory) {
    result.problem = size < 0 ? std::string("cannot be read: ") + std::strerror(errno)
                              : "is too large: a file of " + std::to_string((size + (1 << 20) - 1) >> 20) + " MiB";
    return result;
  }
  if (memory->_bytes.empty()) {
    result.problem = "is empty";
    return result;
  }
  if (StartsWith(memory->_bytes, {0xFF, 0xD8, 0xFF})) return LoadScaledJPEG(*memory, request);
  return LoadWhole(*memory, request);
}
