#include "cli/progress_view.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "app/list_text.h"
#include "cli/messages.h"
#include "cli/text_table.h"

namespace cli {

namespace {

constexpr int BarCells = 30;
constexpr int DefaultColumns = 80;

int TerminalColumns() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return DefaultColumns;
}

std::string Clock(double seconds) {
  return FormatDuration(static_cast<int32_t>(std::min(seconds, 3.6e8) * 1000));
}

std::string Bar(int32_t progress) {
  const int filled = static_cast<int>(static_cast<int64_t>(progress) * BarCells / 10000);
  return "[" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(BarCells - filled), '-') + "]";
}

std::string Percent(int32_t progress) {
  std::string p = std::to_string(progress / 100) + "%";
  return std::string(4 - std::min<std::size_t>(p.size(), 4), ' ') + p;
}

}  // namespace

ProgressView::ProgressView(const std::vector<ListedFile>& files, bool terminal,
                           std::function<int32_t(std::size_t)> progressOf)
    : files_(files), terminal_(terminal), progressOf_(std::move(progressOf)), start_(std::chrono::steady_clock::now()) {}

void ProgressView::JobStarted(std::size_t job) {
  std::lock_guard lock(mutex_);
  running_.push_back(job);
}

void ProgressView::JobMessage(std::size_t, const std::string& text) {
  std::lock_guard lock(mutex_);
  if (!printed_.insert(text).second) return;
  EraseLocked();
  WriteLocked("tonvara-cli: " + UserText(text) + "\n");
  DrawLocked();
}

void ProgressView::JobFinished(std::size_t job, const JobResult& result) {
  std::lock_guard lock(mutex_);
  running_.erase(std::remove(running_.begin(), running_.end(), job), running_.end());
  ++finished_;
  std::string word;
  switch (result.outcome) {
    case JobOutcome::Done:
      ++done_;
      word = Tr("完成", "done");
      break;
    case JobOutcome::Failed:
      ++failed_;
      word = Tr("失败", "failed");
      break;
    case JobOutcome::Stopped:
      ++stopped_;
      word = Tr("已停止", "stopped");
      break;
  }
  if (terminal_) {
    // Only what went wrong stays on the screen; the total line counts the rest.
    if (result.outcome == JobOutcome::Done) return;
    EraseLocked();
    WriteLocked(word + ": " + files_[job].path + "\n");
    DrawLocked();
    return;
  }
  std::string line = "[" + std::to_string(finished_) + "/" + std::to_string(files_.size()) + "] " + word + ": " +
                     files_[job].path;
  if (result.outcome == JobOutcome::Done) line += " -> " + result.output;
  WriteLocked(line + "\n");
}

void ProgressView::Refresh() {
  if (!terminal_) return;
  std::lock_guard lock(mutex_);
  EraseLocked();
  DrawLocked();
}

void ProgressView::Finish(int refused) {
  std::lock_guard lock(mutex_);
  EraseLocked();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  std::string line = Tr(std::to_string(files_.size()) + " 个文件: " + std::to_string(done_) + " 完成",
                        std::to_string(files_.size()) + (files_.size() == 1 ? " file: " : " files: ") +
                            std::to_string(done_) + " done");
  if (failed_ > 0) line += Tr(", " + std::to_string(failed_) + " 失败", ", " + std::to_string(failed_) + " failed");
  if (stopped_ > 0 || finished_ < static_cast<int>(files_.size()))
    line += Tr(", " + std::to_string(static_cast<int>(files_.size()) - done_ - failed_) + " 已停止",
               ", " + std::to_string(static_cast<int>(files_.size()) - done_ - failed_) + " stopped");
  if (refused > 0)
    line += Tr(", " + std::to_string(refused) + " 个不被支持或不存在", ", " + std::to_string(refused) + " not supported or missing");
  line += Tr(", 用时 ", ", time ") + Clock(seconds) + "\n";
  WriteLocked(line);
}

std::string ProgressView::RunningLine(std::size_t job, int columns) const {
  const int32_t progress = std::clamp(progressOf_(job), 0, 10000);
  const std::string tail = "  " + Bar(progress) + " " + Percent(progress);
  const int nameCells = std::max(8, columns - 1 - DisplayWidth(tail));
  std::string name = FitWidth(files_[job].path, nameCells);
  name.append(static_cast<std::size_t>(std::max(0, nameCells - DisplayWidth(name))), ' ');
  return name + tail;
}

std::string ProgressView::TotalLine() const {
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  double work = finished_;
  for (std::size_t job : running_) work += std::clamp(progressOf_(job), 0, 10000) / 10000.0;
  const double fraction = files_.empty() ? 1 : work / static_cast<double>(files_.size());
  const std::string left = fraction > 0.005 ? Clock(elapsed * (1 - fraction) / fraction) : "--:--:--";
  return Tr("已完成 ", "Done ") + std::to_string(finished_) + "/" + std::to_string(files_.size()) +
         Tr(" 个文件  用时 ", " files  elapsed ") + Clock(elapsed) + Tr("  剩余约 ", "  left about ") + left;
}

// The cursor stays at the start of the line below the drawn block.
void ProgressView::EraseLocked() {
  if (!terminal_ || drawnLines_ == 0) return;
  WriteLocked("\x1b[" + std::to_string(drawnLines_) + "A\x1b[J");
  drawnLines_ = 0;
}

void ProgressView::DrawLocked() {
  if (!terminal_) return;
  const int columns = TerminalColumns();
  std::string text;
  for (std::size_t job : running_) text += RunningLine(job, columns) + "\n";
  text += FitWidth(TotalLine(), columns - 1) + "\n";
  drawnLines_ = static_cast<int>(running_.size()) + 1;
  WriteLocked(text);
}

void ProgressView::WriteLocked(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

}  // namespace cli
