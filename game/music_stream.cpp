// music_stream.cpp - music tracks decoded while they play: the head at once on the game thread,
// the rest by a worker thread into the same mixer sample, sized by what the file really holds
// (vorbis_length.h), not by the length its pages claim. Needs the Ogg decoder, the mixer's
// stream samples and the RaziDazir driver; under any other driver a track loads whole.
#include "game/music_stream.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <set>
#include <thread>
#include <vector>

#include "audio/mix_sample.h"
#include "audio/ogg_decoder.h"
#include "audio/razidazir_driver.h"
#include "core/stream_factory.h"
#include "game/vorbis_length.h"

namespace {

// Half a second is decoded before the track starts: a few milliseconds of work, and far more
// than the worker needs to get ahead of the play position.
constexpr int kHeadFrames = 22050;
constexpr int kChunkFrames = 4096;

struct Worker {
  std::thread thread;
  std::atomic<bool> cancel{false};
  std::atomic<bool> done{false};  // set as the thread's last act: joining it then cannot wait
};

// The latest track's worker last. A track that is replaced only has its worker told to stop:
// waiting for it could hold up a frame when the machine is busy, so it is joined later, once it
// has finished.
std::vector<std::unique_ptr<Worker>> workers;

void CancelAll() {
  for (auto& w : workers) w->cancel.store(true, std::memory_order_relaxed);
}

void JoinFinished() {
  for (auto it = workers.begin(); it != workers.end();) {
    if ((*it)->done.load(std::memory_order_acquire)) {
      (*it)->thread.join();
      it = workers.erase(it);
    } else {
      ++it;
    }
  }
}

void ReportOnce(const std::string& path) {
  static std::set<std::string> reported;
  if (reported.insert(path).second) {
    std::fprintf(stderr, "Music %s could not be loaded: track off\n", path.c_str());
  }
}

// Decodes into the sample from frame `at` on, publishing each piece; what the file fails to
// deliver (cut short or corrupt) is silence, zeroed a piece at a time so that a cancel is seen.
// Returns the frames written.
int Fill(OggDecoder& decoder, mix_sample* sample, int at, const std::atomic<bool>& cancel) {
  auto* pcm = reinterpret_cast<std::int16_t*>(sample->data);
  const int channels = sample->channels;
  bool delivering = true;
  while (at < sample->length) {
    if (cancel.load(std::memory_order_relaxed)) return at;
    const int want = std::min(kChunkFrames, sample->length - at);
    std::int16_t* dest = pcm + static_cast<std::ptrdiff_t>(at) * channels;
    const int got = delivering ? decoder.Decode(dest, want) : 0;
    if (got <= 0) {
      delivering = false;
      std::memset(dest, 0, static_cast<std::size_t>(want) * sample->bytesPerFrame);
      at += want;
    } else {
      at += got;
    }
    if (at < sample->length) sample->filled.store(at, std::memory_order_release);
  }
  return at;
}

// Decodes up to `frames` frames into `pcm`; returns the frames decoded, fewer at the data's end.
int DecodeHead(OggDecoder& decoder, std::int16_t* pcm, int frames) {
  int at = 0;
  while (at < frames) {
    const int got = decoder.Decode(pcm + static_cast<std::ptrdiff_t>(at) * decoder.channels(),
                                   std::min(kChunkFrames, frames - at));
    if (got <= 0) break;
    at += got;
  }
  return at;
}

// The frames the track at `path` really holds, no more than its pages claim: the sample is sized
// by this, so a file cannot make the game allocate more than it can fill.
std::int64_t RealLength(const std::string& path, std::int64_t claimed) {
  Ref<TStream> file = ReadFile(path);
  if (!file) return 0;
  const std::int64_t frames = CountVorbisFrames(*file, claimed);
  CloseStream(file);
  return frames;
}

void Complete(mix_sample* sample) {
  // The guard frame repeats the first, as the loop goes on from there.
  std::memcpy(sample->data + sample->dataBytes, sample->data,
              static_cast<std::size_t>(sample->bytesPerFrame));
  sample->filled.store(sample->length, std::memory_order_release);
}

}  // namespace

void StopMusicStreams() {
  CancelAll();
  for (auto& w : workers) w->thread.join();
  workers.clear();
}

void FinishMusicStreams() {
  if (!workers.empty()) workers.back()->thread.join();
  if (!workers.empty()) workers.pop_back();
  StopMusicStreams();
}

Ref<TSound> LoadMusicTrack(const std::string& path) {
  CancelAll();
  JoinFinished();
  if (!dynamic_cast<TRaziDazirAudioDriver*>(CurrentAudioDriver())) {
    Ref<TSound> whole = LoadAudio(path, SOUND_LOOP);
    if (!whole) ReportOnce(path);
    return whole;
  }
  Ref<TStream> stream = ReadFile(path);
  std::unique_ptr<OggDecoder> decoder = stream ? OggDecoder::Open(stream) : nullptr;
  const std::int64_t frames = decoder ? RealLength(path, decoder->frames()) : 0;
  if (frames <= 0 || frames >= INT32_MAX) {
    ReportOnce(path);
    return nullptr;
  }
  const int length = static_cast<int>(frames);
  const int channels = decoder->channels();
  // The head first: a track that ends within it is made exactly as long as it is.
  std::vector<std::int16_t> pcm(static_cast<std::size_t>(std::min(kHeadFrames, length)) *
                                static_cast<std::size_t>(channels));
  const int head = DecodeHead(*decoder, pcm.data(), std::min(kHeadFrames, length));
  if (head < 2) {
    ReportOnce(path);
    return nullptr;
  }
  const bool streamed = head == kHeadFrames && head < length;
  mix_sample* sample = nullptr;
  try {
    sample = !streamed ? NewMixSample(head, 16, channels, decoder->hertz(), pcm.data(), -1)
                       : NewStreamMixSample(length, 16, channels, decoder->hertz(), -1);
  } catch (const std::bad_alloc&) {
    sample = nullptr;
  }
  if (!sample) {
    ReportOnce(path);
    return nullptr;
  }
  if (streamed) {
    std::memcpy(sample->data, pcm.data(), pcm.size() * sizeof pcm[0]);
    sample->filled.store(head, std::memory_order_release);
    // The worker owns the decoder and its stream from here on, and a reference to the sample,
    // so that the data outlives it even when the track is dropped first.
    RetainMixSample(sample);
    // Every way out of the program joins the workers: the normal end stops them itself, and an
    // error that ends main first still reaches them here, before the statics they use are gone.
    static const bool joined_at_exit = std::atexit(StopMusicStreams) == 0;
    (void)joined_at_exit;
    workers.push_back(std::make_unique<Worker>());
    Worker* worker = workers.back().get();
    worker->thread = std::thread(
        [sample, head, worker, decoder = std::move(decoder), stream = std::move(stream)]() mutable {
          // Far ahead of the play position anyway: on a busy machine the frames come first.
          ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 10);
          if (Fill(*decoder, sample, head, worker->cancel) >= sample->length) {
            Complete(sample);
          }
          decoder.reset();
          stream.reset();
          ReleaseMixSample(sample);
          worker->done.store(true, std::memory_order_release);
        });
  }
  return TRaziDazirSound::CreateWithSound(sample, nullptr);
}
