// One named element of a skin: its kind, rectangle, looks per state, caption
// and vector icon. Elements form a tree under a form element; each offers the
// object, text and placement facets of the skin interfaces.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/skin.h"

enum class SkinKind { Form, Panel, Text, Button, Bar };

// Normal, hover (pointer over a clickable element), pressed (held down on it).
enum class SkinState { Normal = 0, Hover = 1, Pressed = 2 };

// A solid colour, or a vertical gradient from `top` to `bottom`.
struct SkinFill {
  QColor top;
  QColor bottom;
  bool IsGradient() const { return top != bottom; }
};

// One state-dependent value: a missing hover look falls back to normal, a
// missing pressed look to hover.
template <class T>
struct SkinStates {
  std::array<std::optional<T>, 3> values;
  std::optional<T> For(SkinState state) const {
    for (int i = static_cast<int>(state); i >= 0; --i)
      if (values[i]) return values[i];
    return std::nullopt;
  }
};

// One shape of an icon, in the icon's 24 x 24 design grid.
struct SkinIconShape {
  QPainterPath path;
  bool stroke = false;  // outline with `width`, else filled
  double width = 0;
};

struct SkinBorder {
  QColor color;
  double width = 1;
};

struct SkinLook {
  SkinStates<SkinFill> fill;
  SkinStates<SkinBorder> border;
  SkinStates<QColor> text;
  SkinStates<QColor> icon;  // falls back to the text colour
  int radius = 0;
  int shadowSize = 0;  // soft shadow spread in pixels, 0 for none
  QColor shadowColor;
  int fontSize = 12;  // pixels
  int fontWeight = 400;
  Qt::Alignment align = Qt::AlignLeft;
  int padLeft = 0;
  int padRight = 0;
  QRect iconBox;  // relative to the element's top-left; empty without icon
  std::vector<SkinIconShape> iconShapes;
  // A second text colour used where the text lies over another element (a
  // percentage over its progress bar stays readable on the filled part).
  std::string overName;
  QColor overColor;
};

class SkinCanvas;

class SkinElement : public ISkinObject, public ISkinElementText, public ISkinElementPlacement {
 public:
  SkinElement(std::string name, SkinKind kind, SkinElement* parent, int line);

  // ISkinObject: searches this element and everything below it.
  ISkinObject* FindChild(std::string_view name) override;
  std::string ReadName() const override { return name_; }

  // ISkinElementText
  void AssignText(const std::string& text) override;

  // ISkinElementPlacement
  SkinRect GetPlacement() const override;
  void SetPlacement(const SkinRect& rect) override;
  void Repaint() override;

  const std::string& Name() const { return name_; }
  SkinKind Kind() const { return kind_; }
  SkinElement* Parent() const { return parent_; }
  const std::vector<SkinElement*>& Children() const { return children_; }
  int Line() const { return line_; }
  bool Clickable() const { return kind_ == SkinKind::Button; }

  const QRect& Rect() const { return rect_; }
  void SetRect(const QRect& rect) { rect_ = rect; }
  bool HasRect() const { return hasRect_; }
  void MarkRectGiven() { hasRect_ = true; }
  // The area painting may touch: the rectangle plus its shadow.
  QRect PaintedArea() const;

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption) { caption_ = caption; }
  const QString& Tip() const { return tip_; }
  void SetTip(const QString& tip) { tip_ = tip; }

  SkinLook& Look() { return look_; }
  const SkinLook& Look() const { return look_; }
  // The element named by `overName`, resolved after the file is read.
  const SkinElement* Over() const { return over_; }
  void SetOver(const SkinElement* over) { over_ = over; }

  void AddChild(SkinElement* child) { children_.push_back(child); }
  void SetCanvas(SkinCanvas* canvas) { canvas_ = canvas; }

 private:
  std::string name_;
  SkinKind kind_;
  SkinElement* parent_;
  int line_;
  std::vector<SkinElement*> children_;
  QRect rect_;
  bool hasRect_ = false;
  QRect movedFrom_;  // area left by SetPlacement, drawn again at Repaint
  QString caption_;
  QString tip_;
  SkinLook look_;
  const SkinElement* over_ = nullptr;
  SkinCanvas* canvas_ = nullptr;
};

// Where an element asks for a part of the window to be drawn again.
class SkinCanvas {
 public:
  virtual ~SkinCanvas() = default;
  virtual void Invalidate(const QRect& area) = 0;
};
