// Placeholder skin: no elements yet.
#include "platform/skin/skin_widget.h"

#include <QPainter>

struct TSkin::State {};

TSkin::TSkin(QWidget* parent) : QWidget(parent), state_(std::make_unique<State>()) {}
TSkin::~TSkin() = default;
void TSkin::OpenSkinFile(const std::string& path) { throw SkinError("Cannot read skin file " + path); }
void TSkin::SkinWindow(QWidget*) {}
void TSkin::SkinWindowAs(QWidget*, std::string_view) {}
ISkinObject* TSkin::GetWindowRoot(QWidget*) { return nullptr; }
void TSkin::OpenSkinText(const std::string&, const std::string&) {}
std::string TSkin::BuiltInSkinText() { return {}; }
QRect TSkin::ElementRect(std::string_view) const { return {}; }
void TSkin::paintEvent(QPaintEvent*) {}
void TSkin::mouseMoveEvent(QMouseEvent*) {}
void TSkin::mousePressEvent(QMouseEvent*) {}
void TSkin::mouseReleaseEvent(QMouseEvent*) {}
void TSkin::leaveEvent(QEvent*) {}

TSkinLabel::TSkinLabel(QWidget* parent) : QWidget(parent) {}
void TSkinLabel::SetCaption(const std::string& caption) { caption_ = QString::fromStdString(caption); update(); }
std::string TSkinLabel::Caption() const { return caption_.toStdString(); }
void TSkinLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawText(rect(), Qt::AlignVCenter | Qt::AlignLeft, caption_);
}
