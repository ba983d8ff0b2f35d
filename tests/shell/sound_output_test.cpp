// What the player hears, checked on the mixed output: the program runs with SDL's disk audio
// driver, which writes every mixed buffer to a file as signed 16-bit stereo, and the samples
// there must hold the music after start-up, the click after a join, and silence with sound off.
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "tests/shell/game_fixture.h"

using namespace shell_test;
using namespace std::chrono_literals;

namespace {

// A mono 16-bit WAV at 22050 Hz: a 441 Hz sine of the given amplitude (smooth, so that
// resampling keeps its peak), then 600 silent frames
// (the converter keeps back the last 512 input frames).
void WriteTone(const fs::path& path, int frames, int amplitude) {
  std::string bytes = "RIFF....WAVEfmt ";
  auto put = [&](uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes += char((v >> (8 * i)) & 255);
  };
  put(16, 4), put(1, 2), put(1, 2), put(22050, 4), put(44100, 4), put(2, 2), put(16, 2);
  bytes += "data";
  put((frames + 600) * 2, 4);
  for (int i = 0; i < frames; ++i)
    put(static_cast<uint16_t>(std::lround(amplitude * std::sin(2 * M_PI * 441 * i / 22050))), 2);
  bytes.append(600 * 2, '\0');
  WriteWholeFile(path, bytes);
}

constexpr int kClickAmplitude = 9000, kMusicAmplitude = 3000;

class Heard : public Game {
 protected:
  void WriteFiles() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (fs::current_path() / "mixed.raw").c_str(), 1);
    WriteTone("sounds/click.wav", 2205, kClickAmplitude);
    WriteMoreFiles();
  }
  virtual void WriteMoreFiles() {}
  void TearDown() override {
    Game::TearDown();  // shuts the audio driver down, closing the file
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("SDL_DISKAUDIOFILE");
  }

  // Loudest sample written since byte offset `from`, after giving the driver time to write.
  static int PeakSince(size_t from, size_t* end = nullptr) {
    std::this_thread::sleep_for(400ms);
    std::string raw = ReadWholeFile("mixed.raw");
    int peak = 0;
    for (size_t i = from & ~size_t{1}; i + 1 < raw.size(); i += 2)
      peak = std::max(peak, std::abs(static_cast<int16_t>(uint8_t(raw[i]) | uint8_t(raw[i + 1]) << 8)));
    if (end) *end = raw.size();
    return peak;
  }
  // Pieces 2 and 3 of the 2 x 2 opening jigsaw put down beside their neighbours: one drop of
  // piece 1 beside both makes two links at once, so two clicks start together.
  static void JoinTwice() {
    for (int i = 1; i <= 4; ++i) {
      piece_type& p = play.pieces[i];
      p.gp = 0, p.a = 0, p.visible = 1;
    }
    play.last_group = 0;
    play.pieces[1].x = 100, play.pieces[1].y = 100;
    play.pieces[2].x = 542, play.pieces[2].y = 300;  // home offsets: 2 is 40 right of 1
    play.pieces[3].x = 502, play.pieces[3].y = 340;  // 3 is 40 below 1
    play.pieces[4].x = 700, play.pieces[4].y = 500;
    MoveTo(100, 100);
    Click();
    ASSERT_EQ(play.dragged, 1);
    MoveTo(502, 300);
    Click();
    ASSERT_EQ(play.pieces[1].gp, play.pieces[3].gp);
    ASSERT_EQ(play.pieces[1].gp, play.pieces[2].gp);
  }
};

TEST_F(Heard, AJoinClicksAndTwoLinksAtOnceClickTogether) {
  FinishOpeningFlight();
  EXPECT_EQ(PeakSince(0), 0);  // no music file: silence so far
  JoinTwice();
  // From the file's start: a resting output, woken by the clicks, begins its file again.
  int peak = PeakSince(0);
  // Two clicks mixed together reach about twice one click.
  EXPECT_GT(peak, kClickAmplitude * 3 / 2);
  EXPECT_LE(peak, 2 * kClickAmplitude + 200);
}

// The mixed samples from the first one that is not silent, n of them (fewer if the file ends).
std::vector<int16_t> FromFirstSound(const std::string& raw, size_t n) {
  std::vector<int16_t> samples;
  for (size_t i = 0; i + 1 < raw.size() && samples.size() < n; i += 2) {
    const auto sample = static_cast<int16_t>(uint8_t(raw[i]) | uint8_t(raw[i + 1]) << 8);
    if (sample != 0 || !samples.empty()) samples.push_back(sample);
  }
  return samples;
}

// Once nothing sounds the output rests with the loop (the disk driver then writes nothing), and
// the next sound wakes it: the file, begun afresh, opens with that sound, its start intact.
TEST_F(Heard, TheOutputRestsWhileSilentAndTheNextSoundStartsWhole) {
  FinishOpeningFlight();
  size_t before = 0;
  PeakSince(0, &before);
  PlayClick();
  PeakSince(before);
  const std::vector<int16_t> click = FromFirstSound(ReadWholeFile("mixed.raw").substr(before), 4000);
  ASSERT_EQ(click.size(), 4000u);

  // Still turns, each ended by a tick, until the loop rests.
  for (int i = 0; i < 5 && !shell.frame_timer->_paused; ++i) {
    TEvent::Create(EVENT_TIMERTICK, shell.frame_timer, 0)->Emit();
    LoopTurn();
  }
  EXPECT_FALSE(AudioSounding());
  size_t resting = 0, later = 0;
  PeakSince(0, &resting);
  PeakSince(0, &later);
  EXPECT_EQ(later, resting) << "a resting output writes nothing";

  PlayClick();
  PeakSince(0);
  const std::string woken = ReadWholeFile("mixed.raw");
  ASSERT_LT(woken.size(), later) << "reopened, the disk driver starts its file again";
  EXPECT_LT(woken.find_first_not_of('\0'), 4096u) << "the sound starts in the first buffer";
  EXPECT_EQ(FromFirstSound(woken, 4000), click);
}

class HeardMusic : public Heard {
 protected:
  // Longer than the opening flight.
  void WriteMoreFiles() override { WriteTone("sounds/music.ogg", 22050 * 10, kMusicAmplitude); }
};

TEST_F(HeardMusic, TheMusicPlaysFromStartUpAndACompletionDoesNotRestartIt) {
  int peak = PeakSince(0);
  EXPECT_GT(peak, kMusicAmplitude / 2);
  EXPECT_LT(peak, kMusicAmplitude * 3 / 2);
  FinishOpeningFlight();
  auto channel = game.sounds.music_channel;
  ASSERT_TRUE(ChannelPlaying(channel));
  play.completion_handled = 0;  // the opening jigsaw lies complete: the next turn completes it
  Turn();
  EXPECT_EQ(game.screen, "anim");
  EXPECT_EQ(game.sounds.music_channel, channel);
}

class HeardNothing : public HeardMusic {
  void WriteMoreFiles() override {
    HeardMusic::WriteMoreFiles();
    WriteWholeFile("players/default/prefer.txt", "0\r\n0\r\n0\r\n");
  }
};

TEST_F(HeardNothing, SoundOffOpensNoSoundFileAndStaysSilent) {
  FinishOpeningFlight();
  JoinTwice();
  EXPECT_EQ(PeakSince(0), 0);
  EXPECT_FALSE(game.sounds.click_tried || game.sounds.music_tried || game.sounds.magic_tried);
}

}  // namespace
