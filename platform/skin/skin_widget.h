// TSkin: the widget that paints a skinned window from a skin file and turns
// clicks on named elements into OnClick. TSkinLabel: a text label drawn in
// the skin's look, placed over the skin.
#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "platform/skin.h"

class SkinDocument;  // the parsed skin file (platform/skin/skin_document.h)

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

 signals:
  // The user clicked (pressed and released on) a named clickable element.
  void OnClick(ISkinObject* source);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

class TSkinLabel : public QWidget {
  Q_OBJECT
 public:
  explicit TSkinLabel(QWidget* parent = nullptr);
  void SetCaption(const std::string& caption);
  std::string Caption() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};
