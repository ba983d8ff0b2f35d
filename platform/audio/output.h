// What the SDL output driver (platform/sdl/audio_*.cpp) provides to the rest of the module.
// Declared without SDL so that platform/audio stays free of it.
#pragma once

#include "platform/audio.h"
#include "platform/audio/mixer.h"

// The SDL output driver, named "SDL"; created on the first call and kept for the process.
TAudioDriver& SDLAudioDriver();

// The sample converted to the mixer's layout at output_hertz, or nullptr when the sample has
// an invalid format or rate, or would exceed kMaxMixerFrames once converted.
std::shared_ptr<const mixer_pcm> ConvertForMixer(const TAudioSample& sample, int output_hertz);

// About 25 minutes at 44100 Hz (256 MiB): a longer sound is refused rather than allocated,
// so that a file with a tiny sample rate cannot expand without bound.
constexpr int64_t kMaxMixerFrames = int64_t{1} << 26;
