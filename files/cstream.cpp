// TCStream, a stream over a host file, the functions that open and close file streams, and the
// file-size signal.
// Depends on files/files.h, the C library's stdio and POSIX open and signal.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/files.h"
#include "files/regular_file.h"

TCStream::~TCStream() { TCStream::Close(); }

int64_t TCStream::Pos() { return _pos; }
int64_t TCStream::Size() { return _size; }

int64_t TCStream::Seek(int64_t pos) {
  if (!_cstream) return -1;
  // Asking the position again after a seek that worked would cost a system call on every
  // seek, and decoders seek once per loader tried.
  _pos = fseeko(_cstream.get(), pos, SEEK_SET) == 0 ? pos : ftello(_cstream.get());
  _last_op = 0;
  return _pos;
}

void TCStream::SwitchTo(int32_t op) {
  if (_last_op != 0 && _last_op != op) fseeko(_cstream.get(), 0, SEEK_CUR);
  _last_op = op;
}

int64_t TCStream::Read(void* buffer, int64_t count) {
  if (!_cstream || count <= 0) return 0;
  SwitchTo(MODE_READ);
  const auto n = static_cast<int64_t>(fread(buffer, 1, static_cast<size_t>(count), _cstream.get()));
  _pos += n;
  return n;
}

int64_t TCStream::Write(const void* buffer, int64_t count) {
  if (!_cstream || count <= 0) return 0;
  SwitchTo(MODE_WRITE);
  const auto n = static_cast<int64_t>(fwrite(buffer, 1, static_cast<size_t>(count), _cstream.get()));
  _pos += n;
  _size = std::max(_size, _pos);
  return n;
}

void TCStream::Flush() {
  if (_cstream && fflush(_cstream.get()) != 0) _failed = true;
}

void TCStream::Close() {
  if (!_cstream) return;
  Flush();
  if (ferror(_cstream.get())) _failed = true;
  if (fclose(_cstream.release()) != 0) _failed = true;
  _pos = 0;
  _size = 0;
}

bool TCStream::Failed() const { return _failed || (_cstream && ferror(_cstream.get())); }

std::shared_ptr<TCStream> TCStream::OpenFile(const std::string& path, bool readable,
                                             bool writeable) {
  if (!readable && !writeable) return nullptr;
  const int access = readable && writeable ? O_RDWR
                     : writeable           ? O_WRONLY | O_CREAT | O_TRUNC
                                           : O_RDONLY;
  struct stat info;
  const int fd = OpenRegularFile(path, access, info);
  if (fd < 0) return nullptr;
  FILE* handle = fdopen(fd, readable && writeable ? "r+b" : writeable ? "wb" : "rb");
  if (!handle) {
    close(fd);
    return nullptr;
  }
  // A file just opened is at position 0 and fstat has its size: no seeks needed to learn them.
  auto stream = std::make_shared<TCStream>();
  stream->_cstream.reset(handle);
  stream->_mode = (readable ? MODE_READ : 0) | (writeable ? MODE_WRITE : 0);
  stream->_size = info.st_size;
  return stream;
}

std::shared_ptr<TCStream> TCStream::CreateWithCStream(FILE* handle, int32_t mode) {
  auto stream = std::make_shared<TCStream>();
  stream->_cstream.reset(handle);
  stream->_mode = mode;
  stream->_pos = ftello(handle);
  fseeko(handle, 0, SEEK_END);
  stream->_size = ftello(handle);
  fseeko(handle, stream->_pos, SEEK_SET);
  return stream;
}

std::shared_ptr<TStream> OpenStream(const std::string& path, bool readable, bool writeable) {
  return TCStream::OpenFile(path, readable, writeable);
}

std::shared_ptr<TStream> OpenStream(const std::shared_ptr<TStream>& stream, bool, bool) {
  return stream ? TStreamStream::Create(stream) : nullptr;
}

std::shared_ptr<TStream> ReadFile(const std::string& path) { return OpenStream(path, true, false); }

std::shared_ptr<TStream> WriteFile(const std::string& path) { return OpenStream(path, false, true); }

void CloseStream(const std::shared_ptr<TStream>& stream) {
  if (stream) stream->Close();
}

void IgnoreFileSizeSignal() { signal(SIGXFSZ, SIG_IGN); }
