// The progress of the current file on the skin: the bar element "pb", whose
// right edge travels 442 pixels, and the percentage text "pbpos".
#pragma once

#include <cstdint>
#include <string>

#include "platform/skin.h"

class ISkinObject;

class ProgressDisplay {
 public:
  static constexpr int32_t FullScale = 10000;
  static constexpr int32_t BarTravel = 442;

  // Takes the elements of a skinned window; either may be missing (nullptr).
  void Attach(ISkinObject* pbpos, ISkinObject* pb);

  // value: 0..10000 (hundredths of a percent); shown as 0 when not busy.
  void ShowProgress(int32_t value, bool busy);
  // Empties the bar and blanks the text while still busy, then clears busy.
  void ResetAfterRun(bool& busy);

  // Blanks the percentage text.
  void BlankPercentage() { ShowText(""); }

  const SkinRect& BarRect() const { return barRect_; }

 private:
  void ShowText(const std::string& text);

  ISkinElementText* pbposText_ = nullptr;
  ISkinElementPlacement* pbposPlacement_ = nullptr;
  ISkinElementPlacement* pbPlacement_ = nullptr;
  SkinRect barRect_;
};
