// A lock held on a folder while a program works in it, so that a second copy of the program can
// tell and stay out. Depends on files/files.h and POSIX (open, flock).
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/files.h"
#include "files/host_path.h"

TFolderLock::~TFolderLock() { close(fd_); }

std::shared_ptr<TFolderLock> LockFolder(const std::string& folder, bool& busy) {
  busy = false;
  const std::string path = FixPath(folder, true) + "/.lock";
  if (!IsHostPath(path)) return nullptr;
  // Not through a link: the lock file is made inside the folder and nowhere else.
  const int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    busy = errno == EWOULDBLOCK;
    close(fd);
    return nullptr;
  }
  return std::make_shared<TFolderLock>(fd);
}
