// TMemoryStream, a read-only stream over bytes held in memory. Depends on files/files.h,
// files/regular_file.h and POSIX read.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/files.h"
#include "files/regular_file.h"

int64_t TMemoryStream::Pos() { return _pos; }
int64_t TMemoryStream::Size() { return static_cast<int64_t>(_bytes.size()); }

int64_t TMemoryStream::Seek(int64_t pos) {
  _pos = std::clamp<int64_t>(pos, 0, Size());
  return _pos;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  const int64_t n = std::clamp<int64_t>(Size() - _pos, 0, std::max<int64_t>(count, 0));
  if (n > 0) std::memcpy(buffer, _bytes.data() + _pos, static_cast<size_t>(n));
  _pos += n;
  return n;
}

std::shared_ptr<TMemoryStream> TMemoryStream::ReadFile(const std::string& path,
                                                       int64_t max_bytes, int64_t& size) {
  size = -1;
  struct stat info;
  const int fd = OpenRegularFile(path, O_RDONLY, info);
  if (fd < 0) return nullptr;
  size = info.st_size;
  std::shared_ptr<TMemoryStream> memory;
  if (size <= max_bytes) {
    memory = std::make_shared<TMemoryStream>();
    memory->_bytes.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < memory->_bytes.size()) {
      const ssize_t n = read(fd, memory->_bytes.data() + done, memory->_bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    memory->_bytes.resize(done);
  }
  close(fd);
  return memory;
}
