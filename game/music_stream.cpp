// music_stream.cpp - music tracks decoded while they play: the head at once on the game thread,
// the rest by a worker thread into the same mixer sample. Needs the Ogg decoder, the mixer's
// stream samples and the RaziDazir driver; under any other driver a track loads whole.
#include "game/music_stream.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "audio/mix_sample.h"
#include "audio/ogg_decoder.h"
#include "audio/razidazir_driver.h"
#include "core/stream_factory.h"

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
// deliver (cut short or corrupt) is silence. Returns the frames written.
int Fill(OggDecoder& decoder, mix_sample* sample, int at, int until,
         const std::atomic<bool>* cancel) {
  auto* pcm = reinterpret_cast<std::int16_t*>(sample->data);
  const int channels = sample->channels;
  while (at < until) {
    if (cancel && cancel->load(std::memory_order_relaxed)) return at;
    const int want = std::min(kChunkFrames, until - at);
    const int got = decoder.Decode(pcm + static_cast<std::ptrdiff_t>(at) * channels, want);
    if (got <= 0) {
      std::memset(pcm + static_cast<std::ptrdiff_t>(at) * channels, 0,
                  static_cast<std::size_t>(sample->length - at) * sample->bytesPerFrame);
      at = sample->length;
      break;
    }
    at += got;
    if (at < sample->length) sample->filled.store(at, std::memory_order_release);
  }
  return at;
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
  const std::int64_t frames = decoder ? decoder->frames() : 0;
  mix_sample* sample = frames > 0 && frames < INT32_MAX
                           ? NewStreamMixSample(static_cast<int>(frames), 16, decoder->channels(),
                                                decoder->hertz(), -1)
                           : nullptr;
  if (!sample) {
    ReportOnce(path);
    return nullptr;
  }
  const int head = Fill(*decoder, sample, 0, std::min(kHeadFrames, sample->length), nullptr);
  if (head < 2) {
    ReleaseMixSample(sample);
    ReportOnce(path);
    return nullptr;
  }
  if (head >= sample->length) {
    Complete(sample);
  } else {
    // The worker owns the decoder and its stream from here on, and a reference to the sample,
    // so that the data outlives it even when the track is dropped first.
    RetainMixSample(sample);
    workers.push_back(std::make_unique<Worker>());
    Worker* worker = workers.back().get();
    worker->thread = std::thread(
        [sample, head, worker, decoder = std::move(decoder), stream = std::move(stream)]() mutable {
          // Far ahead of the play position anyway: on a busy machine the frames come first.
          ::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 10);
          if (Fill(*decoder, sample, head, sample->length, &worker->cancel) >= sample->length) {
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
