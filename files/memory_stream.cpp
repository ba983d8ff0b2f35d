// TMemoryStream, a read-only stream over bytes held in memory. Depends on files/files.h.
#include <algorithm>
#include <cstring>

#include "files/files.h"

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

std::shared_ptr<TMemoryStream> TMemoryStream::ReadRest(TStream& stream) {
  auto memory = std::make_shared<TMemoryStream>();
  const int64_t start = std::max<int64_t>(stream.Pos(), 0);  // -1: a stream without position
  memory->_bytes.resize(static_cast<size_t>(std::max<int64_t>(stream.Size() - start, 0)));
  size_t done = 0;
  while (done < memory->_bytes.size()) {
    const int64_t n = stream.Read(memory->_bytes.data() + done,
                                  static_cast<int64_t>(memory->_bytes.size() - done));
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  memory->_bytes.resize(done);
  return memory;
}
