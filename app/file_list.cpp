#include "app/file_list.h"
#include "app/messages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTreeWidget>
#include <algorithm>

#include "app/file_properties.h"
#include "app/list_text.h"
#include "app/main_window.h"
#include "platform/audio.h"
#include "platform/dialogs.h"

namespace {

constexpr const char* StatusNotConverted = "未转换";

void ProcessMessages() { QCoreApplication::processEvents(); }

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::vector<dialogs::FileFilter> OpenDialogFilters() {
  return {{"所有支持的文件", "*.mp3;*.wav;*.wma;*.ogg"},
          {"MP3 文件(*.mp3)", "*.mp3"},
          {"WAV 文件(*.wav)", "*.wav"},
          {"WMA 文件(*.wma)", "*.wma"},
          {"OGG 文件(*.ogg)", "*.ogg"},
          {"所有文件(*.*)", "*"}};
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace

bool IsListedAudioExtension(const std::string& fileName) {
  static constexpr const char* Extensions[] = {".mp3", ".wav", ".ogg", ".wma", ".rm", ".vox"};
  const auto dot = fileName.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = Lower(fileName.substr(dot));
  return std::any_of(std::begin(Extensions), std::end(Extensions), [&](const char* e) { return ext == e; });
}

std::string FileNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

TFileList::TFileList(QTreeWidget& lv, TMainState& state, IAudioFile2& reader,
                     const std::unique_ptr<TSettingsStore>& store)
    : lv_(lv), state_(state), reader_(reader), store_(store) {}

bool TFileList::RefusedWhileBusy() const {
  if (!state_.Busy) return false;
  dialogs::ShowInfo(messages::StopConversionFirst);
  return true;
}

void TFileList::AddFiles() {
  if (RefusedWhileBusy()) return;
  dialogs::OpenFilesRequest request;
  request.caption = "添加文件";
  request.filters = OpenDialogFilters();
  request.multiSelect = true;
  for (const std::string& path : dialogs::GetOpenFileNames(request)) {
    ProcessMessages();
    AddFile(path);
  }
}

void TFileList::AddFile(const std::string& path) { AddRow(path, FileNameOf(path)); }

void TFileList::AddRow(const std::string& path, const std::string& caption) {
  const int row = AppendRow(caption);
  if (!RunTagStep(row, path)) return;
  PropertyStep(row, path);
}

bool TFileList::RunTagStep(int row, const std::string& path) {
  if (!TagStep) return true;
  QTreeWidgetItem* item = lv_.topLevelItem(row);
  std::string caption = item->text(Tfm_main::ColTitle).toStdString();
  if (!TagStep(path, caption, state_.FileInfos[static_cast<std::size_t>(row)])) {
    RefuseFile(row, path);
    return false;
  }
  item->setText(Tfm_main::ColTitle, QString::fromStdString(caption));
  return true;
}

void TFileList::RefuseFile(int row, const std::string& path) {
  dialogs::ShowInfo(UnsupportedFileText(path));
  DropRow(row);
}

void TFileList::AddFolder(const std::function<std::string()>& chooseFolder) {
  if (RefusedWhileBusy()) return;
  const std::string folder = chooseFolder();
  if (folder.empty()) return;
  AddFolderEntries(folder);
}

void TFileList::AddFolderEntries(const std::string& folder) {
  // The folder's own entries, hidden ones included, in name order.
  for (const std::string& name : FolderEntryNames(folder)) {
    ProcessMessages();
    ProcessMessages();
    if (!IsListedAudioExtension(name)) continue;
    ProcessMessages();
    AddRow(JoinPath(folder, name), name);
  }
}

void TFileList::AddDropped(const QStringList& paths) {
  if (RefusedWhileBusy()) return;
  for (const QString& p : paths) {
    ProcessMessages();
    if (QFileInfo(p).isDir())
      AddFolderEntries(p.toStdString());
    else
      AddFile(p.toStdString());
  }
}

int TFileList::AppendRow(const std::string& caption) {
  auto* item = new QTreeWidgetItem(&lv_);
  item->setText(Tfm_main::ColTitle, QString::fromStdString(caption));
  state_.FileInfos.emplace_back();
  FitTitleColumn();
  return lv_.topLevelItemCount() - 1;
}

int32_t TFileList::VoxReadRate() const { return ::VoxReadRate(store_.get()); }

bool TFileList::PropertyStep(int row, const std::string& path) {
  const std::optional<TFileProperties> p = ReadFileProperties(reader_, VoxReadRate(), path);
  if (!p) {
    RefuseFile(row, path);
    return false;
  }
  QTreeWidgetItem* item = lv_.topLevelItem(row);
  item->setText(Tfm_main::ColRate, QString::fromStdString(RateText(p->SampleRate)));
  item->setText(Tfm_main::ColChannels, QString::fromStdString(ChannelText(p->Channels)));
  item->setText(Tfm_main::ColDuration, QString::fromStdString(FormatDuration(p->DurationMs)));
  state_.FileInfos[static_cast<std::size_t>(row)].Duration = p->DurationMs;
  item->setText(Tfm_main::ColSize, QString::fromStdString(SizeText(p->SizeBytes)));
  item->setText(Tfm_main::ColStatus, QString::fromUtf8(StatusNotConverted));
  item->setText(Tfm_main::ColPath, QString::fromStdString(path));
  return true;
}

void TFileList::DropRow(int row) {
  delete lv_.takeTopLevelItem(row);
  state_.FileInfos.erase(state_.FileInfos.begin() + row);
  FitTitleColumn();
}

void TFileList::RemoveSelected() {
  if (RefusedWhileBusy()) return;
  const int count = lv_.topLevelItemCount();
  int index = 0;
  for (int step = 0; step < count; ++step) {
    QTreeWidgetItem* item = lv_.topLevelItem(index);
    if (!item) break;
    if (item->isSelected())
      DropRow(index);
    else
      ++index;
  }
}

void TFileList::ClearList() {
  if (RefusedWhileBusy()) return;
  lv_.clear();
  state_.FileInfos.clear();
}

void TFileList::FitTitleColumn() { lv_.setColumnWidth(Tfm_main::ColTitle, lv_.topLevelItemCount() > 10 ? 105 : 120); }
