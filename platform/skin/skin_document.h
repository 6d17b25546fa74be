// A skin as read from its file: the elements in file order (which is also
// their painting order), the named colours and the font families.
#pragma once

#include <QColor>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/skin/skin_element.h"

class SkinDocument {
 public:
  // Takes ownership; `parent` (nullptr for a form) must already be held.
  SkinElement* Add(std::unique_ptr<SkinElement> element);

  SkinElement* Find(std::string_view name) const;
  SkinElement* FindForm(std::string_view name) const;
  SkinElement* FirstForm() const;
  // `form` and every element below it, in file order.
  std::vector<SkinElement*> InPaintOrder(const SkinElement* form) const;
  const std::vector<std::unique_ptr<SkinElement>>& Elements() const { return elements_; }

  void DefineColor(const std::string& name, const QColor& color) { colors_[name] = color; }
  std::optional<QColor> NamedColor(const std::string& name) const;
  void SetFontFamilies(const QStringList& families) { fontFamilies_ = families; }
  const QStringList& FontFamilies() const { return fontFamilies_; }

  void SetCanvas(SkinCanvas* canvas);

 private:
  std::vector<std::unique_ptr<SkinElement>> elements_;
  // The first element of each name, so that a look-up does not walk them all.
  std::map<std::string, SkinElement*, std::less<>> byName_;
  std::map<std::string, QColor, std::less<>> colors_;
  QStringList fontFamilies_{"Noto Sans CJK SC", "WenQuanYi Zen Hei", "Sans"};
};
