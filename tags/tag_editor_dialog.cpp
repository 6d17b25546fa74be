#include "tags/tag_editor_dialog.h"

#include "platform/chinese_font.h"

Tfm_id3::Tfm_id3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("fm_id3"));
  setWindowTitle(QStringLiteral("ID3 编辑"));
  setFont(ChineseFont(9));
  setFixedSize(419, 269);
}
