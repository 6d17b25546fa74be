// The normalization run: every row becomes a level-normalized copy named
// "Nor_" + caption. Each file is read whole, normalized and written by one
// TThreadNormalize worker while the calling thread handles messages and the
// 1000 ms timer moves the progress display.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/file_run.h"
#include "platform/audio.h"

// What the worker and the main thread share: single values without a lock,
// and the worker's progress requests, which the main thread carries out.
struct TNormalizeStatus {
  std::atomic<bool> running{false};   // NormalizeRunning
  std::atomic<int32_t> stage{0};      // NormalizeStage: 0 reading, 1 read, 2 normalized, 3 written
  std::atomic<int32_t> progress{0};   // NormalizeProgress, 0..10000

  void RequestProgress(int32_t value);
  std::vector<int32_t> TakeProgressRequests();

 private:
  std::mutex mutex_;
  std::vector<int32_t> requests_;
};

// One worker per file, on the reader, transform and writer of the run; the
// main thread makes no call on them until the worker has ended.
class TThreadNormalize {
 public:
  TThreadNormalize(IAudioFile2& reader, IAudioTransform2& transform, IAudioFile2& writer, float percent,
                   TNormalizeStatus& status);
  // Asks the worker to end and waits for it.
  ~TThreadNormalize();
  TThreadNormalize(const TThreadNormalize&) = delete;
  TThreadNormalize& operator=(const TThreadNormalize&) = delete;

  void Start();
  // Checked at the worker's three points: before reading, after reading,
  // after normalizing.
  void RequestTermination() { terminate_ = true; }
  bool Ended() const { return ended_; }
  // Waits until the worker has ended or `milliseconds` have passed.
  void WaitForEnd(int milliseconds);
  // The cause when a call of the worker failed; empty otherwise. Read after
  // the worker has ended.
  const std::string& Error() const { return error_; }

 private:
  static constexpr int64_t SliceFrames = 65536;

  void Execute();
  void Body();
  void WriteInSlices(const TSampleBlock& block);

  IAudioFile2& reader_;
  IAudioTransform2& transform_;
  IAudioFile2& writer_;
  const float percent_;
  TNormalizeStatus& status_;
  std::atomic<bool> terminate_{false};
  std::atomic<bool> ended_{false};
  std::mutex endMutex_;
  std::condition_variable endSignal_;
  std::string error_;
  std::thread thread_;
};

class TNormalizationRun : public TFileRun {
 public:
  static constexpr int32_t TickStep = 200;
  static constexpr int32_t PollMilliseconds = 10;

  using TFileRun::TFileRun;
  ~TNormalizationRun() override;

  // The timer's tick: creeps by 2 percent, held at 10 percent while the file
  // is read and at 20 percent while it is normalized.
  void Timer1Timer();
  // The stop: the worker is asked to end, NormalizeRunning := false,
  // NormalizeStage := 0.
  void RequestTermination();

  int32_t NormalizeProgress() const { return status_.progress; }
  // The values shared with the worker, for a front end's own display.
  TNormalizeStatus& Status() { return status_; }

 protected:
  std::string OutputPrefix() const override { return "Nor_"; }
  void ResetRunProgress() override { status_.progress = 0; }
  void TransferSamples() override;

 private:
  void WaitForWorker();
  void SyncState();
  void CarryProgressRequests();

  TNormalizeStatus status_;
  std::unique_ptr<TThreadNormalize> worker_;
  bool stopped_ = false;  // the current file's worker was asked to end
};
