// The RIFF WAVE loader: PCM only, 8 or 16 bits, mono or stereo. Depends on files/files.h.
#include <algorithm>
#include <cstring>
#include <vector>

#include "files/files.h"
#include "platform/audio.h"

namespace {

// The data is read in blocks so that memory follows what the stream really holds, whatever
// size the header claims.
constexpr int64_t kBlockBytes = 1 << 20;

bool ReadTag(TStream& stream, const char* tag) { return stream.ReadString(4) == tag; }

uint32_t ReadSize(TStream& stream) { return static_cast<uint32_t>(stream.ReadInt()); }

// RIFF chunks are word aligned: an odd-sized chunk is followed by one pad byte.
void SkipChunk(TStream& stream, uint32_t size) { stream.SkipBytes(int64_t{size} + (size & 1)); }

int FormatOf(int bits, int channels) {
  if (bits == 8 && channels == 1) return SF_MONO8;
  if (bits == 8 && channels == 2) return SF_STEREO8;
  if (bits == 16 && channels == 1) return SF_MONO16LE;
  if (bits == 16 && channels == 2) return SF_STEREO16LE;
  return 0;
}

// Exactly count bytes; TStreamReadException when the stream ends first.
std::vector<uint8_t> ReadData(TStream& stream, int64_t count) {
  std::vector<uint8_t> data;
  while (static_cast<int64_t>(data.size()) < count) {
    const int64_t block = std::min(kBlockBytes, count - static_cast<int64_t>(data.size()));
    const size_t at = data.size();
    data.resize(at + static_cast<size_t>(block));
    stream.ReadBytes(data.data() + at, block);
  }
  return data;
}

}  // namespace

std::shared_ptr<TAudioSample> TAudioSampleLoaderWAV::LoadAudioSample(const std::shared_ptr<TStream>& stream) {
  TStream& in = *stream;
  if (!ReadTag(in, "RIFF")) return nullptr;
  in.ReadInt();
  if (!ReadTag(in, "WAVE") || !ReadTag(in, "fmt ")) return nullptr;

  const uint32_t fmt_size = ReadSize(in);
  if (fmt_size < 16) return nullptr;
  if (in.ReadShort() != 1) return nullptr;  // PCM only: 3 (floating point) and the rest are refused
  const int channels = in.ReadShort();
  const int32_t hertz = in.ReadInt();
  in.ReadInt();    // byte rate
  in.ReadShort();  // block align
  const int bits = in.ReadShort();
  const int format = FormatOf(bits, channels);
  if (format == 0 || hertz <= 0) return nullptr;
  if (fmt_size > 16) SkipChunk(in, fmt_size - 16);

  uint32_t size = 0;
  for (;;) {
    const std::string id = in.ReadString(4);
    size = ReadSize(in);
    if (id == "data") break;
    SkipChunk(in, size);
  }

  // Trailing bytes that do not fill a frame are left unread.
  const int bytes_per_frame = SampleFormatBytes(format);
  const int64_t frames = size / bytes_per_frame;
  const int64_t bytes = frames * bytes_per_frame;
  const int64_t pos = in.Pos();
  if (bytes > INT32_MAX || (pos >= 0 && bytes > in.Size() - pos)) return nullptr;
  const std::vector<uint8_t> data = ReadData(in, bytes);
  auto sample = TAudioSample::Create(static_cast<int>(frames), hertz, format);
  if (bytes > 0) std::memcpy(sample->samples, data.data(), static_cast<size_t>(bytes));
  return sample;
}
