// The WMA format list of the settings dialog as encoder parameters for
// FFmpeg's wmav2 encoder.
#pragma once

namespace tonvara::audio {

struct WmaProfile {
  int rate;
  int channels;
  int kbps;          // what the encoder is given
  int listed_kbps;   // what the list names; 0 for the quality and lossless entries
};

constexpr int kWmaProfileCount = 47;

// Profile 1..47 (entry number - 1 of the list); nullptr outside that range.
const WmaProfile* FindWmaProfile(int number);

}  // namespace tonvara::audio
