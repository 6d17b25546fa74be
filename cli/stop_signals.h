// Ctrl+C and SIGTERM as the window's stop command: while an object of this
// class lives, the two signals are blocked in every thread started after it
// and a watcher thread calls `stop` when one arrives.
#pragma once

#include <signal.h>

#include <atomic>
#include <functional>
#include <thread>

namespace cli {

class StopSignals {
 public:
  explicit StopSignals(std::function<void()> stop);
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  void Watch();

  std::function<void()> stop_;
  sigset_t signals_{};
  sigset_t previous_{};
  std::atomic<bool> done_{false};
  std::thread watcher_;
};

}  // namespace cli
