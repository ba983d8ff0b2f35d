// Sound files made in the tests: WAV bytes from a description and Ogg Vorbis bytes from
// vorbisenc. Depends on vorbisenc.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Little-endian fields as bytes.
std::string Le16(int value);
std::string Le32(uint32_t value);

struct wav_spec {
  int tag = 1;  // 1 PCM, 3 floating point
  int channels = 2;
  int hertz = 44100;
  int bits = 16;
  std::string fmt_extra = {};  // bytes after the 16 standard fmt bytes (the fmt size grows with it)
  std::vector<std::pair<std::string, std::string>> chunks = {};  // id and body, before "data"
  std::string data = {};
  int64_t data_size = -1;  // the size field of "data"; -1 for data.size()
};

// A RIFF WAVE file; chunk bodies of odd size get their pad byte.
std::string WavBytes(const wav_spec& spec);

// An Ogg Vorbis file holding frames frames of a 440 Hz sine at half amplitude.
std::string OggBytes(int channels, int hertz, int frames);
