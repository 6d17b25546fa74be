#include "settings/settings_dialog.h"

#include "platform/chinese_font.h"

Tfm_set::Tfm_set(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fm_set"));
  setWindowTitle(QStringLiteral("设置"));
  setFont(ChineseFont(9));
  setFixedSize(388, 303);
}
