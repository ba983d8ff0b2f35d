// The click, the magic chime and the music, loaded on first use and obeying sound_on.
// Depends on platform/audio.h.
#include "game/game.h"
#include "platform/audio.h"

namespace {

constexpr float kMusicVolume = 1.0f;

// Loads the sound once; a failed load is remembered so the file is not read again.
const std::shared_ptr<TSound>& LoadOnce(std::shared_ptr<TSound>& sound, bool& tried, const char* path) {
  if (!tried) {
    tried = true;
    sound = LoadSound(path, 0);
  }
  return sound;
}

void PlayEffect(std::shared_ptr<TSound>& sound, bool& tried, const char* path) {
  if (!game.prefs.sound_on) return;
  if (const auto& loaded = LoadOnce(sound, tried, path)) PlaySound(loaded, nullptr);
}

}  // namespace

void PlayClick() { PlayEffect(game.sounds.click, game.sounds.click_tried, "sounds/click.wav"); }

void PlayMagic() { PlayEffect(game.sounds.magic, game.sounds.magic_tried, "sounds/magic.wav"); }

void PlayMusic() {
  if (!game.prefs.sound_on) return;
  auto& sounds = game.sounds;
  const auto& music = LoadOnce(sounds.music, sounds.music_tried, "sounds/music.ogg");
  if (!music) return;
  if (!sounds.music_channel || !ChannelPlaying(sounds.music_channel))
    sounds.music_channel = PlaySound(music, nullptr);
  if (sounds.music_channel) SetChannelVolume(sounds.music_channel, kMusicVolume);
}

void StopMusic() {
  if (game.sounds.music_channel && ChannelPlaying(game.sounds.music_channel)) StopChannel(game.sounds.music_channel);
}
