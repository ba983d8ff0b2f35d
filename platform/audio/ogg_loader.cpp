// The Ogg Vorbis loader: vorbisfile over a TStream through its callback interface, decoding the
// first logical stream whole into 16-bit little-endian PCM. Depends on files/files.h, vorbisfile.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "files/files.h"
#include "platform/audio.h"

namespace {

// 256 MiB of decoded PCM: a longer stream is refused.
constexpr int64_t kMaxBytes = int64_t{1} << 28;
constexpr int kReadBytes = 4096;

// vorbisfile counts offsets from where it started reading, so the callbacks show it the stream
// from its position at open time on.
struct ogg_source {
  TStream& stream;
  int64_t origin;
};

// The callbacks run inside C code: exceptions must not cross it, so a stream error becomes
// vorbisfile's read or seek failure.
size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
  if (size == 0) return 0;
  try {
    const int64_t got = static_cast<ogg_source*>(source)->stream.Read(buffer, static_cast<int64_t>(size * count));
    return static_cast<size_t>(got) / size;
  } catch (const TRuntimeException&) {
    errno = EIO;
    return 0;
  }
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
  auto& [stream, origin] = *static_cast<ogg_source*>(source);
  try {
    int64_t target = origin + offset;
    if (whence == SEEK_CUR) target = stream.Pos() + offset;
    if (whence == SEEK_END) target = stream.Size() + offset;
    if (target < origin) return -1;
    return stream.Seek(target) == target ? 0 : -1;
  } catch (const TRuntimeException&) {
    return -1;
  }
}

long TellCallback(void* source) {
  auto& [stream, origin] = *static_cast<ogg_source*>(source);
  try {
    const int64_t pos = stream.Pos();
    return pos < 0 ? -1 : static_cast<long>(pos - origin);
  } catch (const TRuntimeException&) {
    return -1;
  }
}

// The caller closes the stream.
int CloseCallback(void*) { return 0; }

// An open vorbisfile decoder; cleared on every path.
class vorbis_file_handle {
 public:
  explicit vorbis_file_handle(TStream& stream) : source_{stream, std::max<int64_t>(stream.Pos(), 0)} {
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    open_ = ov_open_callbacks(&source_, &file_, nullptr, 0, callbacks) == 0;
  }
  ~vorbis_file_handle() {
    if (open_) ov_clear(&file_);
  }
  vorbis_file_handle(const vorbis_file_handle&) = delete;
  vorbis_file_handle& operator=(const vorbis_file_handle&) = delete;

  bool open() const { return open_; }
  OggVorbis_File* get() { return &file_; }

 private:
  ogg_source source_;
  OggVorbis_File file_{};
  bool open_ = false;
};

}  // namespace

std::shared_ptr<TAudioSample> TAudioSampleLoaderOGG::LoadAudioSample(const std::shared_ptr<TStream>& stream) {
  vorbis_file_handle vorbis(*stream);
  if (!vorbis.open()) return nullptr;
  const vorbis_info* info = ov_info(vorbis.get(), -1);
  // Only mono and stereo fit the sample formats.
  if (!info || (info->channels != 1 && info->channels != 2) || info->rate <= 0 || info->rate > INT32_MAX) {
    return nullptr;
  }
  const int format = info->channels == 1 ? SF_MONO16LE : SF_STEREO16LE;
  const int64_t frames = ov_pcm_total(vorbis.get(), 0);
  const int64_t bytes = frames * SampleFormatBytes(format);
  if (frames < 0 || bytes > kMaxBytes) return nullptr;

  // Grows with what really decodes, so a lying length cannot claim memory up front.
  std::vector<uint8_t> pcm;
  pcm.reserve(static_cast<size_t>(std::min<int64_t>(bytes, kReadBytes * 256)));
  char block[kReadBytes];
  while (static_cast<int64_t>(pcm.size()) < bytes) {
    const int wanted = static_cast<int>(std::min<int64_t>(kReadBytes, bytes - static_cast<int64_t>(pcm.size())));
    int link = 0;
    const long got = ov_read(vorbis.get(), block, wanted, 0, 2, 1, &link);
    // An error, or data ending before its own length, is a damaged file; the first link is
    // all that is wanted, and a later one may have another layout.
    if (got <= 0 || link != 0) return nullptr;
    pcm.insert(pcm.end(), block, block + got);
  }

  auto sample = TAudioSample::Create(static_cast<int>(frames), static_cast<int>(info->rate), format);
  if (bytes > 0) std::memcpy(sample->samples, pcm.data(), static_cast<size_t>(bytes));
  return sample;
}
