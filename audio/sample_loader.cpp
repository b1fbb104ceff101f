// sample_loader.cpp - the loader chain and the walk over it.
#include "audio/sample_loader.h"

#include "audio/ogg_loader.h"
#include "audio/wav_loader.h"
#include "core/stream_factory.h"

namespace {

constinit TAudioSampleLoader* chain = nullptr;

// Ogg first, then WAV: WAV ends up in front and turns away everything that is not RIFF.
void RegisterStandardLoaders() {
  static const bool done = [] {
    (new TAudioSampleLoaderOGG)->Retain();
    (new TAudioSampleLoaderWAV)->Retain();
    return true;
  }();
  (void)done;
}

Ref<TAudioSample> LoadFrom(const Ref<TStream>& stream) {
  if (!stream) return nullptr;
  const std::int64_t start = stream->Pos();
  if (start == -1) {
    stream->Close();
    RuntimeError("Stream is not seekable");
  }
  Ref<TAudioSample> sample;
  for (TAudioSampleLoader* loader = AudioSampleLoaders(); loader && !sample;
       loader = loader->_succ) {
    stream->Seek(start);
    try {
      sample = loader->LoadAudioSample(stream);
    } catch (const TStreamException&) {
      sample = nullptr;
    }
  }
  stream->Close();
  return sample;
}

}  // namespace

TAudioSampleLoader::TAudioSampleLoader() {
  _succ = chain;
  chain = this;
}

TAudioSampleLoader::~TAudioSampleLoader() {
  for (TAudioSampleLoader** p = &chain; *p; p = &(*p)->_succ) {
    if (*p == this) {
      *p = _succ;
      break;
    }
  }
}

TAudioSampleLoader* AudioSampleLoaders() {
  RegisterStandardLoaders();
  return chain;
}

// Streams that cannot seek are read into memory by the stream layer, so every source that
// opens can be tried by every loader.
Ref<TAudioSample> LoadSample(const std::string& source) { return LoadFrom(ReadFile(source)); }

Ref<TAudioSample> LoadSample(const Ref<TStream>& source) { return LoadFrom(ReadFile(source)); }
