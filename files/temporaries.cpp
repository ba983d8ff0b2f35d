// The temporary files of WriteFileAtomically: their names, and removing the ones whose writer was
// killed. Depends on files/files.h, files/temporaries.h and POSIX (flock, kill).
#include "files/temporaries.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>

#include "files/files.h"
#include "files/host_path.h"

namespace {

bool AllDigits(const std::string& text) {
  if (text.empty() || text.size() > 18) return false;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// Whether the process may still be writing: it runs (EPERM: it runs as another user). This
// process counts as not writing, since a writer holds its temporary locked.
bool MayBeWriting(long pid) {
  if (pid == static_cast<long>(getpid())) return false;
  return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Removes the regular file (never a link) at path unless a writer holds it locked.
void RemoveUnlessLocked(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) unlink(path.c_str());
  close(fd);
}

}  // namespace

std::string TemporaryName(const std::string& name, long pid, unsigned long serial) {
  return "." + name + "." + std::to_string(pid) + "-" + std::to_string(serial) + ".tmp";
}

bool IsTemporaryName(const std::string& entry, long& pid) {
  const std::string ending = ".tmp";
  if (entry.size() <= ending.size() + 1 || entry[0] != '.' ||
      entry.compare(entry.size() - ending.size(), ending.size(), ending) != 0)
    return false;
  const std::string stem = entry.substr(1, entry.size() - 1 - ending.size());  // name.pid-serial
  const size_t dash = stem.rfind('-'), dot = stem.rfind('.', dash);
  if (dash == std::string::npos || dot == std::string::npos || dot == 0) return false;
  const std::string pid_text = stem.substr(dot + 1, dash - dot - 1);
  if (!AllDigits(pid_text) || !AllDigits(stem.substr(dash + 1))) return false;
  pid = std::stol(pid_text);
  return pid > 0 && pid <= 0x7fffffff;
}

void RemoveStaleTemporaries(const std::string& folder_in) {
  const std::string folder = FixPath(folder_in, true);
  const auto listing = ReadDir(folder);
  for (std::string entry = NextFile(listing); !entry.empty(); entry = NextFile(listing)) {
    long pid = 0;
    if (IsTemporaryName(entry, pid) && !MayBeWriting(pid)) RemoveUnlessLocked(folder + "/" + entry);
  }
  CloseDir(listing);
}
