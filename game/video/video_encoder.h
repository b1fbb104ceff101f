// video_encoder.h - a video file from the game's pictures and sound: the one unit that speaks to
// FFmpeg's libraries (libavcodec, libavformat, libswscale, libswresample); nothing else includes
// their headers.
//
// The file name's extension picks the container and its codecs: .webm VP9 and Opus, .mp4 H.264
// and AAC, .mkv VP9 and Opus. Pictures come as the game draws them (RGBA, 640 x 480 or a stereo
// picture) at 60 a second, each pixel repeated `scale` times across and down so that the edges
// stay sharp; sound comes as the mixer makes it, 44100 Hz 16-bit stereo. The file is written
// under a temporary name beside the final one (NAME.part) and takes its name only when finished,
// so that a video cut off by a crash or a full disk never passes for a whole one; abandoning it
// removes the partial file.
//
//   std::string problem;
//   auto video = VideoEncoder::Open("best.webm", VideoFormat{}, &problem);
//   video->AddFrame(picture, pitch);  video->AddSamples(sound, 735);   // once per frame
//   if (!video->Finish()) std::puts(video->Problem().c_str());
//
// One thread at a time per encoder (the encoders themselves use both cores).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

enum class VideoContainer { kWebM, kMp4, kMatroska };

// What the picture holds, for the file to tell players and headsets.
enum class VideoStereo {
  kMono,             // one flat picture
  kSideBySide,       // the left eye's view on the left, both at full size
  kSideBySideHalf,   // the same squeezed into one view's width (shown stretched back)
  kTopBottom,        // the left eye's view on top
  kAnaglyphCyanRed,  // one picture of red/cyan pairs for 3D glasses
};

struct VideoFormat {
  VideoContainer container = VideoContainer::kWebM;
  int width = 640, height = 480;  // the pictures handed in
  int scale = 1;                  // 1 to 4: the file is width * scale x height * scale
  VideoStereo stereo = VideoStereo::kMono;
};

// The container the name's extension asks for (case-insensitive); false for any other.
bool VideoContainerForFile(const std::string& path, VideoContainer* container);
// The names a video file may have, for a refusal: "FILE.webm (VP9 and Opus, the free codecs),
// FILE.mp4 (H.264 and AAC) or FILE.mkv (VP9 and Opus)".
const char* VideoFileNamesText();

class VideoEncoder {
 public:
  // Abandons a file that was not finished.
  ~VideoEncoder();
  // Starts the file at `path` (written as path + ".part" until finished). Null, with one line in
  // `problem`, when the codecs are missing from this machine's FFmpeg or the file cannot be made;
  // nothing is left behind then. Any thread.
  static std::unique_ptr<VideoEncoder> Open(const std::string& path, const VideoFormat& format,
                                            std::string* problem);
  // Encodes the next picture: width x height RGBA pixels, rows `pitch` bytes apart. False once
  // anything failed (Problem() says what).
  bool AddFrame(const std::uint8_t* rgba, int pitch);
  // Encodes the next `frames` frames of 44100 Hz stereo sound (2 * frames values, left first).
  bool AddSamples(const std::int16_t* values, int frames);
  // Flushes the encoders, closes the file and gives it its name; false (and the file removed)
  // when that fails.
  bool Finish();
  // Stops and removes the partial file.
  void Abandon();
  // Why the last call failed, one line; empty while all is well.
  const std::string& Problem() const;
  // Bytes written to the file so far.
  std::int64_t BytesWritten() const;
  // Pictures encoded so far.
  std::int64_t Frames() const;

 private:
  struct Streams;
  explicit VideoEncoder(std::unique_ptr<Streams> streams);
  std::unique_ptr<Streams> streams_;
};
