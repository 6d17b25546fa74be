// The skin engine's interfaces: a skinned window is a tree of named elements;
// some elements show a text, and every element has a placement.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

class QWidget;

// A skin file that cannot be read or a window that cannot be skinned.
class SkinError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Window pixels; Right and Bottom are exclusive.
struct SkinRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

class ISkinObject {
 public:
  virtual ~ISkinObject() = default;
  // The element of that name (exact, case-sensitive): this one or one
  // anywhere below it; nullptr when there is none.
  virtual ISkinObject* FindChild(std::string_view name) = 0;
  virtual std::string ReadName() const = 0;
};

class ISkinElementText {
 public:
  virtual ~ISkinElementText() = default;
  // Sets the text the element shows; an empty text blanks it.
  virtual void AssignText(const std::string& text) = 0;
};

class ISkinElementPlacement {
 public:
  virtual ~ISkinElementPlacement() = default;
  virtual SkinRect GetPlacement() const = 0;
  virtual void SetPlacement(const SkinRect& rect) = 0;
  // Redraws the element so that a change becomes visible.
  virtual void Repaint() = 0;
};

// Asks an element for one of its facets; nullptr when it has none.
template <class Facet>
Facet* QueryInterface(ISkinObject* object) {
  return dynamic_cast<Facet*>(object);
}

class ISkin {
 public:
  virtual ~ISkin() = default;
  // Each throws SkinError on failure.
  virtual void OpenSkinFile(const std::string& path) = 0;
  virtual void SkinWindow(QWidget* window) = 0;
  virtual void SkinWindowAs(QWidget* window, std::string_view formElement) = 0;
  virtual ISkinObject* GetWindowRoot(QWidget* window) = 0;
};
