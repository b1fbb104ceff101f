// video_encoder.cpp - the container, the two encoders, the picture's conversion to YUV with its
// nearest-pixel enlargement, and the sound's resampling, over FFmpeg's libraries.
#include "game/video/video_encoder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/opt.h>
#include <libavutil/stereo3d.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr int kFramesPerSecond = 60;
constexpr int kSoundRate = 44100;

struct ContainerChoice {
  VideoContainer container;
  const char* extension;
  const char* muxer;
  const char* video_codec;
  const char* audio_codec;
};

constexpr ContainerChoice kContainers[] = {
    {VideoContainer::kWebM, ".webm", "webm", "libvpx-vp9", "libopus"},
    {VideoContainer::kMp4, ".mp4", "mp4", "libx264", "aac"},
    {VideoContainer::kMatroska, ".mkv", "matroska", "libvpx-vp9", "libopus"},
};

const ContainerChoice& ChoiceOf(VideoContainer container) {
  for (const ContainerChoice& choice : kContainers) {
    if (choice.container == container) return choice;
  }
  return kContainers[0];
}

std::string ErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

// Matroska's StereoMode element holding 0 (mono) and the same holding 10 (anaglyph cyan/red).
// FFmpeg's muxer writes no anaglyph mode, so the file is written as mono and the one byte changed
// once it is complete: same element, same length.
constexpr std::uint8_t kStereoModeMono[] = {0x53, 0xB8, 0x81, 0x00};
constexpr std::uint8_t kAnaglyphCyanRed = 10;

// Sets the mono StereoMode in the file's head to anaglyph cyan/red; false when it is not there.
bool MarkAnaglyph(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) return false;
  std::vector<std::uint8_t> head(65536);
  const std::size_t got = std::fread(head.data(), 1, head.size(), file);
  const auto at = std::search(head.begin(), head.begin() + static_cast<long>(got),
                              std::begin(kStereoModeMono), std::end(kStereoModeMono));
  bool ok = at != head.begin() + static_cast<long>(got);
  if (ok) {
    const long offset = (at - head.begin()) + 3;
    ok = std::fseek(file, offset, SEEK_SET) == 0 && std::fputc(kAnaglyphCyanRed, file) != EOF;
  }
  return std::fclose(file) == 0 && ok;
}

}  // namespace

struct VideoEncoder::Streams {
  VideoFormat format;
  std::string path, partial;
  std::string problem;
  bool stereo_side_data = false;
  AVFormatContext* muxer = nullptr;
  AVCodecContext* video = nullptr;
  AVCodecContext* audio = nullptr;
  AVStream* video_stream = nullptr;
  AVStream* audio_stream = nullptr;
  SwsContext* scaler = nullptr;
  SwrContext* resampler = nullptr;
  AVAudioFifo* fifo = nullptr;
  AVFrame* picture = nullptr;
  AVFrame* sound = nullptr;
  AVPacket* packet = nullptr;
  std::int64_t frames = 0;
  std::int64_t samples = 0;  // at the audio encoder's rate
  bool file_open = false;
  bool done = false;

  ~Streams() {
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    sws_freeContext(scaler);
    swr_free(&resampler);
    if (fifo) av_audio_fifo_free(fifo);
    av_frame_free(&picture);
    av_frame_free(&sound);
    av_packet_free(&packet);
    if (muxer) {
      if (file_open) avio_closep(&muxer->pb);
      avformat_free_context(muxer);
    }
  }

  bool Fail(const std::string& what) {
    if (problem.empty()) problem = what;
    return false;
  }
  bool Fail(const std::string& what, int code) { return Fail(what + ": " + ErrorText(code)); }

  // Writes what the encoder has ready; `frame` null drains it.
  bool Encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    int result = avcodec_send_frame(codec, frame);
    if (result < 0) return Fail("the encoder refused a frame", result);
    for (;;) {
      result = avcodec_receive_packet(codec, packet);
      if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
      if (result < 0) return Fail("the encoder failed", result);
      av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      result = av_interleaved_write_frame(muxer, packet);
      if (result < 0) return Fail("cannot write " + path, result);
      if (muxer->pb->error < 0) return Fail("cannot write " + path, muxer->pb->error);
    }
  }

  bool OpenVideo(const AVCodec* codec) {
    video = avcodec_alloc_context3(codec);
    if (!video) return Fail("out of memory");
    video->width = format.width * format.scale;
    video->height = format.height * format.scale;
    video->time_base = AVRational{1, kFramesPerSecond};
    video->framerate = AVRational{kFramesPerSecond, 1};
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->gop_size = 2 * kFramesPerSecond;  // a place to seek to every two seconds
    video->thread_count = 2;
    video->color_primaries = AVCOL_PRI_BT709;
    video->color_trc = AVCOL_TRC_BT709;
    video->colorspace = AVCOL_SPC_BT709;
    video->color_range = AVCOL_RANGE_MPEG;
    // Side-by-side-half's views are squeezed to half their width: shown twice as wide.
    if (format.stereo == VideoStereo::kSideBySideHalf) video->sample_aspect_ratio = {2, 1};
    if (muxer->oformat->flags & AVFMT_GLOBALHEADER) video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (ChoiceOf(format.container).container == VideoContainer::kMp4) {
      // x264's own fast settings; constant quality, where flat colours and thin stars cost little.
      av_dict_set(&options, "preset", "veryfast", 0);
      av_dict_set(&options, "tune", "animation", 0);
      av_dict_set(&options, "crf", "20", 0);
    } else {
      // libvpx's real-time mode on both cores (rows in parallel), at constant quality: past 32
      // the stars and edges measure the same (the loss is the colour subsampling's) and the
      // file is half the size, about 15 MB a minute.
      av_dict_set(&options, "deadline", "realtime", 0);
      av_dict_set(&options, "cpu-used", "8", 0);
      av_dict_set(&options, "row-mt", "1", 0);
      av_dict_set(&options, "tile-columns", "1", 0);
      av_dict_set(&options, "crf", "40", 0);
      av_dict_set(&options, "b", "0", 0);
    }
    const int result = avcodec_open2(video, codec, &options);
    av_dict_free(&options);
    if (result < 0)
      return Fail(std::string("the ") + codec->name + " encoder did not start", result);
    video_stream = avformat_new_stream(muxer, nullptr);
    if (!video_stream) return Fail("out of memory");
    video_stream->time_base = video->time_base;
    video_stream->avg_frame_rate = video->framerate;
    video_stream->sample_aspect_ratio = video->sample_aspect_ratio;
    avcodec_parameters_from_context(video_stream->codecpar, video);
    picture = av_frame_alloc();
    if (!picture) return Fail("out of memory");
    picture->format = video->pix_fmt;
    picture->width = video->width;
    picture->height = video->height;
    if (av_frame_get_buffer(picture, 0) < 0) return Fail("out of memory");
    // Enlarged pixels stay hard squares; at their own size the colour planes are averaged
    // rather than sampled, so that a thin red or cyan line keeps its colour.
    scaler = sws_getContext(format.width, format.height, AV_PIX_FMT_RGBA, video->width,
                            video->height, video->pix_fmt,
                            (format.scale > 1 ? SWS_POINT : SWS_BILINEAR) | SWS_ACCURATE_RND,
                            nullptr, nullptr, nullptr);
    if (!scaler) return Fail("the picture cannot be converted");
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    sws_setColorspaceDetails(scaler, bt709, 1, bt709, 0, 0, 1 << 16, 1 << 16);
    return true;
  }

  bool OpenAudio(const AVCodec* codec) {
    audio = avcodec_alloc_context3(codec);
    if (!audio) return Fail("out of memory");
    // Opus runs at 48000 Hz only; AAC keeps the mixer's rate.
    int rate = kSoundRate;
    if (codec->supported_samplerates) {
      rate = codec->supported_samplerates[0];
      for (const int* r = codec->supported_samplerates; *r; ++r) {
        if (*r == kSoundRate) rate = kSoundRate;
        if (*r == 48000 && rate != kSoundRate) rate = 48000;
      }
    }
    audio->sample_rate = rate;
    audio->sample_fmt = codec->sample_fmts ? codec->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&audio->ch_layout, 2);
    audio->bit_rate = codec->id == AV_CODEC_ID_OPUS ? 128000 : 160000;
    audio->time_base = AVRational{1, rate};
    if (muxer->oformat->flags & AVFMT_GLOBALHEADER) audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(audio, codec, nullptr);
    if (result < 0)
      return Fail(std::string("the ") + codec->name + " encoder did not start", result);
    audio_stream = avformat_new_stream(muxer, nullptr);
    if (!audio_stream) return Fail("out of memory");
    audio_stream->time_base = audio->time_base;
    avcodec_parameters_from_context(audio_stream->codecpar, audio);
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    result = swr_alloc_set_opts2(&resampler, &audio->ch_layout, audio->sample_fmt, rate, &stereo,
                                 AV_SAMPLE_FMT_S16, kSoundRate, 0, nullptr);
    if (result < 0 || swr_init(resampler) < 0) return Fail("the sound cannot be resampled");
    fifo = av_audio_fifo_alloc(audio->sample_fmt, 2, 4096);
    sound = av_frame_alloc();
    if (!fifo || !sound) return Fail("out of memory");
    return true;
  }

  // The stereo layout as the file's side data: Matroska's StereoMode, MP4's st3d box.
  bool DescribeStereo() {
    AVStereo3D* stereo = av_stereo3d_alloc();
    if (!stereo) return Fail("out of memory");
    switch (format.stereo) {
      case VideoStereo::kSideBySide:
      case VideoStereo::kSideBySideHalf:
        stereo->type = AV_STEREO3D_SIDEBYSIDE;
        break;
      case VideoStereo::kTopBottom:
        stereo->type = AV_STEREO3D_TOPBOTTOM;
        break;
      case VideoStereo::kMono:
      case VideoStereo::kAnaglyphCyanRed:
        stereo->type = AV_STEREO3D_2D;
        break;
    }
    stereo_side_data = stereo->type != AV_STEREO3D_2D;
    const int result =
        av_stream_add_side_data(video_stream, AV_PKT_DATA_STEREO3D,
                                reinterpret_cast<std::uint8_t*>(stereo), sizeof *stereo);
    if (result < 0) {
      av_free(stereo);
      return Fail("out of memory");
    }
    return true;
  }

  // Encodes whole encoder frames from the queue; `last` also sends what is left, however short.
  bool DrainSound(bool last) {
    const int size = audio->frame_size > 0 ? audio->frame_size : 1024;
    while (av_audio_fifo_size(fifo) >= size || (last && av_audio_fifo_size(fifo) > 0)) {
      const int count = std::min(size, av_audio_fifo_size(fifo));
      av_frame_unref(sound);
      sound->nb_samples = count;
      sound->format = audio->sample_fmt;
      sound->sample_rate = audio->sample_rate;
      av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
      if (av_frame_get_buffer(sound, 0) < 0) return Fail("out of memory");
      av_audio_fifo_read(fifo, reinterpret_cast<void**>(sound->data), count);
      sound->pts = samples;
      samples += count;
      if (!Encode(audio, audio_stream, sound)) return false;
    }
    return true;
  }

  void RemovePartial() {
    if (muxer && file_open) {
      avio_closep(&muxer->pb);
      file_open = false;
    }
    if (!partial.empty()) std::remove(partial.c_str());
    done = true;
  }
};

bool VideoContainerForFile(const std::string& path, VideoContainer* container) {
  std::string lower = path;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  for (const ContainerChoice& choice : kContainers) {
    const std::string extension = choice.extension;
    if (lower.size() > extension.size() && lower.ends_with(extension) &&
        lower[lower.size() - extension.size() - 1] != '/') {
      *container = choice.container;
      return true;
    }
  }
  return false;
}

const char* VideoFileNamesText() {
  return "FILE.webm (VP9 and Opus, the free codecs), FILE.mp4 (H.264 and AAC) or FILE.mkv (VP9 "
         "and Opus)";
}

VideoEncoder::VideoEncoder(std::unique_ptr<Streams> streams) : streams_(std::move(streams)) {}

VideoEncoder::~VideoEncoder() {
  if (!streams_->done) Abandon();
}

std::unique_ptr<VideoEncoder> VideoEncoder::Open(const std::string& path, const VideoFormat& format,
                                                 std::string* problem) {
  av_log_set_level(AV_LOG_ERROR);
  auto streams = std::make_unique<Streams>();
  Streams& s = *streams;
  s.format = format;
  s.format.scale = std::clamp(format.scale, 1, 4);
  s.path = path;
  const ContainerChoice& choice = ChoiceOf(format.container);
  const AVCodec* video_codec = avcodec_find_encoder_by_name(choice.video_codec);
  const AVCodec* audio_codec = avcodec_find_encoder_by_name(choice.audio_codec);
  const AVOutputFormat* muxer = av_guess_format(choice.muxer, nullptr, nullptr);
  if (!video_codec || !audio_codec || !muxer) {
    *problem = std::string("this machine's FFmpeg has no ") +
               (!muxer         ? choice.muxer
                : !video_codec ? choice.video_codec
                               : choice.audio_codec) +
               (!muxer ? " muxer" : " encoder") + ", which " + choice.extension +
               " files need; try another of " + VideoFileNamesText();
    return nullptr;
  }
  if (avformat_alloc_output_context2(&s.muxer, muxer, nullptr, nullptr) < 0 ||
      !(s.packet = av_packet_alloc())) {
    *problem = "out of memory";
    return nullptr;
  }
  // MP4's stereo box is an extension that FFmpeg writes only when told unofficial boxes are wanted.
  s.muxer->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
  if (!s.OpenVideo(video_codec) || !s.OpenAudio(audio_codec) || !s.DescribeStereo()) {
    *problem = s.problem;
    return nullptr;
  }
  s.partial = path + ".part";
  // The same game gives the same file: no random track numbers, no library version in it.
  s.muxer->flags |= AVFMT_FLAG_BITEXACT;
  // MP4's index is moved to the front by reopening the file by this name.
  s.muxer->url = av_strdup(s.partial.c_str());
  int result = avio_open(&s.muxer->pb, s.partial.c_str(), AVIO_FLAG_WRITE);
  if (result < 0) {
    s.partial.clear();
    *problem = "cannot write " + path + ": " + ErrorText(result);
    return nullptr;
  }
  s.file_open = true;
  AVDictionary* options = nullptr;
  // MP4: the index at the front, so that a player starts before the whole file has arrived.
  if (format.container == VideoContainer::kMp4) av_dict_set(&options, "movflags", "+faststart", 0);
  result = avformat_write_header(s.muxer, &options);
  av_dict_free(&options);
  if (result < 0 || s.muxer->pb->error < 0) {
    *problem = "cannot write " + path + ": " + ErrorText(result < 0 ? result : s.muxer->pb->error);
    s.RemovePartial();
    return nullptr;
  }
  return std::unique_ptr<VideoEncoder>(new VideoEncoder(std::move(streams)));
}

bool VideoEncoder::AddFrame(const std::uint8_t* rgba, int pitch) {
  Streams& s = *streams_;
  if (s.done || !s.problem.empty()) return false;
  if (av_frame_make_writable(s.picture) < 0) return s.Fail("out of memory");
  const std::uint8_t* const source[1] = {rgba};
  const int source_pitch[1] = {pitch};
  sws_scale(s.scaler, source, source_pitch, 0, s.format.height, s.picture->data,
            s.picture->linesize);
  s.picture->pts = s.frames++;
  // H.264 says the layout in the stream itself too (frame packing), from the frame's side data.
  if (s.stereo_side_data && !av_frame_get_side_data(s.picture, AV_FRAME_DATA_STEREO3D)) {
    AVStereo3D* stereo = av_stereo3d_create_side_data(s.picture);
    if (!stereo) return s.Fail("out of memory");
    stereo->type =
        s.format.stereo == VideoStereo::kTopBottom ? AV_STEREO3D_TOPBOTTOM : AV_STEREO3D_SIDEBYSIDE;
  }
  return s.Encode(s.video, s.video_stream, s.picture);
}

bool VideoEncoder::AddSamples(const std::int16_t* values, int frames) {
  Streams& s = *streams_;
  if (s.done || !s.problem.empty()) return false;
  const int room = swr_get_out_samples(s.resampler, frames);
  std::uint8_t** out = nullptr;
  if (av_samples_alloc_array_and_samples(&out, nullptr, 2, room, s.audio->sample_fmt, 0) < 0) {
    return s.Fail("out of memory");
  }
  const std::uint8_t* in[1] = {reinterpret_cast<const std::uint8_t*>(values)};
  const int made = swr_convert(s.resampler, out, room, in, frames);
  const bool queued =
      made >= 0 && av_audio_fifo_write(s.fifo, reinterpret_cast<void**>(out), made) == made;
  av_freep(&out[0]);
  av_freep(&out);
  if (!queued) return s.Fail("the sound cannot be resampled");
  return s.DrainSound(false);
}

bool VideoEncoder::Finish() {
  Streams& s = *streams_;
  if (s.done) return false;
  // What the resampler holds back, then both encoders drained.
  bool ok = s.problem.empty();
  if (ok) {
    const int room = swr_get_out_samples(s.resampler, 0);
    if (room > 0) {
      std::uint8_t** out = nullptr;
      if (av_samples_alloc_array_and_samples(&out, nullptr, 2, room, s.audio->sample_fmt, 0) >= 0) {
        const int made = swr_convert(s.resampler, out, room, nullptr, 0);
        if (made > 0) av_audio_fifo_write(s.fifo, reinterpret_cast<void**>(out), made);
        av_freep(&out[0]);
        av_freep(&out);
      }
    }
    ok = s.DrainSound(true) && s.Encode(s.audio, s.audio_stream, nullptr) &&
         s.Encode(s.video, s.video_stream, nullptr);
  }
  if (ok) {
    const int result = av_write_trailer(s.muxer);
    if (result < 0) ok = s.Fail("cannot write " + s.path, result);
  }
  if (ok && s.muxer->pb->error < 0) ok = s.Fail("cannot write " + s.path, s.muxer->pb->error);
  if (ok) {
    const int result = avio_closep(&s.muxer->pb);
    s.file_open = false;
    if (result < 0) ok = s.Fail("cannot write " + s.path, result);
  }
  if (ok && s.format.stereo == VideoStereo::kAnaglyphCyanRed &&
      s.format.container != VideoContainer::kMp4 && !MarkAnaglyph(s.partial)) {
    ok = s.Fail("cannot mark " + s.path + " as anaglyph");
  }
  if (ok && std::rename(s.partial.c_str(), s.path.c_str()) != 0) {
    ok = s.Fail("cannot name " + s.path + ": " + std::strerror(errno));
  }
  if (!ok) {
    s.RemovePartial();
    return false;
  }
  s.done = true;
  return true;
}

void VideoEncoder::Abandon() { streams_->RemovePartial(); }

const std::string& VideoEncoder::Problem() const { return streams_->problem; }

std::int64_t VideoEncoder::BytesWritten() const {
  const Streams& s = *streams_;
  return s.muxer && s.muxer->pb ? avio_tell(s.muxer->pb) : 0;
}

std::int64_t VideoEncoder::Frames() const { return streams_->frames; }
