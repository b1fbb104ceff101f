// A replay made into a video, read back with the same libraries: every replayed frame in the file
// and close to the game's own picture, the sound as long as the picture and in step with it, the
// stereo mode said in the file; and the program's refusals, which leave no file behind.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/stereo3d.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "audio/audio_driver.h"
#include "game/config/colour_mode.h"
#include "game/config/settings_store.h"
#include "game/play/globals.h"
#include "game/play/screen_name.h"
#include "game/replay/replay.h"
#include "game/replay_run.h"
#include "game/video/video_encoder.h"
#include "game/video_run.h"
#include "graphics/graphics.h"
#include "graphics/view_recorder.h"
#include "harness/harness.h"
#include "system/hook.h"
#include "tests/game/aim_script.h"
#include "tests/game/temp_folder.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEsc = 27;
constexpr int kPlayFrames = 150;
// Lower than any frame of a correct file gives (about 30 dB for VP9 and 35 for H.264 at their
// settings), far above what a frame of another moment or a shifted picture gives (about 15).
constexpr double kMinPsnr = 25.0;
// Every this many frames the game's own picture is kept to compare.
constexpr int kKeepEvery = 15;

// What the decoder makes of a file.
struct Decoded {
  int frames = 0;
  std::map<int, double> psnr;  // by frame (from 1), for the frames with a picture to compare
  int rate = 0;
  std::vector<float> left;  // the left channel from the file's time 0
  std::string stereo;       // Matroska's tag ("left_right"), else the side data's type, or ""
};

// The game's pictures by frame, kept by a hook after the filming one.
std::map<int, std::vector<std::uint8_t>> pictures;
int last_frame = 0, first_shot = 0;

TObject* KeepPicture(int, TObject* data, TObject*) {
  // The music is muted so that the shot's sound stands out (volumes steer nothing of play).
  ChannelVolume(program.musicchannel, 0);
  const int frame = ReplayFramesPlayed();
  if (frame <= last_frame) return data;
  last_frame = frame;
  if (first_shot == 0 && playfield.shotlist->Count() > 0) first_shot = frame;
  if (frame % kKeepEvery == 0) {
    const Ref<TPixmap> picture = GrabStereoPicture();
    std::vector<std::uint8_t>& kept = pictures[frame];
    for (int y = 0; y < picture->height; ++y) {
      const std::uint8_t* row = picture->pixels + y * picture->pitch;
      kept.insert(kept.end(), row, row + 4 * picture->width);
    }
  }
  return data;
}

double Psnr(const std::vector<std::uint8_t>& a, const std::uint8_t* b, int pitch, int w, int h) {
  double sum = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) {
        const double d = a[(y * w + x) * 4 + c] - b[y * pitch + x * 4 + c];
        sum += d * d;
      }
    }
  }
  const double mse = sum / (3.0 * w * h);
  return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

std::string StereoOf(const AVStream* stream) {
  if (const AVDictionaryEntry* tag = av_dict_get(stream->metadata, "stereo_mode", nullptr, 0)) {
    if (std::string(tag->value) != "mono") return tag->value;
  }
  const auto* stereo = reinterpret_cast<const AVStereo3D*>(
      av_stream_get_side_data(stream, AV_PKT_DATA_STEREO3D, nullptr));
  return stereo && stereo->type != AV_STEREO3D_2D ? av_stereo3d_type_name(stereo->type) : "";
}

Decoded Decode(const std::string& path, int width, int height) {
  Decoded out;
  AVFormatContext* file = nullptr;
  EXPECT_EQ(avformat_open_input(&file, path.c_str(), nullptr, nullptr), 0) << path;
  if (!file) return out;
  avformat_find_stream_info(file, nullptr);
  AVCodecContext* decoders[2] = {};
  int video = -1, audio = -1;
  for (unsigned i = 0; i < file->nb_streams; ++i) {
    const AVCodecParameters* par = file->streams[i]->codecpar;
    const int kind = par->codec_type == AVMEDIA_TYPE_VIDEO ? 0 : 1;
    (kind == 0 ? video : audio) = static_cast<int>(i);
    decoders[kind] = avcodec_alloc_context3(avcodec_find_decoder(par->codec_id));
    avcodec_parameters_to_context(decoders[kind], par);
    avcodec_open2(decoders[kind], decoders[kind]->codec, nullptr);
  }
  EXPECT_GE(video, 0);
  EXPECT_GE(audio, 0);
  if (video < 0 || audio < 0) return out;
  out.stereo = StereoOf(file->streams[video]);
  out.rate = decoders[1]->sample_rate;
  SwsContext* to_rgb = sws_getContext(width, height, AV_PIX_FMT_YUV420P, width, height,
                                      AV_PIX_FMT_RGBA, SWS_POINT, nullptr, nullptr, nullptr);
  const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
  sws_setColorspaceDetails(to_rgb, bt709, 0, bt709, 1, 0, 1 << 16, 1 << 16);
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width) * height * 4);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  const AVRational audio_base = file->streams[audio]->time_base;
  const auto take = [&](int kind) {
    while (avcodec_receive_frame(decoders[kind], frame) == 0) {
      if (kind == 0) {
        const int number = ++out.frames;
        if (pictures.count(number)) {
          std::uint8_t* planes[1] = {rgba.data()};
          const int pitches[1] = {width * 4};
          sws_scale(to_rgb, frame->data, frame->linesize, 0, height, planes, pitches);
          out.psnr[number] = Psnr(pictures[number], rgba.data(), width * 4, width, height);
        }
      } else {
        // Placed by its time stamp: the encoder's priming is not part of the sound.
        const std::int64_t at = av_rescale_q(frame->best_effort_timestamp, audio_base,
                                             AVRational{1, frame->sample_rate});
        if (at > static_cast<std::int64_t>(out.left.size())) out.left.resize(at, 0.0f);
        for (int i = 0; i < frame->nb_samples; ++i) {
          const float value =
              frame->format == AV_SAMPLE_FMT_FLTP
                  ? reinterpret_cast<const float*>(frame->data[0])[i]
                  : reinterpret_cast<const float*>(frame->data[0])[i * 2];  // FLT interleaved
          if (at + i >= 0) out.left.push_back(value);
        }
      }
    }
  };
  while (av_read_frame(file, packet) >= 0) {
    const int kind = packet->stream_index == video ? 0 : 1;
    avcodec_send_packet(decoders[kind], packet);
    av_packet_unref(packet);
    take(kind);
  }
  for (int kind = 0; kind < 2; ++kind) {
    avcodec_send_packet(decoders[kind], nullptr);
    take(kind);
    avcodec_free_context(&decoders[kind]);
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  sws_freeContext(to_rgb);
  avformat_close_input(&file);
  return out;
}

// A short game recorded once for the whole file: a click on the title, the aiming script for
// kPlayFrames frames of play, then ESC, which ends the program.
class VideoOfReplay : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    const fs::path data = folder_ / "data";
    fs::create_directories(data);
    const fs::path built = fs::read_symlink("/proc/self/exe").parent_path() / "data";
    for (const auto& entry : fs::directory_iterator(built)) {
      if (entry.path().extension() == ".ogg") {
        fs::create_symlink(entry.path(), data / entry.path().filename());
      }
    }
    LoadSettings((folder_ / "config" / "settings.ini").string());
    options_.folder = folder_.string();
    options_.null_graphics = true;
  }
  void TearDown() override {
    HarnessStop();
    ResetSettings();
    SetColourMode(ColourMode::Anaglyph);
    TempFolderTest::TearDown();
  }

  std::string Record() {
    const std::string path = (folder_ / "game.replay").string();
    AimScript aim;
    int played = 0;
    HarnessPrepare(options_);
    HarnessOnFlip([&] {
      if (CurrentModalScreen() != ModalScreen::None || HarnessFlips() < 2) return;
      if (game_mode.titlemode == 1) {
        if (played == 0) HarnessClick(1);
        return;
      }
      if (!game_mode.playing) return;
      if (++played == kPlayFrames) HarnessTapKey(kEsc);
      aim.Step();
    });
    const GameRunResult recorded = RecordGame(path, 4242);
    HarnessOnFlip(nullptr);
    EXPECT_EQ(recorded.games, 1);
    frames_ = recorded.frames;
    return path;
  }

  // The replay made into `name`, the game's own pictures kept on the way.
  VideoRunResult Film(const std::string& replay, const std::string& name) {
    pictures.clear();
    last_frame = first_shot = 0;
    HarnessPrepare(options_);
    AttachHook(FlipHookId(), KeepPicture, nullptr, -3000);
    VideoJob job;
    job.replay = replay;
    job.output = (folder_ / name).string();
    const VideoRunResult result = RenderReplayVideo(job);
    DetachHook(FlipHookId(), KeepPicture);
    return result;
  }

  HarnessOptions options_;
  int frames_ = 0;
};

TEST_F(VideoOfReplay, WebMAndMp4HoldEveryFrameCloseToTheGamesPictureWithItsSoundInStep) {
  const std::string replay = Record();
  ASSERT_GT(frames_, kPlayFrames);
  std::vector<std::vector<float>> sounds;
  for (const std::string name : {"game.webm", "game.mp4"}) {
    SCOPED_TRACE(name);
    const VideoRunResult result = Film(replay, name);
    ASSERT_EQ(result.status, 0) << result.message;
    EXPECT_EQ(result.frames, frames_);
    EXPECT_NE(result.summary.find("wrote " + (folder_ / name).string()), std::string::npos);
    EXPECT_FALSE(fs::exists(folder_ / (std::string(name) + ".part")));
    ASSERT_GT(first_shot, 0) << "the game fired no shot";
    ASSERT_FALSE(pictures.empty());

    const Decoded file = Decode((folder_ / name).string(), 640, 480);
    EXPECT_EQ(file.frames, frames_);
    // Matroska's stereo mode says anaglyph; MP4 has no word for it.
    EXPECT_EQ(file.stereo, name == std::string("game.mp4") ? "" : "anaglyph_cyan_red");
    for (const auto& [frame, psnr] : file.psnr) {
      EXPECT_GE(psnr, kMinPsnr) << "frame " << frame;
    }
    ASSERT_EQ(file.psnr.size(), pictures.size());

    // As long as the picture, to within the last encoder frame, and not silent.
    const double seconds = static_cast<double>(file.left.size()) / file.rate;
    EXPECT_NEAR(seconds, frames_ / 60.0, 0.05);
    double energy = 0;
    for (float v : file.left) energy += v * v;
    EXPECT_GT(std::sqrt(energy / static_cast<double>(file.left.size())), 0.001);

    // The first shot's sound starts within a frame of the first frame its laser shows: the one
    // after the frame that fired it. Its onset: where the loudness (the peak of each eighth of a
    // frame) rises most, within two frames either side; other sounds may already be playing.
    const int per_frame = file.rate / 60, eighth = per_frame / 8;
    const long shown = static_cast<long>(first_shot) * per_frame;
    ASSERT_LT(shown + 3 * per_frame, static_cast<long>(file.left.size()));
    const auto loudness = [&](long block) {
      float peak = 0;
      for (long i = 0; i < eighth; ++i) {
        peak = std::max(peak, std::fabs(file.left[shown + block * eighth + i]));
      }
      return peak;
    };
    long onset = 0;
    float rise = 0;
    for (long block = -16; block < 16; ++block) {
      if (loudness(block) - loudness(block - 1) > rise) {
        rise = loudness(block) - loudness(block - 1);
        onset = block;
      }
    }
    EXPECT_GT(rise, 0.1f) << "no shot to hear";
    EXPECT_LE(std::abs(onset), 8) << "the shot sounds " << onset / 8.0 << " frames from its laser";
  }
}

TEST_F(VideoOfReplay, TheSameReplayGivesTheSameFileAndNothingOfThePlayersIsWritten) {
  const std::string replay = Record();
  const fs::path data = folder_ / "data";
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(data)) names.push_back(entry.path().string());
  ASSERT_EQ(Film(replay, "a.webm").status, 0);
  ASSERT_EQ(Film(replay, "b.webm").status, 0);
  EXPECT_TRUE(ReadText(folder_ / "a.webm") == ReadText(folder_ / "b.webm"));
  std::vector<std::string> after;
  for (const auto& entry : fs::directory_iterator(data)) after.push_back(entry.path().string());
  EXPECT_EQ(after, names) << "the video wrote into the player's data folder";
  EXPECT_FALSE(fs::exists(folder_ / "config" / "settings.ini"));
}

// Each stereo layout and the anaglyph picture, said in the file as each container can.
TEST(VideoStereoMode, TheFileSaysHowItsPictureIsLaidOutForEachEye) {
  const fs::path folder = fs::temp_directory_path() / ("zx_stereo_" + std::to_string(getpid()));
  fs::create_directories(folder);
  const struct {
    const char* name;
    VideoStereo stereo;
    int width, height;
    const char* said;
  } cases[] = {
      {"sbs.mkv", VideoStereo::kSideBySide, 1280, 480, "left_right"},
      {"half.webm", VideoStereo::kSideBySideHalf, 640, 480, "left_right"},
      {"tb.webm", VideoStereo::kTopBottom, 640, 960, "top_bottom"},
      {"red.mkv", VideoStereo::kAnaglyphCyanRed, 640, 480, "anaglyph_cyan_red"},
      {"red.webm", VideoStereo::kAnaglyphCyanRed, 640, 480, "anaglyph_cyan_red"},
      {"sbs.mp4", VideoStereo::kSideBySide, 1280, 480, "side by side"},
      {"flat.webm", VideoStereo::kMono, 640, 480, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VideoFormat format;
    ASSERT_TRUE(VideoContainerForFile(c.name, &format.container));
    format.width = c.width;
    format.height = c.height;
    format.stereo = c.stereo;
    std::string problem;
    const std::string path = (folder / c.name).string();
    auto video = VideoEncoder::Open(path, format, &problem);
    ASSERT_TRUE(video) << problem;
    std::vector<std::uint8_t> picture(static_cast<std::size_t>(c.width) * c.height * 4, 90);
    std::vector<std::int16_t> sound(735 * 2, 0);
    for (int frame = 0; frame < 3; ++frame) {
      ASSERT_TRUE(video->AddFrame(picture.data(), c.width * 4));
      ASSERT_TRUE(video->AddSamples(sound.data(), 735));
    }
    ASSERT_TRUE(video->Finish()) << video->Problem();
    pictures.clear();
    EXPECT_EQ(Decode(path, c.width, c.height).stereo, c.said);
  }
  fs::remove_all(folder);
}

// The program refuses a name, a folder or a full disk with one line and status 2, leaving no
// file; an end signal removes the partial file.
class VideoProgram : public VideoOfReplay {
 protected:
  struct Outcome {
    std::string out, err;
    int status = -1;
  };
  Outcome Run(const std::string& args, const std::string& before = "") {
    const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "zumbrix";
    const fs::path out = folder_ / "out.txt", err = folder_ / "err.txt";
    const std::string command = "cd '" + folder_.string() + "' && " + before + "HOME='" +
                                (folder_ / "home").string() + "' '" + program.string() + "' " +
                                args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadText(out);
    run.err = ReadText(err);
    return run;
  }
};

TEST_F(VideoProgram, ABadNameAFolderThatCannotBeWrittenOrAFullDiskLeaveNoFile) {
  const std::string replay = Record();
  Outcome run = Run("--replay game.replay --video game.avi");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("FILE.webm"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("FILE.mp4"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("FILE.mkv"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(folder_ / "game.avi"));

  run = Run("--replay game.replay --video missing/game.webm");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot write " + (folder_ / "missing/game.webm").string()),
            std::string::npos)
      << run.err;

  // A file limit of 64 kB stands in for a disk that fills up as the video is written.
  run = Run("--replay game.replay --video full.webm", "ulimit -f 64 && ");
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(folder_ / "full.webm"));
  EXPECT_FALSE(fs::exists(folder_ / "full.webm.part"));

  // Ctrl+C once the file is under way: the partial file goes.
  const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "zumbrix";
  const std::string stop = "cd '" + folder_.string() + "' && HOME='" + (folder_ / "home").string() +
                           "' '" + program.string() +
                           "' --replay game.replay --video stopped.webm >/dev/null 2>&1 & "
                           "for i in $(seq 600); do [ -s stopped.webm.part ] && break; "
                           "sleep 0.05; done; kill -INT $!; wait $!";
  const int raw = std::system(stop.c_str());
  EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 130);
  EXPECT_FALSE(fs::exists(folder_ / "stopped.webm"));
  EXPECT_FALSE(fs::exists(folder_ / "stopped.webm.part"));
}

}  // namespace
