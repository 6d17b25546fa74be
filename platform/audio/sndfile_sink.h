// A sink that writes through libsndfile (WAV and VOX).
#pragma once

#include <vector>

#include "platform/audio/sample_sink.h"
#include "platform/audio/sndfile_util.h"

namespace tonvara::audio {

class SndfileSink : public SampleSink {
 public:
  SndfileSink(const SinkTarget& target, int rate, int channels, int format);
  int Rate() const override { return rate_; }
  int Channels() const override { return channels_; }
  void Write(const float* samples, int64_t frames) override;
  void Finish() override;

 private:
  std::string name_;
  int rate_;
  int channels_;
  SndfilePtr file_;
  // VOX packs two samples a byte and libsndfile pads every odd-sized write,
  // so mono VOX is written in pairs and an odd last sample waits here.
  bool pairs_ = false;
  bool has_held_ = false;
  float held_ = 0;
  std::vector<float> joined_;
  void WriteFrames(const float* samples, int64_t frames);
};

}  // namespace tonvara::audio
