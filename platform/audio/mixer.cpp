// The software mixer: voice bookkeeping on the main thread, summing in the audio callback.
// Depends on mixer.h.
#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kUnity = 65536.0;  // 1.0 in 16.16 fixed point

float Clamp(float value, float low, float high) {
  if (!(value >= low)) return low;  // NaN too
  return std::min(value, high);
}

int32_t Gain(double g) { return static_cast<int32_t>(std::lround(g * kUnity)); }

// Adds frames of one voice to sum; stops the voice at its end unless it loops.
void AddVoice(mixer_voice& v, int32_t* sum, int frames) {
  if (v.frames <= 0) {
    v.playing = false;
    return;
  }
  const int16_t* pcm = v.pcm->data();
  const uint64_t end = static_cast<uint64_t>(v.frames) << 16;
  for (int i = 0; i < frames; ++i) {
    const uint64_t frame = v.pos >> 16;
    sum[2 * i] += static_cast<int32_t>((int64_t{pcm[2 * frame]} * v.gain_left) >> 16);
    sum[2 * i + 1] += static_cast<int32_t>((int64_t{pcm[2 * frame + 1]} * v.gain_right) >> 16);
    v.pos += v.step;
    if (v.pos >= end) {
      if (!v.loop) {
        v.playing = false;
        return;
      }
      v.pos %= end;
    }
  }
}

}  // namespace

void RetuneVoice(mixer_voice& voice, int output_hertz) {
  const float volume = Clamp(voice.volume, 0, 1);
  const float pan = Clamp(voice.pan, -1, 1);
  const float rate = Clamp(voice.rate, 0, 64);
  voice.gain_left = Gain(volume * (pan > 0 ? 1 - pan : 1));
  voice.gain_right = Gain(volume * (pan < 0 ? 1 + pan : 1));
  const double step = output_hertz > 0 ? double{rate} * voice.hertz / output_hertz * kUnity : 0;
  voice.step = static_cast<uint32_t>(std::min(std::llround(step), static_cast<long long>(UINT32_MAX)));
}

TAudioMixer::TAudioMixer(int max_frames) : sum_(2 * static_cast<size_t>(std::max(max_frames, 1))) {}

void TAudioMixer::Start(const std::shared_ptr<mixer_voice>& voice) {
  std::erase_if(voices_, [](const auto& v) { return !v->playing; });
  voice->playing = true;
  if (std::find(voices_.begin(), voices_.end(), voice) == voices_.end()) voices_.push_back(voice);
}

void TAudioMixer::StopAll() {
  for (auto& v : voices_) v->playing = false;
  voices_.clear();
}

bool TAudioMixer::Sounding() const {
  return std::any_of(voices_.begin(), voices_.end(), [](const auto& v) { return v->playing && !v->paused; });
}

void TAudioMixer::Mix(int16_t* out, int frames) {
  const int chunk = static_cast<int>(sum_.size() / 2);
  for (int done = 0; done < frames; done += chunk) {
    const int n = std::min(chunk, frames - done);
    std::fill_n(sum_.begin(), 2 * n, 0);
    for (auto& v : voices_) {
      if (v->playing && !v->paused) AddVoice(*v, sum_.data(), n);
    }
    for (int i = 0; i < 2 * n; ++i) {
      out[2 * done + i] = static_cast<int16_t>(std::clamp(sum_[i], int32_t{-32768}, int32_t{32767}));
    }
  }
}
