// Converts interleaved float samples from one rate and channel count to
// another with libswresample. The output of a whole stream holds exactly
// round(input frames x output rate / input rate) frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio/ffmpeg_util.h"

namespace tonvara::audio {

class Resampler {
 public:
  // `name` is the output file, for error messages.
  Resampler(const std::string& name, int inRate, int inChannels, int outRate, int outChannels);
  // Appends the converted frames of `frames` input frames to out.
  void Convert(const float* samples, int64_t frames, std::vector<float>& out);
  // At the end of the stream: appends what the converter still holds.
  void Flush(std::vector<float>& out);

 private:
  void Run(const float* samples, int64_t frames, std::vector<float>& out);
  void Mix(const float* samples, int64_t frames, std::vector<float>& out) const;

  std::string name_;
  int in_rate_, in_channels_, out_rate_, out_channels_;
  SwrPtr swr_;  // only when the rates differ
  int64_t frames_in_ = 0;
  int64_t frames_out_ = 0;
  std::vector<float> mixed_;
};

}  // namespace tonvara::audio
