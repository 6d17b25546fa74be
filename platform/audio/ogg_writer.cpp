// OGG output: Vorbis through libvorbisenc, pages through libogg. The final
// granule position states the exact frame count, so decoders trim the last
// packet to the input's length.
#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/audio/audio_error.h"
#include "platform/audio/sample_sink.h"

namespace tonvara::audio {
namespace {

constexpr int64_t kChunkFrames = 4096;

// libvorbis and libogg state, released in reverse order of set-up.
struct VorbisState {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  bool has_dsp = false, has_block = false, has_stream = false;

  VorbisState() {
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
  }
  ~VorbisState() {
    if (has_stream) ogg_stream_clear(&stream);
    if (has_block) vorbis_block_clear(&block);
    if (has_dsp) vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }
  VorbisState(const VorbisState&) = delete;
  VorbisState& operator=(const VorbisState&) = delete;
};

struct FileCloser {
  void operator()(FILE* f) const { fclose(f); }
};

class OggSink : public SampleSink {
 public:
  OggSink(const SinkTarget& target, const OutputSettings& s) : name_(target.name) {
    rate_ = s.ogg_rate > 0 ? s.ogg_rate : target.input_rate;
    channels_ = s.ogg_channels > 0 ? s.ogg_channels : target.input_channels;
    InitEncoder(s);
    file_.reset(fopen(target.path.c_str(), "wb"));
    if (!file_) Fail(name_, std::string("无法创建输出文件（") + std::strerror(errno) + "）");
    WriteHeaders();
  }

  int Rate() const override { return rate_; }
  int Channels() const override { return channels_; }

  void Write(const float* samples, int64_t frames) override {
    for (int64_t done = 0; done < frames; done += kChunkFrames) {
      int n = static_cast<int>(std::min(kChunkFrames, frames - done));
      const float* chunk = samples + done * channels_;
      float** buffer = vorbis_analysis_buffer(&v_.dsp, n);
      for (int c = 0; c < channels_; ++c)
        for (int f = 0; f < n; ++f) buffer[c][f] = chunk[f * channels_ + c];
      vorbis_analysis_wrote(&v_.dsp, n);
      Drain();
    }
  }

  void Finish() override {
    vorbis_analysis_wrote(&v_.dsp, 0);
    Drain();
    ogg_page page;
    while (ogg_stream_flush(&v_.stream, &page) != 0) PutPage(page);
    if (fclose(file_.release()) != 0) Fail(name_, std::string("无法完成输出文件（") + std::strerror(errno) + "）");
  }

 private:
  // Quality mode (0..1000 onto 0.0..1.0), managed VBR with a minimum and
  // maximum, or an average bit rate; rates in kbit/s.
  void InitEncoder(const OutputSettings& s) {
    int r;
    std::string what;
    if (s.ogg_quality >= 0) {
      float q = static_cast<float>(std::clamp(s.ogg_quality, 0, 1000)) / 1000.0f;
      r = vorbis_encode_init_vbr(&v_.info, channels_, rate_, q);
      what = "质量 " + std::to_string(s.ogg_quality);
    } else {
      auto bps = [](int kbps) { return kbps > 0 ? static_cast<long>(kbps) * 1000 : -1L; };
      long nominal = bps(s.ogg_bitrate);
      long minimum = bps(s.ogg_minimum), maximum = bps(s.ogg_maximum);
      if (nominal < 0 && minimum < 0 && maximum < 0) Fail(name_, "OGG 码率无效");
      r = vorbis_encode_init(&v_.info, channels_, rate_, maximum, nominal, minimum);
      what = "码率 " + std::to_string(s.ogg_bitrate) + " kbit/s";
      if (minimum > 0 || maximum > 0)
        what += "（" + std::to_string(s.ogg_minimum) + "–" + std::to_string(s.ogg_maximum) + " kbit/s）";
    }
    if (r != 0)
      Fail(name_, "Vorbis 编码器不支持这个组合：" + std::to_string(rate_) + " Hz、" + std::to_string(channels_) +
                      " 声道、" + what);
    if (vorbis_analysis_init(&v_.dsp, &v_.info) != 0) Fail(name_, "无法初始化 Vorbis 编码器");
    v_.has_dsp = true;
    vorbis_block_init(&v_.dsp, &v_.block);
    v_.has_block = true;
    std::random_device random;
    ogg_stream_init(&v_.stream, static_cast<int>(random() & 0x7fffffff));
    v_.has_stream = true;
  }

  // The three header packets, flushed so the audio starts on its own page.
  void WriteHeaders() {
    ogg_packet id, comments, codebooks;
    vorbis_analysis_headerout(&v_.dsp, &v_.comment, &id, &comments, &codebooks);
    ogg_stream_packetin(&v_.stream, &id);
    ogg_stream_packetin(&v_.stream, &comments);
    ogg_stream_packetin(&v_.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&v_.stream, &page) != 0) PutPage(page);
  }

  void Drain() {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&v_.dsp, &v_.block) == 1) {
      vorbis_analysis(&v_.block, nullptr);
      vorbis_bitrate_addblock(&v_.block);
      while (vorbis_bitrate_flushpacket(&v_.dsp, &packet) == 1) {
        ogg_stream_packetin(&v_.stream, &packet);
        while (ogg_stream_pageout(&v_.stream, &page) != 0) PutPage(page);
      }
    }
  }

  void PutPage(const ogg_page& page) {
    if (fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file_.get()) !=
            static_cast<std::size_t>(page.header_len) ||
        fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file_.get()) !=
            static_cast<std::size_t>(page.body_len))
      Fail(name_, std::string("写入失败（") + std::strerror(errno) + "）");
  }

  std::string name_;
  int rate_ = 0;
  int channels_ = 0;
  VorbisState v_;
  std::unique_ptr<FILE, FileCloser> file_;
};

}  // namespace

std::unique_ptr<SampleSink> OpenOggSink(const SinkTarget& target, const OutputSettings& settings) {
  return std::make_unique<OggSink>(target, settings);
}

}  // namespace tonvara::audio
