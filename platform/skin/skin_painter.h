// Draws one skin element in one state: shadow, fill, border, icon, caption.
#pragma once

#include <QFont>
#include <QStringList>

#include "platform/skin/skin_element.h"

class QPainter;

QFont SkinFont(const QStringList& families, int pixelSize, int weight);
void PaintSkinElement(QPainter& painter, const SkinElement& element, SkinState state, const QStringList& families);
