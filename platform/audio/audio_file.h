// TAudioFile2: one object reads or writes one audio file at a time.
#pragma once

#include <memory>
#include <vector>

#include "platform/audio.h"
#include "platform/audio/sample_sink.h"

namespace tonvara::audio {
class SampleSource;
class OutputFile;
class Resampler;
}  // namespace tonvara::audio

class TAudioFile2 : public IAudioFile2 {
 public:
  TAudioFile2();
  ~TAudioFile2() override;
  TAudioFile2(const TAudioFile2&) = delete;
  TAudioFile2& operator=(const TAudioFile2&) = delete;

  // Opens a file for reading: MP3, WAV, WMA, OGG, RM and the rest that
  // FFmpeg decodes; ".vox" at the rate last given to SetVoxFormat.
  void OpenRead(const std::string& name, int32_t a = 0, int32_t b = 1) override;
  // Creates an output in the format of the name's extension. An existing
  // file is never replaced; the output appears under its name at Close.
  void OpenWrite(const std::string& name, int32_t a = 0) override;
  // Reader: releases the file. Writer: flushes everything and finishes the
  // file. A writer whose write failed has discarded its output already.
  void Close() override;

  // At most `frames` frames; fewer only at the end; empty once all is read.
  TSampleBlock ReadSamples(int64_t frames) override;
  // The block holds the channel count given to SetInputFormat.
  void WriteSamples(const TSampleBlock& block) override;

  void SetInputFormat(int32_t rate, int32_t channels) override;
  void SetWavFormat(int32_t rate, int32_t channels, int32_t bits) override;
  void SetVoxFormat(int32_t rate) override;
  void SetWmaProfile(int32_t number) override;
  void SetOggFormat(int32_t rate, int32_t channels, int32_t bitrate, int32_t minimum, int32_t maximum,
                    int16_t quality) override;
  void SetMp3Encoder(IAudioFile2LameEnc* encoder) override;

  int64_t SampleCount() const override { return sample_count_; }
  int32_t SampleRate() const override { return rate_; }
  int32_t Channels() const override { return channels_; }
  int32_t DurationMs() const override;
  int32_t StreamSampleRate() const override { return rate_; }
  int32_t StreamChannels() const override { return channels_; }
  bool IsOpen() const override { return source_ != nullptr || sink_ != nullptr; }
  // A disabled object refuses to open files; disabling closes it (an
  // unfinished output is discarded, not finished).
  void SetEnabled(bool enabled) override;
  bool Enabled() const { return enabled_; }

 private:
  void CheckCanOpen(const std::string& name) const;
  void ResetReader();
  void AbandonWriter();
  void WriteConverted(const float* samples, int64_t frames);

  bool enabled_ = false;
  // Reading.
  std::unique_ptr<tonvara::audio::SampleSource> source_;
  std::vector<float> pending_;
  std::size_t pending_pos_ = 0;
  int64_t delivered_ = 0;
  int64_t sample_count_ = 0;
  int32_t rate_ = 0;
  int32_t channels_ = 0;
  // Writing.
  tonvara::audio::OutputSettings settings_;
  int32_t input_rate_ = 44100;
  int32_t input_channels_ = 2;
  std::unique_ptr<tonvara::audio::OutputFile> output_;
  std::unique_ptr<tonvara::audio::SampleSink> sink_;
  std::unique_ptr<tonvara::audio::Resampler> resampler_;
  std::vector<float> converted_;
};
