#include "app/file_run.h"
#include "app/messages.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "app/output_format.h"
#include "app/output_names.h"
#include "platform/audio.h"
#include "settings/settings_store.h"
#include "tags/tag_transfer.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* RemovedText = " 已被移除.";

// Clears the guard however the run ends.
class ActiveRun {
 public:
  explicit ActiveRun(bool& flag) : flag_(flag) { flag_ = true; }
  ~ActiveRun() { flag_ = false; }
  ActiveRun(const ActiveRun&) = delete;
  ActiveRun& operator=(const ActiveRun&) = delete;

 private:
  bool& flag_;
};

// Makes the folder when it is missing; the error text when it cannot.
std::optional<std::string> MakeFolder(const std::string& folder) {
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return std::nullopt;
  fs::create_directories(folder, ec);
  if (fs::is_directory(folder)) return std::nullopt;
  std::string text = "无法创建输出目录: " + folder;
  if (ec) text.append("\n").append(ec.message());
  return text;
}

}  // namespace

void TFileRun::Run() {
  IRunHost& host = ctx_.host;
  TMainState& state = ctx_.state;
  if (host.RowCount() == 0) {
    host.ShowInfo(messages::AddFilesFirst);
    return;
  }
  if (state.Busy || ctx_.runActive) return;
  ActiveRun active(ctx_.runActive);

  if (state.Playing) host.StopPreview();
  state.Busy = true;
  format_ = state.OutputFormat;
  fadeIn_ = state.FadeIn;
  fadeOut_ = state.FadeOut;
  fadeInTime_ = state.FadeInTime;
  fadeOutTime_ = state.FadeOutTime;
  if (Configure() && PrepareOutputFolder()) RunRows();
  Finish();
}

bool TFileRun::Configure() {
  extension_ = OutputExtension(format_);
  if (extension_.empty()) {
    ctx_.host.ShowError("未知的输出格式: " + std::to_string(format_));
    return false;
  }
  try {
    ConfigureOutputFormat(format_, ctx_.store, ctx_.writer, ctx_.encoder, ctx_.host.CommandLineText());
    if (ctx_.writer.IsOpen()) ctx_.writer.Close();
  } catch (const std::exception& e) {
    ctx_.host.ShowError(std::string("输出格式设置有误: ") + e.what());
    return false;
  }
  return true;
}

bool TFileRun::PrepareOutputFolder() {
  std::string folder = ctx_.outputDir.empty() ? ctx_.store.Read(keys::FormatDir) : ctx_.outputDir;
  if (folder.empty()) folder = DefaultOutputDir();
  ctx_.state.OutputDir = folder;
  if (const auto cause = MakeFolder(folder)) {
    ctx_.host.ShowError(*cause);
    return false;
  }
  if (folder.back() != '/') folder += '/';
  folder_ = folder;
  return true;
}

void TFileRun::RunRows() {
  IRunHost& host = ctx_.host;
  for (int row = 0; row < host.RowCount(); ++row) {
    host.ProcessMessages();
    if (!ctx_.state.Busy) return;
    ResetRunProgress();
    host.ShowProgress(0);

    const std::string source = host.RowPath(row);
    std::error_code ec;
    if (!fs::exists(source, ec)) {
      host.ShowInfo(source + RemovedText);
      continue;
    }
    // A folder removed during the run is made again, as at the start.
    if (const auto cause = MakeFolder(folder_)) {
      host.ShowError(source + " 转换失败:\n" + *cause);
      host.SetRowStatus(row, status::Failed);
      continue;
    }
    const std::string caption = host.RowCaption(row);
    const auto output = ctx_.outputPath ? ctx_.outputPath(row, folder_, OutputPrefix(), caption, extension_)
                                        : FreeOutputPath(folder_, OutputPrefix(), caption, extension_);
    if (!output) {
      host.ShowError(source + ": 输出目录 " + folder_ + " 中 " + OutputPrefix() + caption +
                     " 的输出文件名及其 100 个编号名称都已存在, 此文件未转换.");
      host.SetRowStatus(row, status::Failed);
      continue;
    }
    host.SetRowStatus(row, status::Converting);
    ConvertRow(row, source, *output);
  }
}

void TFileRun::ConvertRow(int row, const std::string& source, const std::string& output) {
  IAudioFile2& reader = ctx_.reader;
  IAudioFile2& writer = ctx_.writer;
  bool outputFinished = false;
  try {
    if (reader.IsOpen()) reader.Close();
    reader.OpenRead(source, 0, 1);

    if (writer.IsOpen()) writer.Close();
    writer.SetInputFormat(reader.StreamSampleRate(), reader.StreamChannels());
    writer.OpenWrite(output, 0);
    writer.SetInputFormat(reader.StreamSampleRate(), reader.StreamChannels());

    TransferSamples();

    reader.Close();
    writer.Close();
    outputFinished = true;
    TransferTags(output, ctx_.host.RowRecord(row));
  } catch (const std::exception& e) {
    FailRow(row, source, output, outputFinished, e.what());
    return;
  }
  ctx_.host.ShowProgress(0);
  ctx_.host.SetRowStatus(row, status::Done);
}

// One error box naming the file and the cause; the row's output, unfinished
// or finished without its tags, is removed; the run goes on.
void TFileRun::FailRow(int row, const std::string& source, const std::string& output, bool outputFinished,
                       const std::string& cause) {
  // Disabling discards an unfinished output instead of finishing it.
  ctx_.writer.SetEnabled(false);
  ctx_.writer.SetEnabled(true);
  if (ctx_.reader.IsOpen()) ctx_.reader.Close();
  // The writer never replaces a file, so a finished output is this row's own.
  if (outputFinished) {
    std::error_code ec;
    fs::remove(output, ec);
  }
  ctx_.host.ShowProgress(0);
  ctx_.host.ShowError(source + " 转换失败:\n" + cause);
  ctx_.host.SetRowStatus(row, status::Failed);
}

void TFileRun::Finish() {
  ResetRunProgress();
  ctx_.host.ResetProgressAfterRun();
  ctx_.state.Busy = false;
}
