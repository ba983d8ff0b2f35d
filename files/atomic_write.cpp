// Replacing a file whole: a temporary file in the same folder, flushed to the disk and renamed
// over the old one, so that a crash or a full disk never leaves a torn file.
// Depends on files/files.h and POSIX (open, fsync, rename).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "files/files.h"
#include "files/host_path.h"

namespace {

// "dir/.name.tmp" for "dir/name": hidden, and ending in neither ".txt" nor ".png", so no listing
// of saved jigsaws takes it for one.
std::string TemporaryPath(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t start = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, start) + "." + path.substr(start) + ".tmp";
}

}  // namespace

bool WriteFileAtomically(const std::string& path_in,
                         const std::function<bool(const std::shared_ptr<TStream>&)>& write) {
  const std::string path = FixPath(path_in, false);
  if (!IsHostPath(path) || path.empty() || path.back() == '/') return false;
  const std::string temporary = TemporaryPath(path);
  unlink(temporary.c_str());  // left by a run killed while saving
  errno = 0;                   // so that a failure below leaves its own reason, or none
  // O_EXCL: never writes through a link planted at the temporary name.
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  FILE* handle = fdopen(fd, "wb");
  if (!handle) {
    const int reason = errno;
    close(fd);
    unlink(temporary.c_str());
    errno = reason;
    return false;
  }
  const std::shared_ptr<TCStream> stream = TCStream::CreateWithCStream(handle, MODE_WRITE);
  bool written = write(stream);
  stream->Flush();
  written = written && !stream->Failed() && fsync(fileno(stream->_cstream.get())) == 0;
  stream->Close();
  written = written && !stream->Failed();
  if (!written || rename(temporary.c_str(), path.c_str()) != 0) {
    const int reason = errno;
    unlink(temporary.c_str());
    errno = reason;
    return false;
  }
  // The folder is not synced: after a power cut the rename may be lost, which leaves the old
  // file whole; the data was synced before the rename, so the new name never shows a torn file.
  return true;
}
