// The entries of the settings dialog's fixed lists as the user reads them. A
// stored list index is a position in one of these lists, so their order is
// part of the settings file. (The numbers behind them: fixed_lists.h.)
#pragma once

#include <array>
#include <string_view>

#include "settings/fixed_lists.h"
#include "settings/settings_keys.h"

namespace captions {

using std::string_view_literals::operator""sv;

inline constexpr std::array SampleRates = {"8000 Hz"sv,  "11025 Hz"sv, "12000 Hz"sv, "16000 Hz"sv, "22050 Hz"sv,
                                           "24000 Hz"sv, "32000 Hz"sv, "44100 Hz"sv, "48000 Hz"sv};

inline constexpr std::array FullBitrates = {"8 Kbps"sv,   "16 Kbps"sv,  "24 Kbps"sv,  "32 Kbps"sv,  "40 Kbps"sv,
                                            "48 Kbps"sv,  "56 Kbps"sv,  "64 Kbps"sv,  "80 Kbps"sv,  "96 Kbps"sv,
                                            "112 Kbps"sv, "128 Kbps"sv, "160 Kbps"sv, "192 Kbps"sv, "224 Kbps"sv,
                                            "256 Kbps"sv, "320 Kbps"sv};

// The full list without 40 and 56 Kbps.
inline constexpr std::array ShortBitrates = {"8 Kbps"sv,   "16 Kbps"sv,  "24 Kbps"sv,  "32 Kbps"sv,  "48 Kbps"sv,
                                             "64 Kbps"sv,  "80 Kbps"sv,  "96 Kbps"sv,  "112 Kbps"sv, "128 Kbps"sv,
                                             "160 Kbps"sv, "192 Kbps"sv, "224 Kbps"sv, "256 Kbps"sv, "320 Kbps"sv};

inline constexpr std::array MonoStereo = {"单声道"sv, "立体声"sv};

inline constexpr std::array Mp3Channels = {"单声道"sv, "立体声"sv, "联合立体声"sv, "强制联合立体声"sv, "双通道"sv};

inline constexpr std::array VbrMethods = {"无"sv, "默认"sv, "老"sv, "新"sv, "MTRH"sv};
inline constexpr int VbrMethodNone = 0;  // constant bit rate

inline constexpr std::array AthModes = {"默认"sv, "唯一"sv, "禁用"sv, "仅短区块"sv};

inline constexpr std::array Deemphases = {"默认"sv, "0/15 微妙"sv, "citt j.17"sv};

inline constexpr std::array Presets = {"Phone"sv, "SW"sv,   "AM"sv, "FM"sv, "Voice"sv,  "Radio"sv,
                                       "Type"sv,  "HiFi"sv, "CD"sv, "Studio"sv, "R3Mix"sv};

inline constexpr std::array AltPresets = {"Fast Standard"sv, "Standard"sv, "Fast Extreme"sv, "Extrene"sv,
                                          "Insane"sv};

inline constexpr std::array WavModes = {"CD 品质WAV格式."sv, "最好品质WAV格式."sv, "自定义WAV格式."sv};
inline constexpr int WavModeCustom = 2;  // bits, channels and rate from their own keys

inline constexpr std::array WavBits = {"8 bps"sv, "16 bps"sv};

// Entries 20 and 22 read the same; they are two distinct positions.
inline constexpr std::array WmaFormats = {
    "WMA9 48KHz, 192Kbps, 立体声, CBR"sv,  // 0
    "WMA9 48KHz, 160Kbps, 立体声, CBR"sv,
    "WMA9 48KHz, 128Kbps, 立体声, CBR"sv,
    "WMA9 48KHz, 96Kbps, 立体声, CBR"sv,
    "WMA9 48KHz, 64Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 320Kbps, 立体声, CBR"sv,  // 5
    "WMA9 44KHz, 256Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 192Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 160Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 128Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 96Kbps, 立体声, CBR"sv,  // 10
    "WMA9 44KHz, 80Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 64Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 48Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 32Kbps, 立体声, CBR"sv,
    "WMA9 44KHz, 48Kbps, 单声, CBR"sv,  // 15
    "WMA9 44KHz, 32Kbps, 单声, CBR"sv,
    "WMA9 44KHz, 20Kbps, 单声, CBR"sv,
    "WMA9 32KHz, 48Kbps, 立体声, CBR"sv,
    "WMA9 32KHz, 40Kbps, 立体声, CBR"sv,
    "WMA9 32KHz, 32Kbps, 立体声, CBR"sv,  // 20
    "WMA9 32KHz, 20Kbps, 单声, CBR"sv,
    "WMA9 32KHz, 32Kbps, 立体声, CBR"sv,
    "WMA9 32KHz, 22Kbps, 立体声, CBR"sv,
    "WMA9 22KHz, 20Kbps, 立体声, CBR"sv,
    "WMA9 22KHz, 20Kbps, 单声, CBR"sv,  // 25
    "WMA9 22KHz, 16Kbps, 单声, CBR"sv,
    "WMA9 16KHz, 20Kbps, 立体声, CBR"sv,
    "WMA9 16KHz, 16Kbps, 立体声, CBR"sv,
    "WMA9 16KHz, 16Kbps, 单声, CBR"sv,
    "WMA9 16KHz, 12Kbps, 单声, CBR"sv,  // 30
    "WMA9 16KHz, 10Kbps, 单声, CBR"sv,
    "WMA9 11KHz, 10Kbps, 单声, CBR"sv,
    "WMA9 11KHz, 8Kbps, 单声, CBR"sv,
    "WMA9 8KHz,  12Kbps, 立体声, CBR"sv,
    "WMA9 8KHz,  8Kbps, 单声, CBR"sv,  // 35
    "WMA9 8KHz,  6Kbps, 单声, CBR"sv,
    "WMA9 8KHz,  5Kbps, 单声, CBR"sv,
    "WMA9 48KHz, 立体声, VBR 质量 98"sv,
    "WMA9 48KHz, 立体声, VBR 质量 90"sv,
    "WMA9 44KHz, 立体声, VBR 质量 98"sv,  // 40
    "WMA9 44KHz, 立体声, VBR 质量 90"sv,
    "WMA9 44KHz, 立体声, VBR 质量 75"sv,
    "WMA9 44KHz, 立体声, VBR 质量 50"sv,
    "WMA9 44KHz, 立体声, VBR 质量 25"sv,
    "WMA9 44KHz, 立体声, VBR 质量 10"sv,  // 45
    "WMA9 44KHz, 立体声, 无损耗"sv,
};

// Each list is as long as the range of the keys that refer to it.
static_assert(SampleRates.size() == keys::SampleRateCount && SampleRates.size() == lists::SampleRates.size());
static_assert(FullBitrates.size() == keys::FullBitrateCount && FullBitrates.size() == lists::FullBitrates.size());
static_assert(ShortBitrates.size() == keys::ShortBitrateCount && ShortBitrates.size() == lists::ShortBitrates.size());
static_assert(WmaFormats.size() == keys::WmaFormatCount);
static_assert(Mp3Channels.size() == keys::Mp3Channel.max + 1);
static_assert(MonoStereo.size() == keys::OggChannel.max + 1 && MonoStereo.size() == keys::WavChannel.max + 1);
static_assert(VbrMethods.size() == keys::VbrMethod.max + 1);
static_assert(AthModes.size() == keys::AthMode.max + 1);
static_assert(Deemphases.size() == keys::Deemphasis.max + 1);
static_assert(Presets.size() == keys::Preset.max + 1);
static_assert(AltPresets.size() == keys::AltPreset.max + 1);
static_assert(WavModes.size() == keys::WavMode.max + 1);
static_assert(WavBits.size() == keys::WavBits.max + 1);

}  // namespace captions
