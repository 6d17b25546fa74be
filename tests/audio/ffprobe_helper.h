// FFmpeg's command-line tools as an independent reader for tests: what
// ffprobe says about a file's first audio stream, and how many frames
// ffmpeg decodes from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonvara::test {

struct ProbedAudio {
  bool ok = false;            // ffprobe found an audio stream
  std::string format_name;    // container, e.g. "mp3", "ogg", "asf", "wav"
  std::string codec_name;     // e.g. "mp3", "vorbis", "wmav2", "pcm_s16le"
  int sample_rate = 0;
  int channels = 0;
  int bits_per_sample = 0;    // for PCM
  int64_t bit_rate = 0;       // bit/s: the stream's, else the container's
  double duration = 0;        // seconds, as the container states it
};

ProbedAudio ProbeAudio(const std::string& path);

// Frames of the first audio stream as ffmpeg decodes it; -1 when it fails.
int64_t FfmpegDecodedFrames(const std::string& path);

// The first audio stream decoded by ffmpeg to interleaved float.
std::vector<float> FfmpegDecodedSamples(const std::string& path);

// Runs ffmpeg with the given arguments (quiet, no overwrite prompt);
// true when it succeeded.
bool RunFfmpeg(const std::string& arguments);

// A path quoted for the shell.
std::string ShellQuote(const std::string& text);

}  // namespace tonvara::test
