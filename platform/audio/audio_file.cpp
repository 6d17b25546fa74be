#include "platform/audio/audio_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/audio/audio_error.h"
#include "platform/audio/output_file.h"
#include "platform/audio/resampler.h"
#include "platform/audio/sample_source.h"

using namespace tonvara::audio;

namespace {

std::string LowerExtension(const std::string& name) {
  std::string ext = std::filesystem::path(name).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

}  // namespace

TAudioFile2::TAudioFile2() = default;

TAudioFile2::~TAudioFile2() { AbandonWriter(); }

void TAudioFile2::CheckCanOpen(const std::string& name) const {
  if (!enabled_) Fail(name, "音频对象未启用");
  if (IsOpen()) Fail(name, "音频对象仍打开着另一个文件，请先关闭");
}

void TAudioFile2::OpenRead(const std::string& name, int32_t, int32_t) {
  CheckCanOpen(name);
  ResetReader();
  bool vox = LowerExtension(name) == ".vox";
  auto open = [&] { return vox ? OpenVoxSource(name, settings_.vox_rate) : OpenFfmpegSource(name); };
  // One pass counts the frames exactly, a fresh decoder then reads them.
  int64_t count = open()->CountFrames();
  auto source = open();
  rate_ = source->Rate();
  channels_ = source->Channels();
  sample_count_ = count;
  source_ = std::move(source);
}

void TAudioFile2::ResetReader() {
  source_.reset();
  pending_.clear();
  pending_pos_ = 0;
  delivered_ = 0;
  sample_count_ = 0;
  rate_ = 0;
  channels_ = 0;
}

int32_t TAudioFile2::DurationMs() const {
  if (rate_ <= 0 || sample_count_ <= 0) return 0;
  int64_t ms = (sample_count_ * 1000 + rate_ / 2) / rate_;
  return static_cast<int32_t>(std::min<int64_t>(ms, INT32_MAX));
}

// Decodes straight into the block, after what was left over from the last
// call; what a decoder step gives beyond the block waits for the next call.
// So even a whole-file block is built without a second copy.
TSampleBlock TAudioFile2::ReadSamples(int64_t frames) {
  if (!source_ || frames <= 0) return {};
  // Never more than the count promised, so SampleCount and the blocks agree.
  frames = std::min(frames, sample_count_ - delivered_);
  if (frames <= 0) return {};
  const std::size_t wanted = static_cast<std::size_t>(frames) * channels_;
  std::vector<float> samples;
  samples.reserve(wanted);
  const std::size_t fromPending = std::min(wanted, pending_.size() - pending_pos_);
  const auto first = pending_.begin() + static_cast<std::ptrdiff_t>(pending_pos_);
  samples.assign(first, first + static_cast<std::ptrdiff_t>(fromPending));
  pending_pos_ += fromPending;
  if (pending_pos_ == pending_.size()) {
    pending_.clear();
    pending_pos_ = 0;
  }
  while (samples.size() < wanted && source_->Decode(samples)) {
  }
  if (samples.size() > wanted) {
    pending_.assign(samples.begin() + static_cast<std::ptrdiff_t>(wanted), samples.end());
    pending_pos_ = 0;
    samples.resize(wanted);
  }
  samples.resize(samples.size() - samples.size() % channels_);
  TSampleBlock block;
  block.SetChannels(channels_);
  block.Samples() = std::move(samples);
  delivered_ += block.Frames();
  return block;
}

void TAudioFile2::SetInputFormat(int32_t rate, int32_t channels) {
  if (sink_) return;  // an open writer keeps the format it was opened with
  input_rate_ = rate;
  input_channels_ = channels;
}

void TAudioFile2::SetWavFormat(int32_t rate, int32_t channels, int32_t bits) {
  settings_.wav_rate = rate;
  settings_.wav_channels = channels;
  settings_.wav_bits = bits;
}

void TAudioFile2::SetVoxFormat(int32_t rate) { settings_.vox_rate = rate; }
void TAudioFile2::SetWmaProfile(int32_t number) { settings_.wma_profile = number; }

void TAudioFile2::SetOggFormat(int32_t rate, int32_t channels, int32_t bitrate, int32_t minimum,
                               int32_t maximum, int16_t quality) {
  settings_.ogg_rate = rate;
  settings_.ogg_channels = channels;
  settings_.ogg_bitrate = bitrate;
  settings_.ogg_minimum = minimum;
  settings_.ogg_maximum = maximum;
  settings_.ogg_quality = quality;
}

void TAudioFile2::SetMp3Encoder(IAudioFile2LameEnc* encoder) { settings_.lame = encoder; }

void TAudioFile2::OpenWrite(const std::string& name, int32_t) {
  CheckCanOpen(name);
  if (input_rate_ <= 0 || input_channels_ <= 0) Fail(name, "输入采样格式无效");
  std::string ext = LowerExtension(name);
  using Opener = std::unique_ptr<SampleSink> (*)(const SinkTarget&, const OutputSettings&);
  Opener opener = nullptr;
  if (ext == ".wav") opener = OpenWavSink;
  else if (ext == ".vox") opener = OpenVoxSink;
  else if (ext == ".mp3") opener = OpenMp3Sink;
  else if (ext == ".ogg") opener = OpenOggSink;
  else if (ext == ".wma") opener = OpenWmaSink;
  else Fail(name, "不支持的输出格式（扩展名应为 .mp3、.wav、.wma、.ogg 或 .vox）");
  auto output = std::make_unique<OutputFile>(name);
  SinkTarget target{output->TemporaryPath(), name, input_rate_, input_channels_};
  auto sink = opener(target, settings_);
  resampler_ = std::make_unique<Resampler>(name, input_rate_, input_channels_, sink->Rate(), sink->Channels());
  output_ = std::move(output);
  sink_ = std::move(sink);
}

void TAudioFile2::WriteSamples(const TSampleBlock& block) {
  if (!sink_) throw AudioError("写入失败：没有打开的输出文件");
  if (block.Empty()) return;
  if (block.Channels() != input_channels_) {
    std::string name = output_->Name();
    AbandonWriter();
    Fail(name, "写入的声道数与输入格式不符");
  }
  WriteConverted(block.Data(), block.Frames());
}

void TAudioFile2::WriteConverted(const float* samples, int64_t frames) {
  try {
    converted_.clear();
    resampler_->Convert(samples, frames, converted_);
    sink_->Write(converted_.data(), static_cast<int64_t>(converted_.size()) / sink_->Channels());
  } catch (...) {
    AbandonWriter();
    throw;
  }
}

void TAudioFile2::AbandonWriter() {
  sink_.reset();
  resampler_.reset();
  output_.reset();
  converted_.clear();
  converted_.shrink_to_fit();
}

void TAudioFile2::Close() {
  if (source_) ResetReader();
  if (!sink_) return;
  try {
    converted_.clear();
    resampler_->Flush(converted_);
    sink_->Write(converted_.data(), static_cast<int64_t>(converted_.size()) / sink_->Channels());
    sink_->Finish();
    output_->Commit();
  } catch (...) {
    AbandonWriter();
    throw;
  }
  AbandonWriter();
}

void TAudioFile2::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) {
    ResetReader();
    AbandonWriter();
  }
}
