// ogg_loader.h - the sample loader for Ogg Vorbis files: the whole file decoded into 16-bit PCM.
//
// A mono file gives a 16-bit mono little-endian sample, anything else 16-bit stereo (see
// ogg_decoder.h for files of more channels). Data that is not Ogg Vorbis, or that turns out
// corrupt while decoding, gives null. A file that ends before the length its pages advertise
// gives what was decoded up to its end.
#pragma once

#include "audio/ogg_decoder.h"
#include "audio/sample_loader.h"

class TAudioSampleLoaderOGG : public TAudioSampleLoader {
 public:
  Ref<TAudioSample> LoadAudioSample(const Ref<TStream>& stream) override;
};

// Decodes everything that is left of an open decoder into one sample; null on corrupt data.
Ref<TAudioSample> DecodeOggSample(OggDecoder& decoder);
