// The sound helpers over the real audio module (SDL's dummy output): loading on first use,
// sound_on, missing files, music that is not restarted while it plays.
#include <gtest/gtest.h>

#include "tests/shell/fixture.h"

using namespace shell_test;

namespace {

// A mono 16-bit WAV of `frames` silent frames at 22050 Hz.
void WriteWav(const fs::path& path, int frames) {
  std::string bytes = "RIFF....WAVEfmt ";
  auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes += char((v >> (8 * i)) & 255);
  };
  put(16, 4), put(1, 2), put(1, 2), put(22050, 4), put(44100, 4), put(2, 2), put(16, 2);
  bytes += "data";
  put(frames * 2, 4);
  bytes += std::string(frames * 2, '\0');
  WriteWholeFile(path, bytes);
}

class Sounds : public ::testing::Test {
 protected:
  void SetUp() override { ResetGame(); }
  void TearDown() override { ResetGame(); }
  temp_working_folder dir_;
};

TEST_F(Sounds, SoundOffOpensNoFile) {
  WriteWav("sounds/click.wav", 100);
  game.prefs.sound_on = 0;
  PlayClick();
  PlayMagic();
  PlayMusic();
  EXPECT_FALSE(game.sounds.click_tried || game.sounds.magic_tried || game.sounds.music_tried);
  StopMusic();
}

TEST_F(Sounds, MissingSoundsAreSkippedAndNotRetried) {
  PlayClick();
  PlayMusic();
  EXPECT_TRUE(game.sounds.click_tried);
  EXPECT_EQ(game.sounds.click, nullptr);
  EXPECT_EQ(game.sounds.music_channel, nullptr);
  WriteWav("sounds/click.wav", 100);
  PlayClick();
  EXPECT_EQ(game.sounds.click, nullptr);
  StopMusic();
}

TEST_F(Sounds, MusicPlayingIsNotRestartedAndStopsOnlyWhenAsked) {
  WriteWav("sounds/music.ogg", 22050 * 5);  // decoded by content, whatever the name
  PlayMusic();
  auto channel = game.sounds.music_channel;
  ASSERT_NE(channel, nullptr);
  EXPECT_TRUE(ChannelPlaying(channel));
  game.prefs.sound_on = 0;
  PlayMusic();
  EXPECT_TRUE(ChannelPlaying(channel));
  game.prefs.sound_on = 1;
  PlayMusic();
  EXPECT_EQ(game.sounds.music_channel, channel);
  StopMusic();
  EXPECT_FALSE(ChannelPlaying(channel));
  PlayMusic();
  EXPECT_NE(game.sounds.music_channel, channel);
  EXPECT_TRUE(ChannelPlaying(game.sounds.music_channel));
}

}  // namespace
