// WAV output: PCM at the rate, channel count and sample size of
// SetWavFormat (0 keeps the input's rate or channel count).
#include "platform/audio/audio_error.h"
#include "platform/audio/sndfile_sink.h"

namespace tonvara::audio {

std::unique_ptr<SampleSink> OpenWavSink(const SinkTarget& target, const OutputSettings& settings) {
  int rate = settings.wav_rate > 0 ? settings.wav_rate : target.input_rate;
  int channels = settings.wav_channels > 0 ? settings.wav_channels : target.input_channels;
  int subtype = 0;
  switch (settings.wav_bits) {
    case 8: subtype = SF_FORMAT_PCM_U8; break;
    case 16: subtype = SF_FORMAT_PCM_16; break;
    case 24: subtype = SF_FORMAT_PCM_24; break;
    case 32: subtype = SF_FORMAT_PCM_32; break;
    default: Fail(target.name, "WAV 采样位数应为 8、16、24 或 32");
  }
  return std::make_unique<SndfileSink>(target, rate, channels, SF_FORMAT_WAV | subtype);
}

}  // namespace tonvara::audio
