// vorbis_length.cpp - an Ogg Vorbis file's real length, from the block sizes of its packets.
// Needs libogg and libvorbis (the codec headers only parse; nothing is decoded).
#include "audio/vorbis_length.h"

#include <ogg/ogg.h>
#include <vorbis/codec.h>

#include <exception>

namespace {

constexpr long kReadBytes = 65536;

// The reading state, released however the count ends.
struct Reader {
  ogg_sync_state sync;
  ogg_stream_state packets;
  bool started = false;
  vorbis_info info;
  vorbis_comment comment;
  Reader() {
    ogg_sync_init(&sync);
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  ~Reader() {
    if (started) ogg_stream_clear(&packets);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    ogg_sync_clear(&sync);
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;
};

// Appends the stream's next bytes to the sync buffer; false at its end or on a read error.
bool ReadMore(TStream& stream, ogg_sync_state& sync) {
  char* buffer = ogg_sync_buffer(&sync, kReadBytes);
  if (!buffer) return false;
  std::int64_t got = 0;
  try {
    got = stream.Eof() ? 0 : stream.Read(buffer, kReadBytes);
  } catch (const std::exception&) {
    got = 0;
  }
  if (got <= 0) return false;
  ogg_sync_wrote(&sync, static_cast<long>(got));
  return true;
}

}  // namespace

std::int64_t CountVorbisFrames(TStream& stream, std::int64_t limit) {
  Reader r;
  int headers = 0;
  long previous = 0;  // the block size of the packet before, 0 before the first audio packet
  std::int64_t frames = 0;
  bool ended = false;
  while (!ended && frames < limit) {
    ogg_page page;
    const int paged = ogg_sync_pageout(&r.sync, &page);
    if (paged == 0) {
      if (!ReadMore(stream, r.sync)) break;
      continue;
    }
    if (paged < 0) continue;  // bytes skipped to the next page
    if (!r.started) {
      if (ogg_stream_init(&r.packets, ogg_page_serialno(&page)) != 0) return -1;
      r.started = true;
    }
    // Pages of other logical streams (a chained file's later links) are not decoded either.
    if (ogg_page_serialno(&page) != r.packets.serialno) continue;
    if (ogg_stream_pagein(&r.packets, &page) != 0) continue;
    ogg_packet packet;
    int got;
    while ((got = ogg_stream_packetout(&r.packets, &packet)) != 0) {
      if (got < 0) continue;  // a gap in the data
      if (headers < 3) {
        if (vorbis_synthesis_headerin(&r.info, &r.comment, &packet) != 0) return -1;
        ++headers;
        continue;
      }
      const long block = vorbis_packet_blocksize(&r.info, &packet);
      if (block <= 0) continue;  // not an audio packet: the decoder skips it too
      // Each packet completes the overlap of its block with the one before.
      if (previous > 0) frames += previous / 4 + block / 4;
      previous = block;
    }
    if (ogg_page_eos(&page)) ended = true;
  }
  if (headers < 3) return -1;
  return frames < limit ? frames : limit;
}
