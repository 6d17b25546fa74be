// Every section, key, kind, default and valid range of the settings file, in
// one table. No other file names a key or repeats a default.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

enum class SettingKind {
  Integer,
  Boolean,
  String,
  Folder,     // string whose default is the user's music folder
  ListIndex,  // position in a fixed list; -1 means no entry chosen
};

struct SettingKey {
  std::string_view section;
  std::string_view key;
  SettingKind kind;
  int32_t def = 0;          // default of integers, booleans and list indices
  int32_t min = INT32_MIN;  // a stored value outside [min, max] reads as the default
  int32_t max = INT32_MAX;
  // Default used by the output format configuration where it differs from the
  // settings dialog's (the two MP3 quality keys).
  int32_t runDef = def;
  // Value the settings dialog's Defaults button puts back, where it differs
  // from the missing-key default.
  int32_t resetDef = def;
};

namespace keys {

// Lengths of the settings dialog's fixed lists that list indices refer to.
inline constexpr int32_t SampleRateCount = 9;
inline constexpr int32_t FullBitrateCount = 17;
inline constexpr int32_t ShortBitrateCount = 15;
inline constexpr int32_t WmaFormatCount = 47;

using K = SettingKind;
constexpr SettingKey List(std::string_view s, std::string_view k, int32_t def, int32_t count) {
  return {s, k, K::ListIndex, def, 0, count - 1, def};
}
constexpr SettingKey Int(std::string_view s, std::string_view k, int32_t def, int32_t min, int32_t max,
                         int32_t runDef) {
  return {s, k, K::Integer, def, min, max, runDef};
}
constexpr SettingKey Int(std::string_view s, std::string_view k, int32_t def, int32_t min, int32_t max) {
  return Int(s, k, def, min, max, def);
}
constexpr SettingKey WithReset(SettingKey key, int32_t resetDef) {
  key.resetDef = resetDef;
  return key;
}
constexpr SettingKey Bool(std::string_view s, std::string_view k, bool def) {
  return {s, k, K::Boolean, def ? 1 : 0, INT32_MIN, INT32_MAX, def ? 1 : 0};
}

// Main-window settings.
inline constexpr SettingKey FormatDir{"Format", "Dir", K::Folder};
inline constexpr SettingKey FormatInt = Int("Format", "int", 0, 0, 4);
inline constexpr SettingKey FadeIn = Bool("Fade", "In", false);
inline constexpr SettingKey FadeOut = Bool("Fade", "Out", false);
inline constexpr SettingKey FadeInTime = WithReset(Int("Fade", "Intime", 5, 1, 20), 6);
inline constexpr SettingKey FadeOutTime = WithReset(Int("Fade", "Outtime", 5, 1, 20), 6);
inline constexpr SettingKey NorVol = Int("Nor", "vol", 98, 1, 100);

// Encoder settings, section by section in the order the settings dialog writes them.
inline constexpr SettingKey VoxRate = List("VOX", "VOX", 7, SampleRateCount);

inline constexpr SettingKey Mp3Bitrate = List("mp3", "bitrate", 9, FullBitrateCount);
inline constexpr SettingKey Mp3Channel = List("mp3", "channel", 1, 5);
inline constexpr SettingKey Mp3Frequency = List("mp3", "frequency", 7, SampleRateCount);
inline constexpr SettingKey Mp3Quality = WithReset(Int("mp3", "quality", 4, 0, 9, 5), 5);

inline constexpr SettingKey VbrMethod = List("MP3VBR", "Coding Method", 0, 5);
inline constexpr SettingKey VbrBitrate = List("MP3VBR", "vbr bitrate", 9, ShortBitrateCount);
inline constexpr SettingKey VbrQuality = WithReset(Int("MP3VBR", "vbr quality", 4, 0, 9, 5), 5);
inline constexpr SettingKey VbrHeader = Bool("MP3VBR", "vbrck", true);
inline constexpr SettingKey VbrEnforceMin = Bool("MP3VBR", "semb", false);

inline constexpr SettingKey HighpassOn = Bool("MP3Filt", "chHFilt", false);
inline constexpr SettingKey LowpassOn = Bool("MP3Filt", "chLFilt", false);
inline constexpr SettingKey HighpassFreq = Int("MP3Filt", "udHFiltF", 30, 0, 48000);
inline constexpr SettingKey HighpassWidth = Int("MP3Filt", "udHFiltW", 5, 0, 48000);
inline constexpr SettingKey LowpassFreq = Int("MP3Filt", "udLFiltF", 15160, 0, 48000);
inline constexpr SettingKey LowpassWidth = Int("MP3Filt", "udLFiltW", 750, 0, 48000);

inline constexpr SettingKey BitReservoir = Bool("MP3Expert", "Bit", true);
inline constexpr SettingKey ShortBlocks = Bool("MP3Expert", "short", true);
inline constexpr SettingKey AllowDiffShort = Bool("MP3Expert", "allow", false);
inline constexpr SettingKey StrictIso = Bool("MP3Expert", "comply", false);
inline constexpr SettingKey Crc = Bool("MP3Expert", "crc", false);
inline constexpr SettingKey AthMode = List("MP3Expert", "ath", 0, 4);
inline constexpr SettingKey Deemphasis = List("MP3Expert", "de", 0, 3);

inline constexpr SettingKey PresetOn = Bool("MP3Prest", "preset", false);
inline constexpr SettingKey AltPresetOn = Bool("MP3Prest", "alt", false);
inline constexpr SettingKey Preset = List("MP3Prest", "rg_prest", 0, 11);
inline constexpr SettingKey AltPreset = List("MP3Prest", "rg_alt", 0, 5);

inline constexpr SettingKey WavMode = List("wav", "mode", 0, 3);
inline constexpr SettingKey WavBits = List("wav", "bit", 1, 2);
inline constexpr SettingKey WavChannel = List("wav", "channel", 1, 2);
inline constexpr SettingKey WavFrequency = WithReset(List("wav", "frequency", 7, SampleRateCount), 8);

inline constexpr SettingKey WmaFormat = List("wma", "format", 9, WmaFormatCount);

inline constexpr SettingKey OggChannel = List("ogg", "channel", 1, 2);
inline constexpr SettingKey OggFrequency = List("ogg", "frequency", 7, SampleRateCount);
inline constexpr SettingKey OggBitrate = List("ogg", "bitrate", 9, ShortBitrateCount);
inline constexpr SettingKey OggMaxBitrate = List("ogg", "max bitrate", 9, ShortBitrateCount);
inline constexpr SettingKey OggMinBitrate = List("ogg", "min bitrate", 9, ShortBitrateCount);
inline constexpr SettingKey OggQuality = Int("ogg", "quality", 300, 0, 1000);
inline constexpr SettingKey OggVbr = Bool("ogg", "oggvbr", false);
inline constexpr SettingKey OggQualityMode = Bool("ogg", "oggquality", false);

// The main-window settings in the order shutdown writes them.
inline constexpr std::array<const SettingKey*, 7> MainWindowKeys = {
    &FormatDir, &FormatInt, &FadeIn, &FadeOut, &FadeInTime, &FadeOutTime, &NorVol};

// Every encoder key, section by section in the order the sections are written.
inline constexpr std::array<const SettingKey*, 40> EncoderKeys = {
    &VoxRate,
    &Mp3Bitrate, &Mp3Channel, &Mp3Frequency, &Mp3Quality,
    &VbrMethod, &VbrBitrate, &VbrQuality, &VbrHeader, &VbrEnforceMin,
    &HighpassOn, &LowpassOn, &HighpassFreq, &HighpassWidth, &LowpassFreq, &LowpassWidth,
    &BitReservoir, &ShortBlocks, &AllowDiffShort, &StrictIso, &Crc, &AthMode, &Deemphasis,
    &PresetOn, &AltPresetOn, &Preset, &AltPreset,
    &WavMode, &WavBits, &WavChannel, &WavFrequency,
    &WmaFormat,
    &OggChannel, &OggFrequency, &OggBitrate, &OggMaxBitrate, &OggMinBitrate, &OggQuality, &OggVbr,
    &OggQualityMode};

}  // namespace keys
