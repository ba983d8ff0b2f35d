// Choosing the driver, the Null driver, and the SDL driver on SDL's silent "dummy" output.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/audio.h"
#include "tests/audio/fixtures.h"
#include "tests/support/support.h"

namespace {

class TTestDriver : public TAudioDriver {
 public:
  TTestDriver(std::string name, bool starts) : name_(std::move(name)), starts_(starts) {}
  std::string Name() override { return name_; }
  bool Startup() override {
    ++startups;
    return starts_;
  }
  void Shutdown() override { ++shutdowns; }

  int startups = 0, shutdowns = 0;

 private:
  std::string name_;
  bool starts_;
};

class AudioDrivers : public testing::Test {
 protected:
  void SetUp() override {
    AudioShutdown();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }
  void TearDown() override {
    AudioShutdown();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
  }

  // 50 ms of a quiet stereo tone at 44100 Hz.
  static std::shared_ptr<TAudioSample> ShortSample() {
    auto sample = TAudioSample::Create(2205, 44100, SF_STEREO16LE);
    for (int i = 0; i < sample->capacity; i += 2) sample->samples[i + 1] = 1;
    return sample;
  }
};

TEST_F(AudioDrivers, FirstUseChoosesSdlElseNull) {
  EXPECT_EQ(AudioDriver()->Name(), "SDL");
  EXPECT_EQ(AudioDriver(), AudioDriver());
  AudioShutdown();
  setenv("SDL_AUDIODRIVER", "no-such-output", 1);
  EXPECT_EQ(AudioDriver()->Name(), "Null");
}

TEST_F(AudioDrivers, SetAudioDriverIgnoresCaseAndFallsBackToNull) {
  TTestDriver good("Good", true), bad("Bad", false);
  struct choice {
    const char* name;
    bool ok;
    const char* current;
  };
  const choice choices[] = {{"good", true, "Good"}, {"GOOD", true, "Good"}, {"null", true, "Null"},
                            {"sDl", true, "SDL"},   {"bad", false, "Null"}, {"nothing", false, "Null"},
                            {"", false, "Null"},    {"Goo", false, "Null"}};
  for (const auto& c : choices) {
    EXPECT_EQ(SetAudioDriver(c.name), c.ok) << c.name;
    EXPECT_EQ(AudioDriver()->Name(), c.current) << c.name;
  }
  // Each switch shut the previous driver down, "good" to "GOOD" included.
  EXPECT_EQ(good.startups, 2);
  EXPECT_EQ(good.shutdowns, 2);
  EXPECT_EQ(bad.startups, 1);
}

TEST_F(AudioDrivers, DestroyedDriverLeavesTheList) {
  {
    TTestDriver temporary("Temporary", true);
    ASSERT_TRUE(SetAudioDriver("temporary"));
  }
  EXPECT_EQ(AudioDriver()->Name(), "Null");
  EXPECT_FALSE(SetAudioDriver("temporary"));
}

TEST_F(AudioDrivers, NullDriverAcceptsEverythingSilently) {
  ASSERT_TRUE(SetAudioDriver("Null"));
  temp_folder dir;
  auto sound = LoadSound(dir.Write("a.wav", WavBytes({.data = std::string(400, '\1')})), 0);
  ASSERT_NE(sound, nullptr);
  auto channel = PlaySound(sound);
  ASSERT_NE(channel, nullptr);
  channel->SetPaused(true);
  channel->SetPan(-1);
  channel->SetDepth(0.5f);
  channel->SetRate(2);
  SetChannelVolume(channel, 0.5f);
  EXPECT_FALSE(ChannelPlaying(channel));
  EXPECT_EQ(PlaySound(sound, channel), channel);
  StopChannel(channel);
  EXPECT_NE(sound->Cue(), nullptr);
}

TEST_F(AudioDrivers, NothingToLoadOrPlayIsIgnored) {
  temp_folder dir;
  for (const char* driver : {"Null", "SDL"}) {
    ASSERT_TRUE(SetAudioDriver(driver));
    EXPECT_EQ(LoadSound(dir / "missing.wav"), nullptr) << driver;
    EXPECT_EQ(LoadSound(dir.Write("bad.wav", "RIFF....WAVEfmt ")), nullptr) << driver;
    EXPECT_EQ(LoadSound(std::shared_ptr<TAudioSample>()), nullptr) << driver;
    EXPECT_EQ(LoadSound(std::shared_ptr<TStream>()), nullptr) << driver;
    EXPECT_EQ(PlaySound(nullptr), nullptr);
    StopChannel(nullptr);
    SetChannelVolume(nullptr, 1);
    EXPECT_FALSE(ChannelPlaying(nullptr));
  }
}

TEST_F(AudioDrivers, DummyOutputPlaysOverlappingChannels) {
  ASSERT_EQ(AudioDriver()->Name(), "SDL");
  auto sound = LoadSound(ShortSample());
  ASSERT_NE(sound, nullptr);
  auto first = PlaySound(sound);
  auto second = PlaySound(sound);
  ASSERT_NE(first, second);
  EXPECT_TRUE(ChannelPlaying(first));
  EXPECT_TRUE(ChannelPlaying(second));
  StopChannel(first);
  EXPECT_FALSE(ChannelPlaying(first));
  EXPECT_TRUE(ChannelPlaying(second));
  EXPECT_EQ(PlaySound(sound, first), first);  // a stopped channel plays again
  EXPECT_TRUE(ChannelPlaying(first));

  // Paused voices still count as playing; a channel of another driver is replaced.
  auto cued = sound->Cue();
  EXPECT_TRUE(ChannelPlaying(cued));
  auto foreign = std::make_shared<TChannel>();
  auto replaced = PlaySound(sound, foreign);
  EXPECT_NE(replaced, foreign);
  EXPECT_TRUE(ChannelPlaying(replaced));
}

// Sounds and channels outlive the driver's output: afterwards they are silent, not broken.
TEST_F(AudioDrivers, SoundsOutliveTheirOutput) {
  ASSERT_EQ(AudioDriver()->Name(), "SDL");
  auto sound = LoadSound(ShortSample(), SOUND_LOOP);
  auto channel = PlaySound(sound);
  ASSERT_TRUE(ChannelPlaying(channel));
  AudioShutdown();
  EXPECT_FALSE(ChannelPlaying(channel));
  channel->SetVolume(0.5f);
  EXPECT_FALSE(ChannelPlaying(sound->Play(channel)));
  EXPECT_FALSE(ChannelPlaying(sound->Play()));

  // Once the output is open again the same sound plays.
  ASSERT_EQ(AudioDriver()->Name(), "SDL");
  EXPECT_TRUE(ChannelPlaying(PlaySound(sound, channel)));
}

}  // namespace
