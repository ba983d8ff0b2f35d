// The "SDL" audio driver: one SDL audio device in 16-bit stereo, fed by the software mixer from
// the device's callback. Depends on SDL2, platform/audio/output.h and platform/audio/mixer.h.
// Voice state shared with the callback is touched only under SDL_LockAudioDevice.
#include <SDL.h>

#include <utility>

#include "platform/audio/output.h"

namespace {

constexpr int kWantedHertz = 44100;
constexpr int kWantedFrames = 1024;  // per callback: about 23 ms at 44100 Hz

class TSDLAudioDriver;

// Keeps the audio callback out while it lives; does nothing when no device is open.
class device_lock {
 public:
  explicit device_lock(SDL_AudioDeviceID device) : device_(device) {
    if (device_) SDL_LockAudioDevice(device_);
  }
  ~device_lock() {
    if (device_) SDL_UnlockAudioDevice(device_);
  }
  device_lock(const device_lock&) = delete;
  device_lock& operator=(const device_lock&) = delete;

 private:
  SDL_AudioDeviceID device_;
};

// The open device with the audio subsystem reference it needs. Move-only. A resting device is
// closed (SDL keeps a paused device's thread waking every buffer) but keeps the subsystem and
// its spec, and reopens with exactly that spec.
class audio_device_handle {
 public:
  audio_device_handle() = default;
  audio_device_handle(audio_device_handle&& other) noexcept
      : id_(std::exchange(other.id_, 0)), resting_(std::exchange(other.resting_, false)), spec_(other.spec_) {}
  audio_device_handle& operator=(audio_device_handle&& other) noexcept {
    if (this != &other) {
      Close();
      id_ = std::exchange(other.id_, 0);
      resting_ = std::exchange(other.resting_, false);
      spec_ = other.spec_;
    }
    return *this;
  }
  ~audio_device_handle() { Close(); }

  // Opens the default output, playing; hertz receives the rate SDL chose. False when there is none.
  bool Open(SDL_AudioCallback callback, void* user, int& hertz, int& frames) {
    Close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = kWantedHertz;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kWantedFrames;
    want.callback = callback;
    want.userdata = user;
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &spec_, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (!id_) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    hertz = spec_.freq;
    frames = spec_.samples;
    SDL_PauseAudioDevice(id_, 0);
    return true;
  }

  // Waits for a running callback to return, so nothing mixes afterwards.
  void Close() {
    const bool had_subsystem = id_ || resting_;
    Rest();
    resting_ = false;
    if (had_subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  void Rest() {
    if (!id_) return;
    SDL_CloseAudioDevice(std::exchange(id_, 0));
    resting_ = true;
  }

  // Reopens a resting device, paused, so that the caller sets its voices before the first
  // buffer is mixed; then Play. False when it cannot be reopened (it stays resting).
  bool Reopen() {
    if (!resting_) return false;
    SDL_AudioSpec want = spec_, have{};
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);  // no change: sounds fit this spec
    if (id_) resting_ = false;
    return id_ != 0;
  }

  void Play() {
    if (id_) SDL_PauseAudioDevice(id_, 0);
  }

  bool resting() const { return resting_; }
  SDL_AudioDeviceID id() const { return id_; }

 private:
  SDL_AudioDeviceID id_ = 0;
  bool resting_ = false;
  SDL_AudioSpec spec_{};
};

class TSDLChannel : public TChannel {
 public:
  explicit TSDLChannel(TSDLAudioDriver& driver) : driver_(driver) {}
  void Stop() override;
  void SetPaused(bool paused) override;
  void SetVolume(float volume) override;
  void SetPan(float pan) override;
  void SetRate(float rate) override;
  bool Playing() override;

  TSDLAudioDriver& driver_;
  const std::shared_ptr<mixer_voice> voice_ = std::make_shared<mixer_voice>();
};

class TSDLSound : public TSound {
 public:
  TSDLSound(TSDLAudioDriver& driver, std::shared_ptr<const mixer_pcm> pcm, int hertz, bool loop)
      : driver_(driver), pcm_(std::move(pcm)), hertz_(hertz), loop_(loop) {}
  std::shared_ptr<TChannel> Play(const std::shared_ptr<TChannel>& channel) override;
  std::shared_ptr<TChannel> Cue(const std::shared_ptr<TChannel>& channel) override;

 private:
  std::shared_ptr<TChannel> Start(const std::shared_ptr<TChannel>& channel, bool paused);

  TSDLAudioDriver& driver_;
  const std::shared_ptr<const mixer_pcm> pcm_;
  const int hertz_;
  const bool loop_;
};

class TSDLAudioDriver : public TAudioDriver {
 public:
  ~TSDLAudioDriver() override { Shutdown(); }

  std::string Name() override { return "SDL"; }

  bool Startup() override {
    if (device_.id()) return true;
    int frames = 0;
    if (!device_.Open(&TSDLAudioDriver::Callback, this, output_hertz_, frames)) return false;
    mixer_ = std::make_unique<TAudioMixer>(frames);
    return true;
  }

  void Shutdown() override {
    device_.Close();
    if (mixer_) mixer_->StopAll();
    mixer_.reset();
  }

  std::shared_ptr<TSound> CreateSound(const std::shared_ptr<TAudioSample>& sample, int flags) override {
    if (!sample) return nullptr;
    auto pcm = ConvertForMixer(*sample, output_hertz_);
    if (!pcm) return nullptr;
    return std::make_shared<TSDLSound>(*this, std::move(pcm), output_hertz_, (flags & SOUND_LOOP) != 0);
  }

  std::shared_ptr<TChannel> AllocChannel() override { return std::make_shared<TSDLChannel>(*this); }

  // Points the channel's voice at pcm from the start and plays it. Without an open device the
  // channel stays silent.
  void Start(TSDLChannel& channel, const std::shared_ptr<const mixer_pcm>& pcm, int hertz, bool loop, bool paused) {
    {
      device_lock lock(device_.id());
      mixer_voice& voice = *channel.voice_;
      voice.playing = false;
      if (!mixer_) return;
      voice.pcm = pcm;
      voice.frames = static_cast<int64_t>(pcm->size() / 2);
      voice.hertz = hertz;
      voice.loop = loop;
      voice.paused = paused;
      voice.pos = 0;
      RetuneVoice(voice, output_hertz_);
      mixer_->Start(channel.voice_);
    }
    WakeIfSounding();
  }

  // Runs change on the voice with the callback locked out, then retunes it.
  template <typename Change>
  void Update(mixer_voice& voice, Change change) {
    {
      device_lock lock(device_.id());
      change(voice);
      RetuneVoice(voice, output_hertz_);
    }
    WakeIfSounding();  // a paused voice that plays on
  }

  bool Sounding() override {
    device_lock lock(device_.id());
    return mixer_ && mixer_->Sounding();
  }

  void Rest() override {
    if (!Sounding()) device_.Rest();
  }

  bool Playing(const mixer_voice& voice) {
    device_lock lock(device_.id());
    return voice.playing;
  }

 private:
  // The resting device reopened for a voice that sounds: its first buffer starts the voice
  // at the frame it was set to, so nothing of its start is lost.
  void WakeIfSounding() {
    if (!device_.resting() || !mixer_ || !mixer_->Sounding()) return;
    if (device_.Reopen()) device_.Play();
  }

  static void SDLCALL Callback(void* user, Uint8* stream, int bytes) {
    auto* driver = static_cast<TSDLAudioDriver*>(user);
    driver->mixer_->Mix(reinterpret_cast<int16_t*>(stream), bytes / 4);
  }

  audio_device_handle device_;
  std::unique_ptr<TAudioMixer> mixer_;  // present while the device is open
  int output_hertz_ = kWantedHertz;     // the open device's rate, or the last one
};

void TSDLChannel::Stop() {
  driver_.Update(*voice_, [](mixer_voice& v) { v.playing = false; });
}
void TSDLChannel::SetPaused(bool paused) {
  driver_.Update(*voice_, [paused](mixer_voice& v) { v.paused = paused; });
}
void TSDLChannel::SetVolume(float volume) {
  driver_.Update(*voice_, [volume](mixer_voice& v) { v.volume = volume; });
}
void TSDLChannel::SetPan(float pan) {
  driver_.Update(*voice_, [pan](mixer_voice& v) { v.pan = pan; });
}
void TSDLChannel::SetRate(float rate) {
  driver_.Update(*voice_, [rate](mixer_voice& v) { v.rate = rate; });
}
bool TSDLChannel::Playing() { return driver_.Playing(*voice_); }

std::shared_ptr<TChannel> TSDLSound::Play(const std::shared_ptr<TChannel>& channel) { return Start(channel, false); }

std::shared_ptr<TChannel> TSDLSound::Cue(const std::shared_ptr<TChannel>& channel) { return Start(channel, true); }

std::shared_ptr<TChannel> TSDLSound::Start(const std::shared_ptr<TChannel>& channel, bool paused) {
  // A channel of another driver cannot carry this sound: play on one of ours instead.
  auto ours = std::dynamic_pointer_cast<TSDLChannel>(channel);
  if (!ours || &ours->driver_ != &driver_) ours = std::make_shared<TSDLChannel>(driver_);
  driver_.Start(*ours, pcm_, hertz_, loop_, paused);
  return ours;
}

}  // namespace

TAudioDriver& SDLAudioDriver() {
  static TSDLAudioDriver driver;
  return driver;
}
