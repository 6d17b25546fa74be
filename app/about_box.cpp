#include "app/about_box.h"

#include "platform/chinese_font.h"

Tfm_about::Tfm_about(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fm_about"));
  setWindowTitle(QStringLiteral("关于 Tonvara"));
  setFont(ChineseFont(9));
  setFixedSize(294, 277);
  setModal(false);
}
