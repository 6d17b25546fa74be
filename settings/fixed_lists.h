// The fixed lists that stored list positions refer to.
#pragma once

#include <array>
#include <cstdint>

namespace lists {

// Sample-rate list (Hz).
inline constexpr std::array<int32_t, 9> SampleRates = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
// Full bit-rate list (kbit/s).
inline constexpr std::array<int32_t, 17> FullBitrates = {8,  16,  24,  32,  40,  48,  56,  64, 80,
                                                         96, 112, 128, 160, 192, 224, 256, 320};
// Short bit-rate list (kbit/s): the full list without 40 and 56.
inline constexpr std::array<int32_t, 15> ShortBitrates = {8, 16, 24, 32, 48, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

}  // namespace lists
