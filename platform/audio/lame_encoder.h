// TAudioFile2LameEnc: the MP3 encoder's settings. It only records what it is
// told; the MP3 writer applies it to a LAME handle when it opens a file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/audio.h"

struct lame_global_struct;

class TAudioFile2LameEnc : public IAudioFile2LameEnc {
 public:
  // Validates the options at once: an unknown option or a missing or bad
  // value throws an AudioError naming it. An empty text clears the line.
  void SetCommandLine(const std::string& text) override;
  void SetPreset(int32_t number) override;
  void SetAltPreset(int32_t number) override;

  void SetWriteVbrHeader(bool on) override { Changed(); p_.write_vbr_header = on; }
  void SetEnforceMinBitrate(bool on) override { Changed(); p_.enforce_min_bitrate = on; }
  void SetCrc(bool on) override { Changed(); p_.crc = on; }
  void SetAllowDiffShort(bool on) override { Changed(); p_.allow_diff_short = on; }
  void SetBitReservoir(bool on) override { Changed(); p_.bit_reservoir = on; }
  void SetShortBlocks(bool on) override { Changed(); p_.short_blocks = on; }
  void SetStrictIso(bool on) override { Changed(); p_.strict_iso = on; }
  void SetHighpassFreq(int32_t hz) override { Changed(); p_.highpass_freq = hz; }
  void SetHighpassWidth(int32_t hz) override { Changed(); p_.highpass_width = hz; }
  void SetLowpassFreq(int32_t hz) override { Changed(); p_.lowpass_freq = hz; }
  void SetLowpassWidth(int32_t hz) override { Changed(); p_.lowpass_width = hz; }
  void SetVbrMode(int32_t mode) override { Changed(); p_.vbr_mode = mode; }
  void SetAthMode(int32_t mode) override { Changed(); p_.ath_mode = mode; }
  // Mono and a channel mode exclude each other: the later call wins.
  void SetForceMono(int32_t on) override { Changed(); p_.force_mono = on != 0; }
  void SetChannelMode(int32_t mode) override {
    Changed();
    p_.channel_mode = mode;
    p_.force_mono = false;
  }
  void SetDeemphasis(int32_t mode) override { Changed(); p_.deemphasis = mode; }
  void SetQuality(int32_t quality) override { Changed(); p_.quality = quality; }
  void SetBitrate(int32_t kbps) override { Changed(); p_.bitrate = kbps; }
  void SetVbrBitrate(int32_t kbps) override { Changed(); p_.vbr_bitrate = kbps; }
  void SetVbrQuality(int32_t quality) override { Changed(); p_.vbr_quality = quality; }
  void SetOutputSampleRate(int32_t hz) override { Changed(); p_.output_sample_rate = hz; }

  // Applies the properties (or, in preset mode, the presets instead, from
  // LAME's defaults), then the command line.
  void ApplyTo(lame_global_struct* lame) const;

 private:
  struct Properties {
    bool write_vbr_header = true;
    bool enforce_min_bitrate = false;
    bool crc = false;
    bool allow_diff_short = false;
    bool bit_reservoir = true;
    bool short_blocks = true;
    bool strict_iso = false;
    int highpass_freq = -1, highpass_width = -1;
    int lowpass_freq = -1, lowpass_width = -1;
    int vbr_mode = -1;
    int ath_mode = 0;
    bool force_mono = false;
    int channel_mode = 0;  // 0: LAME's choice
    int deemphasis = 0;
    int quality = 5;
    int bitrate = 128;
    int vbr_bitrate = 0;
    int vbr_quality = 4;
    int output_sample_rate = 0;
  };
  using Step = std::function<void(lame_global_struct*)>;

  // A property drops the presets; any setter drops the command line.
  void Changed() {
    preset_ = 0;
    alt_preset_ = 0;
    last_was_preset_ = false;
    ClearCommandLine();
  }
  void ClearCommandLine() {
    command_line_.clear();
  }
  void ApplyProperties(lame_global_struct* lame) const;

  Properties p_;
  int preset_ = 0;
  int alt_preset_ = 0;
  bool last_was_preset_ = false;  // SetAltPreset right after SetPreset keeps both
  std::vector<Step> command_line_;
};
