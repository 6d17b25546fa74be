#include "platform/audio/resampler.h"

#include <algorithm>

#include "platform/audio/audio_error.h"

namespace tonvara::audio {

Resampler::Resampler(const std::string& name, int inRate, int inChannels, int outRate, int outChannels)
    : name_(name),
      in_rate_(inRate), in_channels_(inChannels), out_rate_(outRate), out_channels_(outChannels) {
  if (inRate <= 0 || outRate <= 0 || inChannels <= 0 || outChannels <= 0)
    Fail(name_, "采样率或声道数无效");
  if (inRate == outRate) return;
  AVChannelLayout layout{};
  av_channel_layout_default(&layout, outChannels);
  SwrContext* raw = nullptr;
  int r = swr_alloc_set_opts2(&raw, &layout, AV_SAMPLE_FMT_FLT, outRate, &layout, AV_SAMPLE_FMT_FLT,
                              inRate, 0, nullptr);
  swr_.reset(raw);
  if (r >= 0) r = swr_init(swr_.get());
  av_channel_layout_uninit(&layout);
  if (r < 0) Fail(name_, "无法初始化重采样（" + AvErrorText(r) + "）");
}

// Channel changes are done here rather than by libswresample: mono is copied
// to every channel at full level, and a mix-down averages the channels.
void Resampler::Mix(const float* samples, int64_t frames, std::vector<float>& out) const {
  out.resize(static_cast<std::size_t>(frames) * out_channels_);
  float* dst = out.data();
  if (out_channels_ == 1) {
    float scale = 1.0f / static_cast<float>(in_channels_);
    for (int64_t f = 0; f < frames; ++f) {
      float sum = 0;
      for (int c = 0; c < in_channels_; ++c) sum += samples[f * in_channels_ + c];
      dst[f] = sum * scale;
    }
  } else if (in_channels_ == 1) {
    for (int64_t f = 0; f < frames; ++f)
      for (int c = 0; c < out_channels_; ++c) dst[f * out_channels_ + c] = samples[f];
  } else {
    // Keep the channels both sides have; fill the rest with silence.
    int common = std::min(in_channels_, out_channels_);
    std::fill(out.begin(), out.end(), 0.0f);
    for (int64_t f = 0; f < frames; ++f)
      for (int c = 0; c < common; ++c) dst[f * out_channels_ + c] = samples[f * in_channels_ + c];
  }
}

void Resampler::Convert(const float* samples, int64_t frames, std::vector<float>& out) {
  if (frames <= 0) return;
  frames_in_ += frames;
  const float* mixed = samples;
  if (in_channels_ != out_channels_) {
    Mix(samples, frames, mixed_);
    mixed = mixed_.data();
  }
  if (!swr_) {
    out.insert(out.end(), mixed, mixed + frames * out_channels_);
    frames_out_ += frames;
    return;
  }
  Run(mixed, frames, out);
}

void Resampler::Run(const float* samples, int64_t frames, std::vector<float>& out) {
  int64_t room = swr_get_out_samples(swr_.get(), static_cast<int>(frames));
  if (room < 0) Fail(name_, "重采样失败");
  std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(room + 16) * out_channels_);
  uint8_t* dst[1] = {reinterpret_cast<uint8_t*>(out.data() + start)};
  const uint8_t* src[1] = {reinterpret_cast<const uint8_t*>(samples)};
  int n = swr_convert(swr_.get(), dst, static_cast<int>(room + 16), samples ? src : nullptr,
                      static_cast<int>(frames));
  if (n < 0) Fail(name_, "重采样失败（" + AvErrorText(n) + "）");
  out.resize(start + static_cast<std::size_t>(n) * out_channels_);
  frames_out_ += n;
}

void Resampler::Flush(std::vector<float>& out) {
  if (!swr_) return;
  std::size_t start = out.size();
  int64_t before = frames_out_;
  // Drain until the converter gives nothing more.
  while (true) {
    int64_t had = frames_out_;
    Run(nullptr, 0, out);
    if (frames_out_ == had) break;
  }
  // Trim or pad the drained tail to the exact length.
  int64_t expected = av_rescale_rnd(frames_in_, out_rate_, in_rate_, AV_ROUND_NEAR_INF);
  int64_t drained = frames_out_ - before;
  int64_t wanted = expected - before;
  if (wanted < 0) wanted = 0;
  if (wanted < drained) {
    out.resize(start + static_cast<std::size_t>(wanted) * out_channels_);
  } else if (wanted > drained) {
    out.resize(start + static_cast<std::size_t>(wanted) * out_channels_, 0.0f);
  }
  frames_out_ = before + wanted;
}

}  // namespace tonvara::audio
