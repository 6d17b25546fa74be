// The interface font: a Simplified Chinese family chosen by fallback, in
// place of the Windows design's "宋体".
#pragma once

#include <QFont>

QFont ChineseFont(int pointSize);
QFont ChineseFontPx(int pixelSize);
