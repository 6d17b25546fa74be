// The steps that the conversion run and the normalization run share: the
// start checks, the format configuration, the output folder, the walk over
// the rows with their output names and statuses, the tag transfer, a failed
// row's clean-up, and the end-of-run reset. Each run supplies how a row's
// samples get from the reader to the writer.
#pragma once

#include <cstdint>
#include <string>

#include "app/run_host.h"

namespace status {
inline constexpr const char* Converting = "正在转换";
inline constexpr const char* Done = "完成";
inline constexpr const char* Failed = "失败";
}  // namespace status

// The cause for a source that gives no samples at all: it was cut short or
// damaged after it was added. Its row fails, as an empty output would look
// like a finished one.
inline constexpr const char* NoReadableAudioText = "源文件中没有可读取的音频 (文件可能已被截断或损坏)";

class TFileRun {
 public:
  explicit TFileRun(TRunContext& context) : ctx_(context) {}
  virtual ~TFileRun() = default;
  TFileRun(const TFileRun&) = delete;
  TFileRun& operator=(const TFileRun&) = delete;

  // The whole run over every row; returns when it has ended or was stopped.
  void Run();

 protected:
  // "" for converted files, "Nor_" for normalized copies.
  virtual std::string OutputPrefix() const = 0;
  // Called at the start of each row and at the end of the run, before the
  // progress is set to 0.
  virtual void ResetRunProgress() {}
  // Moves the open reader's samples to the open writer; throws on failure.
  virtual void TransferSamples() = 0;

  TRunContext& ctx_;
  // Fixed at the start, so a change of the selector during a run takes
  // effect at the next run.
  int32_t format_ = 0;
  bool fadeIn_ = false;
  bool fadeOut_ = false;
  int32_t fadeInTime_ = 5;
  int32_t fadeOutTime_ = 5;

 private:
  bool Configure();
  bool PrepareOutputFolder();
  void RunRows();
  void ConvertRow(int row, const std::string& source, const std::string& output);
  void FailRow(int row, const std::string& source, const std::string& output, bool outputFinished,
               const std::string& cause);
  void Finish();

  std::string extension_;
  std::string folder_;  // ends in "/"
};
