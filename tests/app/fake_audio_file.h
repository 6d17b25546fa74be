// An audio reader that answers from a table of paths, for list tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/audio.h"

struct FakeAudioProps {
  int32_t rate = 44100;
  int32_t channels = 2;
  int32_t durationMs = 1000;
};

class FakeAudioFile : public IAudioFile2 {
 public:
  std::map<std::string, FakeAudioProps> files;  // anything else fails to open
  std::vector<std::string> log;
  bool open = false;
  int32_t voxRate = 8000;
  FakeAudioProps current;

  void OpenRead(const std::string& name, int32_t, int32_t) override {
    log.push_back("open " + name + " vox " + std::to_string(voxRate));
    auto it = files.find(name);
    if (it == files.end()) throw AudioError(name + ": cannot decode");
    current = it->second;
    open = true;
  }
  void OpenWrite(const std::string&, int32_t) override {}
  void Close() override {
    log.push_back("close");
    open = false;
  }
  TSampleBlock ReadSamples(int64_t) override { return {}; }
  void WriteSamples(const TSampleBlock&) override {}
  void SetInputFormat(int32_t, int32_t) override {}
  void SetWavFormat(int32_t, int32_t, int32_t) override {}
  void SetVoxFormat(int32_t rate) override { voxRate = rate; }
  void SetWmaProfile(int32_t) override {}
  void SetOggFormat(int32_t, int32_t, int32_t, int32_t, int32_t, int16_t) override {}
  void SetMp3Encoder(IAudioFile2LameEnc*) override {}
  int64_t SampleCount() const override { return 0; }
  int32_t SampleRate() const override { return current.rate; }
  int32_t Channels() const override { return current.channels; }
  int32_t DurationMs() const override { return open ? current.durationMs : 0; }
  int32_t StreamSampleRate() const override { return current.rate; }
  int32_t StreamChannels() const override { return current.channels; }
  bool IsOpen() const override { return open; }
  void SetEnabled(bool enabled) override { log.push_back(enabled ? "enable" : "disable"); }
};
