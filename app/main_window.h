#pragma once
#include <QWidget>
class Tfm_main : public QWidget {
  Q_OBJECT
 public:
  explicit Tfm_main(QWidget* parent = nullptr);
};
