// The software mixer: sums the playing voices into 16-bit stereo frames with per-voice volume,
// pan, pause and rate, clamping to 16 bits. Depends only on the C++ library.
// Mix runs in the audio callback and neither allocates nor frees; everything else runs on the
// main thread while the callback is locked out.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// Interleaved stereo 16-bit frames in native byte order.
using mixer_pcm = std::vector<int16_t>;

// One play of a sound. A channel keeps its voice between plays; the mixer holds it while it
// plays, so dropping the channel does not cut the sound.
struct mixer_voice {
  std::shared_ptr<const mixer_pcm> pcm;  // nullptr until the first play
  int64_t frames = 0;                    // frames in pcm
  int hertz = 0;                         // rate of pcm
  uint64_t pos = 0;                      // next frame, 16.16 fixed point
  uint32_t step = 0;                     // advance per output frame, 16.16 (from rate and hertz)
  int32_t gain_left = 0, gain_right = 0; // 16.16 (from volume and pan)
  float volume = 1, pan = 0, rate = 1;   // as the channel set them
  bool paused = false, loop = false, playing = false;
};

// Recomputes step and gains from volume, pan, rate and the rates of the voice and the output.
// Volume is clamped to 0..1, pan to -1..1, rate to 0..64 (NaN counts as 0).
void RetuneVoice(mixer_voice& voice, int output_hertz);

class TAudioMixer {
 public:
  // max_frames: the most frames one Mix call is expected to ask for (larger calls are split).
  explicit TAudioMixer(int max_frames);

  // Plays voice from its current settings: marks it playing and adds it to the mix if it is
  // not there. Drops finished voices first (their memory is freed here, not in the callback).
  void Start(const std::shared_ptr<mixer_voice>& voice);
  // Stops and drops every voice.
  void StopAll();
  // True while a voice is playing and not paused.
  bool Sounding() const;

  // Writes frames of the sum of the playing, unpaused voices to out (interleaved stereo).
  // A voice that runs past its end stops (or wraps when it loops).
  void Mix(int16_t* out, int frames);

 private:
  std::vector<std::shared_ptr<mixer_voice>> voices_;
  std::vector<int32_t> sum_;  // interleaved stereo accumulators
};
