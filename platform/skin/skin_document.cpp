#include "platform/skin/skin_document.h"

SkinElement* SkinDocument::Add(std::unique_ptr<SkinElement> element) {
  SkinElement* raw = element.get();
  elements_.push_back(std::move(element));
  byName_.emplace(raw->Name(), raw);
  if (raw->Parent()) raw->Parent()->AddChild(raw);
  return raw;
}

SkinElement* SkinDocument::Find(std::string_view name) const {
  const auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

SkinElement* SkinDocument::FindForm(std::string_view name) const {
  SkinElement* e = Find(name);
  return e && e->Kind() == SkinKind::Form ? e : nullptr;
}

SkinElement* SkinDocument::FirstForm() const {
  for (const auto& e : elements_)
    if (e->Kind() == SkinKind::Form) return e.get();
  return nullptr;
}

std::vector<SkinElement*> SkinDocument::InPaintOrder(const SkinElement* form) const {
  std::vector<SkinElement*> order;
  for (const auto& e : elements_) {
    const SkinElement* top = e.get();
    while (top->Parent()) top = top->Parent();
    if (top == form) order.push_back(e.get());
  }
  return order;
}

std::optional<QColor> SkinDocument::NamedColor(const std::string& name) const {
  auto it = colors_.find(name);
  if (it == colors_.end()) return std::nullopt;
  return it->second;
}

void SkinDocument::SetCanvas(SkinCanvas* canvas) {
  for (const auto& e : elements_) e->SetCanvas(canvas);
}
