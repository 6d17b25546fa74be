// The parallel scheduler: up to N files at once, each converted (or
// normalized) by the window's own run on a one-row list, with its own reader,
// writer, encoder settings and transform. Output names are chosen one file
// after another in list order, so each file gets the name it would get with
// one file at a time, and two files of the same caption never share a name.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_state.h"
#include "cli/file_set.h"

namespace cli {

// What every file is converted with.
struct JobSetup {
  TMainState state;                    // format, fades and target level
  std::filesystem::path settingsFile;  // read by every run, never written
  std::string outputDir;               // empty: the stored "Format"/"Dir"
  bool normalize = false;
};

enum class JobOutcome { Done, Failed, Stopped };

struct JobResult {
  JobOutcome outcome = JobOutcome::Failed;
  std::string output;  // the output path, when the file got one
};

// Told about each file from the worker that runs it; implementations lock.
class JobObserver {
 public:
  virtual ~JobObserver() = default;
  virtual void JobStarted(std::size_t job) = 0;
  // A message of the run (Chinese, as the window shows it).
  virtual void JobMessage(std::size_t job, const std::string& text) = 0;
  virtual void JobFinished(std::size_t job, const JobResult& result) = 0;
};

class JobScheduler {
 public:
  JobScheduler(JobSetup setup, const std::vector<ListedFile>& files, JobObserver& observer);
  JobScheduler(const JobScheduler&) = delete;
  JobScheduler& operator=(const JobScheduler&) = delete;

  // Runs every file with up to `workers` at once and returns when all are
  // done or the run was stopped; `whileWaiting` is called on the calling
  // thread about every `intervalMs` meanwhile.
  void Run(int workers, const std::function<void()>& whileWaiting, int intervalMs);
  // Safe from any thread: running files end at their next block, an output
  // cut short is removed, and no further file starts.
  void Stop() { stop_ = true; }
  bool Stopped() const { return stop_; }

  // A running file's progress, 0..10000.
  int32_t Progress(std::size_t job) const { return progress_[job]; }

 private:
  void Worker();
  JobResult RunJob(std::size_t job);
  std::optional<std::string> ChooseOutputPath(std::size_t job, const std::string& folder, std::string_view prefix,
                                              std::string_view caption, std::string_view extension);
  void PassNaming(std::size_t job);
  void Release(const std::string& output);

  const JobSetup setup_;
  const std::vector<ListedFile>& files_;
  JobObserver& observer_;
  std::atomic<bool> stop_{false};
  std::atomic<std::size_t> next_{0};
  std::vector<std::atomic<int32_t>> progress_;

  // The naming turn: file i chooses its name once every file before it has
  // chosen one or has ended without.
  std::mutex namingMutex_;
  std::condition_variable namingTurn_;
  std::vector<bool> passed_;
  std::size_t turn_ = 0;
  std::set<std::string> reserved_;  // names of outputs still being written

  std::mutex endMutex_;
  std::condition_variable ended_;
  int running_ = 0;
};

}  // namespace cli
