// Decoding through FFmpeg: the best audio stream of the file, every frame of
// every packet, the decoder drained at the end, samples converted to
// interleaved 32-bit float at the stream's own rate and channel count.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "platform/audio/audio_error.h"
#include "platform/audio/ffmpeg_util.h"
#include "platform/audio/sample_source.h"

namespace tonvara::audio {
namespace {

// Uncompressed codecs whose packets hold whole frames: their frame count is
// the packet bytes over the frame size, no decoding needed.
bool IsPlainPcm(AVCodecID id) {
  switch (id) {
    case AV_CODEC_ID_PCM_U8: case AV_CODEC_ID_PCM_S8:
    case AV_CODEC_ID_PCM_S16LE: case AV_CODEC_ID_PCM_S16BE:
    case AV_CODEC_ID_PCM_S24LE: case AV_CODEC_ID_PCM_S24BE:
    case AV_CODEC_ID_PCM_S32LE: case AV_CODEC_ID_PCM_S32BE:
    case AV_CODEC_ID_PCM_F32LE: case AV_CODEC_ID_PCM_F32BE:
    case AV_CODEC_ID_PCM_F64LE: case AV_CODEC_ID_PCM_F64BE:
    case AV_CODEC_ID_PCM_ALAW: case AV_CODEC_ID_PCM_MULAW:
      return true;
    default:
      return false;
  }
}

class FfmpegSource : public SampleSource {
 public:
  explicit FfmpegSource(const std::string& path) : path_(path) {
    OpenContainer();
    OpenDecoder();
  }

  int Rate() const override { return rate_; }
  int Channels() const override { return channels_; }

  bool Decode(std::vector<float>& out) override {
    while (true) {
      int r = avcodec_receive_frame(codec_.get(), frame_.get());
      if (r == 0) {
        bool got = AppendFrame(out);
        av_frame_unref(frame_.get());
        if (got) return true;
        continue;
      }
      if (r == AVERROR_EOF) return false;
      if (r != AVERROR(EAGAIN)) {
        // A damaged frame: skip it as FFmpeg's own tools do.
        if (r == AVERROR_INVALIDDATA) continue;
        Fail(path_, "解码失败（" + AvErrorText(r) + "）");
      }
      if (!FeedPacket()) return false;
    }
  }

  int64_t CountFrames() override {
    if (IsPlainPcm(codec_->codec_id)) return CountPcmFrames();
    int64_t total = 0;
    std::vector<float> chunk;
    while (true) {
      chunk.clear();
      if (!Decode(chunk)) break;
      total += static_cast<int64_t>(chunk.size()) / channels_;
    }
    return total;
  }

 private:
  void OpenContainer() {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path_, ec)) Fail(path_, "不是文件或不存在");
    if (std::filesystem::file_size(path_, ec) == 0) Fail(path_, "文件是空的");
    AVFormatContext* raw = nullptr;
    int r = avformat_open_input(&raw, path_.c_str(), nullptr, nullptr);
    if (r < 0) Fail(path_, "无法识别的音频格式（" + AvErrorText(r) + "）");
    format_.reset(raw);
    r = avformat_find_stream_info(format_.get(), nullptr);
    if (r < 0) Fail(path_, "无法读取音频格式信息（" + AvErrorText(r) + "）");
  }

  void OpenDecoder() {
    const AVCodec* decoder = nullptr;
    stream_ = av_find_best_stream(format_.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (stream_ == AVERROR_DECODER_NOT_FOUND) Fail(path_, "不支持这种音频编码");
    if (stream_ < 0) Fail(path_, "文件中没有音频");
    // Cover art and other streams are not read at all.
    for (unsigned i = 0; i < format_->nb_streams; ++i)
      if (static_cast<int>(i) != stream_) format_->streams[i]->discard = AVDISCARD_ALL;
    codec_.reset(avcodec_alloc_context3(decoder));
    if (!codec_) Fail(path_, "内存不足");
    AVStream* st = format_->streams[stream_];
    int r = avcodec_parameters_to_context(codec_.get(), st->codecpar);
    if (r >= 0) r = avcodec_open2(codec_.get(), decoder, nullptr);
    if (r < 0) Fail(path_, "无法打开音频解码器（" + AvErrorText(r) + "）");
    rate_ = codec_->sample_rate;
    channels_ = codec_->ch_layout.nb_channels;
    if (rate_ <= 0 || channels_ <= 0) Fail(path_, "无法确定采样率或声道数");
    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!frame_ || !packet_) Fail(path_, "内存不足");
  }

  // Sends the next packet of our stream, or the empty packet that drains the
  // decoder once the file ends (a read error counts as the end: a truncated
  // file gives what it holds). False once the drain was sent before.
  bool FeedPacket() {
    if (drained_) return false;
    while (true) {
      int r = av_read_frame(format_.get(), packet_.get());
      if (r < 0) {
        avcodec_send_packet(codec_.get(), nullptr);
        drained_ = true;
        return true;
      }
      if (packet_->stream_index != stream_) {
        av_packet_unref(packet_.get());
        continue;
      }
      r = avcodec_send_packet(codec_.get(), packet_.get());
      av_packet_unref(packet_.get());
      if (r < 0 && r != AVERROR_INVALIDDATA) Fail(path_, "解码失败（" + AvErrorText(r) + "）");
      return true;
    }
  }

  // Converts one decoded frame to interleaved float; false when it held none.
  bool AppendFrame(std::vector<float>& out) {
    if (frame_->nb_samples <= 0) return false;
    ConfigureConverter();
    std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(frame_->nb_samples) * channels_);
    uint8_t* dst[1] = {reinterpret_cast<uint8_t*>(out.data() + start)};
    int n = swr_convert(swr_.get(), dst, frame_->nb_samples,
                        const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples);
    if (n < 0) Fail(path_, "采样格式转换失败（" + AvErrorText(n) + "）");
    out.resize(start + static_cast<std::size_t>(n) * channels_);
    MakeFinite(out.data() + start, out.size() - start);
    return n > 0;
  }

  // A float file can hold values that are no numbers; they would spread
  // through gain and normalization, so infinities become full scale and
  // anything else that is not a number becomes silence.
  static void MakeFinite(float* samples, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      if (std::isnan(samples[i])) samples[i] = 0.0f;
      else if (std::isinf(samples[i])) samples[i] = samples[i] > 0 ? 1.0f : -1.0f;
    }
  }

  // The converter only changes the sample format (and the channel layout
  // if a frame differs from the stream), never the rate, so it holds no
  // samples back.
  void ConfigureConverter() {
    const AVChannelLayout& in = frame_->ch_layout;
    if (swr_ && frame_->format == swr_format_ && av_channel_layout_compare(&in, &swr_layout_) == 0) return;
    AVChannelLayout outLayout{};
    av_channel_layout_default(&outLayout, channels_);
    AVChannelLayout inLayout{};
    if (in.nb_channels > 0) {
      av_channel_layout_copy(&inLayout, &in);
    } else {
      av_channel_layout_default(&inLayout, channels_);
    }
    if (inLayout.order == AV_CHANNEL_ORDER_UNSPEC) av_channel_layout_default(&inLayout, inLayout.nb_channels);
    SwrContext* raw = nullptr;
    int r = swr_alloc_set_opts2(&raw, &outLayout, AV_SAMPLE_FMT_FLT, rate_, &inLayout,
                                static_cast<AVSampleFormat>(frame_->format), rate_, 0, nullptr);
    swr_.reset(raw);
    if (r >= 0) r = swr_init(swr_.get());
    av_channel_layout_uninit(&outLayout);
    if (r < 0) {
      av_channel_layout_uninit(&inLayout);
      Fail(path_, "采样格式转换失败（" + AvErrorText(r) + "）");
    }
    av_channel_layout_uninit(&swr_layout_);
    swr_layout_ = inLayout;
    swr_format_ = frame_->format;
  }

  int64_t CountPcmFrames() {
    int bits = av_get_bits_per_sample(codec_->codec_id);
    int64_t frameBytes = static_cast<int64_t>(bits) / 8 * channels_;
    if (frameBytes <= 0) Fail(path_, "无法确定采样大小");
    int64_t total = 0;
    while (av_read_frame(format_.get(), packet_.get()) >= 0) {
      if (packet_->stream_index == stream_) total += packet_->size / frameBytes;
      av_packet_unref(packet_.get());
    }
    return total;
  }

 public:
  ~FfmpegSource() override { av_channel_layout_uninit(&swr_layout_); }

 private:
  std::string path_;
  InputContextPtr format_;
  CodecContextPtr codec_;
  FramePtr frame_;
  PacketPtr packet_;
  SwrPtr swr_;
  AVChannelLayout swr_layout_{};
  int swr_format_ = -1;
  int stream_ = -1;
  int rate_ = 0;
  int channels_ = 0;
  bool drained_ = false;
};

}  // namespace

std::unique_ptr<SampleSource> OpenFfmpegSource(const std::string& path) {
  // FFmpeg reports damaged input on stderr at error level only; the
  // caller gets the failures as exceptions.
  static const bool quiet = (av_log_set_level(AV_LOG_ERROR), true);
  (void)quiet;
  return std::make_unique<FfmpegSource>(path);
}

}  // namespace tonvara::audio
