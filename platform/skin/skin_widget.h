// TSkin: the widget that paints a skinned window from a skin file and turns
// clicks on named elements into OnClick. TSkinLabel: a text label drawn in
// the skin's look, placed over the skin.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "platform/skin.h"

enum class SkinState;

class QColor;
class QFont;
class SkinDocument;
class SkinElement;

class TSkin : public QWidget, public ISkin {
  Q_OBJECT
 public:
  explicit TSkin(QWidget* parent = nullptr);
  ~TSkin() override;

  // ISkin
  void OpenSkinFile(const std::string& path) override;
  void SkinWindow(QWidget* window) override;
  void SkinWindowAs(QWidget* window, std::string_view formElement) override;
  ISkinObject* GetWindowRoot(QWidget* window) override;

  // Loads skin text that did not come from a file (the built-in default skin);
  // `origin` names it in error messages.
  void OpenSkinText(const std::string& text, const std::string& origin);
  // The default skin compiled into the program.
  static std::string BuiltInSkinText();

  // Window rectangle of a named element (empty when there is none); lets
  // callers and tests aim at an element.
  QRect ElementRect(std::string_view name) const;

  // A colour the skin file names ("color <name> ..."), or `fallback`; and a
  // font in the skin's families. Widgets placed over the skin use them to
  // match its look.
  QColor NamedColor(const std::string& name, const QColor& fallback) const;
  QFont SkinFont(int pixelSize, int weight = 400) const;

 signals:
  // The user clicked (pressed and released on) a named clickable element.
  void OnClick(ISkinObject* source);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct State;
  class Canvas;
  void Install(std::unique_ptr<SkinDocument> document);
  SkinElement* ElementAt(const QPoint& pos) const;
  void SetHover(SkinElement* element);
  SkinState StateOf(const SkinElement* element) const;
  std::unique_ptr<State> state_;
};

// A one-line label over the skin; a text too long for it is shortened in the
// middle (a folder keeps its start and its end) and shown whole as a tip.
class TSkinLabel : public QWidget {
  Q_OBJECT
 public:
  explicit TSkinLabel(QWidget* parent = nullptr);
  void SetCaption(const std::string& caption);
  std::string Caption() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const TSkin* Skin() const;
  QFont LabelFont() const;
  void UpdateTip();
  QString caption_;
};
