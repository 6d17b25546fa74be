#include "settings/dir_dialog.h"

#include "platform/chinese_font.h"

Tfm_dir::Tfm_dir(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fm_dir"));
  setWindowTitle(QStringLiteral("输出目录"));
  setFont(ChineseFont(9));
  setFixedSize(287, 260);
}
