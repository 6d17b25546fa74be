// Playback through ALSA's default device (which reaches PulseAudio or
// PipeWire on a desktop).
#include <alsa/asoundlib.h>

#include <cstdlib>
#include <cstring>

#include "platform/audio/audio_output.h"

namespace tonvara::audio {
namespace {

constexpr unsigned kLatencyUs = 200000;

class AlsaOutput : public AudioOutput {
 public:
  AlsaOutput(snd_pcm_t* pcm, int channels) : pcm_(pcm), channels_(channels) {}
  ~AlsaOutput() override { snd_pcm_close(pcm_); }
  AlsaOutput(const AlsaOutput&) = delete;
  AlsaOutput& operator=(const AlsaOutput&) = delete;

  bool Write(const float* samples, int64_t frames) override {
    while (frames > 0) {
      snd_pcm_sframes_t n = snd_pcm_writei(pcm_, samples, static_cast<snd_pcm_uframes_t>(frames));
      if (n < 0) {
        // An underrun or a suspend is recovered; anything else ends playback.
        if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0) return false;
        continue;
      }
      samples += n * channels_;
      frames -= n;
    }
    return true;
  }

  void Abort() override {
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
  }

 private:
  snd_pcm_t* pcm_;
  int channels_;
};

}  // namespace

std::unique_ptr<AudioOutput> OpenAlsaOutput(int rate, int channels) {
  snd_pcm_t* pcm = nullptr;
  // Opened without blocking, so a busy device fails at once instead of
  // hanging the player.
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return nullptr;
  if (snd_pcm_nonblock(pcm, 0) < 0 ||
      snd_pcm_set_params(pcm, SND_PCM_FORMAT_FLOAT_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                         static_cast<unsigned>(channels), static_cast<unsigned>(rate), 1, kLatencyUs) < 0) {
    snd_pcm_close(pcm);
    return nullptr;
  }
  return std::make_unique<AlsaOutput>(pcm, channels);
}

std::unique_ptr<AudioOutput> OpenDefaultOutput(int rate, int channels) {
  const char* choice = std::getenv("TONVARA_AUDIO_OUTPUT");
  if (!(choice && std::strcmp(choice, "null") == 0)) {
    if (auto alsa = OpenAlsaOutput(rate, channels)) return alsa;
  }
  return OpenSilentOutput(rate, channels);
}

}  // namespace tonvara::audio
