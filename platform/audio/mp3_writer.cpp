// MP3 output through libmp3lame. The writer resamples to the rate LAME
// settles on itself, so LAME never resamples and the LAME/Info tag written
// at the end (encoder delay and padding) lets decoders give back exactly the
// frames that went in. No ID3 tag is written here.
#include <lame/lame.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <vector>

#include "platform/audio/audio_error.h"
#include "platform/audio/lame_encoder.h"
#include "platform/audio/sample_sink.h"

namespace tonvara::audio {
namespace {

struct LameCloser {
  void operator()(lame_t l) const { lame_close(l); }
};
using LamePtr = std::unique_ptr<lame_global_flags, LameCloser>;

struct FileCloser {
  void operator()(FILE* f) const { fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

constexpr int64_t kChunkFrames = 8192;

class Mp3Sink : public SampleSink {
 public:
  Mp3Sink(const SinkTarget& target, const TAudioFile2LameEnc& settings) : name_(target.name) {
    int inChannels = target.input_channels >= 2 ? 2 : 1;
    // A first handle finds the rate and mode LAME chooses for the input.
    LamePtr probe = Configure(settings, target.input_rate, inChannels, 0);
    rate_ = lame_get_out_samplerate(probe.get());
    channels_ = lame_get_mode(probe.get()) == MONO ? 1 : inChannels;
    // The real handle gets samples already at that rate.
    lame_ = Configure(settings, rate_, channels_, rate_);
    file_.reset(fopen(target.path.c_str(), "wb"));
    if (!file_) Fail(name_, std::string("无法创建输出文件（") + std::strerror(errno) + "）");
  }

  int Rate() const override { return rate_; }
  int Channels() const override { return channels_; }

  void Write(const float* samples, int64_t frames) override {
    for (int64_t done = 0; done < frames; done += kChunkFrames) {
      int n = static_cast<int>(std::min(kChunkFrames, frames - done));
      const float* chunk = samples + done * channels_;
      Reserve(n);
      int bytes = channels_ == 2
                      ? lame_encode_buffer_interleaved_ieee_float(lame_.get(), chunk, n, buffer_.data(),
                                                                  static_cast<int>(buffer_.size()))
                      : lame_encode_buffer_ieee_float(lame_.get(), chunk, chunk, n, buffer_.data(),
                                                      static_cast<int>(buffer_.size()));
      if (bytes < 0) Fail(name_, "MP3 编码失败（LAME 错误 " + std::to_string(bytes) + "）");
      Put(buffer_.data(), bytes);
    }
  }

  void Finish() override {
    Reserve(0);
    int bytes = lame_encode_flush(lame_.get(), buffer_.data(), static_cast<int>(buffer_.size()));
    if (bytes < 0) Fail(name_, "MP3 编码失败（LAME 错误 " + std::to_string(bytes) + "）");
    Put(buffer_.data(), bytes);
    // The tag frame LAME reserved at the start now gets its final content.
    if (lame_get_bWriteVbrTag(lame_.get())) {
      std::size_t size = lame_get_lametag_frame(lame_.get(), buffer_.data(), buffer_.size());
      if (size > 0 && size <= buffer_.size()) {
        if (fseek(file_.get(), 0, SEEK_SET) != 0) Fail(name_, "无法写入 MP3 信息帧");
        Put(buffer_.data(), static_cast<int>(size));
      }
    }
    if (fclose(file_.release()) != 0) Fail(name_, std::string("无法完成输出文件（") + std::strerror(errno) + "）");
  }

 private:
  LamePtr Configure(const TAudioFile2LameEnc& settings, int inRate, int channels, int outRate) {
    LamePtr l(lame_init());
    if (!l) Fail(name_, "无法初始化 MP3 编码器");
    lame_set_in_samplerate(l.get(), inRate);
    lame_set_num_channels(l.get(), channels);
    lame_set_write_id3tag_automatic(l.get(), 0);
    settings.ApplyTo(l.get());
    if (channels == 1) lame_set_mode(l.get(), MONO);
    if (outRate > 0) lame_set_out_samplerate(l.get(), outRate);
    if (lame_init_params(l.get()) < 0) Fail(name_, "MP3 编码器不接受这些设置（码率、采样率或声道组合无效）");
    return l;
  }

  // Room for LAME's worst case: 1.25 x samples + 7200 bytes.
  void Reserve(int frames) {
    std::size_t need = static_cast<std::size_t>(frames) * 5 / 4 + 7200;
    if (buffer_.size() < need) buffer_.resize(need);
  }

  void Put(const unsigned char* data, int bytes) {
    if (bytes <= 0) return;
    if (fwrite(data, 1, static_cast<std::size_t>(bytes), file_.get()) != static_cast<std::size_t>(bytes))
      Fail(name_, std::string("写入失败（") + std::strerror(errno) + "）");
  }

  std::string name_;
  LamePtr lame_;
  FilePtr file_;
  std::vector<unsigned char> buffer_;
  int rate_ = 0;
  int channels_ = 0;
};

}  // namespace

std::unique_ptr<SampleSink> OpenMp3Sink(const SinkTarget& target, const OutputSettings& settings) {
  TAudioFile2LameEnc defaults;
  const TAudioFile2LameEnc* lame = &defaults;
  if (settings.lame) {
    lame = dynamic_cast<const TAudioFile2LameEnc*>(settings.lame);
    if (!lame) Fail(target.name, "MP3 编码器设置对象无效");
  }
  return std::make_unique<Mp3Sink>(target, *lame);
}

}  // namespace tonvara::audio
