// File-system functions: path normalisation, file types and modes, folders, listings.
// Depends on files/files.h and POSIX (stat, mkdir, rmdir, unlink, opendir).
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "files/files.h"
#include "files/host_path.h"

class TDirListing {
 public:
  std::unique_ptr<DIR, int (*)(DIR*)> dir{nullptr, &closedir};
};

namespace {

// "/", a drive root such as "X:/", or a server root "//name/".
bool IsRoot(const std::string& p) {
  if (p == "/") return true;
  if (p.rfind("//", 0) == 0) return p.find('/', 2) == p.size() - 1;
  const size_t colon = p.find(':');
  return colon != std::string::npos && p.size() == colon + 2 && p[colon + 1] == '/';
}

bool IsSymlink(const std::string& path) { return EntryKind(path) == entry_kind::link; }

// The kind of what is at path itself (a link counts as a file), for emptying folders.
int32_t EntryType(const std::string& path) {
  switch (EntryKind(path)) {
    case entry_kind::none: return FILETYPE_NONE;
    case entry_kind::folder: return FILETYPE_DIR;
    default: return FILETYPE_FILE;
  }
}

// Removes a file or link (never what a link points at). No mode is changed on the way: removing
// a name needs only the folder's permission, and the file may live on under another name.
bool RemoveEntry(const std::string& path) {
  unlink(path.c_str());
  return EntryType(path) == FILETYPE_NONE;
}

// mkdir, true when a folder stands there afterwards; else errno keeps mkdir's reason.
bool MakeFolder(const std::string& path) {
  const int made = mkdir(path.c_str(), 0777);
  const int reason = errno;
  if (FileType(path) == FILETYPE_DIR) return true;
  errno = made == 0 ? EEXIST : reason;
  return false;
}

bool CreateDirRecursive(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty() || absolute[0] != '/') {
    std::vector<char> cwd(4096);
    if (!getcwd(cwd.data(), cwd.size())) return false;
    absolute = std::string(cwd.data()) + "/" + path;
  }
  std::string walked;
  size_t start = 0;
  while (start <= absolute.size()) {
    size_t end = absolute.find('/', start);
    if (end == std::string::npos) end = absolute.size();
    walked = absolute.substr(0, end);
    start = end + 1;
    if (walked.empty() || walked.back() == '/') continue;  // the root, or a doubled "/"
    switch (FileType(walked)) {
      case FILETYPE_DIR: continue;
      case FILETYPE_FILE: errno = ENOTDIR; return false;
    }
    if (!MakeFolder(walked)) return false;
  }
  return true;
}

}  // namespace

std::string FixPath(const std::string& path, bool dirflag) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.rfind("//", 0) == 0) {
    if (p.find('/', 2) == std::string::npos) p += '/';
  } else {
    const size_t colon = p.find(':');
    if (colon != std::string::npos && (colon + 1 == p.size() || p[colon + 1] != ':')) {
      const size_t slash = p.find('/');
      if (slash == std::string::npos || slash > colon + 1) p.insert(p.begin() + static_cast<ptrdiff_t>(colon) + 1, '/');
    }
  }
  if (dirflag && p.size() > 1 && p.back() == '/' && !IsRoot(p)) p.pop_back();
  return p;
}

int32_t FileType(const std::string& path) {
  const std::string p = FixPath(path, false);
  if (!IsHostPath(p) || p.find_first_of("<>") != std::string::npos) return FILETYPE_NONE;
  struct stat info;
  if (stat(p.c_str(), &info) != 0) return FILETYPE_NONE;
  if (S_ISREG(info.st_mode)) return FILETYPE_FILE;
  if (S_ISDIR(info.st_mode)) return FILETYPE_DIR;
  return FILETYPE_NONE;
}

entry_kind EntryKind(const std::string& path) {
  const std::string p = FixPath(path, false);
  struct stat info;
  if (!IsHostPath(p) || lstat(p.c_str(), &info) != 0) return entry_kind::none;
  if (S_ISLNK(info.st_mode)) return entry_kind::link;
  if (S_ISREG(info.st_mode)) return entry_kind::file;
  return S_ISDIR(info.st_mode) ? entry_kind::folder : entry_kind::other;
}

file_stamp FileStamp(const std::string& path) {
  const std::string p = FixPath(path, false);
  struct stat info;
  file_stamp stamp;
  if (IsHostPath(p) && stat(p.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    stamp.regular = true;
    stamp.size = info.st_size;
    stamp.mtime_ns = int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
  }
  return stamp;
}

void SetFileMode(const std::string& path, int32_t mode) {
  const std::string p = FixPath(path, false);
  if (IsHostPath(p)) chmod(p.c_str(), static_cast<mode_t>(mode));
}

bool CreateDir(const std::string& path, bool recurse) {
  const std::string p = FixPath(path, true);
  if (!IsHostPath(p)) return false;
  if (recurse) return CreateDirRecursive(p);
  return MakeFolder(p);
}

bool DeleteFile(const std::string& path) {
  const std::string p = FixPath(path, false);
  if (!IsHostPath(p)) return false;
  unlink(p.c_str());
  return FileType(p) == FILETYPE_NONE;
}

bool DeleteDir(const std::string& path, bool recurse) {
  const std::string p = FixPath(path, true);
  if (!IsHostPath(p)) return false;
  if (recurse) {
    // A link to a folder goes as a link: what it points at is someone else's.
    if (IsSymlink(p)) return RemoveEntry(p);
    const auto listing = ReadDir(p);
    if (!listing) return false;
    for (std::string entry = NextFile(listing); !entry.empty(); entry = NextFile(listing)) {
      if (entry == "." || entry == "..") continue;
      const std::string full = p + "/" + entry;
      if (EntryType(full) == FILETYPE_DIR) {
        DeleteDir(full, true);
      } else {
        RemoveEntry(full);
      }
    }
    CloseDir(listing);
  }
  rmdir(p.c_str());
  return FileType(p) == FILETYPE_NONE;
}

std::shared_ptr<TDirListing> ReadDir(const std::string& path) {
  const std::string p = FixPath(path, true);
  if (!IsHostPath(p)) return nullptr;
  auto listing = std::make_shared<TDirListing>();
  listing->dir.reset(opendir(p.c_str()));
  return listing->dir ? listing : nullptr;
}

std::string NextFile(const std::shared_ptr<TDirListing>& handle) {
  if (!handle || !handle->dir) return "";
  const dirent* entry = readdir(handle->dir.get());
  return entry ? entry->d_name : "";
}

void CloseDir(const std::shared_ptr<TDirListing>& handle) {
  if (handle) handle->dir.reset();
}
