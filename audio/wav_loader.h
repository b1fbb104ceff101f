// wav_loader.h - the sample loader for RIFF WAVE files of 8- or 16-bit PCM, mono or stereo.
//
// Anything that does not begin with "RIFF"...."WAVE" is turned away at once, so this loader can
// sit in front of the others.
#pragma once

#include "audio/sample_loader.h"

class TAudioSampleLoaderWAV : public TAudioSampleLoader {
 public:
  Ref<TAudioSample> LoadAudioSample(const Ref<TStream>& stream) override;
};
