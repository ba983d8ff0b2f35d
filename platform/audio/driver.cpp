// The driver list, the choice of the current driver, the Null driver's sounds and channels,
// and the free functions the game calls. Depends on state.h and output.h (the SDL driver).
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/audio/output.h"
#include "platform/audio/state.h"

constinit audio_state audio_module;

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) == std::tolower(y);
  });
}

}  // namespace

TAudioDriver::TAudioDriver() { LinkAtHead(audio_module.drivers.head, this); }

TAudioDriver::~TAudioDriver() {
  Unlink(audio_module.drivers.head, this);
  if (audio_module.drivers.null_driver == this) audio_module.drivers.null_driver = nullptr;
  if (audio_module.drivers.current == this) audio_module.drivers.current = audio_module.drivers.null_driver;
}

std::shared_ptr<TSound> TAudioDriver::CreateSound(const std::shared_ptr<TAudioSample>& sample, int /*flags*/) {
  if (!sample || SampleFormatBytes(sample->format) == 0 || sample->hertz <= 0) return nullptr;
  return std::make_shared<TSound>();
}

std::shared_ptr<TChannel> TAudioDriver::AllocChannel() { return std::make_shared<TChannel>(); }

std::shared_ptr<TSound> TAudioDriver::LoadSound(const audio_source& source, int flags) {
  std::shared_ptr<TAudioSample> sample;
  if (auto* path = std::get_if<std::string>(&source)) {
    sample = LoadAudioSample(*path);
  } else if (auto* stream = std::get_if<std::shared_ptr<TStream>>(&source)) {
    sample = LoadAudioSample(*stream);
  } else {
    sample = std::get<std::shared_ptr<TAudioSample>>(source);
  }
  if (!sample) return nullptr;
  return CreateSound(sample, flags);
}

std::shared_ptr<TChannel> TSound::Play(const std::shared_ptr<TChannel>& channel) {
  return channel ? channel : std::make_shared<TChannel>();
}

std::shared_ptr<TChannel> TSound::Cue(const std::shared_ptr<TChannel>& channel) { return Play(channel); }

std::shared_ptr<TSound> TSound::Load(const audio_source& source, int flags) {
  return AudioDriver()->LoadSound(source, flags);
}

void AudioStartup() {
  if (audio_module.started) return;
  audio_module.started = true;
  // Process-lifetime objects. The loader made last heads the chain: WAV is tried before Ogg
  // because it refuses foreign data after four bytes.
  static TAudioSampleLoaderOGG ogg_loader;
  static TAudioSampleLoaderWAV wav_loader;
  static TAudioDriver null_driver;
  audio_module.drivers.null_driver = &null_driver;
  SDLAudioDriver();
  std::atexit(AudioShutdown);
}

void AudioShutdown() {
  if (audio_module.drivers.current) audio_module.drivers.current->Shutdown();
  audio_module.drivers.current = nullptr;
}

bool SetAudioDriver(const std::string& name) {
  AudioStartup();
  if (audio_module.drivers.current) audio_module.drivers.current->Shutdown();
  audio_module.drivers.current = audio_module.drivers.null_driver;
  for (TAudioDriver* driver = audio_module.drivers.head; driver; driver = driver->_succ) {
    if (!EqualIgnoringCase(driver->Name(), name)) continue;
    if (!driver->Startup()) return false;
    audio_module.drivers.current = driver;
    return true;
  }
  return false;
}

TAudioDriver* AudioDriver() {
  AudioStartup();
  if (!audio_module.drivers.current && !SetAudioDriver("SDL")) SetAudioDriver("Null");
  return audio_module.drivers.current;
}

std::shared_ptr<TSound> LoadSound(const audio_source& source, int flags) { return TSound::Load(source, flags); }

std::shared_ptr<TChannel> PlaySound(const std::shared_ptr<TSound>& sound, const std::shared_ptr<TChannel>& channel) {
  if (!sound) return nullptr;
  return sound->Play(channel ? channel : AudioDriver()->AllocChannel());
}

// Neither chooses a driver: without one nothing sounds and nothing needs to rest.
bool AudioSounding() { return audio_module.drivers.current && audio_module.drivers.current->Sounding(); }

void RestAudio() {
  if (audio_module.drivers.current) audio_module.drivers.current->Rest();
}

void StopChannel(const std::shared_ptr<TChannel>& channel) {
  if (channel) channel->Stop();
}

bool ChannelPlaying(const std::shared_ptr<TChannel>& channel) { return channel && channel->Playing(); }

void SetChannelVolume(const std::shared_ptr<TChannel>& channel, float volume) {
  if (channel) channel->SetVolume(volume);
}
