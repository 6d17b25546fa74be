#include "platform/audio/wma_profiles.h"

namespace tonvara::audio {
namespace {

// wmav2 encodes at 24 kbit/s and more only, so every entry below that is
// raised to 24. It has no quality-driven VBR and no lossless mode: the VBR
// entries take the constant bit rate that matches their quality, the
// lossless entry the encoder's top practical rate (440 kbit/s).
//
//  no. list entry                          rate   ch  kbit/s (listed)
constexpr WmaProfile kProfiles[kWmaProfileCount] = {
    {48000, 2, 192, 192},  //  1 WMA9 48KHz, 192Kbps, stereo, CBR
    {48000, 2, 160, 160},  //  2 WMA9 48KHz, 160Kbps, stereo, CBR
    {48000, 2, 128, 128},  //  3 WMA9 48KHz, 128Kbps, stereo, CBR
    {48000, 2, 96, 96},    //  4 WMA9 48KHz, 96Kbps, stereo, CBR
    {48000, 2, 64, 64},    //  5 WMA9 48KHz, 64Kbps, stereo, CBR
    {44100, 2, 320, 320},  //  6 WMA9 44KHz, 320Kbps, stereo, CBR
    {44100, 2, 256, 256},  //  7 WMA9 44KHz, 256Kbps, stereo, CBR
    {44100, 2, 192, 192},  //  8 WMA9 44KHz, 192Kbps, stereo, CBR
    {44100, 2, 160, 160},  //  9 WMA9 44KHz, 160Kbps, stereo, CBR
    {44100, 2, 128, 128},  // 10 WMA9 44KHz, 128Kbps, stereo, CBR (default)
    {44100, 2, 96, 96},    // 11 WMA9 44KHz, 96Kbps, stereo, CBR
    {44100, 2, 80, 80},    // 12 WMA9 44KHz, 80Kbps, stereo, CBR
    {44100, 2, 64, 64},    // 13 WMA9 44KHz, 64Kbps, stereo, CBR
    {44100, 2, 48, 48},    // 14 WMA9 44KHz, 48Kbps, stereo, CBR
    {44100, 2, 32, 32},    // 15 WMA9 44KHz, 32Kbps, stereo, CBR
    {44100, 1, 48, 48},    // 16 WMA9 44KHz, 48Kbps, mono, CBR
    {44100, 1, 32, 32},    // 17 WMA9 44KHz, 32Kbps, mono, CBR
    {44100, 1, 24, 20},    // 18 WMA9 44KHz, 20Kbps, mono, CBR
    {32000, 2, 48, 48},    // 19 WMA9 32KHz, 48Kbps, stereo, CBR
    {32000, 2, 40, 40},    // 20 WMA9 32KHz, 40Kbps, stereo, CBR
    {32000, 2, 32, 32},    // 21 WMA9 32KHz, 32Kbps, stereo, CBR
    {32000, 1, 24, 20},    // 22 WMA9 32KHz, 20Kbps, mono, CBR
    {32000, 2, 32, 32},    // 23 WMA9 32KHz, 32Kbps, stereo, CBR
    {32000, 2, 24, 22},    // 24 WMA9 32KHz, 22Kbps, stereo, CBR
    {22050, 2, 24, 20},    // 25 WMA9 22KHz, 20Kbps, stereo, CBR
    {22050, 1, 24, 20},    // 26 WMA9 22KHz, 20Kbps, mono, CBR
    {22050, 1, 24, 16},    // 27 WMA9 22KHz, 16Kbps, mono, CBR
    {16000, 2, 24, 20},    // 28 WMA9 16KHz, 20Kbps, stereo, CBR
    {16000, 2, 24, 16},    // 29 WMA9 16KHz, 16Kbps, stereo, CBR
    {16000, 1, 24, 16},    // 30 WMA9 16KHz, 16Kbps, mono, CBR
    {16000, 1, 24, 12},    // 31 WMA9 16KHz, 12Kbps, mono, CBR
    {16000, 1, 24, 10},    // 32 WMA9 16KHz, 10Kbps, mono, CBR
    {11025, 1, 24, 10},    // 33 WMA9 11KHz, 10Kbps, mono, CBR
    {11025, 1, 24, 8},     // 34 WMA9 11KHz, 8Kbps, mono, CBR
    {8000, 2, 24, 12},     // 35 WMA9 8KHz, 12Kbps, stereo, CBR
    {8000, 1, 24, 8},      // 36 WMA9 8KHz, 8Kbps, mono, CBR
    {8000, 1, 24, 6},      // 37 WMA9 8KHz, 6Kbps, mono, CBR
    {8000, 1, 24, 5},      // 38 WMA9 8KHz, 5Kbps, mono, CBR
    {48000, 2, 256, 0},    // 39 WMA9 48KHz, stereo, VBR quality 98
    {48000, 2, 192, 0},    // 40 WMA9 48KHz, stereo, VBR quality 90
    {44100, 2, 256, 0},    // 41 WMA9 44KHz, stereo, VBR quality 98
    {44100, 2, 192, 0},    // 42 WMA9 44KHz, stereo, VBR quality 90
    {44100, 2, 128, 0},    // 43 WMA9 44KHz, stereo, VBR quality 75
    {44100, 2, 96, 0},     // 44 WMA9 44KHz, stereo, VBR quality 50
    {44100, 2, 64, 0},     // 45 WMA9 44KHz, stereo, VBR quality 25
    {44100, 2, 48, 0},     // 46 WMA9 44KHz, stereo, VBR quality 10
    {44100, 2, 440, 0},    // 47 WMA9 44KHz, stereo, lossless
};

}  // namespace

const WmaProfile* FindWmaProfile(int number) {
  if (number < 1 || number > kWmaProfileCount) return nullptr;
  return &kProfiles[number - 1];
}

}  // namespace tonvara::audio
