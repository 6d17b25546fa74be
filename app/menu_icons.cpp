#include "app/menu_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <initializer_list>

namespace {

const QColor Accent(0x2F, 0x6F, 0xED);
const QColor Ink(0x3A, 0x46, 0x5A);

void Outline(QPainter& p, std::initializer_list<QPointF> corners) { p.drawPolygon(QPolygonF(QList<QPointF>(corners))); }

// The accent "+" of the add icons.
void Plus(QPainter& p, QPointF centre) {
  p.setPen(QPen(Accent, 1.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre - QPointF(0, 2.5), centre + QPointF(0, 2.5));
  p.drawLine(centre - QPointF(2.5, 0), centre + QPointF(2.5, 0));
}

// Vertical level bars centred on `middle`, `step` apart from `left`.
void Bars(QPainter& p, std::initializer_list<double> heights, double left, double step, double middle) {
  double x = left;
  for (double h : heights) {
    p.drawLine(QPointF(x, middle - h / 2), QPointF(x, middle + h / 2));
    x += step;
  }
}

// Draws on a 16-unit grid.
void Draw(QPainter& p, MenuIcon kind) {
  QPen pen(Ink, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (kind) {
    case MenuIcon::AddFile:
      Outline(p, {{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}});
      Plus(p, {8, 9});
      break;
    case MenuIcon::AddFolder:
      Outline(p, {{1.5, 3.5}, {6, 3.5}, {7.5, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}});
      Plus(p, {8, 9.5});
      break;
    case MenuIcon::Normalize: {
      p.setPen(QPen(Accent, 1.8, Qt::SolidLine, Qt::RoundCap));
      Bars(p, {5, 9, 12, 9, 5}, 3, 2.5, 8);
      p.setPen(QPen(Ink, 1, Qt::DashLine));
      p.drawLine(QPointF(1, 2), QPointF(15, 2));
      p.drawLine(QPointF(1, 14), QPointF(15, 14));
      break;
    }
    case MenuIcon::Convert: {
      p.setPen(QPen(Accent, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(QPointF(2, 5.5), QPointF(13, 5.5));
      p.drawLine(QPointF(10, 2.5), QPointF(13, 5.5));
      p.drawLine(QPointF(14, 10.5), QPointF(3, 10.5));
      p.drawLine(QPointF(6, 13.5), QPointF(3, 10.5));
      break;
    }
    case MenuIcon::Play:
      p.setPen(Qt::NoPen);
      p.setBrush(Accent);
      Outline(p, {{4.5, 2.5}, {13.5, 8}, {4.5, 13.5}});
      break;
    case MenuIcon::Stop:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xD9, 0x48, 0x3B));
      p.drawRoundedRect(QRectF(3.5, 3.5, 9, 9), 1.5, 1.5);
      break;
    case MenuIcon::Help: {
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      QFont f;
      f.setPixelSize(11);
      f.setBold(true);
      p.setFont(f);
      p.setPen(Accent);
      p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case MenuIcon::About: {
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.setPen(QPen(Accent, 1.8, Qt::SolidLine, Qt::RoundCap));
      p.drawPoint(QPointF(8, 4.8));
      p.drawLine(QPointF(8, 7.5), QPointF(8, 11.5));
      break;
    }
    case MenuIcon::Remove:
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.setPen(QPen(Accent, 1.6, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(5, 8), QPointF(11, 8));
      break;
    case MenuIcon::Clear: {
      QPainterPath bin;
      bin.moveTo(4, 4.5);
      bin.lineTo(5, 14.5);
      bin.lineTo(11, 14.5);
      bin.lineTo(12, 4.5);
      p.drawPath(bin);
      p.drawLine(QPointF(2.5, 4.5), QPointF(13.5, 4.5));
      p.drawLine(QPointF(6.5, 2), QPointF(9.5, 2));
      break;
    }
  }
}

QPixmap Render(MenuIcon kind, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  Draw(p, kind);
  return pm;
}

}  // namespace

QIcon MakeMenuIcon(MenuIcon kind) {
  QIcon icon;
  icon.addPixmap(Render(kind, 16));
  icon.addPixmap(Render(kind, 32));
  return icon;
}

QPixmap MakeAppIcon(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  // A rounded accent tile with a sound wave and a conversion arrow.
  QLinearGradient g(0, 0, 0, 32);
  g.setColorAt(0, QColor(0x4A, 0x86, 0xF7));
  g.setColorAt(1, QColor(0x22, 0x58, 0xD0));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);
  p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
  Bars(p, {6, 12, 18, 12, 6}, 8, 4, 16);
  return pm;
}
