// VOX output: headerless Dialogic ADPCM, mono, at the SetVoxFormat rate.
#include "platform/audio/audio_error.h"
#include "platform/audio/sndfile_sink.h"

namespace tonvara::audio {

std::unique_ptr<SampleSink> OpenVoxSink(const SinkTarget& target, const OutputSettings& settings) {
  if (settings.vox_rate <= 0) Fail(target.name, "VOX 采样率无效");
  return std::make_unique<SndfileSink>(target, settings.vox_rate, 1, SF_FORMAT_RAW | SF_FORMAT_VOX_ADPCM);
}

}  // namespace tonvara::audio
