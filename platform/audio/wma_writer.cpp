// WMA output: FFmpeg's wmav2 encoder in an ASF container. Samples are
// re-chunked to the encoder's frame size and the last, partial frame is
// padded with silence. The encoder's output lags one frame behind (a
// decoder gets one frame fewer than was sent), so one more frame of silence
// follows: the output is never shorter than its input.
#include <algorithm>
#include <vector>

#include "platform/audio/audio_error.h"
#include "platform/audio/ffmpeg_util.h"
#include "platform/audio/sample_sink.h"
#include "platform/audio/wma_profiles.h"

namespace tonvara::audio {
namespace {

struct OutputContextDeleter {
  void operator()(AVFormatContext* c) const {
    if (c->pb) avio_closep(&c->pb);
    avformat_free_context(c);
  }
};
using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextDeleter>;

// For encoders that take any frame size.
constexpr int kDefaultFrameSize = 2048;

class WmaSink : public SampleSink {
 public:
  WmaSink(const SinkTarget& target, const WmaProfile& profile)
      : name_(target.name), rate_(profile.rate), channels_(profile.channels) {
    OpenEncoder(profile);
    OpenContainer(target.path);
  }

  int Rate() const override { return rate_; }
  int Channels() const override { return channels_; }

  void Write(const float* samples, int64_t frames) override {
    pending_.insert(pending_.end(), samples, samples + frames * channels_);
    std::size_t frameSamples = static_cast<std::size_t>(frame_size_) * channels_;
    std::size_t used = 0;
    while (pending_.size() - used >= frameSamples) {
      SendFrame(pending_.data() + used, frame_size_);
      used += frameSamples;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
  }

  void Finish() override {
    if (!pending_.empty()) {
      pending_.resize(static_cast<std::size_t>(frame_size_) * channels_, 0.0f);
      SendFrame(pending_.data(), frame_size_);
    }
    pending_.assign(static_cast<std::size_t>(frame_size_) * channels_, 0.0f);
    SendFrame(pending_.data(), frame_size_);
    pending_.clear();
    Check(avcodec_send_frame(codec_.get(), nullptr), "WMA 编码失败");
    ReceivePackets();
    Check(av_write_trailer(format_.get()), "无法完成 WMA 文件");
    Check(avio_closep(&format_->pb), "无法完成输出文件");
  }

 private:
  void Check(int r, const char* what) {
    if (r < 0) Fail(name_, std::string(what) + "（" + AvErrorText(r) + "）");
  }

  void OpenEncoder(const WmaProfile& profile) {
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
    if (!encoder) Fail(name_, "FFmpeg 中没有 WMA 编码器");
    codec_.reset(avcodec_alloc_context3(encoder));
    if (!codec_) Fail(name_, "内存不足");
    codec_->sample_fmt = AV_SAMPLE_FMT_FLTP;
    codec_->sample_rate = rate_;
    av_channel_layout_default(&codec_->ch_layout, channels_);
    codec_->bit_rate = static_cast<int64_t>(profile.kbps) * 1000;
    codec_->time_base = AVRational{1, rate_};
    codec_->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;  // ASF keeps the codec setup in its header
    Check(avcodec_open2(codec_.get(), encoder, nullptr), "无法打开 WMA 编码器");
    frame_size_ = codec_->frame_size > 0 ? codec_->frame_size : kDefaultFrameSize;
    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!frame_ || !packet_) Fail(name_, "内存不足");
  }

  void OpenContainer(const std::string& path) {
    AVFormatContext* raw = nullptr;
    Check(avformat_alloc_output_context2(&raw, nullptr, "asf", path.c_str()), "无法创建 ASF 容器");
    format_.reset(raw);
    stream_ = avformat_new_stream(format_.get(), nullptr);
    if (!stream_) Fail(name_, "内存不足");
    Check(avcodec_parameters_from_context(stream_->codecpar, codec_.get()), "无法创建 ASF 容器");
    stream_->time_base = codec_->time_base;
    Check(avio_open(&format_->pb, path.c_str(), AVIO_FLAG_WRITE), "无法创建输出文件");
    Check(avformat_write_header(format_.get(), nullptr), "无法写入 ASF 文件头");
  }

  // One frame of interleaved samples, split into planes, stamped with the
  // running sample count.
  void SendFrame(const float* samples, int frames) {
    frame_->nb_samples = frames;
    frame_->format = codec_->sample_fmt;
    frame_->sample_rate = rate_;
    Check(av_channel_layout_copy(&frame_->ch_layout, &codec_->ch_layout), "内存不足");
    Check(av_frame_get_buffer(frame_.get(), 0), "内存不足");
    for (int c = 0; c < channels_; ++c) {
      float* plane = reinterpret_cast<float*>(frame_->extended_data[c]);
      for (int f = 0; f < frames; ++f) plane[f] = samples[f * channels_ + c];
    }
    frame_->pts = next_pts_;
    next_pts_ += frames;
    int r = avcodec_send_frame(codec_.get(), frame_.get());
    av_frame_unref(frame_.get());
    Check(r, "WMA 编码失败");
    ReceivePackets();
  }

  void ReceivePackets() {
    while (true) {
      int r = avcodec_receive_packet(codec_.get(), packet_.get());
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
      Check(r, "WMA 编码失败");
      av_packet_rescale_ts(packet_.get(), codec_->time_base, stream_->time_base);
      packet_->stream_index = stream_->index;
      Check(av_interleaved_write_frame(format_.get(), packet_.get()), "写入失败");
    }
  }

  std::string name_;
  int rate_;
  int channels_;
  CodecContextPtr codec_;
  OutputContextPtr format_;
  AVStream* stream_ = nullptr;
  FramePtr frame_;
  PacketPtr packet_;
  int frame_size_ = kDefaultFrameSize;
  int64_t next_pts_ = 0;
  std::vector<float> pending_;
};

}  // namespace

std::unique_ptr<SampleSink> OpenWmaSink(const SinkTarget& target, const OutputSettings& settings) {
  const WmaProfile* profile = FindWmaProfile(settings.wma_profile);
  if (!profile) Fail(target.name, "WMA 格式编号无效：" + std::to_string(settings.wma_profile));
  return std::make_unique<WmaSink>(target, *profile);
}

}  // namespace tonvara::audio
