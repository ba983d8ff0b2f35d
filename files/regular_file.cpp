// Opening only regular files. Depends on files/regular_file.h, files/host_path.h and POSIX.
#include "files/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "files/host_path.h"

int OpenRegularFile(const std::string& path, int access, struct stat& info) {
  if (!IsHostPath(path)) return -1;
  std::string host = path;
  std::replace(host.begin(), host.end(), '\\', '/');
  // O_NONBLOCK keeps the open itself from waiting and changes nothing for a regular file.
  const int fd = open(host.c_str(), access | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}
