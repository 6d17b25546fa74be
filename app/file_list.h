// The file list: rows of `lv` with their tag records in FileInfos, kept in
// step through every add, drop, removal and clear.
#pragma once

#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_state.h"

class IAudioFile2;
class QTreeWidget;
class QTreeWidgetItem;
class TSettingsStore;

class TFileList {
 public:
  // The store may be empty (before start-up); the VOX read rate then is the key's default.
  TFileList(QTreeWidget& lv, TMainState& state, IAudioFile2& reader, const std::unique_ptr<TSettingsStore>& store);

  // Adds the files chosen in the file-open dialog.
  void AddFiles();
  // Adds the audio files of the folder that `chooseFolder` returns (empty: nothing).
  void AddFolder(const std::function<std::string()>& chooseFolder);
  // Adds files and folders dropped on the list.
  void AddDropped(const QStringList& paths);
  void RemoveSelected();
  void ClearList();
  void FitTitleColumn();

  // Reads the tags of a just-appended file into its record and may replace
  // the row's caption; it runs before the property step. Returning false
  // refuses the file like an unsupported one.
  std::function<bool(const std::string& path, std::string& caption, AudioFileinfo& record)> TagStep;

 private:
  bool RefusedWhileBusy() const;
  void AddFile(const std::string& path);
  void AddFolderEntries(const std::string& folder);
  int AppendRow(const std::string& caption);
  void AddRow(const std::string& path, const std::string& caption);
  bool RunTagStep(int row, const std::string& path);
  void RefuseFile(int row, const std::string& path);
  bool PropertyStep(int row, const std::string& path);
  void DropRow(int row);
  int32_t VoxReadRate() const;

  QTreeWidget& lv_;
  TMainState& state_;
  IAudioFile2& reader_;
  const std::unique_ptr<TSettingsStore>& store_;
};

// The extensions a folder scan keeps, compared in lower case.
bool IsListedAudioExtension(const std::string& fileName);
// The file name of a path (the part after the last "/").
std::string FileNameOf(const std::string& path);
