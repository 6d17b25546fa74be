// Tfm_dir: picks one folder from the folder tree; the result is SelectedDir.
#pragma once

#include <QDialog>
#include <string>

class Tfm_dir : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_dir(QWidget* parent = nullptr);

  // The chosen folder after the dialog closed; empty when nothing was chosen.
  std::string SelectedDir;
};
