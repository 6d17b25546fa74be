// Tfm_set: the settings dialog for fades, normalization and every encoder.
#pragma once

#include <QDialog>

class Tfm_set : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_set(QWidget* parent = nullptr);
};
