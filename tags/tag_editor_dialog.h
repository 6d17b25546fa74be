// Tfm_id3: the tag editor for the rows of the list.
#pragma once

#include <QDialog>

class Tfm_id3 : public QDialog {
  Q_OBJECT
 public:
  explicit Tfm_id3(QWidget* parent = nullptr);
};
