#include "platform/audio/audio_player.h"

#include <QMetaObject>

#include <algorithm>

#include "platform/audio/audio_output.h"

using tonvara::audio::AudioOutput;

namespace {
// The worker hands the device 50 ms at a time, so Stop takes effect quickly.
constexpr int kSliceMs = 50;
}  // namespace

TAudioPlayer2::TAudioPlayer2(QObject* parent) : QObject(parent) {}

TAudioPlayer2::~TAudioPlayer2() { Stop(); }

void TAudioPlayer2::SetFormat(int32_t rate, int32_t channels) {
  if (rate <= 0 || channels <= 0) throw AudioError("播放格式无效：" + std::to_string(rate) + " Hz、" +
                                                   std::to_string(channels) + " 声道");
  std::lock_guard lock(mutex_);
  rate_ = rate;
  channels_ = channels;
}

void TAudioPlayer2::Play() {
  if (worker_.joinable()) return;
  int rate, channels;
  {
    std::lock_guard lock(mutex_);
    stop_ = false;
    rate = rate_;
    channels = channels_;
  }
  unsigned session = ++session_;
  worker_ = std::thread([this, rate, channels, session] { Run(rate, channels, session); });
}

void TAudioPlayer2::LoadSamples(const TSampleBlock& block) {
  if (block.Empty()) return;
  std::lock_guard lock(mutex_);
  if (block.Channels() != channels_)
    throw AudioError("播放的数据块有 " + std::to_string(block.Channels()) + " 个声道，应为 " +
                     std::to_string(channels_));
  queue_.push_back(block.Samples());
  wake_.notify_all();
}

void TAudioPlayer2::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    queue_.clear();
    wake_.notify_all();
  }
  if (worker_.joinable()) worker_.join();
  ++session_;  // events of the stopped session are no longer delivered
}

// Queued to the player's own thread; dropped when the player is gone or
// its session has ended.
void TAudioPlayer2::Post(bool end, unsigned session) {
  QMetaObject::invokeMethod(
      this,
      [this, end, session] {
        if (session != session_.load()) return;
        if (end) {
          emit OnEndArrayPlay();
        } else {
          emit OnRequestOnLoadArray();
        }
      },
      Qt::QueuedConnection);
}

void TAudioPlayer2::Run(int rate, int channels, unsigned session) {
  std::unique_ptr<AudioOutput> output = tonvara::audio::OpenDefaultOutput(rate, channels);
  const int64_t slice = std::max<int64_t>(1, static_cast<int64_t>(rate) * kSliceMs / 1000);
  while (true) {
    std::vector<float> block;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
      if (stop_) break;
      block = std::move(queue_.front());
      queue_.pop_front();
      if (queue_.empty()) Post(false, session);
    }
    const int64_t frames = static_cast<int64_t>(block.size()) / channels;
    for (int64_t done = 0; done < frames; done += slice) {
      {
        std::lock_guard lock(mutex_);
        if (stop_) break;
      }
      // A device that fails midway is replaced by the silent one, so the
      // preview still runs to its end.
      if (!output->Write(block.data() + done * channels, std::min(slice, frames - done)))
        output = tonvara::audio::OpenSilentOutput(rate, channels);
    }
    std::lock_guard lock(mutex_);
    if (stop_) break;
    if (queue_.empty()) Post(true, session);
  }
  output->Abort();
}
