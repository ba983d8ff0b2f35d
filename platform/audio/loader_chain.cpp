// The sample loader chain and LoadAudioSample: each loader is tried in turn from the same
// stream position. Depends on files/files.h and state.h.
#include "files/files.h"
#include "platform/audio/state.h"

TAudioSampleLoader::TAudioSampleLoader() { LinkAtHead(audio_module.loaders.head, this); }

TAudioSampleLoader::~TAudioSampleLoader() { Unlink(audio_module.loaders.head, this); }

std::shared_ptr<TAudioSample> LoadAudioSample(const std::shared_ptr<TStream>& stream) {
  AudioStartup();
  if (!stream) return nullptr;
  const int64_t start = stream->Pos();
  for (TAudioSampleLoader* loader = audio_module.loaders.head; loader; loader = loader->_succ) {
    try {
      if (start >= 0) stream->Seek(start);
      if (auto sample = loader->LoadAudioSample(stream)) return sample;
    } catch (const TRuntimeException&) {
      // A read error inside a loader means this loader cannot decode the data.
    }
  }
  return nullptr;
}

std::shared_ptr<TAudioSample> LoadAudioSample(const std::string& path) {
  auto stream = ReadFile(path);
  if (!stream) return nullptr;
  auto sample = LoadAudioSample(stream);
  CloseStream(stream);
  return sample;
}
