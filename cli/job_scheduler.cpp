#include "cli/job_scheduler.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

#include "app/conversion_run.h"
#include "app/normalization_run.h"
#include "app/output_names.h"
#include "app/run_host.h"
#include "platform/audio/audio_file.h"
#include "platform/audio/audio_transform.h"
#include "platform/audio/lame_encoder.h"
#include "settings/settings_store.h"

namespace cli {

namespace {

using Clock = std::chrono::steady_clock;

// The window's side of a run, for a list of one row and no window: progress
// goes to the scheduler, boxes to the observer, the stop request arrives at
// every message pass, and the timer ticks from the run's own passes.
class JobHost : public IRunHost {
 public:
  JobHost(const ListedFile& file, TMainState& state, std::atomic<int32_t>& progress, const std::atomic<bool>& stop,
          std::function<void(const std::string&)> message)
      : file_(file), state_(state), progress_(progress), stop_(stop), message_(std::move(message)) {}

  std::function<void()> timerTick;
  std::string status = "未转换";
  bool sawStop = false;  // the run was told to stop while it worked

  int RowCount() const override { return 1; }
  std::string RowCaption(int) const override { return file_.caption; }
  std::string RowPath(int) const override { return file_.path; }
  void SetRowStatus(int, const std::string& text) override { status = text; }
  AudioFileinfo RowRecord(int) const override { return file_.record; }

  void ShowInfo(const std::string& text) override { message_(text); }
  void ShowError(const std::string& text) override { message_(text); }

  void ShowProgress(int32_t value) override { progress_ = state_.Busy ? std::clamp(value, 0, 10000) : 0; }
  void ResetProgressAfterRun() override {
    progress_ = 0;
    state_.Busy = false;
  }

  void ProcessMessages(bool) override {
    if (stop_ && state_.Busy) {
      // What the window's stop command does.
      sawStop = true;
      state_.Busy = false;
      state_.NormalizeRunning = false;
    }
    if (timerOn_ && timerTick && Clock::now() - lastTick_ >= TimerInterval) {
      lastTick_ += TimerInterval;
      timerTick();
    }
  }
  void SetTimer1(bool on) override {
    timerOn_ = on;
    lastTick_ = Clock::now();
  }
  void StopPreview() override { state_.Playing = false; }
  // The settings dialog's command-line box is never stored; there is none here.
  std::string CommandLineText() const override { return {}; }

 private:
  static constexpr std::chrono::milliseconds TimerInterval{1000};

  const ListedFile& file_;
  TMainState& state_;
  std::atomic<int32_t>& progress_;
  const std::atomic<bool>& stop_;
  std::function<void(const std::string&)> message_;
  bool timerOn_ = false;
  Clock::time_point lastTick_;
};

bool OnDisk(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

}  // namespace

JobScheduler::JobScheduler(JobSetup setup, const std::vector<ListedFile>& files, JobObserver& observer)
    : setup_(std::move(setup)), files_(files), observer_(observer), progress_(files.size()), passed_(files.size()) {}

void JobScheduler::Run(int workers, const std::function<void()>& whileWaiting, int intervalMs) {
  const int count = std::clamp(workers, 1, static_cast<int>(std::max<std::size_t>(files_.size(), 1)));
  running_ = count;
  std::vector<std::thread> threads;
  for (int i = 0; i < count; ++i) threads.emplace_back([this] { Worker(); });
  {
    std::unique_lock lock(endMutex_);
    while (running_ > 0) {
      ended_.wait_for(lock, std::chrono::milliseconds(intervalMs));
      if (running_ == 0) break;
      lock.unlock();
      if (whileWaiting) whileWaiting();
      lock.lock();
    }
  }
  for (std::thread& t : threads) t.join();
}

void JobScheduler::Worker() {
  while (!stop_) {
    const std::size_t job = next_++;
    if (job >= files_.size()) break;
    observer_.JobStarted(job);
    const JobResult result = RunJob(job);
    observer_.JobFinished(job, result);
    Release(result.output);
  }
  std::lock_guard lock(endMutex_);
  --running_;
  ended_.notify_all();
}

JobResult JobScheduler::RunJob(std::size_t job) {
  TMainState state = setup_.state;
  TSettingsStore store(setup_.settingsFile);
  TAudioFile2 reader;
  TAudioFile2 writer;
  reader.SetEnabled(true);
  writer.SetEnabled(true);
  TAudioFile2LameEnc encoder;
  TAudioTransform2 transform;
  JobHost host(files_[job], state, progress_[job], stop_,
               [this, job](const std::string& text) { observer_.JobMessage(job, text); });

  JobResult result;
  TRunContext context{state, store, reader, writer, encoder, transform, host};
  context.outputDir = setup_.outputDir;
  context.outputPath = [&](int, const std::string& folder, std::string_view prefix, std::string_view caption,
                           std::string_view extension) {
    auto path = ChooseOutputPath(job, folder, prefix, caption, extension);
    if (path) result.output = *path;
    return path;
  };
  try {
    if (setup_.normalize) {
      TNormalizationRun run(context);
      host.timerTick = [&run] { run.Timer1Timer(); };
      run.Run();
    } else {
      TConversionRun run(context);
      run.Run();
    }
  } catch (const std::exception& e) {
    host.ShowError(files_[job].path + " 转换失败:\n" + e.what());
    host.status = "失败";
  }
  PassNaming(job);

  if (host.sawStop) {
    // A stopped file's output is cut short; it must not look finished. The
    // writer never replaces a file, so what is there is this file's own.
    result.outcome = JobOutcome::Stopped;
    if (!result.output.empty() && OnDisk(result.output)) {
      std::error_code ec;
      std::filesystem::remove(result.output, ec);
    }
  } else {
    result.outcome = host.status == status::Done ? JobOutcome::Done : JobOutcome::Failed;
  }
  return result;
}

std::optional<std::string> JobScheduler::ChooseOutputPath(std::size_t job, const std::string& folder,
                                                          std::string_view prefix, std::string_view caption,
                                                          std::string_view extension) {
  std::unique_lock lock(namingMutex_);
  namingTurn_.wait(lock, [&] { return turn_ == job; });
  auto path = FreeOutputPath(folder, prefix, caption, extension,
                             [this](const std::string& p) { return reserved_.count(p) > 0; });
  if (path) reserved_.insert(*path);
  lock.unlock();
  PassNaming(job);
  return path;
}

void JobScheduler::PassNaming(std::size_t job) {
  std::lock_guard lock(namingMutex_);
  passed_[job] = true;
  while (turn_ < passed_.size() && passed_[turn_]) ++turn_;
  namingTurn_.notify_all();
}

// Once a file has ended, its output is on the disk (or was removed, and the
// name is free again, as it would be for the next row of the window's run).
void JobScheduler::Release(const std::string& output) {
  if (output.empty()) return;
  std::lock_guard lock(namingMutex_);
  reserved_.erase(output);
}

}  // namespace cli
