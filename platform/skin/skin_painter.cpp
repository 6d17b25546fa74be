#include "platform/skin/skin_painter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QTransform>
#include <algorithm>

namespace {

// Radius that still fits the rectangle (a short bar stays a pill).
double FittedRadius(const QRectF& r, double radius) {
  return std::min({radius, r.width() / 2, r.height() / 2});
}

void PaintShadow(QPainter& p, const SkinElement& e) {
  const SkinLook& look = e.Look();
  if (look.shadowSize <= 0 || look.shadowColor.alpha() == 0) return;
  // Stacked translucent layers, each a pixel wider, give a soft falloff; the
  // shadow sits slightly lower than the element as if lit from above.
  QColor layer = look.shadowColor;
  layer.setAlphaF(look.shadowColor.alphaF() / look.shadowSize);
  p.setPen(Qt::NoPen);
  p.setBrush(layer);
  for (int i = look.shadowSize; i >= 1; --i) {
    QRectF r = QRectF(e.Rect()).adjusted(-i, -i + 1, i, i + 1);
    const double radius = FittedRadius(r, look.radius + i);
    p.drawRoundedRect(r, radius, radius);
  }
}

void PaintFill(QPainter& p, const SkinElement& e, SkinState state) {
  const auto fill = e.Look().fill.For(state);
  if (!fill || (fill->top.alpha() == 0 && fill->bottom.alpha() == 0)) return;
  const QRectF r(e.Rect());
  p.setPen(Qt::NoPen);
  if (fill->IsGradient()) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, fill->top);
    g.setColorAt(1, fill->bottom);
    p.setBrush(g);
  } else {
    p.setBrush(fill->top);
  }
  const double radius = FittedRadius(r, e.Look().radius);
  p.drawRoundedRect(r, radius, radius);
}

void PaintBorder(QPainter& p, const SkinElement& e, SkinState state) {
  const auto border = e.Look().border.For(state);
  if (!border || border->width <= 0 || border->color.alpha() == 0) return;
  // Inset by half the pen so a 1-pixel line falls exactly on the pixel row.
  const double half = border->width / 2;
  const QRectF r = QRectF(e.Rect()).adjusted(half, half, -half, -half);
  QPen pen(border->color, border->width);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  const double radius = FittedRadius(r, std::max(0.0, e.Look().radius - half));
  p.drawRoundedRect(r, radius, radius);
}

QColor TextColor(const SkinElement& e, SkinState state) {
  return e.Look().text.For(state).value_or(QColor(0x1F, 0x29, 0x37));
}

void PaintIcon(QPainter& p, const SkinElement& e, SkinState state) {
  const SkinLook& look = e.Look();
  if (look.iconShapes.empty()) return;
  const QColor color = look.icon.For(state).value_or(TextColor(e, state));
  const QRectF box = QRectF(look.iconBox).translated(e.Rect().topLeft());
  const double scale = box.width() / 24.0;
  QTransform toBox;
  toBox.translate(box.left(), box.top());
  toBox.scale(scale, scale);
  for (const SkinIconShape& shape : look.iconShapes) {
    const QPainterPath path = toBox.map(shape.path);
    if (shape.stroke) {
      p.setPen(QPen(color, shape.width * scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
    } else {
      p.setPen(Qt::NoPen);
      p.setBrush(color);
    }
    p.drawPath(path);
  }
}

void PaintCaption(QPainter& p, const SkinElement& e, SkinState state, const QStringList& families) {
  if (e.Caption().isEmpty()) return;
  const SkinLook& look = e.Look();
  const QRect area = e.Rect().adjusted(look.padLeft, 0, -look.padRight, 0);
  const int flags = static_cast<int>(look.align) | Qt::AlignVCenter | Qt::TextSingleLine;
  p.setFont(SkinFont(families, look.fontSize, look.fontWeight));
  const QRect over = e.Over() ? e.Over()->Rect().intersected(e.Rect()) : QRect();
  if (over.isEmpty()) {
    p.setPen(TextColor(e, state));
    p.drawText(area, flags, e.Caption());
    return;
  }
  // Two passes: the normal colour outside the other element, the "over"
  // colour on top of it.
  p.save();
  p.setClipRegion(QRegion(e.Rect()).subtracted(QRegion(over)), Qt::IntersectClip);
  p.setPen(TextColor(e, state));
  p.drawText(area, flags, e.Caption());
  p.restore();
  p.save();
  p.setClipRect(over, Qt::IntersectClip);
  p.setPen(look.overColor);
  p.drawText(area, flags, e.Caption());
  p.restore();
}

}  // namespace

QFont SkinFont(const QStringList& families, int pixelSize, int weight) {
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixelSize);
  font.setWeight(static_cast<QFont::Weight>(weight));
  return font;
}

void PaintSkinElement(QPainter& painter, const SkinElement& element, SkinState state, const QStringList& families) {
  if (element.Rect().isEmpty()) return;  // an empty bar draws nothing
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  PaintShadow(painter, element);
  PaintFill(painter, element, state);
  PaintBorder(painter, element, state);
  PaintIcon(painter, element, state);
  PaintCaption(painter, element, state, families);
  painter.restore();
}
