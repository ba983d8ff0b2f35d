// Replacing a file whole: a temporary file of the writer's own in the same folder, flushed to the
// disk and renamed over the old one, so that a crash, a full disk or a second writer never
// leaves a torn file. Depends on files/files.h, files/temporaries.h and POSIX (open, flock,
// fsync, rename).
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "files/files.h"
#include "files/host_path.h"
#include "files/temporaries.h"

namespace {

std::atomic<unsigned long> temporaries_made{0};

}  // namespace

bool WriteFileAtomically(const std::string& path_in,
                         const std::function<bool(const std::shared_ptr<TStream>&)>& write) {
  const std::string path = FixPath(path_in, false);
  if (!IsHostPath(path) || path.empty() || path.back() == '/') return false;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = path.substr(folder.size());
  RemoveStaleTemporaries(folder.empty() ? "." : folder);
  unlink((folder + "." + name + ".tmp").c_str());  // the one temporary name of earlier versions
  const std::string temporary = folder + TemporaryName(name, getpid(), ++temporaries_made);
  errno = 0;  // so that a failure below leaves its own reason, or none
  // O_EXCL: never writes through a link planted at the temporary name.
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  // Locked until it is renamed or removed, through a second descriptor that outlives the
  // stream's, so that no one removes it as left over meanwhile.
  flock(fd, LOCK_EX | LOCK_NB);
  const int lock = dup(fd);
  FILE* handle = fdopen(fd, "wb");
  int reason = errno;
  if (!handle) close(fd);
  bool written = handle != nullptr;
  if (handle) {
    const std::shared_ptr<TCStream> stream = TCStream::CreateWithCStream(handle, MODE_WRITE);
    written = write(stream);
    stream->Flush();
    written = written && !stream->Failed() && fsync(fileno(stream->_cstream.get())) == 0;
    stream->Close();
    written = written && !stream->Failed();
    written = written && rename(temporary.c_str(), path.c_str()) == 0;
    reason = errno;
  }
  if (!written) unlink(temporary.c_str());
  if (lock >= 0) close(lock);
  errno = written ? 0 : reason;
  // The folder is not synced: after a power cut the rename may be lost, which leaves the old
  // file whole; the data was synced before the rename, so the new name never shows a torn file.
  return written;
}
