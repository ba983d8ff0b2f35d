// Audio playback: PCM samples and their decoders (WAV, Ogg Vorbis), sounds and channels of an
// audio driver, and the choice of driver. Depends on files/files.h for streams; the SDL output
// driver is in platform/sdl/audio_*.cpp. Call everything from the main thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

class TStream;

// Sample formats. Bytes per frame: 1, 2, 2, 2, 4, 4.
enum : int {
  SF_MONO8 = 1,        // mono, 8-bit unsigned
  SF_MONO16LE = 2,     // mono, 16-bit signed little-endian
  SF_MONO16BE = 3,     // mono, 16-bit signed big-endian
  SF_STEREO8 = 4,      // stereo, 8-bit unsigned, interleaved
  SF_STEREO16LE = 5,   // stereo, 16-bit signed little-endian, interleaved
  SF_STEREO16BE = 6,   // stereo, 16-bit signed big-endian, interleaved
};

// Bytes per frame and channels of a sample format; 0 for a format outside 1..6.
int SampleFormatBytes(int format);
int SampleFormatChannels(int format);

// Sound flags. The game passes 0.
enum : int {
  SOUND_LOOP = 1,       // repeat until stopped
  SOUND_HARDWARE = 2,   // accepted and ignored: every voice is mixed in software
};

// A block of PCM frames. Not copyable: use Copy().
class TAudioSample {
 public:
  uint8_t* samples = nullptr;  // the PCM data
  int length = 0;              // frames
  int hertz = 0;               // frames per second
  int format = 0;              // SF_*
  int capacity = 0;            // bytes at samples (length * bytes per frame)

  // Allocates length frames of zero bytes. Asserts a valid format and length >= 0;
  // throws std::bad_alloc when the memory cannot be had.
  static std::shared_ptr<TAudioSample> Create(int length, int hertz, int format);
  // Wraps memory the caller owns and keeps alive for the sample's whole life.
  static std::shared_ptr<TAudioSample> CreateStatic(uint8_t* samples, int length, int hertz, int format);
  // A deep copy that owns its data.
  std::shared_ptr<TAudioSample> Copy() const;
  // A copy in another format: 8-bit values are widened by 256 (0x80 is silence) and 16-bit
  // values narrowed by keeping the high byte; mono to stereo duplicates, stereo to mono averages.
  std::shared_ptr<TAudioSample> Convert(int format) const;

  TAudioSample() = default;
  TAudioSample(const TAudioSample&) = delete;
  TAudioSample& operator=(const TAudioSample&) = delete;

 private:
  std::vector<uint8_t> owned_;  // empty for a static sample
};

// One decoder of the loader chain. Constructing a loader puts it at the head of the chain;
// destroying it takes it out.
class TAudioSampleLoader {
 public:
  TAudioSampleLoader* _succ = nullptr;  // next loader, or nullptr at the end

  TAudioSampleLoader();
  virtual ~TAudioSampleLoader();
  TAudioSampleLoader(const TAudioSampleLoader&) = delete;
  TAudioSampleLoader& operator=(const TAudioSampleLoader&) = delete;

  // Decodes the stream from its current position; nullptr when the data is not this
  // loader's format or is damaged. May throw the stream's read exceptions (the chain treats
  // them as nullptr).
  virtual std::shared_ptr<TAudioSample> LoadAudioSample(const std::shared_ptr<TStream>& stream) = 0;
};

// RIFF WAVE with PCM data: 8 or 16 bits, mono or stereo. A data size larger than what the
// stream holds is refused.
class TAudioSampleLoaderWAV : public TAudioSampleLoader {
 public:
  std::shared_ptr<TAudioSample> LoadAudioSample(const std::shared_ptr<TStream>& stream) override;
};

// Ogg Vorbis through vorbisfile, decoded whole into 16-bit little-endian PCM (format 2 or 5).
class TAudioSampleLoaderOGG : public TAudioSampleLoader {
 public:
  std::shared_ptr<TAudioSample> LoadAudioSample(const std::shared_ptr<TStream>& stream) override;
};

// One playing voice. The base class is the Null driver's channel: it accepts every call and
// never plays.
class TChannel {
 public:
  virtual ~TChannel() = default;
  virtual void Stop() {}
  virtual void SetPaused(bool /*paused*/) {}
  virtual void SetVolume(float /*volume*/) {}  // 0 silent .. 1 full
  virtual void SetPan(float /*pan*/) {}        // -1 left .. 1 right
  virtual void SetDepth(float /*depth*/) {}    // accepted, no effect
  virtual void SetRate(float /*rate*/) {}      // 1 = normal speed
  // True from Play or Cue until the sound ends or the channel is stopped; pausing does not
  // end it.
  virtual bool Playing() { return false; }
};

class TAudioDriver;
class TSound;

// What a sound or sample is loaded from: a path, an open stream, or a sample used as it is.
using audio_source = std::variant<std::string, std::shared_ptr<TStream>, std::shared_ptr<TAudioSample>>;

// A sound of one driver. The base class is the Null driver's sound.
class TSound {
 public:
  virtual ~TSound() = default;
  // Plays from the beginning on channel (its previous voice stops) or, with nullptr, on a new
  // channel of the current driver; returns the channel.
  virtual std::shared_ptr<TChannel> Play(const std::shared_ptr<TChannel>& channel = nullptr);
  // Like Play, but the channel is left paused: SetPaused(false) starts it.
  virtual std::shared_ptr<TChannel> Cue(const std::shared_ptr<TChannel>& channel = nullptr);
  // The current driver's LoadSound.
  static std::shared_ptr<TSound> Load(const audio_source& source, int flags);
};

// An audio back end. Constructing a driver adds it to the driver list; destroying it takes it
// out (and makes the Null driver current if it was current). The base class is the "Null"
// driver: it starts up always, and its sounds and channels play nothing.
class TAudioDriver {
 public:
  TAudioDriver* _succ = nullptr;  // next driver in the list

  TAudioDriver();
  virtual ~TAudioDriver();
  TAudioDriver(const TAudioDriver&) = delete;
  TAudioDriver& operator=(const TAudioDriver&) = delete;

  virtual std::string Name() { return "Null"; }
  // False when the output cannot be opened; the driver is then not used.
  virtual bool Startup() { return true; }
  // Stops every voice and releases the output. Calling it when not started does nothing.
  virtual void Shutdown() {}
  // A sound of this driver over the sample (the sample may be dropped afterwards). nullptr
  // when sample is nullptr, has an invalid format or rate, or is too long for the driver.
  virtual std::shared_ptr<TSound> CreateSound(const std::shared_ptr<TAudioSample>& sample, int flags);
  // A new idle channel.
  virtual std::shared_ptr<TChannel> AllocChannel();
  // Decodes the source with LoadAudioSample (a sample is used directly) and makes a sound of
  // it; nullptr when the source cannot be decoded.
  virtual std::shared_ptr<TSound> LoadSound(const audio_source& source, int flags);
  // True while a voice sounds (playing and not paused).
  virtual bool Sounding() { return false; }
  // Lets the output rest while nothing sounds, so it wakes nobody; the next sound brings it
  // back and starts from its first sample. Does nothing while a voice sounds.
  virtual void Rest() {}
};

// Process start-up and shutdown of the audio module. AudioStartup creates the loader chain and
// the driver list (Null and "SDL") and arranges AudioShutdown at exit; it is called on first
// use of the functions below, so calling it is optional, and calling it again does nothing.
void AudioStartup();
// Shuts the current driver down and puts the module back to its start values: no driver is
// current, the next AudioDriver() chooses again. Runs at exit; tests call it between cases.
void AudioShutdown();

// The current driver, chosen on first use: "SDL", or "Null" when SDL has no usable output.
TAudioDriver* AudioDriver();
// Shuts the current driver down, makes Null current, then starts the first listed driver whose
// name matches ignoring case. False (Null stays current) if none matches or it fails to start.
bool SetAudioDriver(const std::string& name);

// Decodes a sound file with the loader chain. A path is opened and closed here; a stream is
// read from its current position and left open. nullptr for a missing, unreadable, unsupported
// or damaged file; never throws for bad data.
std::shared_ptr<TAudioSample> LoadAudioSample(const std::string& path);
std::shared_ptr<TAudioSample> LoadAudioSample(const std::shared_ptr<TStream>& stream);

// The current driver's LoadSound; nullptr when the source cannot be decoded.
std::shared_ptr<TSound> LoadSound(const audio_source& source, int flags = 0);
// Plays the sound on channel, or on a new channel with nullptr; returns the channel.
// A nullptr sound plays nothing and gives nullptr.
std::shared_ptr<TChannel> PlaySound(const std::shared_ptr<TSound>& sound,
                                    const std::shared_ptr<TChannel>& channel = nullptr);
// The current driver's Sounding and Rest.
bool AudioSounding();
void RestAudio();
// The channel's Stop, Playing and SetVolume; a nullptr channel is ignored (Playing gives false).
void StopChannel(const std::shared_ptr<TChannel>& channel);
bool ChannelPlaying(const std::shared_ptr<TChannel>& channel);
void SetChannelVolume(const std::shared_ptr<TChannel>& channel, float volume);
