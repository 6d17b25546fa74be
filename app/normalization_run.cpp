#include "app/normalization_run.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "platform/audio.h"

void TNormalizeStatus::RequestProgress(int32_t value) {
  std::lock_guard lock(mutex_);
  requests_.push_back(value);
}

std::vector<int32_t> TNormalizeStatus::TakeProgressRequests() {
  std::lock_guard lock(mutex_);
  return std::exchange(requests_, {});
}

TThreadNormalize::TThreadNormalize(IAudioFile2& reader, IAudioTransform2& transform, IAudioFile2& writer,
                                   float percent, TNormalizeStatus& status)
    : reader_(reader), transform_(transform), writer_(writer), percent_(percent), status_(status) {}

TThreadNormalize::~TThreadNormalize() {
  RequestTermination();
  if (thread_.joinable()) thread_.join();
}

void TThreadNormalize::Start() { thread_ = std::thread([this] { Execute(); }); }

void TThreadNormalize::WaitForEnd(int milliseconds) {
  std::unique_lock lock(endMutex_);
  endSignal_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return ended_.load(); });
}

void TThreadNormalize::Execute() {
  try {
    Body();
  } catch (const std::exception& e) {
    // Ends the row as failed instead of leaving the run waiting.
    error_ = e.what();
    if (error_.empty()) error_ = "规范化失败";
    status_.running = false;
  }
  {
    std::lock_guard lock(endMutex_);
    ended_ = true;
  }
  endSignal_.notify_all();
}

void TThreadNormalize::Body() {
  status_.stage = 0;
  const int64_t frames = reader_.SampleCount();
  if (terminate_) return;
  TSampleBlock block = reader_.ReadSamples(frames);  // the whole file as one block
  if (block.UpperBound() == -1) throw AudioError(NoReadableAudioText);

  status_.stage = 1;
  status_.progress = 1000;
  status_.RequestProgress(1000);
  if (terminate_) return;

  transform_.Normalize(block, percent_, -1);
  status_.stage = 2;
  status_.progress = 2000;
  status_.RequestProgress(2000);
  if (terminate_) return;

  WriteInSlices(block);
  block = TSampleBlock();
  status_.stage = 3;
  status_.progress = 10000;
  status_.RequestProgress(10000);
  status_.running = false;
}

// The writer converts what it is given into a buffer of its own; handing it
// the file a slice at a time keeps that buffer small, so the run holds the
// file once, not twice. The output is the same.
void TThreadNormalize::WriteInSlices(const TSampleBlock& block) {
  const int channels = block.Channels();
  for (int64_t start = 0; start < block.Frames(); start += SliceFrames) {
    const int64_t frames = std::min(SliceFrames, block.Frames() - start);
    TSampleBlock slice(channels, frames);
    std::copy_n(block.Data() + start * channels, frames * channels, slice.Data());
    writer_.WriteSamples(slice);
  }
}

TNormalizationRun::~TNormalizationRun() { worker_.reset(); }

void TNormalizationRun::TransferSamples() {
  stopped_ = false;
  status_.running = true;
  ctx_.state.NormalizeRunning = true;
  ctx_.host.SetTimer1(true);
  worker_ = std::make_unique<TThreadNormalize>(ctx_.reader, ctx_.transform, ctx_.writer,
                                               static_cast<float>(ctx_.state.NorVolume), status_);
  worker_->Start();
  WaitForWorker();
  ctx_.host.SetTimer1(false);

  const std::string error = worker_->Error();
  worker_.reset();
  if (!error.empty()) throw AudioError(error);
}

// Handles messages until the worker has ended. Once the run is stopped,
// clicks and keys wait until then, so no preview or new run can reach the
// reader while the worker still uses it.
void TNormalizationRun::WaitForWorker() {
  while (!worker_->Ended()) {
    ctx_.host.ProcessMessages(ctx_.state.Busy && ctx_.state.NormalizeRunning);
    SyncState();
    CarryProgressRequests();
    worker_->WaitForEnd(PollMilliseconds);
  }
  SyncState();
  CarryProgressRequests();
}

// The shared state follows the worker; a stop made by clearing
// NormalizeRunning there reaches the worker too. After a stop the stage
// stays 0, whatever step the worker still finishes.
void TNormalizationRun::SyncState() {
  if (!ctx_.state.NormalizeRunning && status_.running) RequestTermination();
  ctx_.state.NormalizeRunning = status_.running;
  ctx_.state.NormalizeStage = stopped_ ? 0 : status_.stage.load();
}

void TNormalizationRun::CarryProgressRequests() {
  for (int32_t value : status_.TakeProgressRequests()) ctx_.host.ShowProgress(value);
}

void TNormalizationRun::RequestTermination() {
  if (worker_) worker_->RequestTermination();
  stopped_ = true;
  status_.running = false;
  status_.stage = 0;
}

void TNormalizationRun::Timer1Timer() {
  if (!status_.running) return;
  if (status_.progress == 10000) {
    ctx_.host.SetTimer1(false);
    return;
  }
  int32_t value = status_.progress + TickStep;
  if (status_.stage < 1 && value > 1000) value = 1000;
  if (status_.stage < 2 && value > 2000) value = 2000;
  status_.progress = value;
  ctx_.host.ShowProgress(value);
}
