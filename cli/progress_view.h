// Progress on standard error. On a terminal: one line per running file with
// a bar and its percentage, and a total line with the files done, the time
// so far and the time left, redrawn in place. Otherwise: one plain line per
// finished file. Messages of the runs are printed once each, in the user's
// language.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "cli/file_set.h"
#include "cli/job_scheduler.h"

namespace cli {

class ProgressView : public JobObserver {
 public:
  // `progressOf` gives a running file's progress, 0..10000.
  ProgressView(const std::vector<ListedFile>& files, bool terminal, std::function<int32_t(std::size_t)> progressOf);

  void JobStarted(std::size_t job) override;
  void JobMessage(std::size_t job, const std::string& text) override;
  void JobFinished(std::size_t job, const JobResult& result) override;

  // Redraws the terminal lines; nothing for plain output.
  void Refresh();
  // Clears the terminal lines and prints the summary line.
  void Finish(int refused);

  int Failed() const { return failed_; }
  int Stopped() const { return stopped_; }

 private:
  std::string RunningLine(std::size_t job, int columns) const;
  std::string TotalLine() const;
  void EraseLocked();
  void DrawLocked();
  void WriteLocked(const std::string& text);

  const std::vector<ListedFile>& files_;
  const bool terminal_;
  const std::function<int32_t(std::size_t)> progressOf_;
  const std::chrono::steady_clock::time_point start_;

  std::mutex mutex_;
  std::vector<std::size_t> running_;  // in the order they started
  std::set<std::string> printed_;     // messages already shown
  int finished_ = 0;
  int done_ = 0;
  int failed_ = 0;
  int stopped_ = 0;
  int drawnLines_ = 0;
};

}  // namespace cli
