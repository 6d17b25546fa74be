// Tfm_main: the skinned main window. It owns the list, the shared state, the
// audio objects, the skin and the settings store, and forwards its handlers
// to plain classes.
#pragma once

#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/main_state.h"
#include "app/progress_display.h"
#include "platform/audio/audio_file.h"

class QComboBox;
class QTreeWidget;
class TSettingsStore;
class TSkin;
class TSkinLabel;
class ISkinObject;

class Tfm_main : public QWidget {
  Q_OBJECT
 public:
  // Columns of the list: the caption, then sub-items 0..5 (5, the path, is hidden).
  enum Column { ColTitle = 0, ColRate, ColChannels, ColDuration, ColSize, ColStatus, ColPath };

  // `programFolder` holds the skin file; empty means the executable's folder.
  explicit Tfm_main(std::filesystem::path programFolder = {}, QWidget* parent = nullptr);
  ~Tfm_main() override;

  // Start-up and shutdown sequences (run by the first show and the close request).
  void FormShow();
  void FormCloseQuery();

  void ShowProgress(int32_t value);
  void ResetProgressAfterRun();
  void StopWork();
  void scmbSChange(int index);

  TMainState& State() { return state_; }
  TSettingsStore* Settings() { return store_.get(); }
  ProgressDisplay& Progress() { return progress_; }
  TSkin* Skin1() { return skin_; }
  QTreeWidget* lv() { return lv_; }
  QComboBox* scmb() { return scmb_; }
  TSkinLabel* SkinLabel1() { return skinLabel_; }
  QTimer& Timer1() { return timer1_; }
  TAudioFile2& AudioFileRead() { return audioFileRead_; }
  TAudioFile2& AudioFilewrite() { return audioFileWrite_; }

  // Asks a running normalization worker to end; set by the normalization run.
  std::function<void()> RequestNormalizeTermination;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Skin1Click(ISkinObject* source);
  void LoadSkin();
  void FindProgressElements();
  void CreateList();
  void CreateFormatSelector();

  std::filesystem::path programFolder_;
  TMainState state_;
  ProgressDisplay progress_;
  std::unique_ptr<TSettingsStore> store_;
  TSkin* skin_ = nullptr;
  TSkinLabel* skinLabel_ = nullptr;
  QTreeWidget* lv_ = nullptr;
  QComboBox* scmb_ = nullptr;
  QTimer timer1_;
  TAudioFile2 audioFileRead_;
  TAudioFile2 audioFileWrite_;
  bool shown_ = false;
};
