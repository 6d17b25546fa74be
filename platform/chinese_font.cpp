#include "platform/chinese_font.h"

#include <QStringList>

namespace {
QFont Base() {
  QFont font;
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                    QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("Sans Serif")});
  font.setStyleHint(QFont::SansSerif);
  return font;
}
}  // namespace

QFont ChineseFont(int pointSize) {
  QFont font = Base();
  font.setPointSize(pointSize);
  return font;
}

QFont ChineseFontPx(int pixelSize) {
  QFont font = Base();
  font.setPixelSize(pixelSize);
  return font;
}
