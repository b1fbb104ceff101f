// vorbis_length.h - the frames an Ogg Vorbis file really holds, before decoding it.
//
// The length a file's last page claims is only a claim: a few kilobytes may claim hours. This
// counts what the packets of the first logical stream will decode to, from each packet's block
// size, without decoding any; a millisecond's work for a music track.
#pragma once

#include <cstdint>

#include "core/stream.h"

// The frames the first logical Vorbis stream in `stream` decodes to (read from its current
// position), counting no further than `limit`; -1 when its headers are not Vorbis. Any thread,
// one stream per call.
std::int64_t CountVorbisFrames(TStream& stream, std::int64_t limit);
