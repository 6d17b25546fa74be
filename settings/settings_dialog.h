// Tfm_set: the settings dialog for fades, normalization and every encoder.
// A tree of pages on the left, the page of the chosen node on the right, and
// OK / Defaults / Cancel below. Fades and normalization are edited in the
// main window's memory; the encoder settings are read from and written to the
// settings file.
#pragma once

#include <QDialog>
#include <QSpinBox>
#include <array>
#include <string>
#include <variant>
#include <vector>

#include "app/main_state.h"
#include "settings/settings_keys.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TRadioGroup;
class TSettingsStore;

// An edit with up and down arrows; its value is the arrows' position.
class TUpDownEdit : public QSpinBox {
  Q_OBJECT
 public:
  using QSpinBox::QSpinBox;
  using QAbstractSpinBox::lineEdit;
};

class Tfm_set : public QDialog {
  Q_OBJECT
 public:
  static constexpr int NodeCount = 11;

  explicit Tfm_set(QWidget* parent = nullptr);

  // The main-window values the dialog edits and the settings store; called
  // before every opening.
  void Attach(TMainState* state, TSettingsStore* store);

  // Loads the controls, then shows the dialog modally; returns the result.
  int Execute();

  // The MP3 command-line text as typed, kept between openings.
  std::string CommandLineText() const;

  // Handlers.
  void FormShow();
  void OkClick();
  void Button2Click();
  void CancelClick();
  void TreeView1Click();
  void ShowPage(int node);
  void rb_cdmodeClick();
  void cb_mp3vbrcmChange();
  void chHFiltClick();
  void chLFiltClick();
  void ck_presetClick();
  void ck_altClick();
  void ck_oggvbrClick();
  void ck_oggqualityClick();
  // The key filter of the Ogg quality edit: a digit stays, anything else
  // becomes a backspace.
  static QChar edt_ogg_qualityKeyPress(QChar key);

  // Tree node of an item, counted depth-first from 0; -1 for none.
  int NodeOf(const QTreeWidgetItem* item) const;
  QTreeWidgetItem* NodeItem(int node) const;
  int SelectedNode() const;  // -1 when no node is selected
  // The page shown for a node (nodes 1 and 2 share one page).
  QGroupBox* PageOf(int node) const;
  const std::array<QGroupBox*, NodeCount>& NodePages() const { return nodePages_; }

  QLineEdit* edt_mp3_quality() const { return ud_mp3_quality->lineEdit(); }
  QLineEdit* edt_mp3_vbr() const { return ud_mp3_vbr->lineEdit(); }
  QLineEdit* edt_ogg_quality() const { return ud_ogg_quality->lineEdit(); }

  // Controls, by the names the handlers use.
  QTreeWidget* TreeView1 = nullptr;
  QPushButton* Ok = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Cancel = nullptr;

  QGroupBox* gb_cdgeneral = nullptr;
  QCheckBox* cb_fadein = nullptr;
  QComboBox* cb_fadeintime = nullptr;
  QCheckBox* cb_fadeout = nullptr;
  QComboBox* cb_fadeouttime = nullptr;
  QComboBox* cb_nor = nullptr;

  QGroupBox* gb_mp3general = nullptr;
  QComboBox* cb_mp3_frequency = nullptr;
  QComboBox* cb_mp3_channel = nullptr;
  QComboBox* cb_mp3_bitrate = nullptr;
  TUpDownEdit* ud_mp3_quality = nullptr;

  QGroupBox* gb_mp3vbr = nullptr;
  QComboBox* cb_mp3vbrcm = nullptr;
  QComboBox* cb_mp3_vbr = nullptr;
  TUpDownEdit* ud_mp3_vbr = nullptr;
  QCheckBox* ck_mp3_VBR = nullptr;
  QCheckBox* ck_mp3_semb = nullptr;

  QGroupBox* gb_filter = nullptr;
  QCheckBox* chHFilt = nullptr;
  QSpinBox* udHFiltF = nullptr;
  QLabel* Label15 = nullptr;
  QSpinBox* udHFiltW = nullptr;
  QCheckBox* chLFilt = nullptr;
  QSpinBox* udLFiltF = nullptr;
  QLabel* Label20 = nullptr;
  QSpinBox* udLFiltW = nullptr;

  QGroupBox* gb_expert = nullptr;
  QCheckBox* ck_crc = nullptr;
  QCheckBox* ck_comply = nullptr;
  QCheckBox* ck_allow = nullptr;
  QCheckBox* ck_short = nullptr;
  QCheckBox* ck_bit = nullptr;
  QComboBox* cb_ath = nullptr;
  QComboBox* cb_de = nullptr;

  QGroupBox* gb_presets = nullptr;
  QCheckBox* ck_preset = nullptr;
  TRadioGroup* rg_prest = nullptr;
  QCheckBox* ck_alt = nullptr;
  TRadioGroup* rg_alt = nullptr;

  QGroupBox* gb_command = nullptr;
  QPlainTextEdit* txtCommLine = nullptr;

  QGroupBox* gb_wav = nullptr;
  TRadioGroup* rb_cdmode = nullptr;
  QComboBox* cb_wav_frequency = nullptr;
  QComboBox* cb_wav_channel = nullptr;
  QComboBox* cb_wav_bit = nullptr;

  QGroupBox* gb_wma = nullptr;
  QComboBox* cb_wma = nullptr;
  QComboBox* cb_vox = nullptr;

  QGroupBox* gb_ogg = nullptr;
  QComboBox* cb_ogg_fre = nullptr;
  QComboBox* cb_ogg_channel = nullptr;
  QComboBox* cb_ogg_bitrate = nullptr;
  QCheckBox* ck_oggvbr = nullptr;
  QCheckBox* ck_oggquality = nullptr;
  QComboBox* cb_ogg_minbit = nullptr;
  QComboBox* cb_ogg_maxbit = nullptr;
  TUpDownEdit* ud_ogg_quality = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // One encoder key and the control that shows it.
  using Control = std::variant<QComboBox*, QCheckBox*, QSpinBox*, TRadioGroup*>;
  struct Binding {
    const SettingKey* key;
    Control control;
  };

  // Construction (settings_dialog_pages.cpp).
  void CreateTree();
  void CreatePages();
  void CreateButtons();
  QGroupBox* NewPage();
  void CreateGeneralPage();
  void CreateMp3GeneralPage();
  void CreateMp3VbrPage();
  void CreateFilterPage();
  void CreateExpertPage();
  void CreatePresetsPage();
  void CreateCommandPage();
  void CreateWavPage();
  void CreateWmaPage();
  void CreateOggPage();
  void ConnectRules();
  void BindEncoderKeys();

  // Loading, saving and resetting.
  void FillNormalizationList();
  void LoadFromMemory();
  void LoadEncoderKeys();
  void SaveToMemory();
  void SaveEncoderKeys();
  void ApplyAllRules();
  int WmaFormatIndex() const;
  int ValueOf(const Control& control) const;
  void SetValue(const Control& control, int value);

  TMainState ownState_;  // stands in until Attach is called
  TMainState* state_ = &ownState_;
  TSettingsStore* store_ = nullptr;
  std::vector<Binding> encoderBindings_;  // in the order the keys are written
  std::array<QGroupBox*, NodeCount> nodePages_{};
  std::array<QString, NodeCount> nodeTitles_{};
  std::vector<QTreeWidgetItem*> nodeItems_;
};
