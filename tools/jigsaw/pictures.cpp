// The player's pictures: the XDG pictures folder, the picture files in folders newest first,
// and their thumbnails. Depends on jigsaw.h (files/files.h) and POSIX stat.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tools/jigsaw/jigsaw.h"

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// XDG_PICTURES_DIR="$HOME/Photos" in user-dirs.dirs, with $HOME put in; "" when not there.
std::string XdgPicturesFolder(const std::string& home) {
  std::string config = Environment("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = home + "/.config";
  std::ifstream file(config + "/user-dirs.dirs");
  const std::string key = "XDG_PICTURES_DIR=\"";
  for (std::string line; std::getline(file, line);) {
    if (line.rfind(key, 0) != 0) continue;
    const size_t end = line.find('"', key.size());
    if (end == std::string::npos) return "";
    std::string value = line.substr(key.size(), end - key.size());
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return value.empty() || value[0] != '/' ? "" : value;
  }
  return "";
}

bool IsPictureName(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return false;
  std::string ending = name.substr(dot + 1);
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ending == "jpg" || ending == "jpeg" || ending == "png" || ending == "bmp" || ending == "tga";
}

}  // namespace

std::vector<std::string> PictureFolders(const std::string& extra) {
  const std::string home = Environment("HOME");
  std::vector<std::string> folders;
  std::string xdg = home.empty() ? "" : XdgPicturesFolder(home);
  if (xdg.empty() && !home.empty()) xdg = home + "/Pictures";
  while (xdg.size() > 1 && xdg.back() == '/') xdg.pop_back();
  if (!xdg.empty()) folders.push_back(xdg);
  if (!extra.empty() && extra != xdg) folders.push_back(extra);
  return folders;
}

std::vector<picture_file> ListPictures(const std::vector<std::string>& folders) {
  std::vector<picture_file> pictures;
  for (const std::string& folder : folders) {
    const auto listing = ReadDir(folder);
    for (std::string name = NextFile(listing); !name.empty(); name = NextFile(listing)) {
      if (!IsPictureName(name)) continue;
      const std::string path = folder + "/" + name;
      struct stat info;
      if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
      pictures.push_back({path, static_cast<int64_t>(info.st_mtime)});
    }
    CloseDir(listing);
  }
  std::sort(pictures.begin(), pictures.end(), [](const picture_file& a, const picture_file& b) {
    return a.modified != b.modified ? a.modified > b.modified : a.path < b.path;
  });
  return pictures;
}

std::shared_ptr<TPixmap> PictureThumbnail(const std::string& path, int width, int height) {
  picture_request request;
  request.fit_width = width;
  request.fit_height = height;
  request.memory_budget = cut_memory_budget;
  const picture_result read = LoadPicture(path, request);
  // A picture too small for any jigsaw is no picture to offer: its whole size is known by now.
  if (!read.pixmap || PieceCountChoices(read.full_width, read.full_height, read.full_width, read.full_height).empty()) return nullptr;
  const double scale = std::min(double(width) / read.pixmap->width, double(height) / read.pixmap->height);
  const int w = std::clamp(int(read.pixmap->width * scale + 0.5), 1, width);
  const int h = std::clamp(int(read.pixmap->height * scale + 0.5), 1, height);
  return ScalePicture(read.pixmap, w, h);
}
