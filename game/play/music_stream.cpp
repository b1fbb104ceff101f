// music_stream.cpp - music tracks decoded while they play: the head at once on the game thread,
// the rest by a worker thread into the same mixer sample, sized by what the file really holds
// (audio/vorbis_length.h), not by the length its pages claim. Needs the Ogg decoder, the mixer's
// stream samples and the RaziDazir driver; under any other driver a track loads whole.
#include "game/play/music_stream.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <thread>
#include <vector>

#include "audio/mix_sample.h"
#include "audio/ogg_decoder.h"
#include "audio/razidazir_driver.h"
#include "audio/vorbis_length.h"
#include "core/stream_factory.h"
#include "core/thread_priority.h"

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
// Apart from the game's state: the music threads' own, heard and never steering play.
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
// deliver (cut short, corrupt, or gone: a null decoder) is silence, zeroed a piece at a time so
// that a cancel is seen. Returns the frames written.
int Fill(OggDecoder* decoder, mix_sample* sample, int at, const std::atomic<bool>& cancel) {
  auto* pcm = reinterpret_cast<std::int16_t*>(sample->data);
  const int channels = sample->channels;
  bool delivering = decoder != nullptr;
  while (at < sample->length) {
    if (cancel.load(std::memory_order_relaxed)) return at;
    const int want = std::min(kChunkFrames, sample->length - at);
    std::int16_t* dest = pcm + static_cast<std::ptrdiff_t>(at) * channels;
    const int got = delivering ? decoder->Decode(dest, want) : 0;
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

// Skips the first `frames` frames of the decoder's output; false when the data ends first.
bool SkipFrames(OggDecoder& decoder, int frames) {
  std::vector<std::int16_t> scratch(static_cast<std::size_t>(kChunkFrames) * 2);
  while (frames > 0) {
    const int got = decoder.Decode(scratch.data(), std::min(kChunkFrames, frames));
    if (got <= 0) return false;
    frames -= got;
  }
  return true;
}

// Everything a track's start needs before it can play: what the file really holds and the first
// half second decoded. Made ahead of time for the game's own tracks, at the moment for others.
struct PreparedTrack {
  std::string path;
  std::uintmax_t file_bytes = 0;  // the file as it was prepared: a changed file is prepared anew
  std::filesystem::file_time_type file_time;
  std::int64_t frames = 0;  // the real length; 0 when the track cannot be loaded
  int channels = 0, hertz = 0;
  std::vector<std::int16_t> head;  // the first frames, up to kHeadFrames
};

bool StampFile(PreparedTrack& track) {
  std::error_code error;
  track.file_bytes = std::filesystem::file_size(track.path, error);
  if (error) return false;
  track.file_time = std::filesystem::last_write_time(track.path, error);
  return !error;
}

PreparedTrack PrepareTrack(const std::string& path) {
  PreparedTrack track;
  track.path = path;
  StampFile(track);
  Ref<TStream> stream = ReadFile(path);
  std::unique_ptr<OggDecoder> decoder = stream ? OggDecoder::Open(stream) : nullptr;
  const std::int64_t frames = decoder ? RealLength(path, decoder->frames()) : 0;
  if (frames <= 0 || frames >= INT32_MAX) return track;
  const int want = static_cast<int>(std::min<std::int64_t>(kHeadFrames, frames));
  track.head.resize(static_cast<std::size_t>(want) * static_cast<std::size_t>(decoder->channels()));
  const int head = DecodeHead(*decoder, track.head.data(), want);
  if (head < 2) {
    track.head.clear();
    return track;
  }
  track.head.resize(static_cast<std::size_t>(head) * static_cast<std::size_t>(decoder->channels()));
  track.frames = frames;
  track.channels = decoder->channels();
  track.hertz = decoder->hertz();
  return track;
}

// The tracks PrepareMusicTracks was given, made by a thread of their own in the order given.
// `prepared` holds those done; a path still in `pending` is being made or waits its turn.
// Apart from the game's state: the thread that decodes tracks ahead, for the whole process.
struct Preparer {
  std::mutex mutex;
  std::condition_variable done;
  std::vector<PreparedTrack> prepared;
  std::vector<std::string> pending;
  std::thread thread;
} preparer;

void StopPreparing() {
  {
    std::lock_guard<std::mutex> lock(preparer.mutex);
    preparer.pending.clear();
  }
  if (preparer.thread.joinable()) preparer.thread.join();
}

// The prepared track at `path` when there is a current one, waiting while it is under way or
// queued; otherwise the track prepared now, on this thread.
PreparedTrack PreparedOrNow(const std::string& path) {
  {
    std::unique_lock<std::mutex> lock(preparer.mutex);
    preparer.done.wait(lock, [&] {
      return std::find(preparer.pending.begin(), preparer.pending.end(), path) ==
             preparer.pending.end();
    });
    for (const PreparedTrack& track : preparer.prepared) {
      if (track.path != path) continue;
      PreparedTrack now;
      now.path = path;
      if (StampFile(now) && now.file_bytes == track.file_bytes &&
          now.file_time == track.file_time) {
        return track;
      }
    }
  }
  return PrepareTrack(path);
}

}  // namespace

void PrepareMusicTracks(const std::vector<std::string>& paths) {
  StopPreparing();
  {
    std::lock_guard<std::mutex> lock(preparer.mutex);
    preparer.prepared.clear();
    preparer.pending = paths;
  }
  static const bool stopped_at_exit = std::atexit(StopPreparing) == 0;
  (void)stopped_at_exit;
  preparer.thread = std::thread([] {
    for (;;) {
      std::string path;
      {
        std::lock_guard<std::mutex> lock(preparer.mutex);
        if (preparer.pending.empty()) return;
        path = preparer.pending.front();
      }
      PreparedTrack track = PrepareTrack(path);
      {
        std::lock_guard<std::mutex> lock(preparer.mutex);
        // Taken off the queue only now, so that a start waiting for it waits for the result.
        auto it = std::find(preparer.pending.begin(), preparer.pending.end(), path);
        if (it != preparer.pending.end()) {
          preparer.pending.erase(it);
          preparer.prepared.push_back(std::move(track));
        }
      }
      preparer.done.notify_all();
    }
  });
}

void StopMusicStreams() {
  StopPreparing();
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
  const PreparedTrack track = PreparedOrNow(path);
  if (track.frames <= 0) {
    ReportOnce(path);
    return nullptr;
  }
  const int length = static_cast<int>(track.frames);
  const int channels = track.channels;
  const int head = static_cast<int>(track.head.size()) / channels;
  const bool streamed = head == kHeadFrames && head < length;
  mix_sample* sample = nullptr;
  try {
    sample = !streamed ? NewMixSample(head, 16, channels, track.hertz, track.head.data(), -1)
                       : NewStreamMixSample(length, 16, channels, track.hertz, -1);
  } catch (const std::bad_alloc&) {
    sample = nullptr;
  }
  if (!sample) {
    ReportOnce(path);
    return nullptr;
  }
  if (streamed) {
    std::memcpy(sample->data, track.head.data(), track.head.size() * sizeof track.head[0]);
    sample->filled.store(head, std::memory_order_release);
    // The worker holds a reference to the sample, so that the data outlives it even when the
    // track is dropped first. It opens the file itself and decodes past the head it was given.
    RetainMixSample(sample);
    // Every way out of the program joins the workers: the normal end stops them itself, and an
    // error that ends main first still reaches them here, before the statics they use are gone.
    static const bool joined_at_exit = std::atexit(StopMusicStreams) == 0;
    (void)joined_at_exit;
    workers.push_back(std::make_unique<Worker>());
    Worker* worker = workers.back().get();
    worker->thread = std::thread([sample, head, worker, path]() {
      // The frames come first, and the worker is far ahead of the play position anyway.
      LowerToIdlePriority();
      Ref<TStream> stream = ReadFile(path);
      std::unique_ptr<OggDecoder> decoder = stream ? OggDecoder::Open(stream) : nullptr;
      if (decoder && (decoder->channels() != sample->channels || !SkipFrames(*decoder, head))) {
        decoder.reset();  // the file changed under the track: the rest is silence
      }
      if (Fill(decoder.get(), sample, head, worker->cancel) >= sample->length) Complete(sample);
      decoder.reset();
      if (stream) CloseStream(stream);
      stream.reset();
      ReleaseMixSample(sample);
      worker->done.store(true, std::memory_order_release);
    });
  }
  return TRaziDazirSound::CreateWithSound(sample, nullptr);
}
