// The silent device: it keeps a clock and returns from Write when the
// samples would have finished playing, so the player's events come at the
// same pace as with a sound card.
#include <chrono>
#include <thread>

#include "platform/audio/audio_output.h"

namespace tonvara::audio {
namespace {

class SilentOutput : public AudioOutput {
 public:
  explicit SilentOutput(int rate) : rate_(rate) {}

  bool Write(const float*, int64_t frames) override {
    auto now = Clock::now();
    if (played_ == 0 || now > due_) due_ = now;  // start, or resume after a pause
    due_ += std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
        static_cast<double>(frames) / rate_));
    played_ += frames;
    std::this_thread::sleep_until(due_);
    return true;
  }

  void Abort() override { played_ = 0; }

 private:
  using Clock = std::chrono::steady_clock;
  int rate_;
  int64_t played_ = 0;
  Clock::time_point due_;
};

}  // namespace

std::unique_ptr<AudioOutput> OpenSilentOutput(int rate, int) { return std::make_unique<SilentOutput>(rate); }

}  // namespace tonvara::audio
