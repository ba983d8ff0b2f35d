// Telling a missing file from one that is there but cannot be used, and the system's reason for
// a failure, in words for the player.
// Depends on files/files.h, files/host_path.h and POSIX (lstat, stat, open).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/files.h"
#include "files/host_path.h"

namespace {

std::string Unreadable(const std::string& path, int error) {
  return path + " cannot be read (" + std::strerror(error) + ")";
}

}  // namespace

std::string FileFault(const std::string& path) {
  const std::string p = FixPath(path, false);
  struct stat own, seen;
  if (!IsHostPath(p) || lstat(p.c_str(), &own) != 0) {
    if (!IsHostPath(p) || errno == ENOENT || errno == ENOTDIR) return "can't find " + path;
    return Unreadable(path, errno);
  }
  if (stat(p.c_str(), &seen) != 0) {
    if (S_ISLNK(own.st_mode) && errno == ENOENT) return path + " is a link to a missing file";
    return Unreadable(path, errno);
  }
  if (S_ISDIR(seen.st_mode)) return path + " is a folder, not a file";
  if (S_ISFIFO(seen.st_mode)) return path + " is a named pipe, not a file";
  if (!S_ISREG(seen.st_mode)) return path + " is not a plain file";
  // Without waiting, as every open of the files module.
  const int fd = open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Unreadable(path, errno);
  close(fd);
  return path + (seen.st_size == 0 ? " is empty" : " is damaged");
}

std::string SystemReason() {
  return errno == 0 ? "" : std::string(" (") + std::strerror(errno) + ")";
}
