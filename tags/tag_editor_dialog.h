// Tfm_id3: the tag editor. Edits the six tag texts the list keeps for each
// row, one row or all rows at a time, in a copy that OK hands back to the
// list; it never opens a file.
#pragma once

#include <QDialog>

#include "app/audio_file_info.h"
#include "tags/tag_edit_records.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QWidget;

class Tfm_id3 : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_id3(QWidget* parent = nullptr);

  // The main window's list (caption in column 0) and its records.
  void Attach(QTreeWidget* lv, TFileInfos* fileInfos);
  // Fills the dialog from the list, then shows it modally.
  int Execute();

  // Handlers, by the event that calls them.
  void FormShow();
  void FormCloseQuery();
  void lv_id3Click();
  void edt_tatalChange();
  void edt_artChange();
  void edt_albChange();
  void edt_yearChange();
  void ComboBox1Change();
  void edt_comChange();
  void edt_tatalExit();
  void edt_artExit();
  void edt_albExit();
  void edt_yearExit();
  void edt_comExit();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void Button7Click();
  void btn_okClick();
  void btn_cancelClick();

  const TFileInfos& EditRecords() const { return editRecords_.Records(); }
  int SelectedRow() const { return selectedRow_; }

  // Controls.
  QTreeWidget* lv_id3;
  QWidget* Panel1;
  QGroupBox* GroupBox1;
  QLabel* Label1;  // "Title:"
  QLabel* Label2;  // "Artist: "
  QLabel* Label3;  // "Album: "
  QLabel* Label4;  // "Year: "
  QLabel* Label5;  // "Genre:"
  QLabel* Label6;  // "Comment: "
  QLineEdit* edt_tatal;
  QLineEdit* edt_art;
  QLineEdit* edt_alb;
  QLineEdit* edt_year;
  QComboBox* edt_genre;
  QPlainTextEdit* edt_com;
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;
  QPushButton* Button4;
  QPushButton* Button5;
  QPushButton* Button6;
  QPushButton* Button7;
  QPushButton* btn_ok;
  QPushButton* btn_cancel;

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void ConnectHandlers();
  void FillGenreList();
  void FillFromList();
  int SelectedListRow() const;
  void SelectListRow(int row);
  void ShowRecordOfCaption(int row);
  void ShowRecord(int row);
  void ShowTexts(const AudioFileinfo& record, const std::string& title);
  std::string BoxText(TagField field) const;
  void StoreBox(TagField field);
  void StoreAllRows(TagField field);
  void OnSelectionChanged();

  QTreeWidget* lv_ = nullptr;
  TFileInfos* fileInfos_ = nullptr;
  TTagEditRecords editRecords_;
  int selectedRow_ = 0;
  bool filling_ = false;  // the dialog itself is changing the selection
};
