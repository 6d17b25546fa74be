#include "platform/audio/audio_transform.h"

#include <algorithm>
#include <cmath>

// Frame i of n gets start + (end - start) * i / (n - 1) percent, so the
// first frame has exactly the start gain and the last exactly the end gain.
void TAudioTransform2::ApplyGainRamp(TSampleBlock& block, float start, float end) {
  const int64_t frames = block.Frames();
  const int channels = block.Channels();
  if (frames == 0) return;
  float* data = block.Data();
  const double from = start / 100.0;
  const double step = frames > 1 ? (end - start) / 100.0 / static_cast<double>(frames - 1) : 0.0;
  for (int64_t f = 0; f < frames; ++f) {
    const float gain = static_cast<float>(from + step * static_cast<double>(f));
    for (int c = 0; c < channels; ++c) data[f * channels + c] *= gain;
  }
}

// The peak is the largest magnitude among the chosen samples; the gain
// brings it to percent of full scale. A silent block has no level to scale.
void TAudioTransform2::Normalize(TSampleBlock& block, float percent, int32_t channel) {
  const int channels = block.Channels();
  if (block.Empty() || channel >= channels) return;
  const int first = channel < 0 ? 0 : channel;
  const int stride = channel < 0 ? 1 : channels;
  std::vector<float>& samples = block.Samples();
  float peak = 0;
  for (std::size_t i = static_cast<std::size_t>(first); i < samples.size(); i += stride)
    peak = std::max(peak, std::fabs(samples[i]));
  if (peak == 0 || !std::isfinite(peak)) return;
  const float gain = percent / 100.0f / peak;
  for (std::size_t i = static_cast<std::size_t>(first); i < samples.size(); i += stride) samples[i] *= gain;
}
