// VOX reading through libsndfile. The format has no header, so the rate is
// the one the caller says the file was written at.
#include <filesystem>

#include "platform/audio/audio_error.h"
#include "platform/audio/sample_source.h"
#include "platform/audio/sndfile_util.h"

namespace tonvara::audio {
namespace {

constexpr sf_count_t kChunkFrames = 8192;

class VoxSource : public SampleSource {
 public:
  VoxSource(const std::string& path, int rate) : rate_(rate) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) Fail(path, "不是文件或不存在");
    if (std::filesystem::file_size(path, ec) == 0) Fail(path, "文件是空的");
    if (rate <= 0) Fail(path, "VOX 采样率无效");
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_RAW | SF_FORMAT_VOX_ADPCM;
    file_.reset(sf_open(path.c_str(), SFM_READ, &info));
    if (!file_) Fail(path, std::string("无法读取 VOX 文件（") + sf_strerror(nullptr) + "）");
    frames_ = info.frames;
  }

  int Rate() const override { return rate_; }
  int Channels() const override { return 1; }

  bool Decode(std::vector<float>& out) override {
    std::size_t start = out.size();
    out.resize(start + kChunkFrames);
    sf_count_t n = sf_readf_float(file_.get(), out.data() + start, kChunkFrames);
    out.resize(start + static_cast<std::size_t>(n > 0 ? n : 0));
    return n > 0;
  }

  // Two samples per byte: the header-less format states its own length.
  int64_t CountFrames() override { return frames_; }

 private:
  int rate_;
  SndfilePtr file_;
  int64_t frames_ = 0;
};

}  // namespace

std::unique_ptr<SampleSource> OpenVoxSource(const std::string& path, int rate) {
  return std::make_unique<VoxSource>(path, rate);
}

}  // namespace tonvara::audio
