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

// Settings of the MP3 encoder, handed to a writer by SetMp3Encoder. Every
// call only records a value; the writer applies them when it opens an MP3.
// Order of application: the properties, then SetPreset, then SetAltPreset,
// then the command line. Setting a property drops an earlier preset, and any
// setter drops an earlier command line, so each configuration starts fresh.
class IAudioFile2LameEnc {
 public:
  virtual ~IAudioFile2LameEnc() = default;

  // LAME-style options ("-b 128 -m j --lowpass 16"); an unknown option makes
  // the writer's OpenWrite fail with a message naming it.
  virtual void SetCommandLine(const std::string& text) = 0;
  // 1 Phone, 2 SW, 3 AM, 4 FM, 5 Voice, 6 Radio, 7 Tape, 8 HiFi, 9 CD,
  // 10 Studio, 11 R3Mix.
  virtual void SetPreset(int32_t number) = 0;
  // 1 Fast Standard, 2 Standard, 3 Fast Extreme, 4 Extreme, 5 Insane.
  virtual void SetAltPreset(int32_t number) = 0;

  virtual void SetWriteVbrHeader(bool on) = 0;
  virtual void SetEnforceMinBitrate(bool on) = 0;
  virtual void SetCrc(bool on) = 0;
  virtual void SetAllowDiffShort(bool on) = 0;
  virtual void SetBitReservoir(bool on) = 0;
  virtual void SetShortBlocks(bool on) = 0;
  virtual void SetStrictIso(bool on) = 0;
  // Filter frequencies and widths in Hz; a frequency of -1 leaves the
  // filter to the encoder's own choice.
  virtual void SetHighpassFreq(int32_t hz) = 0;
  virtual void SetHighpassWidth(int32_t hz) = 0;
  virtual void SetLowpassFreq(int32_t hz) = 0;
  virtual void SetLowpassWidth(int32_t hz) = 0;
  // -1 constant bit rate, 0 default VBR, 1 old VBR, 2 new VBR, 3 MTRH.
  virtual void SetVbrMode(int32_t mode) = 0;
  // 0 default, 1 ATH only, 2 no ATH, 3 ATH for short blocks only.
  virtual void SetAthMode(int32_t mode) = 0;
  virtual void SetForceMono(int32_t on) = 0;
  // 1 stereo, 2 joint stereo, 3 forced joint stereo, 4 dual channel.
  virtual void SetChannelMode(int32_t mode) = 0;
  // 0 none, 1 50/15 microseconds, 2 CCITT J.17.
  virtual void SetDeemphasis(int32_t mode) = 0;
  // 0 best and slowest .. 9 fastest.
  virtual void SetQuality(int32_t quality) = 0;
  // kbit/s: the constant bit rate, and in VBR modes the lowest bit rate.
  virtual void SetBitrate(int32_t kbps) = 0;
  // kbit/s: the highest bit rate in VBR modes.
  virtual void SetVbrBitrate(int32_t kbps) = 0;
  // 0 best .. 9 smallest.
  virtual void SetVbrQuality(int32_t quality) = 0;
  // Hz; 0 keeps the input's rate.
  virtual void SetOutputSampleRate(int32_t hz) = 0;
};

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

// Gain changes on a block, in place. Percentages: 100 leaves a sample as it is.
class IAudioTransform2 {
 public:
  virtual ~IAudioTransform2() = default;
  // A linear gain from start percent on the first frame to end percent on
  // the last one.
  virtual void ApplyGainRamp(TSampleBlock& block, float start, float end) = 0;
  // Scales the block so its peak is percent of full scale; channel -1 takes
  // all channels together, 0.. only that channel. A silent block stays silent.
  virtual void Normalize(TSampleBlock& block, float percent, int32_t channel = -1) = 0;
};

// The preview player. Blocks queued by LoadSamples play in order; the events
// arrive on the thread that created the player (the main thread).
class IAudioPlayer2 {
 public:
  virtual ~IAudioPlayer2() = default;
  virtual void SetFormat(int32_t rate, int32_t channels) = 0;
  virtual void Play() = 0;
  // Queues a block; an empty one is accepted and plays nothing.
  virtual void LoadSamples(const TSampleBlock& block) = 0;
  // Stops at once and drops everything queued.
  virtual void Stop() = 0;
};
