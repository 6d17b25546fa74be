#include "platform/skin/skin_element.h"

SkinElement::SkinElement(std::string name, SkinKind kind, SkinElement* parent, int line)
    : name_(std::move(name)), kind_(kind), parent_(parent), line_(line) {}

ISkinObject* SkinElement::FindChild(std::string_view name) {
  if (name_ == name) return this;
  for (SkinElement* child : children_)
    if (ISkinObject* found = child->FindChild(name)) return found;
  return nullptr;
}

void SkinElement::AssignText(const std::string& text) {
  caption_ = QString::fromStdString(text);
  if (canvas_) canvas_->Invalidate(PaintedArea());
}

SkinRect SkinElement::GetPlacement() const {
  return {rect_.left(), rect_.top(), rect_.left() + rect_.width(), rect_.top() + rect_.height()};
}

void SkinElement::SetPlacement(const SkinRect& rect) {
  // A rectangle turned inside out collapses to empty at its left/top edge.
  const int width = std::max(0, rect.Right - rect.Left);
  const int height = std::max(0, rect.Bottom - rect.Top);
  movedFrom_ = movedFrom_.united(PaintedArea());
  rect_ = QRect(rect.Left, rect.Top, width, height);
}

void SkinElement::Repaint() {
  if (canvas_) canvas_->Invalidate(PaintedArea().united(movedFrom_));
  movedFrom_ = QRect();
}

QRect SkinElement::PaintedArea() const {
  const int spread = look_.shadowSize + 1;  // +1 for antialiased edges
  return rect_.adjusted(-spread, -spread, spread, spread + look_.shadowSize / 2);
}
