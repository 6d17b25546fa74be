// Tfm_main: the skinned main window. It owns the list, the shared state, the
// audio objects, the skin and the settings store, and forwards its handlers
// to plain classes.
#pragma once

#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/file_list.h"
#include "app/main_state.h"
#include "app/preview.h"
#include "app/progress_display.h"
#include "platform/audio/audio_file.h"
#include "platform/audio/audio_player.h"

class QComboBox;
class QMenu;
class Tfm_about;
class Tfm_dir;
class Tfm_id3;
class Tfm_set;
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

  // The windows created beside the main window by the program entry.
  void AttachWindows(Tfm_about* about, Tfm_dir* dir, Tfm_set* set, Tfm_id3* id3);

  // Start-up and shutdown sequences (run by the first show and the close request).
  void FormShow();
  void FormCloseQuery();

  void ShowProgress(int32_t value);
  void ResetProgressAfterRun();
  void StopWork();
  void scmbSChange(int index);

  // The file list commands.
  TFileList& FileList() { return *fileList_; }
  void AddFiles() { fileList_->AddFiles(); }
  void AddFolder();
  void RemoveSelected() { fileList_->RemoveSelected(); }
  void ClearList() { fileList_->ClearList(); }
  // The list's context menu entry "清除": asks first; nothing while busy or empty.
  void ClearListAsked();

  // The commands of the skin and the menus.
  void Skin1Click(ISkinObject* source);
  void PlayPreview() { preview_->PlayPreview(); }
  void SkinStop();         // "p_stop": ends the preview only
  void MenuStop();         // "停止": ends the preview, then a run
  void ChooseOutputFolder();
  void OpenOutputFolder();
  void OpenHelp();
  void ShowAbout();
  void ShowSettings();
  void ShowTagEditor();
  void lvClick();
  // A run about to use the shared reader stops a playing preview first.
  void StopPreviewForRun() { preview_->StopPlaying("停止"); }

  TAudioPlayer2& AudioPlayer21() { return audioPlayer_; }
  TPreview& Preview() { return *preview_; }
  QMenu* p_file() { return pFile_; }
  QMenu* p_action() { return pAction_; }
  QMenu* p_help() { return pHelp_; }
  // The last pop-up menu shown and where (screen coordinates).
  QMenu* LastPopup() const { return lastPopup_; }
  QPoint LastPopupPos() const { return lastPopupPos_; }

  // The runs; defined in app/main_window_runs.cpp.
  void RunConversion();
  void RunNormalization();
  void ConfigureOutputFormat();
  void Timer1Timer();

  TMainState& State() { return state_; }
  TSettingsStore* Settings() { return store_.get(); }
  Tfm_dir* DirDialog() { return fmDir_; }
  Tfm_set* SettingsDialog() { return fmSet_; }
  QMenu* ListMenu() { return listMenu_; }
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
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // State of the runs, owned here and defined beside the runs' handlers.
  struct Runs;
  struct RunsDeleter {
    void operator()(Runs* runs) const;
  };
  std::unique_ptr<Runs, RunsDeleter> runs_;
  void CreateRuns();  // called once by the constructor

  void CreatePopupMenus();
  void ShowPopup(QMenu* menu, int dx, int dy);
  bool RefusedWhileBusy();
  void LoadSkin();
  void FindProgressElements();
  void CreateList();
  void CreateFormatSelector();
  void CreateListMenu();

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
  TAudioPlayer2 audioPlayer_;
  std::unique_ptr<TPreview> preview_;
  QMenu* pFile_ = nullptr;
  QMenu* pAction_ = nullptr;
  QMenu* pHelp_ = nullptr;
  QMenu* lastPopup_ = nullptr;
  QPoint lastPopupPos_;
  std::unique_ptr<TFileList> fileList_;
  QMenu* listMenu_ = nullptr;
  Tfm_about* fmAbout_ = nullptr;
  Tfm_dir* fmDir_ = nullptr;
  Tfm_set* fmSet_ = nullptr;
  Tfm_id3* fmId3_ = nullptr;
  bool shown_ = false;
};
