// The click, the magic chime and the music, loaded on first use and obeying sound_on.
// Depends on platform/audio.h.
#include "platform/audio.h"
#include "shell/shell.h"

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
  if (!shell.prefs.sound_on) return;
  if (const auto& loaded = LoadOnce(sound, tried, path)) PlaySound(loaded, nullptr);
}

}  // namespace

void PlayClick() { PlayEffect(shell.sounds.click, shell.sounds.click_tried, "sounds/click.wav"); }

void PlayMagic() { PlayEffect(shell.sounds.magic, shell.sounds.magic_tried, "sounds/magic.wav"); }

void PlayMusic() {
  if (!shell.prefs.sound_on) return;
  auto& sounds = shell.sounds;
  const auto& music = LoadOnce(sounds.music, sounds.music_tried, "sounds/music.ogg");
  if (!music) return;
  if (!sounds.music_channel || !ChannelPlaying(sounds.music_channel))
    sounds.music_channel = PlaySound(music, nullptr);
  if (sounds.music_channel) SetChannelVolume(sounds.music_channel, kMusicVolume);
}

void StopMusic() {
  if (shell.sounds.music_channel && ChannelPlaying(shell.sounds.music_channel)) StopChannel(shell.sounds.music_channel);
}
