// The root stream TIO and TStream's typed little-endian reads and writes and text lines,
// all built on Read and Write. Depends on files/files.h and files/line_rule.h.
#include <bit>
#include <cstdint>

#include "files/files.h"
#include "files/line_rule.h"

namespace {

// Little-endian integers of n bytes (n <= 8).
uint64_t ReadLittleEndian(TStream& s, int n) {
  uint8_t bytes[8];
  s.ReadBytes(bytes, n);
  uint64_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | bytes[i];
  return v;
}

void WriteLittleEndian(TStream& s, uint64_t v, int n) {
  uint8_t bytes[8];
  for (int i = 0; i < n; ++i, v >>= 8) bytes[i] = static_cast<uint8_t>(v);
  s.WriteBytes(bytes, n);
}

}  // namespace

int32_t TIO::Eof() { return Pos() == Size() ? 1 : 0; }
int64_t TIO::Pos() { return -1; }
int64_t TIO::Size() { return 0; }
int64_t TIO::Seek(int64_t) { return -1; }

int64_t TIO::Read(void*, int64_t) { throw TRuntimeException("Stream is not readable"); }

int64_t TIO::Write(const void*, int64_t) { throw TRuntimeException("Stream is not writeable"); }

int64_t TStream::ReadBytes(void* buffer, int64_t count) {
  auto* p = static_cast<uint8_t*>(buffer);
  for (int64_t done = 0; done < count;) {
    const int64_t n = Read(p + done, count - done);
    if (n <= 0) throw TStreamReadException();
    done += n;
  }
  return count;
}

int64_t TStream::WriteBytes(const void* buffer, int64_t count) {
  const auto* p = static_cast<const uint8_t*>(buffer);
  for (int64_t done = 0; done < count;) {
    const int64_t n = Write(p + done, count - done);
    if (n <= 0) throw TStreamWriteException();
    done += n;
  }
  return count;
}

void TStream::SkipBytes(int64_t count) {
  uint8_t chunk[1024];
  while (count > 0) {
    const int64_t n = Read(chunk, count < 1024 ? count : 1024);
    if (n <= 0) throw TStreamReadException();
    count -= n;
  }
}

int32_t TStream::ReadByte() { return static_cast<int32_t>(ReadLittleEndian(*this, 1)); }
void TStream::WriteByte(int32_t value) { WriteLittleEndian(*this, static_cast<uint32_t>(value), 1); }
int32_t TStream::ReadShort() { return static_cast<int32_t>(ReadLittleEndian(*this, 2)); }
void TStream::WriteShort(int32_t value) { WriteLittleEndian(*this, static_cast<uint32_t>(value), 2); }
int32_t TStream::ReadInt() { return static_cast<int32_t>(ReadLittleEndian(*this, 4)); }
void TStream::WriteInt(int32_t value) { WriteLittleEndian(*this, static_cast<uint32_t>(value), 4); }
int64_t TStream::ReadLong() { return static_cast<int64_t>(ReadLittleEndian(*this, 8)); }
void TStream::WriteLong(int64_t value) { WriteLittleEndian(*this, static_cast<uint64_t>(value), 8); }

float TStream::ReadFloat() { return std::bit_cast<float>(static_cast<uint32_t>(ReadLittleEndian(*this, 4))); }
void TStream::WriteFloat(float value) { WriteLittleEndian(*this, std::bit_cast<uint32_t>(value), 4); }
double TStream::ReadDouble() { return std::bit_cast<double>(ReadLittleEndian(*this, 8)); }
void TStream::WriteDouble(double value) { WriteLittleEndian(*this, std::bit_cast<uint64_t>(value), 8); }

std::string ReadLineWithin(TStream& stream, int64_t longest, bool& overlong) {
  std::string line;
  overlong = false;
  try {
    char c;
    for (int64_t taken = 0; stream.Read(&c, 1) == 1 && c != '\0' && c != '\n';) {
      // Counted before CRs are dropped, so that no line costs more than `longest` reads.
      if (++taken > longest) {
        overlong = true;
        return "";
      }
      if (c != '\r') line += c;
    }
  } catch (const TRuntimeException&) {
    // A stream that cannot be read simply has no more lines.
  }
  return line;
}

std::string TStream::ReadLine() {
  bool overlong;
  return ReadLineWithin(*this, INT64_MAX, overlong);
}

int32_t TStream::WriteLine(const std::string& text) {
  static const char kLineEnd[2] = {'\r', '\n'};
  try {
    const auto size = static_cast<int64_t>(text.size());
    if (Write(text.data(), size) != size) return 0;
    return Write(kLineEnd, 2) == 2 ? 1 : 0;
  } catch (const TRuntimeException&) {
    return 0;
  }
}

std::string TStream::ReadString(int64_t count) {
  std::string text(static_cast<size_t>(count > 0 ? count : 0), '\0');
  ReadBytes(text.data(), static_cast<int64_t>(text.size()));
  return text;
}

void TStream::WriteString(const std::string& text) {
  WriteBytes(text.data(), static_cast<int64_t>(text.size()));
}

std::shared_ptr<void> TStream::ReadObject() { throw TRuntimeException("Unable to read object"); }

void TStream::WriteObject(const std::shared_ptr<void>&) {
  throw TRuntimeException("Unable to write object");
}
