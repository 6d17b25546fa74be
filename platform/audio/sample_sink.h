// An encoder that takes interleaved float samples at its own rate and
// channel count and writes one output file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class IAudioFile2LameEnc;

namespace tonvara::audio {

class SampleSink {
 public:
  // Destroying an unfinished sink abandons its file (the caller removes it).
  virtual ~SampleSink() = default;
  virtual int Rate() const = 0;
  virtual int Channels() const = 0;
  virtual void Write(const float* samples, int64_t frames) = 0;
  // Flushes the encoder completely and closes the file.
  virtual void Finish() = 0;
};

// What the writer was last told for each output format; 0 means "as the
// input" for rates and channel counts.
struct OutputSettings {
  int wav_rate = 0, wav_channels = 0, wav_bits = 16;
  int vox_rate = 8000;
  int wma_profile = 10;
  int ogg_rate = 0, ogg_channels = 0, ogg_bitrate = 0, ogg_minimum = 0, ogg_maximum = 0;
  int ogg_quality = 300;
  IAudioFile2LameEnc* lame = nullptr;
};

// The file is written to `path`; `name` is the output's real name, for
// messages.
struct SinkTarget {
  std::string path;
  std::string name;
  int input_rate = 0;
  int input_channels = 0;
};

std::unique_ptr<SampleSink> OpenWavSink(const SinkTarget& target, const OutputSettings& settings);
std::unique_ptr<SampleSink> OpenVoxSink(const SinkTarget& target, const OutputSettings& settings);
std::unique_ptr<SampleSink> OpenMp3Sink(const SinkTarget& target, const OutputSettings& settings);
std::unique_ptr<SampleSink> OpenOggSink(const SinkTarget& target, const OutputSettings& settings);
std::unique_ptr<SampleSink> OpenWmaSink(const SinkTarget& target, const OutputSettings& settings);

}  // namespace tonvara::audio
