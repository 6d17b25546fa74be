// TAudioFile2: reads and writes audio files.
#pragma once

#include "platform/audio.h"

class TAudioFile2 : public IAudioFile2 {
 public:
  TAudioFile2();
  ~TAudioFile2() override;

  void OpenRead(const std::string& name, int32_t a = 0, int32_t b = 1) override;
  void OpenWrite(const std::string& name, int32_t a = 0) override;
  void Close() override;
  TSampleBlock ReadSamples(int64_t frames) override;
  void WriteSamples(const TSampleBlock& block) override;
  void SetInputFormat(int32_t rate, int32_t channels) override;
  void SetWavFormat(int32_t rate, int32_t channels, int32_t bits) override;
  void SetVoxFormat(int32_t rate) override;
  void SetWmaProfile(int32_t number) override;
  void SetOggFormat(int32_t rate, int32_t channels, int32_t bitrate, int32_t minimum, int32_t maximum,
                    int16_t quality) override;
  void SetMp3Encoder(IAudioFile2LameEnc* encoder) override;
  int64_t SampleCount() const override { return 0; }
  int32_t SampleRate() const override { return 0; }
  int32_t Channels() const override { return 0; }
  int32_t DurationMs() const override { return 0; }
  int32_t StreamSampleRate() const override { return 0; }
  int32_t StreamChannels() const override { return 0; }
  bool IsOpen() const override { return false; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool Enabled() const { return enabled_; }

 private:
  bool enabled_ = false;
};
