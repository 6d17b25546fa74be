// Audio objects that record every call as text, for the format configuration
// tests.
#pragma once

#include <string>
#include <vector>

#include "platform/audio.h"

namespace tonvara::test {

class RecordingEncoder : public IAudioFile2LameEnc {
 public:
  std::vector<std::string> calls;

  void SetCommandLine(const std::string& t) override { calls.push_back("CommandLine " + t); }
  void SetPreset(int32_t n) override { Add("Preset", n); }
  void SetAltPreset(int32_t n) override { Add("AltPreset", n); }
  void SetWriteVbrHeader(bool on) override { Add("WriteVbrHeader", on); }
  void SetEnforceMinBitrate(bool on) override { Add("EnforceMinBitrate", on); }
  void SetCrc(bool on) override { Add("Crc", on); }
  void SetAllowDiffShort(bool on) override { Add("AllowDiffShort", on); }
  void SetBitReservoir(bool on) override { Add("BitReservoir", on); }
  void SetShortBlocks(bool on) override { Add("ShortBlocks", on); }
  void SetStrictIso(bool on) override { Add("StrictIso", on); }
  void SetHighpassFreq(int32_t v) override { Add("HighpassFreq", v); }
  void SetHighpassWidth(int32_t v) override { Add("HighpassWidth", v); }
  void SetLowpassFreq(int32_t v) override { Add("LowpassFreq", v); }
  void SetLowpassWidth(int32_t v) override { Add("LowpassWidth", v); }
  void SetVbrMode(int32_t v) override { Add("VbrMode", v); }
  void SetAthMode(int32_t v) override { Add("AthMode", v); }
  void SetForceMono(int32_t v) override { Add("ForceMono", v); }
  void SetChannelMode(int32_t v) override { Add("ChannelMode", v); }
  void SetDeemphasis(int32_t v) override { Add("Deemphasis", v); }
  void SetQuality(int32_t v) override { Add("Quality", v); }
  void SetBitrate(int32_t v) override { Add("Bitrate", v); }
  void SetVbrBitrate(int32_t v) override { Add("VbrBitrate", v); }
  void SetVbrQuality(int32_t v) override { Add("VbrQuality", v); }
  void SetOutputSampleRate(int32_t v) override { Add("OutputSampleRate", v); }

 private:
  void Add(const char* name, int32_t v) { calls.push_back(std::string(name) + " " + std::to_string(v)); }
};

// Records the configuration calls of a writer; it never opens anything.
class RecordingWriter : public IAudioFile2 {
 public:
  std::vector<std::string> calls;
  bool open = false;
  IAudioFile2LameEnc* encoder = nullptr;

  void OpenRead(const std::string&, int32_t, int32_t) override { calls.push_back("OpenRead"); }
  void OpenWrite(const std::string&, int32_t) override { calls.push_back("OpenWrite"); }
  void Close() override {
    calls.push_back("Close");
    open = false;
  }
  TSampleBlock ReadSamples(int64_t) override { return {}; }
  void WriteSamples(const TSampleBlock&) override {}
  void SetInputFormat(int32_t, int32_t) override {}
  void SetWavFormat(int32_t r, int32_t c, int32_t b) override { Add("WavFormat", {r, c, b}); }
  void SetVoxFormat(int32_t r) override { Add("VoxFormat", {r}); }
  void SetWmaProfile(int32_t n) override { Add("WmaProfile", {n}); }
  void SetOggFormat(int32_t r, int32_t c, int32_t b, int32_t mn, int32_t mx, int16_t q) override {
    Add("OggFormat", {r, c, b, mn, mx, q});
  }
  void SetMp3Encoder(IAudioFile2LameEnc* e) override {
    calls.push_back("Mp3Encoder");
    encoder = e;
  }
  int64_t SampleCount() const override { return 0; }
  int32_t SampleRate() const override { return 0; }
  int32_t Channels() const override { return 0; }
  int32_t DurationMs() const override { return 0; }
  int32_t StreamSampleRate() const override { return 0; }
  int32_t StreamChannels() const override { return 0; }
  bool IsOpen() const override { return open; }
  void SetEnabled(bool) override {}

 private:
  void Add(const char* name, std::initializer_list<int32_t> values) {
    std::string text = name;
    for (int32_t v : values) text += " " + std::to_string(v);
    calls.push_back(text);
  }
};

}  // namespace tonvara::test
