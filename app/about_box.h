// Tfm_about: the about box, shown without blocking the main window.
#pragma once

#include <QDialog>

class Tfm_about : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_about(QWidget* parent = nullptr);
};
