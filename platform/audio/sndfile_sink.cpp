#include "platform/audio/sndfile_sink.h"

#include "platform/audio/audio_error.h"

namespace tonvara::audio {

SndfileSink::SndfileSink(const SinkTarget& target, int rate, int channels, int format)
    : name_(target.name), rate_(rate), channels_(channels) {
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  if (!sf_format_check(&info)) Fail(name_, "不支持的采样格式");
  file_.reset(sf_open(target.path.c_str(), SFM_WRITE, &info));
  if (!file_) Fail(name_, std::string("无法创建输出文件（") + sf_strerror(nullptr) + "）");
  // Samples beyond full scale are clipped instead of wrapping round.
  sf_command(file_.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
  pairs_ = (format & SF_FORMAT_SUBMASK) == SF_FORMAT_VOX_ADPCM;
}

void SndfileSink::Write(const float* samples, int64_t frames) {
  if (frames <= 0) return;
  if (!pairs_) return WriteFrames(samples, frames);
  joined_.clear();
  if (has_held_) joined_.push_back(held_);
  joined_.insert(joined_.end(), samples, samples + frames);
  has_held_ = joined_.size() % 2 != 0;
  if (has_held_) {
    held_ = joined_.back();
    joined_.pop_back();
  }
  WriteFrames(joined_.data(), static_cast<int64_t>(joined_.size()));
}

void SndfileSink::WriteFrames(const float* samples, int64_t frames) {
  if (frames <= 0) return;
  // libsndfile may report a VOX count rounded up to a whole byte; fewer
  // than asked is the failure. Its VOX encoder only logs a short write of the
  // system, so the file's error state is checked as well.
  if (sf_writef_float(file_.get(), samples, frames) < frames || sf_error(file_.get()) != SF_ERR_NO_ERROR)
    Fail(name_, std::string("写入失败（") + sf_strerror(file_.get()) + "）");
}

void SndfileSink::Finish() {
  // The odd last VOX sample takes one byte, padded with silence.
  if (has_held_) WriteFrames(&held_, 1);
  has_held_ = false;
  sf_write_sync(file_.get());
  if (sf_error(file_.get()) != SF_ERR_NO_ERROR)
    Fail(name_, std::string("写入失败（") + sf_strerror(file_.get()) + "）");
  int r = sf_close(file_.release());
  if (r != 0) Fail(name_, std::string("无法完成输出文件（") + sf_error_number(r) + "）");
}

}  // namespace tonvara::audio
