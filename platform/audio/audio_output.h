// Where the player's samples go: the desktop's default ALSA device, or a
// silent device that takes samples at the pace a sound card would.
#pragma once

#include <cstdint>
#include <memory>

namespace tonvara::audio {

class AudioOutput {
 public:
  virtual ~AudioOutput() = default;
  // Blocks for roughly as long as the samples take to play; false when the
  // device failed and cannot take more.
  virtual bool Write(const float* samples, int64_t frames) = 0;
  // Drops whatever the device still holds.
  virtual void Abort() = 0;
};

std::unique_ptr<AudioOutput> OpenSilentOutput(int rate, int channels);
// nullptr when there is no usable sound device.
std::unique_ptr<AudioOutput> OpenAlsaOutput(int rate, int channels);
// TONVARA_AUDIO_OUTPUT=null picks the silent device; otherwise ALSA's
// default device, falling back to the silent one when there is none.
std::unique_ptr<AudioOutput> OpenDefaultOutput(int rate, int channels);

}  // namespace tonvara::audio
