// sample_loader.h - the chain of audio sample loaders and LoadSample, which walks it.
//
// Each loader recognises one file format. A new loader goes to the front of the chain, so the
// one registered last is asked first; a loader that does not recognise the data returns null
// (or raises a stream error) and the next one is asked, from the same stream position.
#pragma once

#include <string>

#include "audio/audio_sample.h"
#include "core/stream.h"

class TAudioSampleLoader : public TObject {
 public:
  // Links the loader at the front of the program-wide chain.
  TAudioSampleLoader();
  ~TAudioSampleLoader() override;
  virtual Ref<TAudioSample> LoadAudioSample(const Ref<TStream>& stream) = 0;

  TAudioSampleLoader* _succ = nullptr;
};

// The first loader of the chain; the standard loaders are registered on the first call.
TAudioSampleLoader* AudioSampleLoaders();

// Opens `source` (a path, "\" separating folders too, or "incbin::name") and asks every loader in
// turn. Null when nothing could be opened or no loader accepted the data. A stream that cannot
// seek raises "Stream is not seekable".
Ref<TAudioSample> LoadSample(const std::string& source);
Ref<TAudioSample> LoadSample(const Ref<TStream>& source);
