// The audio component: file reader/writer, MP3 encoder settings, sample
// transforms and the preview player.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Every failing call of the audio component throws this; the text names the
// file and the cause in plain words.
class AudioError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A block of interleaved samples of all channels, counted in frames.
// An empty block (UpperBound() == -1) means that no data is left.
class TSampleBlock {
 public:
  TSampleBlock() = default;
  TSampleBlock(int channels, int64_t frames) : channels_(channels), samples_(static_cast<std::size_t>(channels * frames)) {}

  int Channels() const { return channels_; }
  int64_t Frames() const { return channels_ > 0 ? static_cast<int64_t>(samples_.size()) / channels_ : 0; }
  // Index of the last frame; -1 for an empty block.
  int64_t UpperBound() const { return Frames() - 1; }
  bool Empty() const { return Frames() == 0; }

  float* Data() { return samples_.data(); }
  const float* Data() const { return samples_.data(); }
  std::vector<float>& Samples() { return samples_; }
  const std::vector<float>& Samples() const { return samples_; }
  void SetChannels(int channels) { channels_ = channels; }

 private:
  int channels_ = 0;
  std::vector<float> samples_;  // -1.0 .. 1.0
};

class IAudioFile2LameEnc;

class IAudioFile2 {
 public:
  virtual ~IAudioFile2() = default;

  virtual void OpenRead(const std::string& name, int32_t a = 0, int32_t b = 1) = 0;
  virtual void OpenWrite(const std::string& name, int32_t a = 0) = 0;
  // The writer finishes its file; the reader releases it.
  virtual void Close() = 0;

  virtual TSampleBlock ReadSamples(int64_t frames) = 0;
  virtual void WriteSamples(const TSampleBlock& block) = 0;

  virtual void SetInputFormat(int32_t rate, int32_t channels) = 0;
  virtual void SetWavFormat(int32_t rate, int32_t channels, int32_t bits) = 0;
  virtual void SetVoxFormat(int32_t rate) = 0;
  virtual void SetWmaProfile(int32_t number) = 0;
  virtual void SetOggFormat(int32_t rate, int32_t channels, int32_t bitrate, int32_t minimum,
                            int32_t maximum, int16_t quality) = 0;
  virtual void SetMp3Encoder(IAudioFile2LameEnc* encoder) = 0;

  virtual int64_t SampleCount() const = 0;
  virtual int32_t SampleRate() const = 0;
  virtual int32_t Channels() const = 0;
  virtual int32_t DurationMs() const = 0;
  virtual int32_t StreamSampleRate() const = 0;
  virtual int32_t StreamChannels() const = 0;
  virtual bool IsOpen() const = 0;
  // Write-only switch: a disabled object refuses to open files.
  virtual void SetEnabled(bool enabled) = 0;
};
