// PCM sample blocks and conversion between the six sample formats.
// Depends only on the C++ library.
#include <cassert>
#include <cstring>

#include "platform/audio.h"

namespace {

struct format_info {
  int bytes;
  int channels;
  int bits;
  bool big_endian;
};

// Indexed by format; entry 0 marks an invalid format.
constexpr format_info kFormats[] = {
    {0, 0, 0, false}, {1, 1, 8, false},  {2, 1, 16, false}, {2, 1, 16, true},
    {2, 2, 8, false}, {4, 2, 16, false}, {4, 2, 16, true},
};

const format_info& Info(int format) {
  return (format >= 1 && format <= 6) ? kFormats[format] : kFormats[0];
}

// One channel value widened to signed 16 bits.
int16_t ReadValue(const uint8_t* p, const format_info& f) {
  if (f.bits == 8) return static_cast<int16_t>((p[0] - 128) * 256);
  uint16_t v = f.big_endian ? static_cast<uint16_t>(p[0] << 8 | p[1]) : static_cast<uint16_t>(p[1] << 8 | p[0]);
  return static_cast<int16_t>(v);
}

void WriteValue(uint8_t* p, const format_info& f, int16_t value) {
  if (f.bits == 8) {
    p[0] = static_cast<uint8_t>((value >> 8) + 128);
    return;
  }
  const auto v = static_cast<uint16_t>(value);
  const auto hi = static_cast<uint8_t>(v >> 8), lo = static_cast<uint8_t>(v & 0xff);
  p[0] = f.big_endian ? hi : lo;
  p[1] = f.big_endian ? lo : hi;
}

}  // namespace

int SampleFormatBytes(int format) { return Info(format).bytes; }

int SampleFormatChannels(int format) { return Info(format).channels; }

std::shared_ptr<TAudioSample> TAudioSample::Create(int length, int hertz, int format) {
  assert(SampleFormatBytes(format) > 0 && length >= 0);
  auto sample = std::make_shared<TAudioSample>();
  const size_t bytes = static_cast<size_t>(length) * static_cast<size_t>(SampleFormatBytes(format));
  assert(bytes <= static_cast<size_t>(INT32_MAX));
  sample->owned_.assign(bytes, 0);
  sample->samples = sample->owned_.data();
  sample->length = length;
  sample->hertz = hertz;
  sample->format = format;
  sample->capacity = static_cast<int>(bytes);
  return sample;
}

std::shared_ptr<TAudioSample> TAudioSample::CreateStatic(uint8_t* samples, int length, int hertz, int format) {
  assert(SampleFormatBytes(format) > 0 && length >= 0 && (samples != nullptr || length == 0));
  auto sample = std::make_shared<TAudioSample>();
  sample->samples = samples;
  sample->length = length;
  sample->hertz = hertz;
  sample->format = format;
  sample->capacity = length * SampleFormatBytes(format);
  return sample;
}

std::shared_ptr<TAudioSample> TAudioSample::Copy() const {
  auto copy = Create(length, hertz, format);
  if (capacity > 0) std::memcpy(copy->samples, samples, static_cast<size_t>(capacity));
  return copy;
}

std::shared_ptr<TAudioSample> TAudioSample::Convert(int to_format) const {
  assert(SampleFormatBytes(format) > 0);
  if (to_format == format) return Copy();
  auto out = Create(length, hertz, to_format);
  const format_info& from = Info(format);
  const format_info& to = Info(to_format);
  const int from_step = from.bits / 8, to_step = to.bits / 8;
  for (int i = 0; i < length; ++i) {
    const uint8_t* src = samples + static_cast<size_t>(i) * from.bytes;
    uint8_t* dst = out->samples + static_cast<size_t>(i) * to.bytes;
    const int left = ReadValue(src, from);
    const int right = from.channels == 2 ? ReadValue(src + from_step, from) : left;
    if (to.channels == 2) {
      WriteValue(dst, to, static_cast<int16_t>(left));
      WriteValue(dst + to_step, to, static_cast<int16_t>(right));
    } else {
      WriteValue(dst, to, static_cast<int16_t>((left + right) / 2));
    }
  }
  return out;
}
