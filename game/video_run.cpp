// video_run.cpp - the replay filmed: a flip hook that reads each replayed frame's picture and
// sound into the encoder, the mixer's clock moved on in step with the frames, and the progress.
#include "game/video_run.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "audio/mix_clock.h"
#include "audio/mixer.h"
#include "audio/offline_device.h"
#include "core/app.h"
#include "game/config/colour_mode.h"
#include "game/replay/replay.h"
#include "game/replay/replay_file.h"
#include "game/video/encoding_thread.h"
#include "game/video/video_encoder.h"
#include "graphics/graphics.h"
#include "graphics/stereo_layout.h"
#include "graphics/view_recorder.h"
#include "system/hook.h"

namespace {

constexpr int kSoundPerFrame = 44100 / 60;
// After the replay's own hook at the frame's end, so that the frame is counted when it is read.
constexpr int kAfterReplayHook = -2000;
// The mixer's clock (which only times its start delay) moves on by that delay each frame.
constexpr std::uint32_t kFrameMillis = mixer::kStartDelayMillis;
// A frame's sound is mixed this long after the frame's time, when 17 ms of a new sound's 20 ms
// delay are left: 735 of them fall in this frame's sound and the rest (14 sample frames) into
// the next one's, where the picture first shows what asked for the sound (a shot is drawn from
// the frame after the one that fires it).
constexpr std::uint32_t kMixingMillis = kFrameMillis - 17;
constexpr auto kProgressEvery = std::chrono::milliseconds(250);

using Clock = std::chrono::steady_clock;

// Apart from the game's state: the filming of the one video this process makes.
struct Filming {
  EncodingThread* encoding = nullptr;  // the encoder, on a thread of its own
  const VideoJob* job = nullptr;
  int total = 0;              // frames the replay holds
  int captured = 0;           // frames handed to the encoder
  int width = 0, height = 0;  // the picture's size, kept for the whole file
  bool failed = false;
  std::uint32_t mix_now = 0;
  std::vector<std::int16_t> sound = std::vector<std::int16_t>(2 * kSoundPerFrame);
  Clock::time_point started, reported;
  // The partial file, for the cleanup of a process ended by a second signal (no allocation there).
  char partial[4096] = {};
} filming;

std::uint32_t FilmingMixClock() { return filming.mix_now; }

void RemovePartialOnEnd() {
  if (filming.partial[0] != '\0') std::remove(filming.partial);
}

std::string MinutesText(double seconds) {
  const int whole = static_cast<int>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d", whole / 60, whole % 60);
  return text;
}

void Report(bool last) {
  const VideoJob& job = *filming.job;
  const Clock::time_point now = Clock::now();
  if (!last && now - filming.reported < kProgressEvery) return;
  filming.reported = now;
  const double seconds = std::chrono::duration<double>(now - filming.started).count();
  const double rate = seconds > 0 ? filming.captured / seconds : 0;
  const int total = filming.total > 0 ? filming.total : 1;
  if (job.progress_report) {
    std::printf("video %d %d\n", filming.captured, filming.total);
    std::fflush(stdout);
  }
  if (job.progress_line) {
    const double left = rate > 0 ? (filming.total - filming.captured) / rate : 0;
    std::fprintf(stderr, "\rzumbrix: video %3d%%  %5.0f frames/s  %s left  ",
                 filming.captured * 100 / total, rate, MinutesText(left).c_str());
    if (last) std::fputs("\n", stderr);
    std::fflush(stderr);
  }
}

// At each flip: a replayed frame's picture and its sound to the encoder.
TObject* FilmFlip(int, TObject* data, TObject*) {
  if (!filming.encoding || filming.failed || EndSignalCaught() != 0) return data;
  const int played = ReplayFramesPlayed();
  if (played <= filming.captured) return data;
  filming.captured = played;
  const Ref<TPixmap> picture = GrabStereoPicture();
  filming.mix_now += kMixingMillis;
  PullOfflineSound(filming.sound.data(), kSoundPerFrame);
  filming.mix_now += kFrameMillis - kMixingMillis;
  // A stereo mode changed in the replayed game's options would change the picture's size.
  if (!picture || picture->width != filming.width || picture->height != filming.height ||
      !filming.encoding->Add(picture->pixels, picture->pitch, 4 * picture->width, picture->height,
                             filming.sound.data(), kSoundPerFrame)) {
    filming.failed = true;
    return data;
  }
  Report(false);
  return data;
}

VideoStereo StereoOfRun() {
  switch (ChosenStereoMode()) {
    case StereoMode::SideBySide:
      return VideoStereo::kSideBySide;
    case StereoMode::SideBySideHalf:
      return VideoStereo::kSideBySideHalf;
    case StereoMode::TopBottom:
      return VideoStereo::kTopBottom;
    case StereoMode::Off:
      break;
  }
  return GetColourMode() == ColourMode::Anaglyph ? VideoStereo::kAnaglyphCyanRed
                                                 : VideoStereo::kMono;
}

std::string SizeText(long long bytes) {
  char text[32];
  if (bytes >= 1000 * 1000) {
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
  } else {
    std::snprintf(text, sizeof text, "%lld kB", (bytes + 500) / 1000);
  }
  return text;
}

}  // namespace

std::string VideoNameProblem(const std::string& path) {
  VideoContainer container;
  if (VideoContainerForFile(path, &container)) return "";
  return "cannot make a video of " + path + ": name it " + VideoFileNamesText();
}

VideoRunResult RenderReplayVideo(const VideoJob& job) {
  VideoRunResult result;
  const auto refuse = [&](const std::string& why) {
    result.exit = ReplayExit::kRefused;
    result.status = 2;
    result.message = why;
    return result;
  };
  if (std::string problem = VideoNameProblem(job.output); !problem.empty()) return refuse(problem);
  ReplayJournal journal;
  if (const ReplayError error = LoadReplay(job.replay, journal); error != ReplayError::kNone) {
    return refuse(job.replay + ": " + ReplayErrorText(error));
  }
  if (journal.games.empty()) return refuse(job.replay + ": the replay holds no game");

  VideoFormat format;
  VideoContainerForFile(job.output, &format.container);
  const PictureSize size = StereoPictureSize(ChosenStereoMode(), 640, 480);
  format.width = size.width;
  format.height = size.height;
  format.scale = job.scale;
  format.stereo = StereoOfRun();
  std::string problem;
  std::unique_ptr<VideoEncoder> encoder = VideoEncoder::Open(job.output, format, &problem);
  if (!encoder) return refuse(problem);

  // A file size limit then fails the write, as a full disk does, instead of killing the process.
  std::signal(SIGXFSZ, SIG_IGN);
  filming = Filming{};
  EncodingThread encoding(*encoder);
  filming.encoding = &encoding;
  filming.job = &job;
  filming.width = format.width;
  filming.height = format.height;
  for (const RecordedGame& game : journal.games) filming.total += static_cast<int>(game.frames);
  std::snprintf(filming.partial, sizeof filming.partial, "%s.part", job.output.c_str());
  OnAbnormalEnd(RemovePartialOnEnd);
  filming.started = filming.reported = Clock::now();
  ChooseOfflineSound(true);
  SetMixClock(FilmingMixClock);
  AttachHook(FlipHookId(), FilmFlip, nullptr, kAfterReplayHook);
  const GameRunResult run = ReplayGame(job.replay, true, true);
  DetachHook(FlipHookId(), FilmFlip);
  Report(true);
  const double seconds = std::chrono::duration<double>(Clock::now() - filming.started).count();
  filming.encoding = nullptr;
  result.frames = filming.captured;

  if (const int signo = EndSignalCaught()) {
    encoding.Abandon();
    encoder->Abandon();
    filming.partial[0] = '\0';
    result.status = 128 + signo;
    result.message = "the video was stopped: " + job.output + " was not saved";
    return result;
  }
  // The frames still queued are encoded before the file is closed.
  if (!encoding.Finish()) filming.failed = true;
  if (filming.failed || run.exit == ReplayExit::kRefused) {
    const std::string why = filming.failed ? encoder->Problem() : run.message;
    encoder->Abandon();
    filming.partial[0] = '\0';
    return refuse(why.empty() ? "the picture could not be read back at its size" : why);
  }
  if (!encoder->Finish()) {
    filming.partial[0] = '\0';
    return refuse(encoder->Problem());
  }
  filming.partial[0] = '\0';
  std::error_code unknown;
  const auto file_bytes = std::filesystem::file_size(job.output, unknown);
  const long long bytes = unknown ? 0 : static_cast<long long>(file_bytes);
  char line[512];
  std::snprintf(line, sizeof line, "wrote %s: %s, %s of video in %.1f s (%.1fx real time)",
                job.output.c_str(), SizeText(bytes).c_str(), GameTimeText(result.frames).c_str(),
                seconds, seconds > 0 ? result.frames / 60.0 / seconds : 0.0);
  result.summary = line;
  if (run.exit == ReplayExit::kDiverged || run.stopped) {
    result.exit = ReplayExit::kDiverged;
    result.status = 3;
    result.message = run.message + "; the video " + job.output + " is cut short there";
  }
  return result;
}
