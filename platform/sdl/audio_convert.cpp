// Converts a sample to the mixer's 16-bit stereo frames at the output rate with SDL_AudioStream.
// Depends on SDL2 and platform/audio/output.h.
#include <SDL.h>

#include <algorithm>
#include <memory>

#include "platform/audio/output.h"

namespace {

// SDL_AudioStream drops the last 512 input frames of a resampled sound even after a flush;
// this much trailing silence keeps the real frames.
constexpr int kPadFrames = 1024;

struct audio_stream_deleter {
  void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};
using audio_stream_handle = std::unique_ptr<SDL_AudioStream, audio_stream_deleter>;

SDL_AudioFormat SdlFormat(int format) {
  switch (format) {
    case SF_MONO8:
    case SF_STEREO8: return AUDIO_U8;
    case SF_MONO16BE:
    case SF_STEREO16BE: return AUDIO_S16MSB;
    default: return AUDIO_S16LSB;
  }
}

}  // namespace

std::shared_ptr<const mixer_pcm> ConvertForMixer(const TAudioSample& sample, int output_hertz) {
  const int bytes = SampleFormatBytes(sample.format);
  if (bytes == 0 || sample.hertz <= 0 || output_hertz <= 0 || sample.length < 0) return nullptr;
  const int64_t frames = (int64_t{sample.length} * output_hertz + sample.hertz - 1) / sample.hertz;
  if (frames > kMaxMixerFrames) return nullptr;
  auto pcm = std::make_shared<mixer_pcm>(static_cast<size_t>(frames) * 2, int16_t{0});
  if (frames == 0) return pcm;

  const int channels = SampleFormatChannels(sample.format);
  audio_stream_handle stream(SDL_NewAudioStream(SdlFormat(sample.format), static_cast<Uint8>(channels), sample.hertz,
                                                AUDIO_S16SYS, 2, output_hertz));
  if (!stream) return nullptr;
  const std::vector<uint8_t> silence(static_cast<size_t>(kPadFrames) * bytes, bytes / channels == 1 ? 0x80 : 0);
  if (SDL_AudioStreamPut(stream.get(), sample.samples, sample.length * bytes) != 0 ||
      SDL_AudioStreamPut(stream.get(), silence.data(), static_cast<int>(silence.size())) != 0 ||
      SDL_AudioStreamFlush(stream.get()) != 0) {
    return nullptr;
  }
  // The padding yields extra silent frames past the sound's length; they are not kept.
  const int wanted = static_cast<int>(frames * 4);
  if (SDL_AudioStreamGet(stream.get(), pcm->data(), std::min(wanted, SDL_AudioStreamAvailable(stream.get()))) < 0) {
    return nullptr;
  }
  return pcm;
}
