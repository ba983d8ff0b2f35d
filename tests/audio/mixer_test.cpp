// The software mixer heard through SDL's "disk" output, which writes the mixed 16-bit stereo
// frames at 44100 Hz to a file: conversion, summing, clamping, volume, pan, rate, stop, loop.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

#include "platform/audio.h"
#include "tests/audio/fixtures.h"
#include "tests/support/support.h"

namespace {

using channels = std::vector<std::shared_ptr<TChannel>>;
using namespace std::chrono_literals;

// Mixed output as interleaved left and right values.
struct output {
  std::vector<int16_t> values;

  int Frames() const { return static_cast<int>(values.size() / 2); }
  int Left(int frame) const { return values[2 * static_cast<size_t>(frame)]; }
  int Right(int frame) const { return values[2 * static_cast<size_t>(frame) + 1]; }
  int FirstSounding() const {
    for (int f = 0; f < Frames(); ++f) {
      if (Left(f) || Right(f)) return f;
    }
    return -1;
  }
  int Count(const std::function<bool(int, int)>& test) const {
    int n = 0;
    for (int f = 0; f < Frames(); ++f) n += test(Left(f), Right(f));
    return n;
  }
  int Sounding() const {
    return Count([](int l, int r) { return l || r; });
  }
  int Peak() const {
    int peak = 0;
    for (int16_t v : values) peak = std::max(peak, std::abs(int{v}));
    return peak;
  }
};

class DiskOutput : public testing::Test {
 protected:
  void SetUp() override { AudioShutdown(); }
  void TearDown() override { AudioShutdown(); }

  // Opens the disk output, runs play, waits (at most 5 s) until every channel it returned has
  // finished, closes the output and returns what it wrote.
  output Render(const std::function<channels()>& play) {
    const std::string path = dir_ / ("out" + std::to_string(++renders_) + ".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    EXPECT_TRUE(SetAudioDriver("SDL"));
    const channels playing = play();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    for (const auto& channel : playing) {
      while (ChannelPlaying(channel) && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
      EXPECT_FALSE(ChannelPlaying(channel));
    }
    std::this_thread::sleep_for(60ms);  // let the last mixed buffer reach the file
    AudioShutdown();
    setenv("SDL_AUDIODRIVER", "dummy", 1);  // sounds made between renders open no file
    const std::string bytes = ReadWholeFile(path);
    output out;
    out.values.resize(bytes.size() / 2);
    std::memcpy(out.values.data(), bytes.data(), out.values.size() * 2);
    return out;
  }

  // A stereo sound at the output's rate holding one value throughout.
  static std::shared_ptr<TSound> Level(int value, int frames, int flags = 0) {
    auto sample = TAudioSample::Create(frames, 44100, SF_STEREO16LE);
    auto* values = reinterpret_cast<int16_t*>(sample->samples);
    std::fill_n(values, 2 * frames, static_cast<int16_t>(value));
    return LoadSound(sample, flags);
  }

  temp_folder dir_;
  int renders_ = 0;
};

TEST_F(DiskOutput, SameRateSoundIsWrittenUnchanged) {
  auto sample = TAudioSample::Create(1000, 44100, SF_STEREO16LE);
  auto* values = reinterpret_cast<int16_t*>(sample->samples);
  for (int i = 0; i < 1000; ++i) {
    values[2 * i] = static_cast<int16_t>(1 + i * 13 % 20000);
    values[2 * i + 1] = static_cast<int16_t>(-values[2 * i]);
  }
  const output out = Render([&] { return channels{PlaySound(LoadSound(sample))}; });
  const int start = out.FirstSounding();
  ASSERT_GE(start, 0);
  ASSERT_GE(out.Frames(), start + 1000);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(out.Left(start + i), values[2 * i]) << i;
    ASSERT_EQ(out.Right(start + i), values[2 * i + 1]) << i;
  }
  EXPECT_EQ(out.Sounding(), 1000);
}

// 100 ms of mono 8-bit at 22050 Hz becomes 100 ms at 44100 Hz, its end included.
TEST_F(DiskOutput, OtherRatesAreResampledWhole) {
  auto sample = TAudioSample::Create(2205, 22050, SF_MONO8);
  std::memset(sample->samples, 0xc0, 2205);  // 64 above the 0x80 midpoint: 16384
  const output out = Render([&] { return channels{PlaySound(LoadSound(sample))}; });
  const int level = out.Count([](int l, int r) { return std::abs(l - 16384) <= 64 && l == r; });
  EXPECT_GE(level, 4390);
  EXPECT_LE(out.Sounding(), 4420);
}

TEST_F(DiskOutput, OverlappingPlaysSumAndClamp) {
  struct overlap {
    int value, peak;
  };
  for (const auto& c : {overlap{1000, 2000}, overlap{30000, 32767}, overlap{-30000, 32768}}) {
    auto sound = Level(c.value, 8820);
    const output out = Render([&] { return channels{PlaySound(sound), PlaySound(sound)}; });
    EXPECT_EQ(out.Peak(), c.peak) << c.value;
    // Clamped, never wrapped round to the other sign.
    EXPECT_EQ(out.Count([&](int l, int r) { return l * c.value < 0 || r * c.value < 0; }), 0) << c.value;
  }
}

TEST_F(DiskOutput, VolumePanAndRate) {
  struct setting {
    float volume, pan, rate;
    int left, right, frames;
  };
  const setting cases[] = {
      {1, 0, 1, 1000, 1000, 4410},     {0.5f, 0, 1, 500, 500, 4410}, {1, -1, 1, 1000, 0, 4410},
      {1, 1, 1, 0, 1000, 4410},        {1, 0.5f, 1, 500, 1000, 4410}, {1, 0, 2, 1000, 1000, 2205},
      {1, 0, 0.5f, 1000, 1000, 8820},  {7, -3, 1, 1000, 0, 4410},  // out of range: clamped
  };
  auto sound = Level(1000, 4410);
  for (const auto& c : cases) {
    const output out = Render([&] {
      auto channel = sound->Cue();
      channel->SetVolume(c.volume);
      channel->SetPan(c.pan);
      channel->SetRate(c.rate);
      channel->SetPaused(false);
      return channels{channel};
    });
    const int start = out.FirstSounding();
    ASSERT_GE(start, 0) << c.volume << " " << c.pan << " " << c.rate;
    EXPECT_EQ(out.Left(start + 100), c.left);
    EXPECT_EQ(out.Right(start + 100), c.right);
    EXPECT_NEAR(out.Sounding(), c.frames, 1) << c.volume << " " << c.pan << " " << c.rate;
  }
}

TEST_F(DiskOutput, SilentChannels) {
  auto sound = Level(1000, 4410);
  const output muted = Render([&] {
    auto channel = sound->Cue();
    SetChannelVolume(channel, 0);
    channel->SetPaused(false);
    return channels{channel};
  });
  EXPECT_EQ(muted.Sounding(), 0);

  const output stopped = Render([&] {
    auto channel = sound->Cue();
    StopChannel(channel);
    channel->SetPaused(false);
    return channels{channel};
  });
  EXPECT_EQ(stopped.Sounding(), 0);
}

TEST_F(DiskOutput, StopCutsAndPlayingEnds) {
  auto long_sound = Level(1000, 44100);
  const output cut = Render([&] {
    auto channel = PlaySound(long_sound);
    std::this_thread::sleep_for(100ms);
    EXPECT_TRUE(ChannelPlaying(channel));
    StopChannel(channel);
    EXPECT_FALSE(ChannelPlaying(channel));
    return channels{channel};
  });
  EXPECT_GT(cut.Sounding(), 0);
  EXPECT_LT(cut.Sounding(), 22050);

  // Replaying on the same channel restarts it rather than adding a second voice.
  auto short_sound = Level(1000, 2205);
  const output restarted = Render([&] {
    auto channel = PlaySound(short_sound);
    PlaySound(short_sound, channel);
    EXPECT_TRUE(ChannelPlaying(channel));
    return channels{channel};
  });
  EXPECT_EQ(restarted.Peak(), 1000);
}

TEST_F(DiskOutput, LoopingSoundRepeatsUntilStopped) {
  auto sound = Level(1000, 441, SOUND_LOOP);
  const output out = Render([&] {
    auto channel = PlaySound(sound);
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(ChannelPlaying(channel));
    StopChannel(channel);
    return channels{channel};
  });
  EXPECT_GT(out.Sounding(), 4 * 441);
}

}  // namespace
