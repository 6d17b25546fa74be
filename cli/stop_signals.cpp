#include "cli/stop_signals.h"

#include <pthread.h>

#include <ctime>

namespace cli {

StopSignals::StopSignals(std::function<void()> stop) : stop_(std::move(stop)) {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals_, &previous_);
  watcher_ = std::thread([this] { Watch(); });
}

StopSignals::~StopSignals() {
  done_ = true;
  watcher_.join();
  // A signal that came after the run was over is dropped, not delivered.
  timespec none{0, 0};
  while (sigtimedwait(&signals_, nullptr, &none) > 0) {
  }
  pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

// Polls so that the destructor can end the thread without a signal of its own.
void StopSignals::Watch() {
  const timespec interval{0, 100'000'000};
  while (!done_) {
    if (sigtimedwait(&signals_, nullptr, &interval) > 0) stop_();
  }
}

}  // namespace cli
