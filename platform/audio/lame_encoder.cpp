#include "platform/audio/lame_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

// The older named presets LAME no longer ships, as parameter sets of our
// own: bit rate (kbit/s), channel mode, output rate and lowpass (Hz). The
// speech-grade ones use an average bit rate, since a constant-rate frame
// that small has no room for the LAME/Info tag that makes decoding gapless.
// R3Mix is LAME's own preset.
struct NamedPreset {
  const char* name;
  int bitrate;
  bool average;
  MPEG_mode mode;
  int rate;
  int lowpass;
};
constexpr NamedPreset kPresets[] = {
    {"phone", 16, true, MONO, 8000, 3700},            // 1 Phone
    {"sw", 24, true, MONO, 11025, 4800},              // 2 SW (short wave)
    {"am", 40, true, MONO, 16000, 7200},              // 3 AM
    {"fm", 96, false, JOINT_STEREO, 32000, 14000},    // 4 FM
    {"voice", 56, true, MONO, 24000, 11000},          // 5 Voice
    {"radio", 112, false, JOINT_STEREO, 44100, 15000},  // 6 Radio
    {"tape", 128, false, JOINT_STEREO, 44100, 16500},   // 7 Tape
    {"hifi", 160, false, JOINT_STEREO, 44100, 17500},   // 8 HiFi
    {"cd", 192, false, STEREO, 44100, 19000},         // 9 CD
    {"studio", 256, false, STEREO, 44100, 20000},     // 10 Studio
};
constexpr int kR3Mix = 11;

// 1 Fast Standard, 2 Standard, 3 Fast Extreme, 4 Extreme, 5 Insane.
constexpr int kAltPresets[] = {STANDARD_FAST, STANDARD, EXTREME_FAST, EXTREME, INSANE};

void ApplyNamedPreset(lame_t lame, const NamedPreset& p) {
  if (p.average) {
    lame_set_VBR(lame, vbr_abr);
    lame_set_VBR_mean_bitrate_kbps(lame, p.bitrate);
  } else {
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, p.bitrate);
  }
  lame_set_mode(lame, p.mode);
  lame_set_out_samplerate(lame, p.rate);
  lame_set_lowpassfreq(lame, p.lowpass);
}

[[noreturn]] void BadOption(const std::string& option, const std::string& why) {
  throw AudioError("MP3 编码器命令行：" + option + " " + why);
}

// Frequencies on LAME's command line are in kHz; values above 100 are
// taken as Hz.
int FrequencyHz(double value) { return static_cast<int>(std::lround(value <= 100 ? value * 1000 : value)); }

class Tokens {
 public:
  explicit Tokens(const std::string& text) {
    std::istringstream in(text);
    std::string t;
    while (in >> t) items_.push_back(t);
  }
  bool Done() const { return next_ >= items_.size(); }
  std::string Take() { return items_[next_++]; }
  std::string Peek() const { return Done() ? std::string() : items_[next_]; }
  double Number(const std::string& option, double low, double high) {
    if (Done()) BadOption(option, "缺少数值");
    std::string t = Take();
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || *end != '\0' || !(v >= low && v <= high)) BadOption(option, "的数值无效：" + t);
    return v;
  }

 private:
  std::vector<std::string> items_;
  std::size_t next_ = 0;
};

}  // namespace

void TAudioFile2LameEnc::SetPreset(int32_t number) {
  if (number < 1 || number > kR3Mix) throw AudioError("MP3 预设编号无效：" + std::to_string(number));
  ClearCommandLine();
  preset_ = number;
  alt_preset_ = 0;
  last_was_preset_ = true;
}

void TAudioFile2LameEnc::SetAltPreset(int32_t number) {
  if (number < 1 || number > 5) throw AudioError("MP3 备选预设编号无效：" + std::to_string(number));
  ClearCommandLine();
  if (!last_was_preset_) preset_ = 0;
  alt_preset_ = number;
  last_was_preset_ = false;
}

void TAudioFile2LameEnc::SetCommandLine(const std::string& text) {
  std::vector<Step> steps;
  Tokens tokens(text);
  while (!tokens.Done()) {
    std::string o = tokens.Take();
    if (o == "-b") {
      int v = static_cast<int>(tokens.Number(o, 8, 320));
      steps.push_back([v](lame_t l) {
        lame_set_brate(l, v);
        lame_set_VBR_min_bitrate_kbps(l, v);
      });
    } else if (o == "-B") {
      int v = static_cast<int>(tokens.Number(o, 8, 320));
      steps.push_back([v](lame_t l) { lame_set_VBR_max_bitrate_kbps(l, v); });
    } else if (o == "-V") {
      float v = static_cast<float>(tokens.Number(o, 0, 9.999));
      steps.push_back([v](lame_t l) {
        if (lame_get_VBR(l) == vbr_off || lame_get_VBR(l) == vbr_abr) lame_set_VBR(l, vbr_default);
        lame_set_VBR_quality(l, v);
      });
    } else if (o == "-q") {
      int v = static_cast<int>(tokens.Number(o, 0, 9));
      steps.push_back([v](lame_t l) { lame_set_quality(l, v); });
    } else if (o == "-h") {
      steps.push_back([](lame_t l) { lame_set_quality(l, 2); });
    } else if (o == "-f") {
      steps.push_back([](lame_t l) { lame_set_quality(l, 7); });
    } else if (o == "-m") {
      std::string m = tokens.Done() ? "" : tokens.Take();
      if (m == "s") steps.push_back([](lame_t l) { lame_set_mode(l, STEREO); });
      else if (m == "j" || m == "a") steps.push_back([](lame_t l) { lame_set_mode(l, JOINT_STEREO); });
      else if (m == "f") steps.push_back([](lame_t l) { lame_set_mode(l, JOINT_STEREO); lame_set_force_ms(l, 1); });
      else if (m == "d") steps.push_back([](lame_t l) { lame_set_mode(l, STEREO); });
      else if (m == "m") steps.push_back([](lame_t l) { lame_set_mode(l, MONO); });
      else BadOption(o, "的声道模式无效：" + m);
    } else if (o == "-p") {
      steps.push_back([](lame_t l) { lame_set_error_protection(l, 1); });
    } else if (o == "-F") {
      steps.push_back([](lame_t l) { lame_set_VBR_hard_min(l, 1); });
    } else if (o == "-t") {
      steps.push_back([](lame_t l) { lame_set_bWriteVbrTag(l, 0); });
    } else if (o == "-v" || o == "--vbr-new") {
      steps.push_back([](lame_t l) { lame_set_VBR(l, vbr_mtrh); });
    } else if (o == "--vbr-old") {
      steps.push_back([](lame_t l) { lame_set_VBR(l, vbr_rh); });
    } else if (o == "--cbr") {
      steps.push_back([](lame_t l) { lame_set_VBR(l, vbr_off); });
    } else if (o == "--abr") {
      int v = static_cast<int>(tokens.Number(o, 8, 320));
      steps.push_back([v](lame_t l) {
        lame_set_VBR(l, vbr_abr);
        lame_set_VBR_mean_bitrate_kbps(l, v);
      });
    } else if (o == "--preset") {
      std::string name = tokens.Done() ? "" : tokens.Take();
      if (name == "fast" && !tokens.Done()) {
        name += ' ';
        name += tokens.Take();
      }
      int lamePreset = 0;
      const NamedPreset* named = nullptr;
      if (name == "standard") lamePreset = STANDARD;
      else if (name == "extreme") lamePreset = EXTREME;
      else if (name == "insane") lamePreset = INSANE;
      else if (name == "medium") lamePreset = MEDIUM;
      else if (name == "fast standard") lamePreset = STANDARD_FAST;
      else if (name == "fast extreme") lamePreset = EXTREME_FAST;
      else if (name == "fast medium") lamePreset = MEDIUM_FAST;
      else if (name == "r3mix") lamePreset = R3MIX;
      else if (name == "cbr") {
        int v = static_cast<int>(tokens.Number("--preset cbr", 8, 320));
        steps.push_back([v](lame_t l) {
          lame_set_VBR(l, vbr_off);
          lame_set_brate(l, v);
        });
        continue;
      } else {
        for (const NamedPreset& p : kPresets)
          if (name == p.name) named = &p;
        char* end = nullptr;
        long abr = std::strtol(name.c_str(), &end, 10);
        if (!named && !name.empty() && *end == '\0' && abr >= 8 && abr <= 320) lamePreset = static_cast<int>(abr);
        if (!named && !lamePreset) BadOption(o, "的预设名无效：" + name);
      }
      if (named) {
        NamedPreset p = *named;
        steps.push_back([p](lame_t l) { ApplyNamedPreset(l, p); });
      } else {
        steps.push_back([lamePreset](lame_t l) { lame_set_preset(l, lamePreset); });
      }
    } else if (o == "--lowpass" || o == "--highpass" || o == "--lowpass-width" || o == "--highpass-width") {
      int hz = FrequencyHz(tokens.Number(o, 0, 48000));
      if (o == "--lowpass") steps.push_back([hz](lame_t l) { lame_set_lowpassfreq(l, hz); });
      if (o == "--highpass") steps.push_back([hz](lame_t l) { lame_set_highpassfreq(l, hz); });
      if (o == "--lowpass-width") steps.push_back([hz](lame_t l) { lame_set_lowpasswidth(l, hz); });
      if (o == "--highpass-width") steps.push_back([hz](lame_t l) { lame_set_highpasswidth(l, hz); });
    } else if (o == "--resample") {
      int hz = FrequencyHz(tokens.Number(o, 8, 48000));
      steps.push_back([hz](lame_t l) { lame_set_out_samplerate(l, hz); });
    } else if (o == "--strictly-enforce-ISO") {
      steps.push_back([](lame_t l) { lame_set_strict_ISO(l, 1); });
    } else if (o == "--nores") {
      steps.push_back([](lame_t l) { lame_set_disable_reservoir(l, 1); });
    } else if (o == "--noshort") {
      steps.push_back([](lame_t l) { lame_set_no_short_blocks(l, 1); });
    } else if (o == "-S" || o == "--silent" || o == "--quiet") {
      // Nothing is printed anyway.
    } else {
      BadOption(o, "是未知的选项");
    }
  }
  command_line_ = std::move(steps);
  last_was_preset_ = false;
}

void TAudioFile2LameEnc::ApplyProperties(lame_t l) const {
  lame_set_bWriteVbrTag(l, p_.write_vbr_header);
  lame_set_VBR_hard_min(l, p_.enforce_min_bitrate);
  lame_set_error_protection(l, p_.crc);
  lame_set_allow_diff_short(l, p_.allow_diff_short);
  lame_set_disable_reservoir(l, !p_.bit_reservoir);
  lame_set_no_short_blocks(l, !p_.short_blocks);
  lame_set_strict_ISO(l, p_.strict_iso);
  // A filter frequency of -1 leaves the filter to LAME, as when it is
  // unchecked in the settings; a width only counts with its frequency.
  if (p_.highpass_freq >= 0) {
    lame_set_highpassfreq(l, p_.highpass_freq);
    if (p_.highpass_width >= 0) lame_set_highpasswidth(l, p_.highpass_width);
  }
  if (p_.lowpass_freq >= 0) {
    lame_set_lowpassfreq(l, p_.lowpass_freq);
    if (p_.lowpass_width >= 0) lame_set_lowpasswidth(l, p_.lowpass_width);
  }
  // VbrMode: -1 constant, 0 default VBR, 1 old (rh), 2 new (mt), 3 MTRH.
  static constexpr vbr_mode kVbr[] = {vbr_default, vbr_rh, vbr_mt, vbr_mtrh};
  if (p_.vbr_mode >= 0 && p_.vbr_mode <= 3) {
    lame_set_VBR(l, kVbr[p_.vbr_mode]);
    lame_set_VBR_quality(l, static_cast<float>(std::clamp(p_.vbr_quality, 0, 9)));
    // Bitrate is the lowest bit rate, VbrBitrate the highest when above it.
    lame_set_VBR_min_bitrate_kbps(l, p_.bitrate);
    if (p_.vbr_bitrate > p_.bitrate) lame_set_VBR_max_bitrate_kbps(l, p_.vbr_bitrate);
  } else {
    lame_set_VBR(l, vbr_off);
    lame_set_brate(l, p_.bitrate);
  }
  switch (p_.ath_mode) {
    case 1: lame_set_ATHonly(l, 1); break;
    case 2: lame_set_noATH(l, 1); break;
    case 3: lame_set_ATHshort(l, 1); break;
    default: break;
  }
  if (p_.force_mono) {
    lame_set_mode(l, MONO);
  } else {
    switch (p_.channel_mode) {
      case 1: lame_set_mode(l, STEREO); break;
      case 2: lame_set_mode(l, JOINT_STEREO); break;
      case 3:
        lame_set_mode(l, JOINT_STEREO);
        lame_set_force_ms(l, 1);
        break;
      // LAME has no dual-channel mode; independent stereo comes nearest.
      case 4: lame_set_mode(l, STEREO); break;
      default: break;
    }
  }
  // Deemphasis: 0 none, 1 50/15 us, 2 CCITT J.17 (LAME's code 3).
  if (p_.deemphasis == 1) lame_set_emphasis(l, 1);
  if (p_.deemphasis == 2) lame_set_emphasis(l, 3);
  lame_set_quality(l, std::clamp(p_.quality, 0, 9));
  if (p_.output_sample_rate > 0) lame_set_out_samplerate(l, p_.output_sample_rate);
}

void TAudioFile2LameEnc::ApplyTo(lame_t l) const {
  if (preset_ == 0 && alt_preset_ == 0) {
    ApplyProperties(l);
  } else {
    if (preset_ == kR3Mix) lame_set_preset(l, R3MIX);
    else if (preset_ > 0) ApplyNamedPreset(l, kPresets[preset_ - 1]);
    if (alt_preset_ > 0) lame_set_preset(l, kAltPresets[alt_preset_ - 1]);
  }
  for (const Step& step : command_line_) step(l);
}
